// From an active-window change on the desktop to the end of the mouse's profile switch: the
// program's own window and rules follower over the virtual mouse, and the source under
// measure: X11 (this bench playing the window manager and setting _NET_ACTIVE_WINDOW), the
// real headless GNOME Shell with the program's extension, or the real kwin_wayland with its
// script. In a compositor each round opens a second client window, which takes the focus
// (not timed), then kills that client: the clock starts when the kill is sent, and the
// compositor hands the focus back to the first window. The reference, measured in the same
// run, is the settling time plus one switch exchange made directly through the view.
//
//   bench_follow_switch [x11|gnome-shell|kwin] [rounds]   (default: each available source)

#include "BlockLayout.h"
#include "DesktopSessions.h"
#include "InProcessWindow.h"
#include "Median.h"
#include "ProfileFollowing.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
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

std::optional<Switch> waitSwitch(Clock::time_point since) {
    std::optional<Switch> done;
    QElapsedTimer limit;
    limit.start();
    while (!(done = switchAfter(since)) && limit.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return done;
}

// One focus change on the desktop, when it was made.
using Change = std::function<Clock::time_point(int round)>;

// Each source in a process of its own: the program's session bus is chosen once per process.
int eachSource(const char *self, const QString &rounds) {
    int failed = 0;
    for (const char *kind : {"x11", "gnome-shell", "kwin"}) {
        std::printf("== %s ==\n", kind);
        std::fflush(stdout);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QString::fromLocal8Bit(self), {QString::fromLatin1(kind), rounds});
        child.waitForFinished(-1);
        failed += child.exitCode() != 0;
    }
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char **argv) {
    const QString kind = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    const int rounds = argc > 2 ? std::max(2, atoi(argv[2])) : 12;
    if (kind.isEmpty())
        return eachSource(argv[0], QString::number(rounds));
    if (kind == QLatin1String("x11") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("skipped: needs an X display (run under xvfb-run)\n");
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("Q7_SOURCE_DIR"))
        qputenv("Q7_SOURCE_DIR", Q7_SOURCE_DIR);
    // The window renders off screen; the rules watch the source under measure.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("Q7_ACTIVE_WINDOW_SOURCE", kind.toLatin1());
    // The user's session bus stays out of it: only a desktop of the bench's own is asked.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    InProcessWindow::prepareEnvironment();
    QApplication app(argc, argv);

    // Up before the program asks for its session bus, which is then the compositor's.
    std::unique_ptr<RealDesktop> desktop;
    if (kind != QLatin1String("x11")) {
        desktop = RealDesktop::create(kind);
        if (!desktop) {
            std::fprintf(stderr, "unknown source %s\n", qPrintable(kind));
            return 1;
        }
        if (const QString why = desktop->missing(); !why.isEmpty()) {
            std::printf("skipped: %s\n", qPrintable(why));
            return 0;
        }
        if (!desktop->start()) {
            std::fprintf(stderr, "%s did not start:\n%s\n", qPrintable(kind),
                         desktop->log().constData());
            return 1;
        }
        qputenv("DBUS_SESSION_BUS_ADDRESS", desktop->busAddress().toLocal8Bit());
    }

    InProcessWindow program;
    Widget &window = program.widget();
    const auto spin = [](int ms) { InProcessWindow::spin(ms); };

    QTemporaryDir dir;
    ProfileFollowing following(window.view(), dir.filePath("rules.ini"));
    if (!following.active() || following.source()->kind() != kind) {
        std::fprintf(stderr, "the %s source did not start\n", qPrintable(kind));
        return 1;
    }

    Display *x = nullptr;
    Change change;
    QString names[2] = {QStringLiteral("BenchA"), QStringLiteral("BenchB")};
    if (desktop) {
        const QStringList clients = desktop->clients();
        for (int i = 0; i < 2; ++i)
            names[i] = desktop->windowClass(clients[i]);
        change = [&, clients](int) {
            // The second window takes the focus and its switch ends before the clock starts.
            const Clock::time_point opened = Clock::now();
            desktop->open(clients[1]);
            waitSwitch(opened);
            spin(100);
            const Clock::time_point start = Clock::now();
            desktop->close(clients[1]);
            return start;
        };
    } else {
        x = XOpenDisplay(nullptr);
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
        change = [=](int r) {
            const long value = long(windows[r % 2]);
            const Clock::time_point start = Clock::now();
            XChangeProperty(x, root, active, XA_WINDOW, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(&value), 1);
            XSync(x, False);
            return start;
        };
    }
    // The focus a compositor's round measures comes back to the first window: profile 2.
    following.rules().setRules({{ApplicationRules::Rule::Field::WindowClass, names[0], 2},
                                {ApplicationRules::Rule::Field::WindowClass, names[1], 3}},
                               0);
    if (desktop) {
        // The first window, focused, stays through every round.
        const Clock::time_point opened = Clock::now();
        desktop->open(desktop->clients()[0]);
        waitSwitch(opened);
        spin(100);
    }

    // When the source last reported: what of the time is the desktop's, what the program's.
    Clock::time_point reported;
    QObject::connect(following.source(), &ActiveWindowSource::activeWindowChanged,
                     [&reported] { reported = Clock::now(); });

    std::vector<double> toReport, toCommand, toEnd, exchange, ratio;
    for (int r = 0; r <= rounds; ++r) {
        // One exchange of the same command through the view, for this round's reference.
        QElapsedTimer direct;
        direct.start();
        window.view()->q7_02H_SetCurrentProfile(uchar(4));
        const double exchangeMs = direct.nsecsElapsed() / 1e6;
        spin(50);

        const Clock::time_point start = change(r);
        const std::optional<Switch> done = waitSwitch(start);
        if (!done) {
            std::fprintf(stderr, "round %d: no switch reached the mouse\n", r);
            if (desktop)
                std::fprintf(stderr, "%s\n", desktop->log().constData());
            return 1;
        }
        spin(100);
        if (r == 0)
            continue; // warm-up
        toReport.push_back(ms(reported - start));
        toCommand.push_back(ms(done->command - start));
        toEnd.push_back(ms(done->closed - start));
        exchange.push_back(exchangeMs);
        ratio.push_back(ms(done->closed - start) / (ProfileFollower::settleMs + exchangeMs));
    }
    if (x)
        XCloseDisplay(x);

    std::printf("%s: active-window change to the mouse's profile switch, %d rounds\n",
                qPrintable(kind), rounds);
    std::printf("  to the source's report: median %.1f ms; to the switch command: median %.1f ms; "
                "to the end of its exchange: median %.1f ms\n",
                median(toReport), median(toCommand), median(toEnd));
    std::printf("  one switch exchange alone: median %.1f ms; settling time %d ms\n", median(exchange),
                ProfileFollower::settleMs);
    std::printf("  ratio (change to end of exchange) / (settling + one exchange): %.3f median of "
                "rounds, worst %.3f (goal <= 1.1)\n",
                median(ratio), *std::max_element(ratio.begin(), ratio.end()));
    return 0;
}
