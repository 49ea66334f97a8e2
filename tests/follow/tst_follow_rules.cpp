// The rules that choose a profile by application, their editing as the window's slots reach
// it (matching, the file, what is shown, what is refused), and the follower switching by them.
#include "ApplicationRules.h"
#include "FollowRulesEditor.h"
#include "ProfileFollower.h"
#include "TestFiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Rule = ApplicationRules::Rule;

namespace {

QVariantMap rule(const QString &match, const QVariant &name, const QVariant &profile) {
    return {{"match", match}, {"name", name}, {"profile", profile}};
}

ActiveWindowInfo app(const QString &instance, const QString &windowClass, const QString &exe = {}) {
    return {instance, windowClass, exe};
}

// Reports what a test tells it to, as a desktop would.
class FakeActiveWindowSource : public ActiveWindowSource {
    Q_OBJECT
public:
    bool start() override { return true; }
    void stop() override {}
    QString kind() const override { return QStringLiteral("x11"); }
    void activate(const QString &windowClass, const QString &executable = QString(),
                  qint64 pid = 4242) {
        emit activeWindowChanged({windowClass.toLower(), windowClass, executable, pid});
    }
};

// Stands for the profile menu: records every switch it is asked for.
struct FakeMenu {
    int current = 1;
    bool busy = false;
    QList<int> switches;

    ProfileFollower::Target target() {
        return {[this] { return current; }, [this] { return busy; },
                [this](int p) {
                    switches.append(p);
                    current = p;
                }};
    }
};

} // namespace

class RulesTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("setting/application_rules.ini")); }
    ApplicationRules rules; // loaded afresh for every case, from a file not there yet
    // The follower of each case, over a fresh source and menu, switching by `rules`.
    std::unique_ptr<FakeActiveWindowSource> source;
    FakeMenu menu;
    std::unique_ptr<ProfileFollower> follower;

    void followGameEditorAndBlender() {
        QVERIFY(rules.setRules({{Rule::Field::WindowClass, "Game", 3},
                                {Rule::Field::WindowClass, "Editor", 2},
                                {Rule::Field::Executable, "blender", 4}},
                               0));
    }
    // The menu was asked for these switches and no others, and none follow once all has
    // settled (longer than the settling time, with room for a loaded machine).
    void settlesOn(const QList<int> &switches) {
        QTRY_COMPARE(menu.switches, switches);
        QTest::qWait(ProfileFollower::settleMs * 3);
        QCOMPARE(menu.switches, switches);
    }

