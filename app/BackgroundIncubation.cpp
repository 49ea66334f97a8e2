#include "BackgroundIncubation.h"

BackgroundIncubation::BackgroundIncubation(QObject *parent) : QObject(parent) {
    // Whenever the event loop has nothing else to do, until every object is made.
    slices.setInterval(0);
    connect(&slices, &QTimer::timeout, this, [this] {
        incubateFor(sliceMs);
        if (incubatingObjectCount() == 0)
            slices.stop();
    });
}

void BackgroundIncubation::incubatingObjectCountChanged(int count) {
    if (count > 0)
        slices.start();
    else
        slices.stop();
}
