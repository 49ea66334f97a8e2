// The factory configuration the build writes to bin/modules/setting/.
#include "ApConfig.h"
#include "Languages.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestApConfigFactory : public QObject {
    Q_OBJECT

    QString modules;
    QTemporaryDir tmp;

    static QByteArray bytesOf(const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void initTestCase() {
        modules = qEnvironmentVariable("Q7_BUILD_BIN") + QStringLiteral("/modules/");
        const QByteArray factory = bytesOf(modules + "setting/apConfigD.bin");
        QVERIFY(!factory.isEmpty());
        // A first start works from the factory state.
        QCOMPARE(bytesOf(modules + "setting/apConfig.bin"), factory);
        // The Qt 4.8 form escapes everything past ASCII.
        for (char c : factory)
            QVERIFY(uchar(c) < 0x80);
        // Work on a copy so the staged files stay untouched.
        QVERIFY(QFile::copy(modules + "setting/apConfigD.bin", tmp.path() + "/apConfigD.bin"));
        QVERIFY(QFile::copy(modules + "setting/apConfigD.bin", tmp.path() + "/apConfig.bin"));
    }

    void optionsSelectEnglishAndThePageDefaults() {
        ApConfig config(tmp.path());
        const QVariantList options = config.loadApConfig();
        QCOMPARE(options.size(), 32);
        // Option 4 is a position in the language list, which is ordered by display name.
        const QStringList names = Languages(modules + "i18n/").chkLanguages().keys();
        QCOMPARE(options.at(4).toInt(), names.indexOf("ENGLISH"));
        QCOMPARE(options.at(3).toInt(), 0);   // animations on
        QCOMPARE(options.at(5).toBool(), false);
        QCOMPARE(options.at(30).toInt(), 7);  // full text brightness
        QVERIFY(options.at(31).toString().startsWith("https://"));
    }

    void productConstantsFitTheDevice() {
        ApConfig config(tmp.path());
        QVERIFY(!config.settings().value("common/name").toString().isEmpty());
        QCOMPARE(config.productNames().size(), 2); // one per device-table entry
        QCOMPARE(config.q7_getApConfig("colorMaxStage").toInt(), 8);
        QCOMPARE(config.q7_getApConfig("effectEnable").toStringList(), QStringList(11, "true"));
        // The profile defaults store DPI in steps of 50.
        const int base = config.q7_getApConfig("dpiBase").toInt();
        QCOMPARE(base, 50);
        const QStringList dpi = config.q7_getApConfig("dpiValue").toStringList();
        QCOMPARE(dpi.size(), 18);
        QCOMPARE(dpi.first(), QString("0")); // "switched off"
        for (const QString &value : dpi) {
            QCOMPARE(value.toInt() % base, 0);
            QVERIFY(value.toInt() / base <= 255); // one byte on the device
        }
    }
};

QTEST_GUILESS_MAIN(TestApConfigFactory)
#include "tst_apconfig_factory.moc"
