// The factory profile files as the generator writes them, and the staged defaults file, agree
// with the virtual mouse's factory blocks (whose values tst_sim_firmware checks).
#include "FactoryBlocks.h"
#include "ProfileFiles.h"

#include <QProcess>

class TestFactory : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase() {
        QCOMPARE(QProcess::execute(QStringLiteral(GENERATOR),
                                   {dir.filePath("pD_Q7.bin"), dir.filePath("p_Q7.bin")}),
                 0);
    }

    void filesAgreeWithTheFactoryMouse_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("working") << dir.filePath("p_Q7.bin");
        QTest::newRow("staged defaults")
            << qEnvironmentVariable("Q7_BUILD_BIN") + "/modules/setting/pD_Q7.bin";
    }
    void filesAgreeWithTheFactoryMouse() {
        QFETCH(QString, path);
        QVERIFY(QFile::exists(path));
        QSettings s(path, qt48IniFormat());
        QCOMPARE(s.value("common/curProfile").toUInt(), 1u);
        QCOMPARE(s.value("Q7/vid").toString().toUInt(nullptr, 16), 0x04d9u);
        QCOMPARE(s.value("Q7/pid").toString().toUInt(nullptr, 16), 0xa1b7u);
        QVERIFY(s.contains("common/sc"));
        QCOMPARE(s.value("common/sc").toString(), QString());
        for (int p = 0; p < 6; ++p) {
            const QString n = QString::number(p);
            QCOMPARE(uints(s.value("profile_fw/" + n)), valuesOf(factory::profileBlock(p)));
            QCOMPARE(uints(s.value("matrix_fw/" + n)), valuesOf(factory::keyMatrixBlock(p)));
            QList<uint> other(128, 0);
            other[0] = factory::dpiStage;
            other[1] = factory::reportRateCode;
            other[2] = p == 0 ? factory::ledTwinkleType : 0;
            QCOMPARE(uints(s.value("other_fw/" + n)), other);
            QCOMPARE(s.value("profile_sw/" + n).toStringList(),
                     (QStringList{"false", "5", "2", "5"}));
        }
        for (const char *g : {"profile_fw/dirty", "matrix_fw/dirty", "other_fw/dirty"})
            QCOMPARE(s.value(g).toStringList(), QStringList(6, "false"));
    }
};

QTEST_GUILESS_MAIN(TestFactory)
#include "tst_factory.moc"
