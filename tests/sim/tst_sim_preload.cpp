// The preloadable build of the virtual mouse over a program linked against the real hidapi.

#include "VirtualMouse.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class PreloadTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void programTalksToThePreloadedMouse();
    void faultsFromTheEnvironment();
};

void PreloadTest::programTalksToThePreloadedMouse() {
    QTemporaryDir dir;
    const QString state = dir.filePath("state/virtual-mouse.txt");
    const QString traffic = dir.filePath("traffic.txt");
    for (int run = 0; run < 2; ++run) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", QStringLiteral(VIRTUALMOUSE_LIB));
        env.insert("VIRTUAL_MOUSE_STATE", state);
        env.insert("VIRTUAL_MOUSE_LOG", traffic);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(VM_PROBE), {});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(p.readAllStandardOutput().trimmed(), QByteArray("firmware 1.0A"));
    }
    vmouse::State s;
    QVERIFY(vmouse::loadStateFile(state.toStdString(), s));
    QCOMPARE(int(s.currentProfile), 4);
    QCOMPARE(int(s.dpiStage[4]), 7);
    QCOMPARE(int(s.functionOption), 0x08);
    QCOMPARE(int(s.matrices[4][0]), 255);
    QCOMPARE(int(s.matrices[4][127]), 128);
    QFile log(traffic);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    QVERIFY(text.contains("feature virtual-mouse/0 9 00 01 08 00 00 00 00 00 f6"));
    // Two runs, two greetings: the log is appended to.
    QCOMPARE(text.count("00 01 08 00 00 00 00 00 f6"), 4); // wire and decoded, twice
}

// The fault list reaches the preloaded mouse from the start; a bad item is named on stderr
// and skipped, the program goes on.
void PreloadTest::faultsFromTheEnvironment() {
    QTemporaryDir dir;
    auto run = [&](const QString &faults, QByteArray &out, QByteArray &err) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", QStringLiteral(VIRTUALMOUSE_LIB));
        env.insert("VIRTUAL_MOUSE_STATE", dir.filePath("virtual-mouse.txt"));
        env.insert("VIRTUAL_MOUSE_FAULTS", faults);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(VM_PROBE), {});
        if (!p.waitForFinished(30000))
            return -1;
        out = p.readAllStandardOutput().trimmed();
        err = p.readAllStandardError();
        return p.exitCode();
    };
    QByteArray out, err;
    QCOMPARE(run("absent", out, err), 2);
    QCOMPARE(out, QByteArray("not found"));
    QCOMPARE(run("unplug-at=x, fail-answer ,\xff\x01", out, err), 0);
    QCOMPARE(out, QByteArray("firmware unknown"));
    QVERIFY(err.contains("ignored \"unplug-at=x\""));
    QCOMPARE(err.count("VIRTUAL_MOUSE_FAULTS"), 2);
}

QTEST_GUILESS_MAIN(PreloadTest)
#include "tst_sim_preload.moc"
