// Each page's Apply in the program's own window over the virtual mouse (zero transport
// latency), against the protocol's floor for the exchanges that Apply makes: 30 ms settle
// after each command report, 10 ms after each output report. Printed as ratios against that
// floor and against the same pauses slept alone in this run (medians of per-apply ratios).

#include "InProcessWindow.h"
#include "Median.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QQuickItem>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

struct Count {
    int commands = 0, outputs = 0;
    double floorMs() const { return 30.0 * commands + 10.0 * outputs; }
};

Count countExchanges() {
    Count c;
    for (const vmouse::LogEntry &e : vmouse::log()) {
        c.commands += e.dir == vmouse::Dir::FeatureOut;
        c.outputs += e.dir == vmouse::Dir::Output;
    }
    return c;
}

double msSince(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

double sleepPauses(const Count &c) {
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < c.commands; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    for (int i = 0; i < c.outputs; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return msSince(t);
}

// Returns false when the page has no Apply (yet) or it sends nothing. Each apply is paired
// with its own pauses slept alone right after it, so a busy machine weighs on both alike.
bool measure(QObject *root, const char *pageName, int rounds) {
    QObject *page = root ? root->findChild<QObject *>(QLatin1String(pageName)) : nullptr;
    if (!page || page->metaObject()->indexOfMethod("pageApply()") < 0) {
        std::printf("%s: no pageApply()\n", pageName);
        return false;
    }
    QMetaObject::invokeMethod(page, "pageApply"); // warm-up
    Count c;
    std::vector<double> applyMs, toFloor, toPauses;
    for (int r = 0; r < rounds; ++r) {
        vmouse::clearLog();
        QElapsedTimer t;
        t.start();
        QMetaObject::invokeMethod(page, "pageApply");
        const double ms = msSince(t);
        c = countExchanges();
        if (c.commands == 0) {
            std::printf("%s: pageApply() sent nothing\n", pageName);
            return false;
        }
        applyMs.push_back(ms);
        toFloor.push_back(ms / c.floorMs());
        toPauses.push_back(ms / sleepPauses(c));
        // The busy lock's timer and queued work, outside the measured call.
        QCoreApplication::processEvents();
    }
    std::printf("%s: %d applies, each %d command reports and %d output reports\n", pageName, rounds,
                c.commands, c.outputs);
    std::printf("  apply median %.1f ms, floor %.0f ms: ratio %.4f (goal <= 1.05)\n",
                median(applyMs), c.floorMs(), median(toFloor));
    std::printf("  apply / the same pauses slept alone: ratio %.4f (median of pairs)\n",
                median(toPauses));
    return true;
}

} // namespace

int main(int argc, char **argv) {
    InProcessWindow::prepareEnvironment();
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    InProcessWindow program;
    QObject *root = program.widget().view()->rootObject();
    const bool sensor = measure(root, "_Page_Sensor", rounds);
    const bool color = measure(root, "_Page_Color", rounds);
    const bool keys = measure(root, "_Page_Keydefine", rounds);
    return sensor && color && keys ? 0 : 1;
}
