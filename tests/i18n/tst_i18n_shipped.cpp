// The language files and the factory configuration the program ships, as staged in
// bin/modules/.
#include "ApConfig.h"
#include "Languages.h"

#include <QFile>
#include <QMap>
#include <QSettings>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class TestShippedLanguages : public QObject {
    Q_OBJECT

private slots:
    void factoryConfigurationFitsLanguagesAndDevice() {
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
        QCOMPARE(config.productConstant("dpiBase").toInt(), 50);
        for (const QString &value : config.productConstant("dpiValue").toStringList())
            QVERIFY(value.toInt() % 50 == 0 && value.toInt() / 50 <= 255);
    }

    void filesAreCompleteConsistentAndTranslated() {
        const QString dir = qEnvironmentVariable("Q7_BUILD_BIN") + "/modules/i18n/";
        const QVariantMap languages = Languages(dir).chkLanguages();
        QCOMPARE(languages.keys(), QStringList({"CHINESE (Simp)", "CHINESE (Trad)", "ENGLISH"}));
        const QStringList en = Languages(dir).getGlobalStrings("031000");
        QCOMPARE(en.mid(113, 6), QStringList({"ALL RESET", "ALL SAVE", "DPI +", "DPI -", "PROFILE",
                                              "PROFILE SWITCH"}));

        for (auto it = languages.cbegin(); it != languages.cend(); ++it) {
            const QString code = it.value().toString();
            QFile f(dir + "lang_" + code + ".ini");
            QVERIFY(f.open(QIODevice::ReadOnly));
            // The Qt 4.8 reader rejects a byte-order mark on the first line.
            QVERIFY(!f.peek(3).startsWith("\xEF\xBB\xBF"));

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
        }
        // The rules list's texts: every language has each of them itself (not by falling back
        // to English) with the same placeholders, so no name or number drops out of a sentence.
        const auto rulesOf = [&](const QString &code, bool own) {
            QSettings file(dir + "lang_" + code + ".ini", QSettings::IniFormat);
            file.beginGroup("rules");
            QMap<QString, QString> texts;
            for (const QString &key : file.childKeys())
                texts.insert(key, file.value(key).typeId() == QMetaType::QStringList
                                      ? file.value(key).toStringList().join(", ")
                                      : file.value(key).toString());
            if (!own) {
                Languages l(dir);
                l.getGlobalStrings(code);
                const QVariantMap read = l.sectionTexts("rules");
                texts.clear();
                for (auto t = read.cbegin(); t != read.cend(); ++t)
                    texts.insert(t.key(), t.value().toString());
            }
            return texts;
        };
        const auto placeholders = [](const QString &text) {
            QStringList found;
            for (const char *p : {"%1", "%2", "%3"})
                if (text.contains(p))
                    found << p;
            return found;
        };
        const QMap<QString, QString> enRules = rulesOf("031000", true);
        QVERIFY(enRules.contains("switched") && enRules.contains("menu"));
        for (const QString &code : QStringList{"025044", "025208"}) {
            const QMap<QString, QString> own = rulesOf(code, true);
            QCOMPARE(own.keys(), enRules.keys());
            QCOMPARE(rulesOf(code, false), own);
            for (auto t = enRules.cbegin(); t != enRules.cend(); ++t) {
                QVERIFY2(!own.value(t.key()).isEmpty(), qPrintable(code + " " + t.key()));
                QCOMPARE(placeholders(own.value(t.key())), placeholders(t.value()));
            }
        }

        QVERIFY(Languages(dir).getGlobalStrings("025044").at(29) !=
                Languages(dir).getGlobalStrings("025208").at(29)); // 语言 / 語言
    }
};

QTEST_GUILESS_MAIN(TestShippedLanguages)
#include "tst_i18n_shipped.moc"
