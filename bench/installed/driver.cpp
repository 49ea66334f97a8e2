// Installs the build into a staging folder (cmake --install --strip, DESTDIR) and reports the size
// of what landed there; then starts the program from the installed tree and from a copy of the
// build tree's program folder, interleaved, each over the preloaded virtual mouse, and times
// launch → the window answering its test hook, and launch → the function menu shown after the
// opening (the moment a journey starts clicking). Medians and their ratio installed/build.
#include "Median.h"
#include "ProgramStart.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace programstart;

namespace {

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

    const QString built = copyOfBuildProgram(work.path(), QStringLiteral("portable"));
    if (built.isEmpty())
        return 1;
    const QString installed = dest + "/usr/bin/q7config";
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
