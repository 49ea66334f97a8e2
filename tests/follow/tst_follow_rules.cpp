// The rules that choose a profile by application, and their editing as the window's slots
// reach it: matching, the file, what is shown, and what is refused.
#include "ApplicationRules.h"
#include "FollowRulesEditor.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using Rule = ApplicationRules::Rule;

namespace {

QVariantMap rule(const QString &match, const QVariant &name, const QVariant &profile) {
    return {{"match", match}, {"name", name}, {"profile", profile}};
}

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
    ApplicationRules rules; // loaded afresh for every case, from a file not there yet

private Q_SLOTS:
    void init() {
        QFile::remove(path());
        QDir().mkpath(QFileInfo(path()).absolutePath());
        rules.load(path());
    }

    void matching() {
        // No file yet: no rules, nothing damaged.
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
        QCOMPARE(
            FollowRulesEditor(&again, {}, {}).state().value("rules").toList(),
            (QVariantList{rule("class", "Gimp-2.10", 3), rule("executable", "caf\u00e9 app", 5),
                          rule("class", "a/b\\c", 2)}));

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
        QTest::newRow("size not a number") << QByteArray("[rules]\nsize=banana\n");
        QTest::newRow("profile not a number") << QByteArray("[rules]\nsize=1\n1\\match=class\n1\\name=a\n1\\profile=x\n");
    }
    // A damaged file is ignored, and kept until the user saves rules of their own.
    void damagedFileIsIgnoredAndKeptUntilTheUserEdits() {
        QFETCH(QByteArray, content);
        QVERIFY(writeFile(path(), content));

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("application rules in .* ignored"));
        rules.load(path());
        QVERIFY(rules.damaged());
        QVERIFY(rules.rules().isEmpty());
        QVERIFY(!rules.profileFor(app("a", "a")));
        QVERIFY(!rules.save());
        QCOMPARE(bytesOf(path()), content);
        // The window shows it as such; the user's own rules, saved there, replace it.
        FollowRulesEditor editor(&rules, {}, {});
        QCOMPARE(editor.state().value("damaged").toBool(), true);
        QVERIFY(editor.save({rule("class", "a", 2)}, 0));
        QCOMPARE(editor.state().value("damaged").toBool(), false);
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
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("ignored: the file cannot be read"));
        rules.load(blocked);
        QVERIFY(rules.damaged());
        QVERIFY(!rules.save());
        // A failed write is reported, not taken for a success.
        QVERIFY(!rules.setRules({{Rule::Field::WindowClass, "a", 2}}, 0));
    }

    void showsAndWritesTheRulesInOrder() {
        ActiveWindowInfo last = app("navigator", "Firefox", "firefox-esr");
        bool watching = true;
        FollowRulesEditor editor(&rules, [&] { return last; }, [&] { return watching; });
        QCOMPARE(editor.state(), QVariantMap({{"rules", QVariantList()}, {"noMatch", 0},
                                              {"damaged", false}, {"watching", true}}));
        QCOMPARE(editor.lastApplication().value("executable").toString(), "firefox-esr");

        // Names are trimmed; a profile a hand-edited file gave (7) is the user's and stays.
        QVERIFY(editor.save({rule("class", "  Gimp ", 3), rule("executable", "blender", "2"),
                             rule("class", "Old", 7)},
                            4));
        const QVariantList expected{rule("class", "Gimp", 3), rule("executable", "blender", 2),
                                    rule("class", "Old", 7)};
        QCOMPARE(editor.state().value("rules").toList(), expected);
        QCOMPARE(editor.state().value("noMatch").toInt(), 4);

        // What the follower reads is what was saved, and the file says the same.
        QCOMPARE(rules.profileFor(app("gimp-2.10", "GIMP", "")), std::optional<int>(3));
        ApplicationRules reread;
        reread.load(path());
        FollowRulesEditor fresh(&reread, {}, {});
        QCOMPARE(fresh.state().value("rules").toList(), expected);
        QCOMPARE(fresh.state().value("noMatch").toInt(), 4);
        // No source, no window seen: empty texts, not watching.
        QCOMPARE(fresh.state().value("watching").toBool(), false);
        QCOMPARE(fresh.lastApplication().value("windowClass").toString(), QString());
    }

    // A list with anything that is not a rule is refused whole: the file and the rules stay.
    void refusesListsThatAreNotRules_data() {
        QTest::addColumn<QVariantList>("list");
        QTest::addColumn<int>("noMatch");
        QTest::newRow("empty name") << QVariantList{rule("class", "  ", 1)} << 0;
        QTest::newRow("line break") << QVariantList{rule("class", "a\nnoMatch=5", 1)} << 0;
        QTest::newRow("control character") << QVariantList{rule("class", "a\x01", 1)} << 0;
        QTest::newRow("too long") << QVariantList{rule("class", QString(300, 'x'), 1)} << 0;
        QTest::newRow("unknown match") << QVariantList{rule("title", "a", 1)} << 0;
        QTest::newRow("profile not a number") << QVariantList{rule("class", "a", "two")} << 0;
        QTest::newRow("not a map") << QVariantList{QVariant("Gimp")} << 0;
        QTest::newRow("no-match profile 6") << QVariantList{rule("class", "a", 1)} << 6;
        QTest::newRow("no-match profile -1") << QVariantList{} << -1;
    }
    void refusesListsThatAreNotRules() {
        QFETCH(QVariantList, list);
        QFETCH(int, noMatch);
        FollowRulesEditor editor(&rules, {}, {});
        QVERIFY(editor.save({rule("class", "Keep", 2)}, 1));
        const QByteArray before = bytesOf(path());
        QVERIFY(!editor.save(list, noMatch));
        QCOMPARE(bytesOf(path()), before);
        QCOMPARE(editor.state().value("rules").toList(), QVariantList{rule("class", "Keep", 2)});
        QCOMPARE(editor.state().value("noMatch").toInt(), 1);
    }

    void noticeNamesProfileAndApplication() {
        QCOMPARE(FollowRulesEditor::switchNotice("%1 for %2", 3, app("gimp", "Gimp", "gimp")),
                 QString("P03 for Gimp"));
        // Translations may put the application first; a name that looks like a placeholder
        // is shown as it is.
        QCOMPARE(FollowRulesEditor::switchNotice("%2: %1", 5, app("%1", "", "x")),
                 QString("%1: P05"));
        QCOMPARE(FollowRulesEditor::applicationName(app("", "", "blender")), QString("blender"));
    }
};

QTEST_GUILESS_MAIN(RulesTest)
#include "tst_follow_rules.moc"
