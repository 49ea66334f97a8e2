#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

// The built program started as a user starts it, over the preloaded virtual mouse, and asked
// through its test hook (Q7_TEST_GEOMETRY) when the function menu stands fully shown in an
// enabled view: the moment a user can first act. Needs VIRTUALMOUSE_LIB and BUILD_BIN defined
// and an X display.
namespace programstart {

inline QByteArray ask(const QString &socketPath, const QByteArray &request) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(200))
        return {};
    socket.write(request + '\n');
    QByteArray answer;
    QElapsedTimer clock;
    clock.start();
    while (!answer.endsWith("end\n") && clock.elapsed() < 2000) {
        if (!socket.waitForReadyRead(200))
            continue;
        answer += socket.readAll();
    }
    return answer.endsWith("end\n") ? answer : QByteArray();
}

// The function menu's third entry fully shown in an enabled view: the opening has ended.
inline bool menuShown(const QByteArray &items) {
    bool enabled = false;
    for (const QByteArray &line : items.split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (w.value(0) == "window" && w.size() == 7)
            enabled = w[5] == "1";
        else if (w.value(0) == "item" && w.size() == 8 && w[1] == "fnEntry3")
            return enabled && w[6].toDouble() >= 0.999;
    }
    return false;
}

struct Start {
    double hookMs = 0;
    double readyMs = 0;
};

// One start and close of the program at `program`, with its own runtime folder (a killed copy
// leaves its lock behind) and the given home, which persists between the runs of one tree.
inline bool startOnce(const QString &program, const QString &home, const QString &work, Start &out,
                      const QProcessEnvironment &extra = {}) {
    QTemporaryDir runtime(work + "/runtime-XXXXXX");
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString hook = runtime.filePath("hook");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.insert("XDG_DATA_HOME", home + "/.local/share");
    env.insert("XDG_CONFIG_HOME", home + "/.config");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("LD_PRELOAD", QStringLiteral(VIRTUALMOUSE_LIB " " TESTHOOK_LIB));
    env.insert("VIRTUAL_MOUSE_STATE", work + "/mouse.txt");
    env.insert("Q7_TEST_GEOMETRY", hook);
    for (const QString &key : extra.keys())
        env.insert(key, extra.value(key));
    QProcess p;
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(work + "/program.log", QIODevice::Append);
    QElapsedTimer clock;
    clock.start();
    p.start(program, {});
    bool hookSeen = false;
    while (clock.elapsed() < 30000 && p.state() != QProcess::NotRunning) {
        const QByteArray items = ask(hook, "items");
        if (!items.isEmpty() && !hookSeen) {
            out.hookMs = clock.nsecsElapsed() / 1e6;
            hookSeen = true;
        }
        if (menuShown(items)) {
            out.readyMs = clock.nsecsElapsed() / 1e6;
            break;
        }
        QThread::msleep(2);
    }
    p.terminate();
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(5000);
    }
    return out.readyMs > 0;
}

inline bool copyTree(const QString &from, const QString &to) {
    QProcess cp;
    cp.start("cp", {"-a", from + "/.", to});
    return cp.waitForFinished(60000) && cp.exitCode() == 0;
}

// A copy of the build tree's program folder under `work` (the program writes beside itself
// there), as a user would run it unpacked; its q7config, or empty when the copy failed.
inline QString copyOfBuildProgram(const QString &work, const QString &name) {
    const QString folder = work + QLatin1Char('/') + name;
    QDir().mkpath(folder);
    if (!copyTree(QStringLiteral(BUILD_BIN), folder)) {
        std::fprintf(stderr, "could not copy the build tree's program folder\n");
        return QString();
    }
    return folder + QStringLiteral("/q7config");
}

} // namespace programstart
