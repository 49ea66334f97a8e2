// Exec to a mapped window and the resident memory 3 s later, interleaved in one run: this
// program over the virtual mouse, a bare QQuickWidget (the floor any Qt Quick window pays,
// with Qt's default renderer and with the software one the program draws with),
// and the peers whose Debian packages are installed. A peer that is missing or shows no
// window is skipped, not failed: the bench installs nothing.
#include "Median.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSize>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <X11/Xlib.h>

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <unistd.h>
#include <vector>

namespace {

struct Subject {
    QString name;
    QString program;
    QStringList args;
    QSize size;                   // the window to wait for; empty: any window of a usable size
    QList<QStringList> daemons;   // started before it, in order (program and args)
    int countedDaemon = -1;       // the one whose memory is counted with it
    QMap<QString, QString> env;
};

struct Sample {
    double mappedMs = 0;
    long rssKb = 0;
};

std::set<Window> viewableWindows(Display *display, const QSize &size) {
    std::set<Window> found;
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count))
        return found;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable)
            continue;
        const bool fits = size.isEmpty() ? a.width >= 200 && a.height >= 150
                                         : a.width == size.width() && a.height == size.height();
        if (fits)
            found.insert(children[i]);
    }
    XFree(children);
    return found;
}

// The process and every descendant, from /proc.
long treeRssKb(qint64 pid) {
    std::map<qint64, std::vector<qint64>> children;
    for (const QString &entry : QDir("/proc").entryList(QDir::Dirs)) {
        bool ok = false;
        const qint64 p = entry.toLongLong(&ok);
        if (!ok)
            continue;
        QFile stat("/proc/" + entry + "/stat");
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        children[fields.value(1).toLongLong()].push_back(p);
    }
    long total = 0;
    std::vector<qint64> todo{pid};
    while (!todo.empty()) {
        const qint64 p = todo.back();
        todo.pop_back();
        QFile status(QString("/proc/%1/status").arg(p));
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray &l : status.readAll().split('\n'))
                if (l.startsWith("VmRSS:"))
                    total += l.mid(6).trimmed().split(' ').value(0).toLong();
        for (qint64 c : children[p])
            todo.push_back(c);
    }
    return total;
}

void stop(QProcess &p) {
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(5000);
    }
}

