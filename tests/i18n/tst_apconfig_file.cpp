#include "ApConfig.h"
#include "IniFormat.h"
#include "TestFiles.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {
// The 32 options as the settings page writes them, with texts that need quoting.
QVariantList pageOptions() {
    QVariantList o{2, 0, 0, 1, 2, true, QStringLiteral("file:/home/me/a b,c=d.png"), 1};
    for (int i = 0; i < 21; ++i)
        o << (i * 12) % 256;
    return o << 6 << 3 << QStringLiteral("https://example.org/q7?a=1;b=2");
}
} // namespace

class TestApConfigFile : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    QString file() const { return tmp.path() + QStringLiteral("/apConfig.bin"); }
    QString defaults() const { return tmp.path() + QStringLiteral("/apConfigD.bin"); }

private slots:
    void init() {
        QFile::remove(file());
        QFile::remove(defaults());
    }

    // The options round-trip through the file, texts that need quoting too. The skin is a key
    // beside the option list: storing it changes no other byte of the file, and the list as an
    // earlier release reads and rewrites it neither shows nor drops it. A shorter list leaves
    // the old tail in the file but loads only its own entries.
    void optionsAndSkinRoundTripThroughTheFile() {
        const QVariantList saved = pageOptions();
        {
            ApConfig config(tmp.path());
            QCOMPARE(config.skin(), 1);
            config.saveApConfig(saved);
            config.settings().setValue("common/product_name", QStringList{"Q7 Mouse", "Q7 Pro"});
            config.settings().setValue("Q7/dpiValue", QStringList{"400", "800", "1600"});
            config.settings().sync();
        }
        const QByteArray before = bytesOf(file());
        QVERIFY(ApConfig(tmp.path()).saveSkin(2));
        QByteArray after = bytesOf(file());
        QVERIFY(after.contains("skin=2\n\n[Q7]"));
        QCOMPARE(after.replace("skin=2\n", ""), before);

        ApConfig config(tmp.path());
        QCOMPARE(config.skin(), 2);
        const QVariantList loaded = config.loadApConfig();
        QCOMPARE(loaded.size(), 32);
        for (int i = 0; i < 32; ++i)
            QCOMPARE(loaded.at(i).toString(), saved.at(i).toString());
        config.saveApConfig({2, 0, 0});
        config.settings().sync();
        QCOMPARE(config.loadApConfig().size(), 3);
        QCOMPARE(QSettings(file(), qt48IniFormat()).value("common/31").toString(),
                 saved.at(31).toString());
        QCOMPARE(ApConfig(tmp.path()).skin(), 2);

        // A number no skin has is neither stored nor taken from the file.
        const QByteArray kept = bytesOf(file());
        QVERIFY(!config.saveSkin(3) && !config.saveSkin(0));
        QCOMPARE(bytesOf(file()), kept);
        for (const char *stored : {"3", "-1", "two"}) {
            config.settings().setValue("common/skin", stored);
            QCOMPARE(config.skin(), 1);
        }
    }

    void absentOrDamagedValues() {
        ApConfig config(tmp.path());
        QVERIFY(config.loadApConfig().isEmpty());
        QCOMPARE(config.productConstant("dpiBase"), QVariant(0));
        config.settings().setValue("common/total", 3);
        QCOMPARE(config.loadApConfig(), QVariantList({0, 0, 0}));
        config.settings().setValue("common/total", 2000000000);
        QCOMPARE(config.loadApConfig().size(), ApConfig::maxOptions);
    }

    void resetRestoresTheFactoryFile() {
        {
            QSettings d(defaults(), qt48IniFormat());
            d.setValue("common/total", 2);
            d.setValue("common/0", 2);
            d.setValue("common/1", 7);
            d.setValue("Q7/dpiBase", 50);
        }
        ApConfig config(tmp.path());
        config.saveApConfig(pageOptions());
        config.saveSkin(2);
        // A write still pending when the reset comes must not reach the restored file.
        config.saveApConfig({9, 9, 9, 9});
        config.resetApconfig();
        QCOMPARE(config.loadApConfig(), QVariantList({"2", "7"}));
        QCOMPARE(config.productConstant("dpiBase").toInt(), 50);
        QCOMPARE(config.skin(), 1);
        config.settings().sync();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(bytesOf(file()), bytesOf(defaults()));

        config.saveApConfig({1, 2, 3});
        config.settings().sync();
        QCOMPARE(QSettings(file(), qt48IniFormat()).value("common/total").toInt(), 3);

        // Without a factory file the reset fails and the configuration stays as it was.
        const QByteArray before = bytesOf(file());
        QFile::remove(defaults());
        QVERIFY(!config.resetApconfig());
        QCOMPARE(bytesOf(file()), before);
        QCOMPARE(config.loadApConfig().size(), 3);
    }
};

QTEST_MAIN(TestApConfigFile)
#include "tst_apconfig_file.moc"
