// The real program over the virtual mouse, made to write its files (profile switches, ALL
// SAVE, settings page applies) and killed with SIGKILL at random moments. After every kill
// each file the program keeps must read back whole, and the next start must succeed.
// Run by scripts/kill-soak.sh; prints one line of figures at the end.

#include "Journey.h"
#include "SoakFiles.h"
#include "VirtualMouse.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>

#include <cstdio>

namespace {

// Empty when the file is whole; otherwise what is wrong with it.
QString configProblem(const QByteArray &bytes) {
    const qt48ini::Document doc = qt48ini::parse(bytes, qt48ini::Codec::Latin1);
    if (!doc.ok)
        return QStringLiteral("a line is not understood");
    const int total = valueOf(doc, QStringLiteral("common/total")).toInt();
    if (total != 32)
        return QStringLiteral("total is %1").arg(total);
    QStringList keys = {"Q7/dpiValue", "Q7/effectEnable", "Q7/dpiBase"};
    for (int i = 0; i < total; ++i)
        keys << QStringLiteral("common/%1").arg(i);
    for (const QString &key : keys)
        if (!valueOf(doc, key).isValid())
            return key + QStringLiteral(" is missing");
    return {};
}

QString mouseProblem(const QString &path) {
    const QByteArray bytes = bytesOf(path);
    // The state file ends with its last block; all six key matrices come before the macros.
    if (!bytes.endsWith('\n') || !bytes.contains("[matrix 5]\n"))
        return QStringLiteral("cut short");
    vmouse::State s;
    if (!vmouse::loadStateFile(path.toStdString(), s))
        return QStringLiteral("unreadable");
    return {};
}

// Temporary files a save leaves beside its target when killed before the rename: the
// virtual mouse's "<file>.tmp", the settings class's "<file>.XXXXXX".
int leftovers(const QString &dir, const QStringList &targets) {
    int n = 0;
    for (const QString &f : QDir(dir).entryList(QDir::Files | QDir::Hidden))
        for (const QString &t : targets)
            n += f.startsWith(t + QLatin1Char('.'));
    return n;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;
    QRandomGenerator random(argc > 2 ? QString::fromLocal8Bit(argv[2]).toUInt() : 20261207u);

    Journey j(QStringLiteral("kill-soak"));
    if (!j.start()) {
        std::fprintf(stderr, "start: %s\n", j.errorText());
        return 2;
    }
    const QString setting = j.programDir() + QStringLiteral("/modules/setting/");
    const QString profile = setting + QStringLiteral("p_Q7.bin");
    const QString config = setting + QStringLiteral("apConfig.bin");
    const QString mouseDir = QFileInfo(j.mouseStateFile()).path();

    int killed = 0, changed = 0, midWrite = 0, failures = 0;
    for (int r = 0; r < rounds; ++r) {
        const QByteArray before[] = {bytesOf(profile), bytesOf(config), bytesOf(j.mouseStateFile())};
        // A burst of writes, then a kill at a random moment inside or after it.
        const int steps = 1 + int(random.bounded(3));
        for (int s = 0; s < steps; ++s) {
            const int pick = random.bounded(3);
            if (pick == 0)
                j.click(QStringLiteral("pfEntry%1").arg(1 + random.bounded(5)));
            else if (pick == 1)
                j.click(QStringLiteral("btnTotalApply"));
            else if (j.click(QStringLiteral("btnSetting"))) // its Apply writes the configuration
                j.click(QStringLiteral("btnApply"));
        }
        QThread::msleep(random.bounded(400));
        if (!j.killProgram()) {
            std::fprintf(stderr, "round %d: %s\n", r, j.errorText());
            return 2;
        }
        ++killed;
        const QByteArray after[] = {bytesOf(profile), bytesOf(config), bytesOf(j.mouseStateFile())};
        for (int f = 0; f < 3; ++f)
            changed += before[f] != after[f];
        midWrite += leftovers(setting, {QStringLiteral("p_Q7.bin"), QStringLiteral("apConfig.bin")}) +
                        leftovers(mouseDir, {QStringLiteral("mouse.txt")}) >
                    0;

        const QString problems[] = {profileFileProblem(after[0]), configProblem(after[1]),
                                    mouseProblem(j.mouseStateFile())};
        const char *names[] = {"profile file", "configuration", "mouse state"};
        for (int f = 0; f < 3; ++f) {
            if (!problems[f].isEmpty()) {
                ++failures;
                std::fprintf(stderr, "round %d: %s: %s\n", r, names[f], qPrintable(problems[f]));
            }
        }
        if (!j.relaunch()) {
            std::fprintf(stderr, "round %d: the next start failed: %s\n", r, j.errorText());
            return 1;
        }
    }
    j.stop();
    std::printf("rounds %d, kills %d, files rewritten before the kill %d, kills that left a "
                "write unfinished %d, failures %d\n",
                rounds, killed, changed, midWrite, failures);
    return failures == 0 ? 0 : 1;
}
