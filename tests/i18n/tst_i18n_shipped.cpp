// The language files the program ships, as staged in bin/modules/i18n/.
#include "Languages.h"

#include <QFile>
#include <QSet>
#include <QTest>

class TestShippedLanguages : public QObject {
    Q_OBJECT

private slots:
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
            const QStringList layout = l.q7_getProductLayoutStrings(code);
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
        QVERIFY(Languages(dir).getGlobalStrings("025044").at(29) !=
                Languages(dir).getGlobalStrings("025208").at(29)); // 语言 / 語言
    }
};

QTEST_GUILESS_MAIN(TestShippedLanguages)
#include "tst_i18n_shipped.moc"
