// The preloadable build of the virtual mouse over a program linked against the real hidapi.

#include "VirtualMouse.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class PreloadTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QByteArray out, err;

    // Runs the probe with the mouse preloaded and `env` added; its exit code, -1 if it hung.
    int probe(const QMap<QString, QString> &env) {
        QProcess p;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("LD_PRELOAD", QStringLiteral(VIRTUALMOUSE_LIB));
        for (auto it = env.cbegin(); it != env.cend(); ++it)
            e.insert(it.key(), it.value());
        p.setProcessEnvironment(e);
        p.start(QStringLiteral(VM_PROBE), {});
        if (!p.waitForFinished(30000))
            return -1;
        out = p.readAllStandardOutput().trimmed();
        err = p.readAllStandardError();
        return p.exitCode();
    }

private Q_SLOTS:
    void programTalksToThePreloadedMouse() {
        const QString state = dir.filePath("state/virtual-mouse.txt");
        const QString traffic = dir.filePath("traffic.txt");
        for (int run = 0; run < 2; ++run) {
            QCOMPARE(probe({{"VIRTUAL_MOUSE_STATE", state}, {"VIRTUAL_MOUSE_LOG", traffic}}), 0);
            QCOMPARE(out, QByteArray("firmware 1.0A"));
        }
        vmouse::State s;
        QVERIFY(vmouse::loadStateFile(state.toStdString(), s));
        QCOMPARE((QList<int>{s.currentProfile, s.dpiStage[4], s.functionOption, s.matrices[4][0],
                             s.matrices[4][127]}),
                 (QList<int>{4, 7, 0x08, 255, 128}));
        QFile log(traffic);
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray text = log.readAll();
        QVERIFY(text.contains("feature virtual-mouse/0 9 00 01 08 00 00 00 00 00 f6"));
        // Two runs, two greetings: the log is appended to.
        QCOMPARE(text.count("00 01 08 00 00 00 00 00 f6"), 4); // wire and decoded, twice
    }

    // The fault list reaches the preloaded mouse from the start; a bad item is named on stderr
    // and skipped, the program goes on.
    void faultsFromTheEnvironment() {
        const QString state = dir.filePath("virtual-mouse.txt");
        QCOMPARE(probe({{"VIRTUAL_MOUSE_STATE", state}, {"VIRTUAL_MOUSE_FAULTS", "absent"}}), 2);
        QCOMPARE(out, QByteArray("not found"));
        QCOMPARE(probe({{"VIRTUAL_MOUSE_STATE", state},
                        {"VIRTUAL_MOUSE_FAULTS", "unplug-at=x, fail-answer ,\xff\x01"}}),
                 0);
        QCOMPARE(out, QByteArray("firmware unknown"));
        QVERIFY(err.contains("ignored \"unplug-at=x\""));
        QCOMPARE(err.count("VIRTUAL_MOUSE_FAULTS"), 2);
    }
};

QTEST_GUILESS_MAIN(PreloadTest)
#include "tst_sim_preload.moc"
