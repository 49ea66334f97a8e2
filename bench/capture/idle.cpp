// The running program's CPU time while nobody uses it, over 30 s: first with nothing asking
// for the desktop's input (the capture off), then with the key page's KEYBOARD field armed
// (the capture listening), in the same run of the same program, without a mouse and without
// the active-window watch, so that the capture is the only difference. The field is armed as
// a user arms it: clicks through XTest at the places the program's test hook names.
#include "ProgramStart.h"
#include "XInjector.h"

#include <QCoreApplication>
#include <QPoint>
#include <QRect>

#include <cstdio>
#include <unistd.h>

namespace {

// User plus system time of a process, in clock ticks.
long cpuTicks(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold spaces.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.size() < 13 ? -1 : fields[11].toLong() + fields[12].toLong();
}

// Where the hook says an item is on the screen, once it is shown opaque and enabled; a null
// point otherwise.
QPoint centreOf(const QString &hook, const QByteArray &name) {
    QPoint origin;
    for (const QByteArray &line : programstart::ask(hook, "items").split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (w.value(0) == "window" && w.size() == 7)
            origin = QPoint(w[1].toInt(), w[2].toInt());
        else if (w.value(0) == "item" && w.size() == 8 && w[1] == name && w[6].toDouble() >= 0.999 &&
                 w[7] == "1")
            return origin + QRect(w[2].toInt(), w[3].toInt(), w[4].toInt(), w[5].toInt()).center();
    }
    return {};
}

// Clicks an item once it stands still where it is shown; false (and says so) when it does not
// within 10 s.
bool clickItem(XInjector &x, const QString &hook, const QByteArray &name) {
    QElapsedTimer clock;
    clock.start();
    QPoint at, before;
    while (((at = centreOf(hook, name)).isNull() || at != before) && clock.elapsed() < 10000) {
        before = at;
        QThread::msleep(50);
    }
    if (at.isNull() || at != before) {
        std::fprintf(stderr, "%s is not shown\n", name.constData());
        return false;
    }
    x.moveTo(at.x(), at.y());
    x.click(1);
    return true;
}

// Whether the KEYBOARD field waits for a key, once the window has taken the last click.
bool armed(const QString &hook) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        if (programstart::ask(hook, "property keyKeyboard armed").startsWith("value true"))
            return true;
        QThread::msleep(20);
    }
    std::fprintf(stderr, "the KEYBOARD field is not armed\n");
    return false;
}

// Until the function menu's list has closed.
bool listClosed(const QString &hook) {
    QElapsedTimer clock;
    clock.start();
    while (programstart::ask(hook, "items").contains("item keyFunctionMenuList ") && clock.elapsed() < 5000)
        QThread::msleep(20);
    return clock.elapsed() < 5000;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "needs an X display (run under xvfb-run)\n");
        return 1;
    }
    const int seconds = argc > 1 ? qMax(1, atoi(argv[1])) : 30;
    QTemporaryDir work;
    const QString program = programstart::copyOfBuildProgram(work.path(), QStringLiteral("program"));
    XInjector x;
    if (program.isEmpty() || !x.isOpen())
        return 1;

    const QString hook = work.filePath(QStringLiteral("hook"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", work.filePath("home"));
    env.insert("XDG_RUNTIME_DIR", work.path());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("LD_PRELOAD", QStringLiteral(VIRTUALMOUSE_LIB));
    env.insert("VIRTUAL_MOUSE_STATE", work.filePath("mouse.txt"));
    env.insert("VIRTUAL_MOUSE_FAULTS", "absent");
    env.insert("Q7_ACTIVE_WINDOW_SOURCE", "none");
    env.insert("Q7_TEST_GEOMETRY", hook);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, {});

    QElapsedTimer clock;
    clock.start();
    while (!programstart::menuShown(programstart::ask(hook, "items")) && clock.elapsed() < 30000)
        QThread::msleep(20);
    // The key page with KEYBOARD shown, the field not yet armed.
    const bool ready = clickItem(x, hook, "fnEntry0") && clickItem(x, hook, "keyFunctionMenu") &&
                       clickItem(x, hook, "keyFunctionMenuItem0") && listClosed(hook) &&
                       !centreOf(hook, "keyKeyboard").isNull();
    long off = -1, listening = -1;
    if (ready) {
        // The page's slide and the list's fade end well within this.
        QThread::sleep(2);
        const long before = cpuTicks(p.processId());
        QThread::sleep(seconds);
        off = cpuTicks(p.processId()) - before;
        if (clickItem(x, hook, "keyKeyboard") && armed(hook)) {
            const long armedAt = cpuTicks(p.processId());
            QThread::sleep(seconds);
            // Still armed at the end: nothing disarmed it halfway.
            listening = armed(hook) ? cpuTicks(p.processId()) - armedAt : -1;
        }
    }
    p.terminate();
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(5000);
    }
    if (off < 0 || listening < 0) {
        std::fprintf(stderr, "a run failed\n");
        return 1;
    }
    const double tick = 1.0 / double(sysconf(_SC_CLK_TCK));
    std::printf("idle CPU of the running program over %d s, no mouse (clock tick %.3f s)\n", seconds, tick);
    std::printf("  capture off:           %ld ticks (%.3f s)\n", off, off * tick);
    std::printf("  KEYBOARD field armed:  %ld ticks (%.3f s)\n", listening, listening * tick);
    if (off > 0)
        std::printf("  ratio armed/off %.2f\n", double(listening) / double(off));
    else
        std::printf("  no ratio: with the capture off the program used no tick\n");
    return 0;
}
