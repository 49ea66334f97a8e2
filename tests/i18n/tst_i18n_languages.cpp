#include "Languages.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestLanguages : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    QString dir() const { return tmp.path() + QStringLiteral("/i18n/"); }
    void write(const QString &path, const QByteArray &utf8) {
        QVERIFY(writeFile(path.startsWith('/') ? path : dir() + path, utf8));
    }

private slots:
    void init() {
        QDir(dir()).removeRecursively();
        QVERIFY(QDir().mkpath(dir()));
    }

    void listsLanguageFilesByDisplayName() {
        for (const char *name : {"lang_031000.ini", "lang_025208.ini", "LANG_025044.INI",
                                 "lang_042014.ini", "lang_031000.txt", "readme.ini"})
            write(name, "");
        QCOMPARE(Languages(dir()).chkLanguages(),
                 (QVariantMap{{"CHINESE (Simp)", "025044"}, {"CHINESE (Trad)", "025208"},
                              {"ENGLISH", "031000"}, {"GERMAN (AUSTRIA)", "042014"}}));
        // The Qt 4.8 numbers: 75 is English only in Qt 6's numbering.
        QCOMPARE(Languages::displayName(31, 225), QString("ENGLISH (UNITEDSTATES)"));
        QCOMPARE(Languages::displayName(75, 0), QString("MALAGASY"));
        QCOMPARE(Languages::displayName(999, -1), QString("UNKNOWN (UNKNOWN)"));
    }

    // Malformed names read as language 0, country 0 (the later name in sorted order wins) with
    // empty texts; a damaged count is capped and an unquoted comma's text stays whole; codes
    // cannot reach out of the folder.
    void damagedInputStaysHarmless() {
        write("lang_12.ini", "[font]\nfamily=X\ntotal=1\n[strings]\n1=ONE\n[msg]\n0=M\n");
        write("lang_.ini", "");
        Languages languages(dir());
        const QVariantMap map = languages.chkLanguages();
        QCOMPARE(map.size(), 1);
        const QString code = map.value("DEFAULT").toString();
        QCOMPARE(code, QString("12.ini"));
        QCOMPARE(languages.getGlobalStrings(code), QStringList({QString()}));
        QCOMPARE(languages.msgStrings(), QStringList(Languages::messageCount, QString()));
        QCOMPARE(languages.productLayoutStrings(code), QStringList(16, QString()));

        // An unquoted comma makes the value a list.
        write("lang_031000.ini", "[font]\ntotal=2000000000\n[strings]\n1=PLAY, PAUSE\n");
        const QStringList strings = languages.getGlobalStrings("031000");
        QCOMPARE(strings.size(), Languages::maxStrings + 1);
        QCOMPARE(strings.at(1), QString("PLAY, PAUSE"));

        // "lang_" + code + ".ini" would resolve to a file beside the folder.
        QVERIFY(QDir().mkpath(dir() + "lang_"));
        write(tmp.path() + "/secret.ini", "[font]\nfamily=SECRET\n[Q7_133C6AA]\n0=SECRET\n");
        QCOMPARE(languages.getGlobalStrings("/../../secret"), QStringList({QString()}));
        QCOMPARE(languages.msgStrings().size(), Languages::messageCount);
        QCOMPARE(languages.productLayoutStrings("/../../secret"), QStringList(16, QString()));
    }

    void readsStringsMessagesAndLayout() {
        write("lang_025044.ini", "[font]\nfamily=Noto Sans CJK SC\ntotal=3\n"
                                 "[strings]\n0=NEVER\n1=选项\n3=\"A, B\"\n4=BEYOND\n"
                                 "[msg]\n0=m0\n5=确定要更改吗？\n"
                                 "[Q7_133C6AA]\n0=左键\n15=滚轮向下 ►\n");
        write("lang_007000.ini", "[font]\nfamily=Arial\n");
        Languages languages(dir());
        QCOMPARE(languages.getGlobalStrings("025044"),
                 QStringList({"Noto Sans CJK SC", "选项", "", "A, B"}));
        QStringList messages(Languages::messageCount, QString());
        messages[0] = "m0";
        messages[5] = "确定要更改吗？";
        QCOMPARE(languages.msgStrings(), messages);
        QCOMPARE(languages.currentLanguage(), QString("025044"));
        QStringList layout(16, QString());
        layout.first() = "左键";
        layout.last() = "滚轮向下 ►";
        QCOMPARE(languages.productLayoutStrings("025044"), layout);

        // A file without messages replaces the old ones with seven empty texts.
        languages.getGlobalStrings("007000");
        QCOMPARE(languages.msgStrings(), QStringList(Languages::messageCount, QString()));
    }

    // A section of named texts: the current language's, English where it lacks a key, and
    // nothing for a language file that is not there or a name reaching into another section.
    void sectionTextsFallBackToEnglish() {
        write("lang_031000.ini", "[rules]\nmenu=RULES\nsave=SAVE\n[msg]\n0=m\n");
        write("lang_042000.ini", "[rules]\nmenu=REGELN\nextra=NUR HIER\n");
        Languages languages(dir());
        QCOMPARE(languages.sectionTexts("rules"),
                 QVariantMap({{"menu", "RULES"}, {"save", "SAVE"}}));
        languages.getGlobalStrings("042000");
        QCOMPARE(languages.sectionTexts("rules"),
                 QVariantMap({{"menu", "REGELN"}, {"save", "SAVE"}, {"extra", "NUR HIER"}}));
        QCOMPARE(languages.sectionTexts("msg/.."), QVariantMap());
        languages.getGlobalStrings("099000");
        QCOMPARE(languages.sectionTexts("rules"), QVariantMap());
    }
};

QTEST_GUILESS_MAIN(TestLanguages)
#include "tst_i18n_languages.moc"
