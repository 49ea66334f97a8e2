// The running program's CPU time while nobody uses it, over 30 s: for each source this
// machine has (X11 when there is a display, the real GNOME Shell with the program's extension,
// the real KWin running its script), once watching through it and once told not to watch
// (Q7_ACTIVE_WINDOW_SOURCE=none) on the same desktop, in the same run, over the preloaded
// virtual mouse. The open sockets show the source's own connection.
#include "DesktopSessions.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <unistd.h>

namespace {

bool copyTree(const QString &from, const QString &to) {
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + src.mid(from.size());
        QDir().mkpath(QFileInfo(dst).path());
        if (!QFile::copy(src, dst))
            return false;
        QFile::setPermissions(dst, QFile::permissions(src) | QFile::WriteOwner);
    }
    return true;
}

// User plus system time of a process, in seconds.
double cpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold spaces.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return (fields[11].toDouble() + fields[12].toDouble()) / double(sysconf(_SC_CLK_TCK));
}

int sockets(qint64 pid) {
    int n = 0;
    for (const QFileInfo &fd : QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryInfoList(QDir::System))
        n += fd.symLinkTarget().contains(QLatin1String("socket:")) ||
             QFile::symLinkTarget(fd.filePath()).startsWith(QLatin1String("socket:"));
    return n;
}

struct Idle {
    double cpu = -1;
    int sockets = 0;
};

Idle measure(const QString &program, const QString &folder, const QProcessEnvironment &desktop,
             const QString &source, int seconds) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The user's session bus stays out of it: only a desktop of the bench's own is asked.
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    env.insert(desktop);
    QDir(folder).mkpath(QStringLiteral("home"));
    QDir(folder).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(folder + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(QStringLiteral("HOME"), folder + "/home");
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder + "/runtime");
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), env.contains(QStringLiteral("DISPLAY"))
                                                       ? QStringLiteral("xcb")
                                                       : QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(VIRTUALMOUSE_LIB));
    env.insert(QStringLiteral("VIRTUAL_MOUSE_STATE"), folder + "/mouse.txt");
    env.insert(QStringLiteral("Q7_ACTIVE_WINDOW_SOURCE"), source);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, {});
    if (!p.waitForStarted(10000))
        return {};
    // Start-up, the first refill and the opening animation are over by then.
    QThread::sleep(8);
    Idle idle;
    idle.sockets = sockets(p.processId());
    const double before = cpuSeconds(p.processId());
    QThread::sleep(seconds);
    const double after = cpuSeconds(p.processId());
    if (p.state() == QProcess::Running && before >= 0 && after >= 0)
        idle.cpu = after - before;
    p.terminate();
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(5000);
    }
    return idle;
}

bool report(const QString &program, const QString &folder, const QString &kind,
            const QProcessEnvironment &desktop, int seconds) {
    const Idle watching = measure(program, folder, desktop, kind, seconds);
    const Idle off = measure(program, folder, desktop, QStringLiteral("none"), seconds);
    if (watching.cpu < 0 || off.cpu < 0) {
        std::fprintf(stderr, "%s: a run failed\n", qPrintable(kind));
        return false;
    }
    std::printf("%s: idle CPU of the running program over %d s\n", qPrintable(kind), seconds);
    std::printf("  watching the active window: %.3f s CPU (%.2f %%), %d sockets open\n", watching.cpu,
                100 * watching.cpu / seconds, watching.sockets);
    std::printf("  nothing to watch:           %.3f s CPU (%.2f %%), %d sockets open\n", off.cpu,
                100 * off.cpu / seconds, off.sockets);
    const double tick = 1.0 / double(sysconf(_SC_CLK_TCK));
    std::printf("  difference %.3f s CPU (clock tick %.3f s)", watching.cpu - off.cpu, tick);
    if (off.cpu > 0)
        std::printf("; ratio watching/off %.2f\n", watching.cpu / off.cpu);
    else
        std::printf("; no ratio: the program without watching used less than one tick\n");
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("Q7_SOURCE_DIR"))
        qputenv("Q7_SOURCE_DIR", Q7_SOURCE_DIR);
    const int seconds = argc > 1 ? qMax(1, atoi(argv[1])) : 30;
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("program"));
    if (!copyTree(QStringLiteral(Q7_BUILD_BIN), folder)) {
        std::fprintf(stderr, "cannot copy the program\n");
        return 1;
    }
    const QString program = folder + "/q7config";
    bool ok = true;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        std::printf("x11: skipped, no X display (run under xvfb-run)\n");
    else
        ok &= report(program, dir.path(), QStringLiteral("x11"), {}, seconds);
    for (const char *name : {"gnome-shell", "kwin"}) {
        const QString kind = QString::fromLatin1(name);
        const std::unique_ptr<RealDesktop> desktop = RealDesktop::create(kind);
        if (const QString why = desktop->missing(); !why.isEmpty()) {
            std::printf("%s: skipped, %s\n", qPrintable(kind), qPrintable(why));
            continue;
        }
        if (!desktop->start()) {
            std::fprintf(stderr, "%s did not start:\n%s\n", qPrintable(kind),
                         desktop->log().constData());
            ok = false;
            continue;
        }
        QProcessEnvironment env;
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), desktop->busAddress());
        ok &= report(program, dir.path(), kind, env, seconds);
    }
    return ok ? 0 : 1;
}
