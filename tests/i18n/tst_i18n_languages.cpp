#include "Languages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLanguages : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    QString dir() const { return tmp.path() + QStringLiteral("/i18n/"); }
    void write(const QString &name, const QByteArray &utf8) {
        QFile f(dir() + name);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(utf8);
    }

private slots:
    void init() {
        QDir(dir()).removeRecursively();
        QVERIFY(QDir().mkpath(dir()));
    }

    void displayNamesUseTheQt48Numbers_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("country");
        QTest::addColumn<QString>("name");
        QTest::newRow("simplified") << 25 << 44 << "CHINESE (Simp)";
        QTest::newRow("traditional") << 25 << 208 << "CHINESE (Trad)";
        QTest::newRow("no country") << 31 << 0 << "ENGLISH";
        QTest::newRow("other country") << 42 << 14 << "GERMAN (AUSTRIA)";
        QTest::newRow("camel-case country") << 31 << 225 << "ENGLISH (UNITEDSTATES)";
        // 75 is English in Qt 6's numbering, which the file names do not use.
        QTest::newRow("qt6 english number") << 75 << 0 << "MALAGASY";
        QTest::newRow("past the table") << 999 << 0 << "UNKNOWN";
        QTest::newRow("negative") << -1 << 300 << "UNKNOWN (UNKNOWN)";
    }
    void displayNamesUseTheQt48Numbers() {
        QFETCH(int, language);
        QFETCH(int, country);
        QFETCH(QString, name);
        QCOMPARE(Languages::displayName(language, country), name);
    }

    void listsLanguageFilesByDisplayName() {
        write("lang_031000.ini", "");
        write("lang_025208.ini", "");
        write("LANG_025044.INI", ""); // names match without regard to case
        write("lang_042014.ini", "");
        write("lang_031000.txt", "");
        write("readme.ini", "");
        const QVariantMap map = Languages(dir()).chkLanguages();
        QCOMPARE(map.keys(), QStringList({"CHINESE (Simp)", "CHINESE (Trad)", "ENGLISH",
                                          "GERMAN (AUSTRIA)"}));
        QCOMPARE(map.value("CHINESE (Simp)").toString(), QString("025044"));
        QCOMPARE(map.value("CHINESE (Trad)").toString(), QString("025208"));
        QCOMPARE(map.value("ENGLISH").toString(), QString("031000"));

        QVERIFY(Languages(tmp.path() + "/missing/").chkLanguages().isEmpty());
    }

    void malformedNamesGiveEmptyStrings() {
        write("lang_12.ini", "[font]\nfamily=X\ntotal=1\n[strings]\n1=ONE\n");
        write("lang_.ini", "");
        Languages languages(dir());
        const QVariantMap map = languages.chkLanguages();
        // Both read as language 0, country 0; the later name in sorted order wins.
        QCOMPARE(map.size(), 1);
        const QString code = map.value("DEFAULT").toString();
        QCOMPARE(code, QString("12.ini"));
        QCOMPARE(languages.getGlobalStrings(code), QStringList({QString()}));
        QCOMPARE(languages.msgStrings(), QStringList(7, QString()));
        QCOMPARE(languages.q7_getProductLayoutStrings(code), QStringList(16, QString()));
    }

    void readsStringsMessagesAndLayout() {
        write("lang_025044.ini",
              "[font]\nfamily=Noto Sans CJK SC\ntotal=3\n"
              "[strings]\n0=NEVER\n1=选项\n3=\"A, B\"\n4=BEYOND\n"
              "[msg]\n0=m0\n5=确定要更改吗？\n"
              "[Q7_133C6AA]\n0=左键\n15=滚轮向下 ►\n");
        Languages languages(dir());
        QCOMPARE(languages.getGlobalStrings("025044"),
                 QStringList({"Noto Sans CJK SC", "选项", "", "A, B"}));
        QCOMPARE(languages.msgStrings(), QStringList({"m0", "", "", "", "", "确定要更改吗？", ""}));
        QCOMPARE(languages.currentLanguage(), QString("025044"));
        const QStringList layout = languages.q7_getProductLayoutStrings("025044");
        QCOMPARE(layout.size(), 16);
        QCOMPARE(layout.first(), QString("左键"));
        QCOMPARE(layout.last(), QString("滚轮向下 ►"));
        QVERIFY(layout.mid(1, 14).join("").isEmpty());
    }

    void messagesAreReplacedNotKept() {
        write("lang_031000.ini", "[msg]\n4=Warning\n5=Sure?\n6=Six\n");
        write("lang_007000.ini", "[font]\nfamily=Arial\n");
        Languages languages(dir());
        QVERIFY(languages.msgStrings().isEmpty());
        languages.getGlobalStrings("031000");
        QCOMPARE(languages.msgStrings().value(5), QString("Sure?"));
        languages.getGlobalStrings("007000");
        QCOMPARE(languages.msgStrings(), QStringList(7, QString()));
        languages.getGlobalStrings("404404");
        QCOMPARE(languages.msgStrings(), QStringList(7, QString()));
    }

    void damagedFilesStayHarmless() {
        // An unquoted comma makes the value a list; its text must not vanish.
        write("lang_031000.ini", "[font]\nfamily=Arial\ntotal=2000000000\n"
                                 "[strings]\n1=PLAY, PAUSE\n");
        Languages languages(dir());
        const QStringList strings = languages.getGlobalStrings("031000");
        QCOMPARE(strings.size(), Languages::maxStrings + 1);
        QCOMPARE(strings.at(1), QString("PLAY, PAUSE"));

        write("lang_031000.ini", "[font]\ntotal=-5\n");
        QCOMPARE(languages.getGlobalStrings("031000"), QStringList({QString()}));
    }

    void codesCannotLeaveTheFolder() {
        // "lang_" + code + ".ini" would resolve to a file beside the folder.
        QVERIFY(QDir().mkpath(dir() + "lang_"));
        QFile outside(tmp.path() + "/secret.ini");
        QVERIFY(outside.open(QIODevice::WriteOnly));
        outside.write("[font]\nfamily=SECRET\n[Q7_133C6AA]\n0=SECRET\n");
        outside.close();
        Languages languages(dir());
        QCOMPARE(languages.getGlobalStrings("/../../secret"), QStringList({QString()}));
        QCOMPARE(languages.msgStrings().size(), 7);
        QCOMPARE(languages.q7_getProductLayoutStrings("\\..\\..\\secret"),
                 QStringList(16, QString()));
        QCOMPARE(languages.q7_getProductLayoutStrings("/../../secret"), QStringList(16, QString()));
    }
};

QTEST_GUILESS_MAIN(TestLanguages)
#include "tst_i18n_languages.moc"
