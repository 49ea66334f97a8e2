// Cold start to the first rendered frame, the program's window against a bare
// QQuickWidget built in the same tree: interleaved runs, medians and their ratio. The bare
// window runs twice, with Qt's default renderer and with the software one the program draws
// with, so the program's own cost shows apart from the renderer's.
#include "Median.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <vector>

struct Sample {
    double ms = 0;
    long rssKb = 0;
    QString renderer;
};

static bool runOnce(const QString &probe, bool bare, Sample &out, bool software = false) {
    QProcess p;
    if (software) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QUICK_BACKEND", "software");
        p.setProcessEnvironment(env);
    }
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    p.start(probe, bare ? QStringList{"--bare"} : QStringList{});
    QByteArray line;
    while (!line.contains('\n') && p.waitForReadyRead(20000))
        line += p.readAllStandardOutput();
    out.ms = clock.nsecsElapsed() / 1e6;
    p.waitForFinished(20000);
    const auto m =
        QRegularExpression("rss_kb=(\\d+) renderer=(\\S+)").match(QString::fromUtf8(line));
    if (!m.hasMatch())
        return false;
    out.rssKb = m.captured(1).toLong();
    out.renderer = m.captured(2);
    return true;
}

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QString probe = QCoreApplication::applicationDirPath() + "/bench_startup_probe";
    const int runs = qMax(3, app.arguments().value(1).toInt());

    std::vector<double> appMs, bareMs, appRss, bareRss, ratio, rssRatio;
    std::vector<double> softMs, softRss, softRatio, softRssRatio;
    QString renderer, bareRenderer;
    Sample warm;
    runOnce(probe, true, warm);
    runOnce(probe, false, warm);
    for (int i = 0; i < runs; ++i) {
        Sample a, b, c;
        if (!runOnce(probe, false, a) || !runOnce(probe, true, b) ||
            !runOnce(probe, true, c, true)) {
            std::fprintf(stderr, "a probe run failed (is a display available?)\n");
            return 1;
        }
        appMs.push_back(a.ms);
        bareMs.push_back(b.ms);
        appRss.push_back(a.rssKb);
        bareRss.push_back(b.rssKb);
        ratio.push_back(a.ms / b.ms);
        rssRatio.push_back(double(a.rssKb) / b.rssKb);
        softMs.push_back(c.ms);
        softRss.push_back(c.rssKb);
        softRatio.push_back(a.ms / c.ms);
        softRssRatio.push_back(double(a.rssKb) / c.rssKb);
        renderer = a.renderer;
        bareRenderer = b.renderer;
    }
    std::printf("startup to first frame, %d interleaved runs\n", runs);
    std::printf("  program (%s): median %.1f ms, RSS %.0f KiB\n", qPrintable(renderer),
                median(appMs), median(appRss));
    std::printf("  bare QQuickWidget (%s): median %.1f ms, RSS %.0f KiB\n",
                qPrintable(bareRenderer), median(bareMs), median(bareRss));
    std::printf("  bare QQuickWidget (software): median %.1f ms, RSS %.0f KiB\n", median(softMs),
                median(softRss));
    std::printf("  ratio program/bare: time %.2f (median of pairs), RSS %.2f\n", median(ratio),
                median(rssRatio));
    std::printf("  ratio program/bare, both software: time %.2f, RSS %.2f\n", median(softRatio),
                median(softRssRatio));
    return 0;
}
