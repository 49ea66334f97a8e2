// A page's first showing against its second: from the choice in the function menu to the last
// frame of the page's slide, and the longest pause between two frames on the way. A page made
// on the click (or still being made) shows as a first showing longer than the second.

#include "InProcessWindow.h"
#include "Median.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QQuickItem>
#include <QQuickWindow>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Showing {
    double ms = 0;      // choice to the last frame of the slide
    double maxGapMs = 0; // the longest time between two frames meanwhile
};

QObject *child(QObject *root, const char *name) {
    return root->findChild<QObject *>(QLatin1String(name));
}

bool settled(QObject *root, int index) {
    return child(root, "_fkPage")->property("curID").toInt() == index &&
           !child(root, "pa_X")->property("running").toBool() &&
           !child(root, "paBack_X")->property("running").toBool();
}

// Chooses the page (or, with the page already chosen, closes it) and waits for the slide's end.
bool choose(QQuickWindow *window, QObject *root, int index, int expected, Showing &out) {
    std::vector<double> frames;
    QElapsedTimer clock;
    const auto conn = QObject::connect(window, &QQuickWindow::afterRendering, window,
                                       [&] { frames.push_back(clock.nsecsElapsed() / 1e6); },
                                       Qt::DirectConnection);
    clock.start();
    QMetaObject::invokeMethod(child(root, "fnItem"), "select", Q_ARG(QVariant, index),
                              Q_ARG(QVariant, false));
    while (!settled(root, expected) && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    // The frame that shows the slide's end.
    const size_t framesAtEnd = frames.size();
    while (frames.size() == framesAtEnd && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    QObject::disconnect(conn);
    if (frames.empty())
        return false;
    out.ms = frames.back();
    double last = 0;
    for (double f : frames) {
        out.maxGapMs = std::max(out.maxGapMs, f - last);
        last = f;
    }
    return settled(root, expected);
}

} // namespace

int main(int argc, char **argv) {
    InProcessWindow::prepareEnvironment();
    QApplication app(argc, argv);
    InProcessWindow program;
    QQuickWidget *view = program.widget().view();
    QObject *root = view->rootObject();
    QQuickWindow *window = view->quickWindow();
    if (!root || !child(root, "fnItem")) {
        std::fprintf(stderr, "no function menu\n");
        return 1;
    }
    const char *names[] = {"keys", "macro", "lighting", "sensor"};
    std::vector<double> ratios;
    bool ok = true;
    for (int page : {1, 2, 3, 0}) {
        Showing first, closed, second, closedAgain;
        ok = choose(window, root, page, page, first) && choose(window, root, page, -1, closed) &&
             choose(window, root, page, page, second) &&
             choose(window, root, page, -1, closedAgain) && ok;
        ratios.push_back(first.ms / second.ms);
        std::printf("%-8s first %.1f ms (longest frame gap %.1f), second %.1f ms (%.1f): ratio %.2f\n",
                    names[page], first.ms, first.maxGapMs, second.ms, second.maxGapMs,
                    first.ms / second.ms);
    }
    std::printf("first / second showing: worst ratio %.2f, median %.2f (goal <= 1.1)\n",
                *std::max_element(ratios.begin(), ratios.end()), median(ratios));
    return ok ? 0 : 1;
}
