// A full refill of the profile store from the virtual mouse (zero transport latency) against
// the protocol's floor: 26 exchanges, each with its 30 ms settle pause. Printed as ratios
// against that floor and against the same pauses slept alone in this run.
// Also the cost of loading and saving the whole profile settings file, against one exchange
// and against Qt's own INI format on the same data.

#include "DeviceRefillSource.h"
#include "IniFormat.h"
#include "MS_HT66FB560.h"
#include "ProfileStore.h"
#include "VirtualMouse.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

constexpr int exchanges = 26;
constexpr double settleMs = 30.0;

double msSince(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

// Loads and saves all 18 block lists through `format`, on a fresh file name each round so
// that QSettings' per-file cache never answers instead of the reader.
void fileRoundTrips(const QString &factory, QTemporaryDir &dir, QSettings::Format format,
                    int rounds, double &loadMs, double &saveMs) {
    QSettings::SettingsMap values;
    {
        QSettings src(factory, qt48IniFormat());
        for (const QString &k : src.allKeys())
            values.insert(k, src.value(k));
    }
    // The file as `format` writes it, to be read back.
    const QString seed = dir.filePath(QStringLiteral("seed-%1").arg(int(format)));
    {
        QSettings s(seed, format);
        for (auto it = values.constBegin(); it != values.constEnd(); ++it)
            s.setValue(it.key(), it.value());
    }
    loadMs = saveMs = 0;
    for (int r = 0; r < rounds; ++r) {
        const QString path = dir.filePath(QStringLiteral("f%1-%2").arg(int(format)).arg(r));
        QFile::copy(seed, path);
        QElapsedTimer t;
        t.start();
        QSettings s(path, format);
        QVariantList lists[18];
        int n = 0;
        for (const char *g : {"profile_fw", "matrix_fw", "other_fw"})
            for (int p = 0; p < 6; ++p)
                lists[n++] = s.value(QStringLiteral("%1/%2").arg(g).arg(p)).toList();
        loadMs += msSince(t);
        t.restart();
        n = 0;
        for (const char *g : {"profile_fw", "matrix_fw", "other_fw"})
            for (int p = 0; p < 6; ++p)
                s.setValue(QStringLiteral("%1/%2").arg(g).arg(p), lists[n++]);
        s.sync();
        saveMs += msSince(t);
    }
    loadMs /= rounds;
    saveMs /= rounds;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const QString factory = QStringLiteral(Q7_FACTORY_DIR "/p_Q7.bin");
    QTemporaryDir dir;
    const QString working = dir.filePath(QStringLiteral("p_Q7.bin"));
    if (!QFile::copy(factory, working)) {
        std::fprintf(stderr, "no factory file at %s\n", qPrintable(factory));
        return 1;
    }

    vmouse::reset();
    MS_HT66FB560 dev;
    if (!linkDevice(dev, {QStringLiteral("Old"), QStringLiteral("Q7")}, QStringLiteral("04d9"),
                    QStringLiteral("a1b7"), QString())) {
        std::fprintf(stderr, "the virtual mouse was not found\n");
        return 1;
    }
    ProfileStore store(working, QStringLiteral(Q7_FACTORY_DIR "/pD_Q7.bin"));
    DeviceRefillSource source(dev);
    store.setRefillSource(&source);
    store.setDeviceLinked(true);

    QElapsedTimer t;
    t.start();
    for (int r = 0; r < rounds; ++r)
        store.syncFromDevice();
    const double syncMs = msSince(t) / rounds;

    t.restart();
    for (int r = 0; r < rounds; ++r)
        for (int i = 0; i < exchanges; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(int(settleMs)));
    const double pausesMs = msSince(t) / rounds;

    const double floorMs = exchanges * settleMs;
    std::printf("sync: full refill, %d exchanges, mean of %d rounds\n", exchanges, rounds);
    std::printf("  refill %8.1f ms  floor %5.0f ms  ratio %.4f  (goal <= 1.05)\n", syncMs, floorMs,
                syncMs / floorMs);
    std::printf("  pauses alone %6.1f ms; refill / pauses alone ratio %.4f\n", pausesMs,
                syncMs / pausesMs);

    const int fileRounds = 20;
    double ourLoad, ourSave, qtLoad, qtSave;
    fileRoundTrips(factory, dir, qt48IniFormat(), fileRounds, ourLoad, ourSave);
    fileRoundTrips(factory, dir, QSettings::IniFormat, fileRounds, qtLoad, qtSave);
    // Writing the same bytes through an atomic replace, without any settings code: the part of
    // a save that belongs to the file system.
    QFile seed(factory);
    seed.open(QIODevice::ReadOnly);
    const QByteArray bytes = seed.readAll();
    t.restart();
    for (int r = 0; r < fileRounds; ++r) {
        QSaveFile out(dir.filePath(QStringLiteral("raw%1").arg(r)));
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
        out.commit();
    }
    const double replaceMs = msSince(t) / fileRounds;

    std::printf("profile file: all 18 lists, mean of %d rounds\n", fileRounds);
    std::printf("  load %7.3f ms  / one exchange (30 ms) %.4f  / Qt's own INI %.2f\n", ourLoad,
                ourLoad / settleMs, ourLoad / qtLoad);
    std::printf("  save %7.3f ms  / one exchange (30 ms) %.4f  / Qt's own INI %.2f\n", ourSave,
                ourSave / settleMs, ourSave / qtSave);
    std::printf("  atomic replace of the same bytes alone %.3f ms; save / replace alone %.2f\n",
                replaceMs, ourSave / replaceMs);
    return 0;
}