private Q_SLOTS:
    void init() {
        QFile::remove(path());
        QDir().mkpath(QFileInfo(path()).absolutePath());
        rules.load(path());
        source = std::make_unique<FakeActiveWindowSource>();
        menu = FakeMenu();
        follower = std::make_unique<ProfileFollower>(source.get(), &rules, menu.target());
    }
    void cleanup() { follower.reset(); }

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

    // Saved through the editor: names trimmed, a profile given as text taken as a number, one
    // no menu has (7, a hand-edited file's) kept as the user's; the file in the text form the other
    // settings files use (sections, Latin-1 escapes, arrays as n\key with a size), and read back
    // whole.
    void editorSavesInOrderInTheSettingsForm() {
        FollowRulesEditor editor(
            &rules, [] { return app("navigator", "Firefox", "firefox-esr"); }, [] { return true; });
        editor.setSource("x11", "hintGnome");
        const QVariantMap state = editor.state();
        QVERIFY(state["watching"] == true && state["source"] == "x11" && state["hint"] == "hintGnome");
        QCOMPARE(editor.lastApplication().value("executable").toString(), "firefox-esr");
        QVERIFY(editor.save({rule("class", "  Gimp-2.10 ", 3),
                             rule("executable", "caf\u00e9 app", "5"), rule("class", "a/b\\c", 7)},
                            4));
        const QVariantList expected{rule("class", "Gimp-2.10", 3),
                                    rule("executable", "caf\u00e9 app", 5),
                                    rule("class", "a/b\\c", 7)};
        QCOMPARE(editor.state().value("rules").toList(), expected);
        const QByteArray text = bytesOf(path());
        QVERIFY2(text.startsWith("[General]\nnoMatch=4\n\n[rules]\n1\\match=class\n1\\name=Gimp-2.10\n"),
                 text.constData());
        QVERIFY2(text.contains("2\\name=caf\\xe9 app\n") && text.contains("size=3\n"),
                 text.constData());

        // What the follower reads is what was saved, and the file says the same; with no
        // source and no window seen, empty texts and not watching.
        QCOMPARE(rules.profileFor(app("gimp-2.10", "GIMP-2.10", "")), std::optional<int>(3));
        ApplicationRules again;
        again.load(path());
        FollowRulesEditor fresh(&again, {}, {});
        QCOMPARE(
            fresh.state(),
            QVariantMap(
                {{"rules", expected}, {"noMatch", 4}, {"damaged", false}, {"watching", false},
                  {"source", ""}, {"hint", ""}}));
        QCOMPARE(fresh.lastApplication().value("windowClass").toString(), QString());

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

    void aBurstOfChangesSwitchesOnceForTheLastWindow() {
        followGameEditorAndBlender();
        QSignalSpy shown(follower.get(), &ProfileFollower::switchedByRule);
        // Alt+Tab through five windows without stopping.
        for (const char *cls : {"Game", "Editor", "Other", "Game", "Editor"}) {
            source->activate(QString::fromLatin1(cls));
            QCoreApplication::processEvents();
        }
        settlesOn({2});
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0).at(0).toInt(), 2);

        // Back to a window whose profile is already the current one: no switch; nor for a
        // window no rule names, with "stay" for the others.
        source->activate(QStringLiteral("Editor"));
        settlesOn({2});
        source->activate(QStringLiteral("Terminal"));
        settlesOn({2});

        // Matching by the program file.
        source->activate(QStringLiteral("Blender"), QStringLiteral("blender"));
        settlesOn({2, 4});
        QCOMPARE(follower->lastApplication().executable, QStringLiteral("blender"));

        // With a choice for the others, a window no rule names switches to it.
        QVERIFY(rules.setRules(rules.rules(), 1));
        source->activate(QStringLiteral("Terminal"));
        settlesOn({2, 4, 1});
    }

    void aChangeDuringTheBusyLockSwitchesAfterIt() {
        followGameEditorAndBlender();
        menu.busy = true;
        source->activate(QStringLiteral("Game"));
        settlesOn({});
        menu.busy = false;
        settlesOn({3});

        // The user moves on while the lock holds: the window they stopped at wins.
        menu.busy = true;
        source->activate(QStringLiteral("Editor"));
        settlesOn({3});
        source->activate(QStringLiteral("Blender"), QStringLiteral("blender"));
        settlesOn({3});
        menu.busy = false;
        settlesOn({3, 4});

        // A profile asked for from outside waits for the lock too and beats a rule still
        // settling; asking for the profile already shown sends nothing.
        menu.busy = true;
        source->activate(QStringLiteral("Game"));
        follower->requestProfile(5);
        follower->requestProfile(9); // not a profile: ignored
        settlesOn({3, 4});
        menu.busy = false;
        settlesOn({3, 4, 5});
        follower->requestProfile(5);
        settlesOn({3, 4, 5});
    }

    // Moving from a game to our window must not undo a choice made in our window; a burst
    // that ends in our own window still lands on the window before it.
    void ourOwnWindowSwitchesNothing() {
        followGameEditorAndBlender();
        source->activate(QStringLiteral("Game"));
        settlesOn({3});
        menu.current = 5; // the user picks another profile in our window
        source->activate(QStringLiteral("Game"), QString(), QCoreApplication::applicationPid());
        settlesOn({3});
        QCOMPARE(follower->lastApplication().pid, qint64(4242));
        source->activate(QStringLiteral("Editor"));
        source->activate(QStringLiteral("Game"), QString(), QCoreApplication::applicationPid());
        settlesOn({3, 2});
    }
};

QTEST_GUILESS_MAIN(RulesTest)
#include "tst_follow_rules.moc"