bool runOnce(Display *display, const Subject &s, const QString &work, Sample &out) {
    QTemporaryDir home(work + "/home-XXXXXX");
    QTemporaryDir runtime(work + "/runtime-XXXXXX");
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.path() + "/.config");
    env.insert("XDG_DATA_HOME", home.path() + "/.local/share");
    env.insert("XDG_CACHE_HOME", home.path() + "/.cache");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    for (auto it = s.env.begin(); it != s.env.end(); ++it)
        env.insert(it.key(), it.value());

    std::vector<std::unique_ptr<QProcess>> daemons;
    for (const QStringList &command : s.daemons) {
        daemons.push_back(std::make_unique<QProcess>());
        QProcess &d = *daemons.back();
        d.setProcessEnvironment(env);
        d.setStandardOutputFile(QProcess::nullDevice());
        d.setStandardErrorFile(work + "/" + s.name + "-daemon.log", QIODevice::Append);
        d.start(command.first(), command.mid(1));
        if (!d.waitForStarted(5000))
            return false;
        // Given time to register before its client asks; not part of the client's start.
        QThread::msleep(500);
    }

    const std::set<Window> before = viewableWindows(display, s.size);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(work + "/" + s.name + ".log", QIODevice::Append);
    QElapsedTimer clock;
    clock.start();
    p.start(s.program, s.args);
    bool mapped = false;
    while (!mapped && clock.elapsed() < 20000 && p.state() != QProcess::NotRunning) {
        for (Window w : viewableWindows(display, s.size))
            mapped = mapped || !before.count(w);
        if (!mapped)
            QThread::msleep(2);
    }
    out.mappedMs = clock.nsecsElapsed() / 1e6;
    if (mapped) {
        while (clock.elapsed() < 3000)
            QThread::msleep(10);
        out.rssKb = treeRssKb(p.processId());
        if (s.countedDaemon >= 0)
            out.rssKb += treeRssKb(daemons[s.countedDaemon]->processId());
    }
    stop(p);
    while (!daemons.empty()) {
        stop(*daemons.back());
        daemons.pop_back();
    }
    return mapped && out.rssKb > 0;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    // [rounds] [--also FOLDER]: another build's program folder timed beside this one's (an
    // older build, to compare before and after a change in one run).
    const int alsoAt = app.arguments().indexOf("--also");
    const QString also = alsoAt > 0 ? app.arguments().value(alsoAt + 1) : QString();
    const int given = app.arguments().value(1).toInt();
    const int runs = given > 0 ? given : 3;
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "bench_peers needs an X display (xvfb-run)\n");
        return 1;
    }
    // A window can go between listing it and asking for its attributes: not an error here.
    XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
    QTemporaryDir work;

    // This program from a copy of the build's program folder, as a user runs it unpacked.
    const QString copy = work.filePath("q7");
    QDir().mkpath(copy);
    if (QProcess::execute("cp", {"-a", QStringLiteral(BUILD_BIN "/."), copy}) != 0) {
        std::fprintf(stderr, "could not copy the build's program folder\n");
        return 1;
    }
    std::vector<Subject> subjects;
    subjects.push_back({"q7config", copy + "/q7config", {}, QSize(1000, 600), {}, -1,
                        {{"LD_PRELOAD", VIRTUALMOUSE_LIB},
                         {"VIRTUAL_MOUSE_STATE", work.filePath("mouse.txt")},
                         {"QT_QPA_PLATFORM", "xcb"}}});
    if (!also.isEmpty()) {
        const QString other = work.filePath("also");
        QDir().mkpath(other);
        if (QProcess::execute("cp", {"-a", also + "/.", other}) == 0)
            subjects.push_back({"q7config (--also)", other + "/q7config", {}, QSize(1000, 600), {},
                                -1,
                                {{"LD_PRELOAD", VIRTUALMOUSE_LIB},
                                 {"VIRTUAL_MOUSE_STATE", work.filePath("mouse-also.txt")},
                                 {"QT_QPA_PLATFORM", "xcb"}}});
    }
    subjects.push_back({"bare QQuickWidget", PROBE, {"--bare", "--stay"}, QSize(1000, 600), {}, -1,
                        {{"QT_QPA_PLATFORM", "xcb"}}});
    // With the renderer the program draws with: the program's own cost, the renderer's apart.
    subjects.push_back({"bare (software)", PROBE, {"--bare", "--stay"}, QSize(1000, 600), {}, -1,
                        {{"QT_QPA_PLATFORM", "xcb"}, {"QT_QUICK_BACKEND", "software"}}});
    const auto found = [](const QString &name) { return QStandardPaths::findExecutable(name); };
    if (!found("solaar").isEmpty())
        subjects.push_back({"Solaar", found("solaar"), {}, {}, {}, -1, {}});
    // Piper talks to ratbagd over the system bus; a private one, open to all, stands in for
    // it so the machine's own is never touched (and need not exist).
    if (!found("piper").isEmpty() && !found("ratbagd").isEmpty() && !found("dbus-daemon").isEmpty()) {
        const QString bus = work.filePath("sysbus");
        QFile config(work.filePath("sysbus.conf"));
        if (config.open(QIODevice::WriteOnly))
            config.write("<busconfig><type>system</type><listen>unix:path=" + bus.toUtf8() +
                         "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                         "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                         "<allow own=\"*\"/><allow user=\"*\"/>"
                         "</policy></busconfig>\n");
        config.close();
        subjects.push_back({"Piper+ratbagd", found("piper"), {}, {},
                            {{found("dbus-daemon"), "--config-file=" + config.fileName(), "--nofork",
                              "--nopidfile"},
                             {found("ratbagd")}},
                            1, {{"DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + bus}}});
    }
    // ckb-next's window refuses to open for root.
    if (!found("ckb-next").isEmpty() && ::geteuid() == 0)
        std::printf("  ckb-next skipped: it does not run as root\n");
    else if (!found("ckb-next").isEmpty())
        subjects.push_back({"ckb-next", found("ckb-next"), {}, {}, {}, -1, {}});

    std::vector<std::vector<double>> ms(subjects.size()), rss(subjects.size());
    for (int r = 0; r < runs; ++r)
        for (size_t i = 0; i < subjects.size(); ++i) {
            Sample s;
            if (runOnce(display, subjects[i], work.path(), s)) {
                ms[i].push_back(s.mappedMs);
                rss[i].push_back(s.rssKb);
            }
        }

    std::printf("exec to mapped window and RSS 3 s later, %d interleaved runs\n", runs);
    for (size_t i = 0; i < subjects.size(); ++i) {
        if (ms[i].empty())
            std::printf("  %-18s skipped: no window (see its log in the work folder)\n",
                        qPrintable(subjects[i].name));
        else
            std::printf("  %-18s %7.1f ms  %7.1f MiB\n", qPrintable(subjects[i].name),
                        median(ms[i]), median(rss[i]) / 1024);
    }
    if (ms[0].empty()) {
        std::fprintf(stderr, "the program showed no window\n");
        return 1;
    }
    for (size_t i = 1; i < subjects.size(); ++i)
        if (!ms[i].empty())
            std::printf("  q7config / %-18s time %.2f, RSS %.2f\n", qPrintable(subjects[i].name),
                        median(ms[0]) / median(ms[i]), median(rss[0]) / median(rss[i]));
    XCloseDisplay(display);
    return 0;
}
