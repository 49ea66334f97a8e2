// Each page's Apply in the program's own window over the virtual mouse (zero transport
// latency), against the protocol's floor for the exchanges that Apply makes: 30 ms settle
// after each command report, 10 ms after each output report. Printed as ratios against that
// floor and against the same pauses slept alone in this run.

#include "StagedModules.h"
#include "VirtualMouse.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QQuickItem>

#include <chrono>
#include <cstdio>
#include <thread>

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

// Returns false when the page has no Apply (yet) or it sends nothing.
bool measure(QObject *root, const char *pageName, int rounds) {
    QObject *page = root ? root->findChild<QObject *>(QLatin1String(pageName)) : nullptr;
    if (!page || page->metaObject()->indexOfMethod("pageApply()") < 0) {
        std::printf("%s: no pageApply()\n", pageName);
        return false;
    }
    QMetaObject::invokeMethod(page, "pageApply"); // warm-up
    Count total;
    double applyMs = 0;
    for (int r = 0; r < rounds; ++r) {
        vmouse::clearLog();
        QElapsedTimer t;
        t.start();
        QMetaObject::invokeMethod(page, "pageApply");
        applyMs += msSince(t);
        const Count c = countExchanges();
        total.commands += c.commands;
        total.outputs += c.outputs;
        // The busy lock's timer and queued work, outside the measured call.
        QCoreApplication::processEvents();
    }
    if (total.commands == 0) {
        std::printf("%s: pageApply() sent nothing\n", pageName);
        return false;
    }
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < total.commands; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    for (int i = 0; i < total.outputs; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const double pausesMs = msSince(t);
    std::printf("%s: %d applies, %d command reports, %d output reports per apply\n", pageName,
                rounds, total.commands / rounds, total.outputs / rounds);
    std::printf("  apply %9.1f ms  floor %7.0f ms  ratio %.4f  (goal <= 1.05)\n", applyMs,
                total.floorMs(), applyMs / total.floorMs());
    std::printf("  pauses alone %7.1f ms; apply / pauses alone ratio %.4f\n", pausesMs,
                applyMs / pausesMs);
    return true;
}

} // namespace

int main(int argc, char **argv) {
    // Rendering is not measured; the desktop's pointer settings are never touched.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    qputenv("GSETTINGS_BACKEND", "memory");
    qputenv("QT_LOGGING_RULES", "*.debug=false;qt.qpa.*=false");
    if (qEnvironmentVariableIsEmpty("Q7_BUILD_BIN"))
        qputenv("Q7_BUILD_BIN", Q7_BUILD_BIN);
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    StagedModules modules;
    vmouse::reset();
    Widget window;
    window.checkDevice();
    window.showNormal();
    window.startUi();
    // Let initUI and the opening run before the first Apply.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    QObject *root = window.view()->rootObject();
    const bool sensor = measure(root, "_Page_Sensor", rounds);
    const bool color = measure(root, "_Page_Color", rounds);
    return sensor && color ? 0 : 1;
}
