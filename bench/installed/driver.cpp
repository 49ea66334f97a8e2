// Installs the build into a staging folder (cmake --install --strip, DESTDIR) and reports the size
// of what landed there; then starts the program from the installed tree and from a copy of the
// build tree's program folder, interleaved, each over the preloaded virtual mouse, and times
// launch → the window answering its test hook, and launch → the function menu shown after the
// opening (the moment a journey starts clicking). Medians and their ratio installed/build.
#include "Median.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray ask(const QString &socketPath, const QByteArray &request) {
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
bool menuShown(const QByteArray &items) {
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
bool startOnce(const QString &program, const QString &home, const QString &work, Start &out) {
    QTemporaryDir runtime(work + "/runtime-XXXXXX");
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString hook = runtime.filePath("hook");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.insert("XDG_DATA_HOME", home + "/.local/share");
    env.insert("XDG_CONFIG_HOME", home + "/.config");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("LD_PRELOAD", QStringLiteral(VIRTUALMOUSE_LIB));
    env.insert("VIRTUAL_MOUSE_STATE", work + "/mouse.txt");
    env.insert("Q7_TEST_GEOMETRY", hook);
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

qint64 treeBytes(const QString &root, int &files, qint64 &blocksKb) {
    qint64 bytes = 0;
    files = 0;
    blocksKb = 0;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        bytes += info.size();
        // Every file rounded up to whole KiB, as a file system with 1 KiB blocks holds them.
        blocksKb += (info.size() + 1023) / 1024;
        ++files;
    }
    return bytes;
}

bool copyTree(const QString &from, const QString &to) {
    QProcess cp;
    cp.start("cp", {"-a", from + "/.", to});
    return cp.waitForFinished(60000) && cp.exitCode() == 0;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int runs = qMax(3, app.arguments().value(1).toInt());
    QTemporaryDir work;
    const QString dest = work.filePath("dest");

    QProcess install;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DESTDIR", dest);
    install.setProcessEnvironment(env);
    install.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    install.setStandardOutputFile(QProcess::nullDevice());
    // Stripped, as the package ships it.
    install.start(CMAKE_COMMAND_PATH, {"--install", BUILD_TREE, "--prefix", "/usr", "--strip"});
    if (!install.waitForFinished(120000) || install.exitCode() != 0) {
        std::fprintf(stderr, "cmake --install failed\n");
        return 1;
    }
    int files = 0;
    qint64 kb = 0;
    const qint64 bytes = treeBytes(dest, files, kb);
    std::printf("installed tree (stripped): %d files, %.2f MiB, %lld KiB in whole KiB per file\n",
                files, bytes / 1048576.0, static_cast<long long>(kb));

    const QString portable = work.filePath("portable");
    QDir().mkpath(portable);
    if (!copyTree(BUILD_BIN, portable)) {
        std::fprintf(stderr, "could not copy the build tree's program folder\n");
        return 1;
    }
    const QString installed = dest + "/usr/bin/q7config";
    const QString built = portable + "/q7config";
    const QString homeInstalled = work.filePath("home-installed");
    const QString homeBuilt = work.filePath("home-built");
    QDir().mkpath(homeInstalled);
    QDir().mkpath(homeBuilt);

    // The first start of each seeds its data (the installed tree's data home, the copy's
    // files); what a user waits for on every later start is what is compared.
    Start first;
    if (!startOnce(installed, homeInstalled, work.path(), first) ||
        !startOnce(built, homeBuilt, work.path(), first)) {
        std::fprintf(stderr, "a start failed (is a display available?), see %s\n",
                     qPrintable(work.filePath("program.log")));
        work.setAutoRemove(false);
        return 1;
    }
    std::vector<double> hookI, hookB, readyI, readyB, ratio;
    for (int i = 0; i < runs; ++i) {
        Start a, b;
        if (!startOnce(installed, homeInstalled, work.path(), a) ||
            !startOnce(built, homeBuilt, work.path(), b)) {
            std::fprintf(stderr, "a start failed\n");
            return 1;
        }
        hookI.push_back(a.hookMs);
        hookB.push_back(b.hookMs);
        readyI.push_back(a.readyMs);
        readyB.push_back(b.readyMs);
        ratio.push_back(a.readyMs / b.readyMs);
    }
    std::printf("cold start, %d interleaved runs (medians)\n", runs);
    std::printf("  window answering: installed %.1f ms, build tree %.1f ms, ratio %.3f\n",
                median(hookI), median(hookB), median(hookI) / median(hookB));
    std::printf("  function menu shown: installed %.1f ms, build tree %.1f ms\n", median(readyI),
                median(readyB));
    std::printf("  ratio installed/build: %.3f median of pairs, %.3f of the medians "
                "(goal <= 1.05)\n",
                median(ratio), median(readyI) / median(readyB));
    return 0;
}
