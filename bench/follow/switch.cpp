// From an active-window change on the desktop to the end of the mouse's profile switch: the
// program's own window and rules follower over the virtual mouse, the real X11 source, and
// this bench playing the window manager. The reference, measured in the same run, is the
// settling time plus one switch exchange made directly through the view.

#include "BlockLayout.h"
#include "InProcessWindow.h"
#include "Median.h"
#include "ProfileFollowing.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// When the switch command reached the mouse after `since`, and when its exchange ended (the
// device closed again).
struct Switch {
    Clock::time_point command, closed;
};
std::optional<Switch> switchAfter(Clock::time_point since) {
    std::optional<Clock::time_point> command;
    for (const vmouse::LogEntry &e : vmouse::log()) {
        if (e.at < since)
            continue;
        if (!command && e.dir == vmouse::Dir::FeatureOut && e.clear.size() > 1 &&
            e.clear[1] == layout::command::setCurrentProfile)
            command = e.at;
        else if (command && e.dir == vmouse::Dir::Close)
            return Switch{*command, e.at};
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "needs an X display (run under xvfb-run)\n");
        return 1;
    }
    // The window renders off screen; the rules watch the X display's root window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    InProcessWindow::prepareEnvironment();
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(2, atoi(argv[1])) : 12;

    InProcessWindow program;
    Widget &window = program.widget();
    const auto spin = [](int ms) { InProcessWindow::spin(ms); };

    QTemporaryDir dir;
    ProfileFollowing following(window.view(), dir.filePath("rules.ini"));
    if (!following.active()) {
        std::fprintf(stderr, "the active-window source did not start\n");
        return 1;
    }
    following.rules().setRules({{ApplicationRules::Rule::Field::WindowClass, "BenchA", 2},
                                {ApplicationRules::Rule::Field::WindowClass, "BenchB", 3}},
                               0);

    Display *x = XOpenDisplay(nullptr);
    const Window root = DefaultRootWindow(x);
    const Atom active = XInternAtom(x, "_NET_ACTIVE_WINDOW", False);
    auto makeWindow = [&](const char *name) {
        const Window w = XCreateSimpleWindow(x, root, 0, 0, 10, 10, 0, 0, 0);
        XClassHint hint;
        hint.res_name = const_cast<char *>(name);
        hint.res_class = const_cast<char *>(name);
        XSetClassHint(x, w, &hint);
        return w;
    };
    const Window windows[2] = {makeWindow("BenchA"), makeWindow("BenchB")};
    XSync(x, False);

    std::vector<double> toCommand, toEnd, exchange, ratio;
    for (int r = 0; r <= rounds; ++r) {
        // One exchange of the same command through the view, for this round's reference.
        QElapsedTimer direct;
        direct.start();
        window.view()->q7_02H_SetCurrentProfile(uchar(4));
        const double exchangeMs = direct.nsecsElapsed() / 1e6;
        spin(50);

        const long value = long(windows[r % 2]);
        const Clock::time_point start = Clock::now();
        XChangeProperty(x, root, active, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(&value), 1);
        XSync(x, False);
        std::optional<Switch> done;
        QElapsedTimer limit;
        limit.start();
        while (!(done = switchAfter(start)) && limit.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (!done) {
            std::fprintf(stderr, "round %d: no switch reached the mouse\n", r);
            return 1;
        }
        spin(100);
        if (r == 0)
            continue; // warm-up
        toCommand.push_back(ms(done->command - start));
        toEnd.push_back(ms(done->closed - start));
        exchange.push_back(exchangeMs);
        ratio.push_back(ms(done->closed - start) / (ProfileFollower::settleMs + exchangeMs));
    }
    XCloseDisplay(x);

    std::printf("active-window change to the mouse's profile switch, %d rounds\n", rounds);
    std::printf("  to the switch command: median %.1f ms; to the end of its exchange: median %.1f ms\n",
                median(toCommand), median(toEnd));
    std::printf("  one switch exchange alone: median %.1f ms; settling time %d ms\n", median(exchange),
                ProfileFollower::settleMs);
    std::printf("  ratio (change to end of exchange) / (settling + one exchange): %.3f median of "
                "rounds, worst %.3f (goal <= 1.05)\n",
                median(ratio), *std::max_element(ratio.begin(), ratio.end()));
    return 0;
}
