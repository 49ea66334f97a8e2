#include "ApplicationRules.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using Rule = ApplicationRules::Rule;

namespace {

ActiveWindowInfo app(const QString &instance, const QString &windowClass, const QString &exe = {}) {
    ActiveWindowInfo info;
    info.instance = instance;
    info.windowClass = windowClass;
    info.executable = exe;
    return info;
}

} // namespace

class RulesTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("setting/application_rules.ini")); }

private Q_SLOTS:
    void matching() {
        ApplicationRules rules;
        rules.load(path()); // no file yet: no rules, nothing damaged
        QVERIFY(!rules.damaged());
        QVERIFY(!rules.profileFor(app("gedit", "Gedit")));

        QVERIFY(rules.setRules({{Rule::Field::WindowClass, "STEAM_APP_730", 7},
                                {Rule::Field::WindowClass, "firefox", 2},
                                {Rule::Field::Executable, "blender", 3},
                                {Rule::Field::WindowClass, "Firefox", 4},
                                {Rule::Field::WindowClass, "steam_app_730", 5}},
                               0));
        // First match wins, whichever part of the class matches, in any case.
        QCOMPARE(rules.profileFor(app("Navigator", "firefox")), std::optional<int>(2));
        QCOMPARE(rules.profileFor(app("FIREFOX", "Other")), std::optional<int>(2));
        // Executable rules look at the program file only, not the class.
        QCOMPARE(rules.profileFor(app("x", "y", "Blender")), std::optional<int>(3));
        QVERIFY(!rules.profileFor(app("blender", "Blender", "blender-bin")));
        // Not a prefix or substring match.
        QVERIFY(!rules.profileFor(app("firefox-esr", "Firefox-esr")));
        // A rule for a profile that does not exist is passed over, not fatal.
        QCOMPARE(rules.profileFor(app("steam_app_730", "steam_app_730")), std::optional<int>(5));

        // The choice for every other application.
        QVERIFY(rules.setRules(rules.rules(), 1));
        QCOMPARE(rules.profileFor(app("xterm", "XTerm")), std::optional<int>(1));
        QCOMPARE(rules.profileFor(app("Navigator", "firefox")), std::optional<int>(2));
        // An application without a name of its own falls to that choice too.
        QCOMPARE(rules.profileFor(app("", "")), std::optional<int>(1));
    }

    void roundTripInTheSettingsForm() {
        ApplicationRules rules;
        rules.load(path());
        QVERIFY(rules.setRules({{Rule::Field::WindowClass, "Gimp-2.10", 3},
                                {Rule::Field::Executable, "caf\u00e9 app", 5},
                                {Rule::Field::WindowClass, "a/b\\c", 2}},
                               4));
        const QByteArray text = bytesOf(path());
        // The same text form the other settings files use: sections, Latin-1 escapes,
        // arrays as n\key with a size.
        QVERIFY2(text.startsWith("[General]\nnoMatch=4\n\n[rules]\n1\\match=class\n1\\name=Gimp-2.10\n"),
                 text.constData());
        QVERIFY2(text.contains("2\\name=caf\\xe9 app\n"), text.constData());
        QVERIFY2(text.contains("size=3\n"), text.constData());

        ApplicationRules again;
        again.load(path());
        QVERIFY(!again.damaged());
        QCOMPARE(again.noMatchProfile(), 4);
        QCOMPARE(again.rules().size(), 3);
        QCOMPARE(again.rules().at(1).field, Rule::Field::Executable);
        QCOMPARE(again.rules().at(1).name, QStringLiteral("caf\u00e9 app"));
        QCOMPARE(again.rules().at(2).name, QStringLiteral("a/b\\c"));
        QCOMPARE(again.rules().at(0).profile, 3);

        // Clearing the choice for other applications stores "stay".
        QVERIFY(again.setRules({}, 0));
        QVERIFY(bytesOf(path()).startsWith("[General]\nnoMatch=stay\n"));
    }

    void damagedFileIsIgnoredAndKeptUntilTheUserEdits_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("binary junk") << QByteArray("\x00\x01[rules\x7f", 9);
        QTest::newRow("bad no-match") << QByteArray("[General]\nnoMatch=9\n");
        QTest::newRow("size beyond rules") << QByteArray("[rules]\nsize=2\n1\\match=class\n1\\name=a\n1\\profile=1\n");
        QTest::newRow("unknown field") << QByteArray("[rules]\nsize=1\n1\\match=title\n1\\name=a\n1\\profile=1\n");
        QTest::newRow("huge size") << QByteArray("[rules]\nsize=99999999\n");
        QTest::newRow("profile not a number") << QByteArray("[rules]\nsize=1\n1\\match=class\n1\\name=a\n1\\profile=x\n");
    }
    void damagedFileIsIgnoredAndKeptUntilTheUserEdits() {
        QFETCH(QByteArray, content);
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QVERIFY(writeFile(path(), content));

        ApplicationRules rules;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("application rules in .* ignored"));
        rules.load(path());
        QVERIFY(rules.damaged());
        QVERIFY(rules.rules().isEmpty());
        QVERIFY(!rules.profileFor(app("a", "a")));
        QVERIFY(!rules.save());
        QCOMPARE(bytesOf(path()), content);

        // The user's own rules replace it.
        QVERIFY(rules.setRules({{Rule::Field::WindowClass, "a", 2}}, 0));
        ApplicationRules again;
        again.load(path());
        QVERIFY(!again.damaged());
        QCOMPARE(again.profileFor(app("a", "a")), std::optional<int>(2));
    }

    void unreadableFileIsIgnored() {
        // A folder where the file should be cannot be read (nor replaced) by anyone.
        QTemporaryDir other;
        const QString blocked = other.filePath(QStringLiteral("rules.ini"));
        QVERIFY(QDir().mkpath(blocked));
        ApplicationRules rules;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("ignored: the file cannot be read"));
        rules.load(blocked);
        QVERIFY(rules.damaged());
        QVERIFY(!rules.save());
        // A failed write is reported, not taken for a success.
        QVERIFY(!rules.setRules({{Rule::Field::WindowClass, "a", 2}}, 0));
    }
};

QTEST_GUILESS_MAIN(RulesTest)
#include "tst_follow_rules.moc"
