// The factory configuration the build writes to bin/modules/setting/.
#include "ApConfig.h"
#include "Languages.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestApConfigFactory : public QObject {
    Q_OBJECT

private slots:
    void factoryFileFitsLanguagesAndDevice() {
        const QString modules = qEnvironmentVariable("Q7_BUILD_BIN") + "/modules/";
        QFile factory(modules + "setting/apConfigD.bin"), first(modules + "setting/apConfig.bin");
        QVERIFY(factory.open(QIODevice::ReadOnly) && first.open(QIODevice::ReadOnly));
        QCOMPARE(first.readAll(), factory.readAll()); // a first start is a factory start

        QTemporaryDir tmp; // work on a copy so the staged files stay untouched
        QVERIFY(QFile::copy(factory.fileName(), tmp.path() + "/apConfig.bin"));
        ApConfig config(tmp.path());
        const QVariantList options = config.loadApConfig();
        QCOMPARE(options.size(), 32);
        // Option 4 is a position in the language list, which is ordered by display name.
        const QStringList names = Languages(modules + "i18n/").chkLanguages().keys();
        QCOMPARE(options.at(4).toInt(), names.indexOf("ENGLISH"));

        QCOMPARE(config.productNames().size(), 2); // one per device-table entry
        // The profile defaults store DPI / 50 in one byte.
        QCOMPARE(config.q7_getApConfig("dpiBase").toInt(), 50);
        const QStringList dpi = config.q7_getApConfig("dpiValue").toStringList();
        QCOMPARE(dpi.size(), 18);
        for (const QString &value : dpi)
            QVERIFY(value.toInt() % 50 == 0 && value.toInt() / 50 <= 255);
    }
};

QTEST_GUILESS_MAIN(TestApConfigFactory)
#include "tst_apconfig_factory.moc"
