// Start-up against a mouse that takes commands but never sends a data report (the first
// block read of the refill times out) against the same start with no mouse at all: time
// from launch to the program window's first frame, interleaved runs, medians and their
// ratio. Both starts preload the virtual mouse, so they differ only in its fault list.
#include "Median.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

static bool runOnce(const QString &probe, const QString &faults, const QString &state,
                    double &ms) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_PRELOAD", QStringLiteral(VIRTUALMOUSE_LIB));
    env.insert("VIRTUAL_MOUSE_FAULTS", faults);
    env.insert("VIRTUAL_MOUSE_STATE", state);
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    p.start(probe, {});
    QByteArray line;
    while (!line.contains('\n') && p.waitForReadyRead(30000))
        line += p.readAllStandardOutput();
    ms = clock.nsecsElapsed() / 1e6;
    p.waitForFinished(30000);
    return line.startsWith("frame ");
}

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QString probe = QCoreApplication::applicationDirPath() + "/bench_startup_probe";
    const int runs = qMax(3, app.arguments().value(1).toInt());
    QTemporaryDir dir;
    const QString state = dir.filePath("virtual-mouse.txt");

    std::vector<double> silentMs, absentMs, ratio;
    double warm = 0;
    runOnce(probe, "absent", state, warm);
    runOnce(probe, "silent", state, warm);
    for (int i = 0; i < runs; ++i) {
        double s = 0, a = 0;
        if (!runOnce(probe, "silent", state, s) || !runOnce(probe, "absent", state, a)) {
            std::fprintf(stderr, "a probe run failed (is a display available?)\n");
            return 1;
        }
        silentMs.push_back(s);
        absentMs.push_back(a);
        ratio.push_back(s / a);
    }
    std::printf("startup to first frame, %d interleaved runs\n", runs);
    std::printf("  mouse silent from its first block read: median %.1f ms\n", median(silentMs));
    std::printf("  no mouse at all: median %.1f ms\n", median(absentMs));
    std::printf("  ratio silent/none: %.2f median of pairs, %.2f of the medians (goal <= 1.3)\n",
                median(ratio), median(silentMs) / median(absentMs));
    return 0;
}
