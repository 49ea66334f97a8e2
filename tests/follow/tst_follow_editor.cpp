// The rules list's editing as the window's slots reach it: what it shows, what it writes,
// and what it refuses to write.
#include "FollowRulesEditor.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using Rule = ApplicationRules::Rule;

namespace {

QVariantMap rule(const QString &match, const QVariant &name, const QVariant &profile) {
    return {{"match", match}, {"name", name}, {"profile", profile}};
}

ActiveWindowInfo app(const QString &instance, const QString &windowClass, const QString &exe) {
    ActiveWindowInfo info;
    info.instance = instance;
    info.windowClass = windowClass;
    info.executable = exe;
    return info;
}

} // namespace

class EditorTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("application_rules.ini")); }

private Q_SLOTS:
    void init() { QFile::remove(path()); }

    void showsAndWritesTheRulesInOrder() {
        ApplicationRules rules;
        rules.load(path());
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
        ApplicationRules rules;
        rules.load(path());
        FollowRulesEditor editor(&rules, {}, {});
        QVERIFY(editor.save({rule("class", "Keep", 2)}, 1));
        const QByteArray before = bytesOf(path());
        QVERIFY(!editor.save(list, noMatch));
        QCOMPARE(bytesOf(path()), before);
        QCOMPARE(editor.state().value("rules").toList(), QVariantList{rule("class", "Keep", 2)});
        QCOMPARE(editor.state().value("noMatch").toInt(), 1);
    }

    // A file that could not be read is shown as such and replaced only by the user's save.
    void aDamagedFileIsToldAndReplacedBySaving() {
        QVERIFY(writeFile(path(), "[rules]\nsize=banana\n"));
        ApplicationRules rules;
        rules.load(path());
        FollowRulesEditor editor(&rules, {}, {});
        QCOMPARE(editor.state().value("damaged").toBool(), true);
        QVERIFY(!rules.save());
        QCOMPARE(bytesOf(path()), QByteArray("[rules]\nsize=banana\n"));
        QVERIFY(editor.save({rule("class", "Gimp", 3)}, 0));
        QCOMPARE(editor.state().value("damaged").toBool(), false);
        ApplicationRules reread;
        reread.load(path());
        QVERIFY(!reread.damaged());
        QCOMPARE(reread.rules().size(), 1);
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

QTEST_GUILESS_MAIN(EditorTest)
#include "tst_follow_editor.moc"
