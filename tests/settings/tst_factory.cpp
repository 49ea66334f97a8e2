// The factory profile files as the generator writes them, and the staged defaults file.
#include "FactoryBlocks.h"
#include "IniFormat.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestFactory : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    static QString staged(const char *name) {
        return qEnvironmentVariable("Q7_BUILD_BIN") + QStringLiteral("/modules/setting/") + name;
    }

    static void compareBlock(const QVariant &stored, const factory::Block &expected) {
        const QVariantList list = stored.toList();
        QCOMPARE(list.size(), 128);
        for (int i = 0; i < 128; ++i)
            QCOMPARE(list.at(i).toUInt(), uint(expected[i]));
    }

private slots:
    void initTestCase() {
        QCOMPARE(QProcess::execute(QStringLiteral(GENERATOR),
                                   {dir.filePath("pD_Q7.bin"), dir.filePath("p_Q7.bin")}),
                 0);
    }

    void filesAgreeWithTheFactoryMouse_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("defaults") << dir.filePath("pD_Q7.bin");
        QTest::newRow("working") << dir.filePath("p_Q7.bin");
        QTest::newRow("staged defaults") << staged("pD_Q7.bin");
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
            compareBlock(s.value("profile_fw/" + n), factory::profileBlock(p));
            compareBlock(s.value("matrix_fw/" + n), factory::keyMatrixBlock(p));
            factory::Block other{};
            other[0] = factory::dpiStage;
            other[1] = factory::reportRateCode;
            other[2] = p == 0 ? factory::ledTwinkleType : 0;
            compareBlock(s.value("other_fw/" + n), other);
            const QVariantList sw = s.value("profile_sw/" + n).toList();
            QCOMPARE(sw.size(), 4);
            QCOMPARE(sw.at(0).toBool(), false);
            QCOMPARE(sw.at(1).toInt(), 5);
        }
        for (const char *g : {"profile_fw/dirty", "matrix_fw/dirty", "other_fw/dirty"}) {
            const QVariantList dirty = s.value(g).toList();
            QCOMPARE(dirty.size(), 6);
            for (const QVariant &d : dirty)
                QCOMPARE(d.toBool(), false);
        }
        // Plausible firmware values: eight stages of rising DPI over a base of 50.
        const QVariantList fw = s.value("profile_fw/1").toList();
        QCOMPARE(fw.at(70).toInt(), 8);
        QCOMPARE(fw.at(84).toInt() * 50, 400);
        for (int i = 85; i < 92; ++i)
            QVERIFY(fw.at(i).toInt() > fw.at(i - 1).toInt());
    }
};

QTEST_GUILESS_MAIN(TestFactory)
#include "tst_factory.moc"
