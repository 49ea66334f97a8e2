// The language files and the factory configuration the program ships, as staged in
// bin/modules/.
#include "ApConfig.h"
#include "Languages.h"
#include "TestFiles.h"

#include <QFile>
#include <QSettings>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class TestShippedLanguages : public QObject {
    Q_OBJECT

private slots:
    void factoryConfigurationFitsLanguagesAndDevice() {
        const QString modules = qEnvironmentVariable("Q7_BUILD_BIN") + "/modules/";
        const QString factory = modules + "setting/apConfigD.bin";
        // A first start is a factory start.
        QCOMPARE(bytesOf(modules + "setting/apConfig.bin"), bytesOf(factory));
        QTemporaryDir tmp; // work on a copy so the staged files stay untouched
        QVERIFY(QFile::copy(factory, tmp.path() + "/apConfig.bin"));
        ApConfig config(tmp.path());
        const QVariantList options = config.loadApConfig();
        QCOMPARE(options.size(), 32);
        // Option 4 is a position in the language list, which is ordered by display name.
        const QStringList names = Languages(modules + "i18n/").chkLanguages().keys();
        QCOMPARE(options.at(4).toInt(), names.indexOf("ENGLISH"));
        QCOMPARE(config.productNames().size(), 2); // one per device-table entry
        // The profile defaults store DPI / 50 in one byte.
        QCOMPARE(config.productConstant("dpiBase").toInt(), 50);
        for (const QString &value : config.productConstant("dpiValue").toStringList())
            QVERIFY(value.toInt() % 50 == 0 && value.toInt() / 50 <= 255);
    }

    void filesAreCompleteConsistentAndTranslated() {
        const QString dir = qEnvironmentVariable("Q7_BUILD_BIN") + "/modules/i18n/";
        const QVariantMap languages = Languages(dir).chkLanguages();
        QCOMPARE(languages.keys(), QStringList({"CHINESE (Simp)", "CHINESE (Trad)", "ENGLISH"}));
        Languages english(dir);
        const QStringList en = english.getGlobalStrings("031000");
        QCOMPARE(en.mid(113, 6), QStringList({"ALL RESET", "ALL SAVE", "DPI +", "DPI -", "PROFILE",
                                              "PROFILE SWITCH"}));
        const QVariantMap enRules = english.sectionTexts("rules");
        QVERIFY(enRules.contains("switched") && enRules.contains("menu"));
        const auto placeholders = [](const QString &text) {
            QStringList found;
            for (const char *p : {"%1", "%2", "%3"})
                if (text.contains(p))
                    found << p;
            return found;
        };

        for (auto it = languages.cbegin(); it != languages.cend(); ++it) {
            const QString code = it.value().toString();
            // The Qt 4.8 reader rejects a byte-order mark on the first line.
            QVERIFY(!bytesOf(dir + "lang_" + code + ".ini").startsWith("\xEF\xBB\xBF"));

            Languages l(dir);
            const QStringList strings = l.getGlobalStrings(code);
            QVERIFY(strings.size() >= 119);
            QVERIFY2(!strings.mid(0, 119).contains(QString()), qPrintable(it.key()));
            QVERIFY2(!l.msgStrings().contains(QString()), qPrintable(it.key()));

            // Every language names the same keys: the mouse's two main buttons, wheel click,
            // the two side buttons, the DPI button, the top button and the wheel directions.
            const QStringList layout = l.productLayoutStrings(code);
            QSet<int> named;
            for (int k = 0; k < layout.size(); ++k)
                if (!layout.at(k).isEmpty())
                    named.insert(k);
            QCOMPARE(named, QSet<int>({0, 1, 2, 3, 4, 5, 6, 14, 15}));

            if (code == "031000")
                continue;
            // A translation, not a copy: only the DPI step names read the same everywhere.
            QStringList same;
            for (int k = 1; k <= 118; ++k)
                if (strings.at(k) == en.at(k))
                    same << en.at(k);
            QCOMPARE(same, QStringList({"DPI +", "DPI -"}));

            // The rules list's texts: each is the language's own (its file names every key
            // English has) with the same placeholders, so no name or number drops out.
            QSettings file(dir + "lang_" + code + ".ini", QSettings::IniFormat);
            file.beginGroup("rules");
            const QStringList keys = file.childKeys();
            QCOMPARE(QSet<QString>(keys.cbegin(), keys.cend()),
                     QSet<QString>(enRules.keyBegin(), enRules.keyEnd()));
            const QVariantMap own = l.sectionTexts("rules");
            for (auto t = enRules.cbegin(); t != enRules.cend(); ++t) {
                QVERIFY2(!own.value(t.key()).toString().isEmpty(),
                         qPrintable(code + " " + t.key()));
                QCOMPARE(placeholders(own.value(t.key()).toString()), placeholders(t->toString()));
            }
        }
        QVERIFY(Languages(dir).getGlobalStrings("025044").at(29) !=
                Languages(dir).getGlobalStrings("025208").at(29)); // 语言 / 語言
    }
};

QTEST_GUILESS_MAIN(TestShippedLanguages)
#include "tst_i18n_shipped.moc"
