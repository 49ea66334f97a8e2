#include "FakeActiveWindowSource.h"
#include "ProfileFollower.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Rule = ApplicationRules::Rule;

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

class SwitchingTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    ApplicationRules rules;
    // The follower of each case, over a fresh source and menu.
    std::unique_ptr<FakeActiveWindowSource> source;
    FakeMenu menu;
    std::unique_ptr<ProfileFollower> follower;

    // Longer than the settling time, with room for a loaded machine.
    static void letItSettle() { QTest::qWait(ProfileFollower::settleMs * 3); }

private Q_SLOTS:
    void initTestCase() {
        rules.load(dir.filePath(QStringLiteral("rules.ini")));
        QVERIFY(rules.setRules({{Rule::Field::WindowClass, "Game", 3},
                                {Rule::Field::WindowClass, "Editor", 2},
                                {Rule::Field::Executable, "blender", 4}},
                               0));
    }
    void init() {
        source = std::make_unique<FakeActiveWindowSource>();
        menu = FakeMenu();
        follower = std::make_unique<ProfileFollower>(source.get(), &rules, menu.target());
    }
    void cleanup() { follower.reset(); }

    void aBurstOfChangesSwitchesOnceForTheLastWindow() {
        QSignalSpy shown(follower.get(), &ProfileFollower::switchedByRule);

        // Alt+Tab through five windows without stopping.
        for (const char *cls : {"Game", "Editor", "Other", "Game", "Editor"}) {
            source->activate(QString::fromLatin1(cls));
            QCoreApplication::processEvents();
        }
        QTRY_COMPARE(menu.switches, QList<int>{2});
        letItSettle();
        QCOMPARE(menu.switches, QList<int>{2});
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0).at(0).toInt(), 2);

        // Back to a window whose profile is already the current one: no switch.
        source->activate(QStringLiteral("Editor"));
        letItSettle();
        // A window no rule names, with "stay" for the others: no switch either.
        source->activate(QStringLiteral("Terminal"));
        letItSettle();
        QCOMPARE(menu.switches, QList<int>{2});

        // Matching by the program file.
        source->activate(QStringLiteral("Blender"), QStringLiteral("blender"));
        QTRY_COMPARE(menu.switches, (QList<int>{2, 4}));
        QCOMPARE(follower->lastApplication().executable, QStringLiteral("blender"));
    }

    void aChangeDuringTheBusyLockSwitchesAfterIt() {

        menu.busy = true;
        source->activate(QStringLiteral("Game"));
        letItSettle();
        QVERIFY(menu.switches.isEmpty());
        menu.busy = false;
        QTRY_COMPARE(menu.switches, QList<int>{3});
        letItSettle();
        QCOMPARE(menu.switches, QList<int>{3});

        // The user moves on while the lock holds: the window they stopped at wins.
        menu.busy = true;
        source->activate(QStringLiteral("Editor"));
        letItSettle();
        source->activate(QStringLiteral("Blender"), QStringLiteral("blender"));
        letItSettle();
        menu.busy = false;
        QTRY_COMPARE(menu.switches, (QList<int>{3, 4}));
        letItSettle();
        QCOMPARE(menu.switches, (QList<int>{3, 4}));
    }

    void ourOwnWindowSwitchesNothing() {

        // Moving from a game to our window must not undo a choice made in our window.
        source->activate(QStringLiteral("Game"));
        QTRY_COMPARE(menu.switches, QList<int>{3});
        menu.current = 5; // the user picks another profile in our window
        source->activate(QStringLiteral("Game"), QString(), QCoreApplication::applicationPid());
        letItSettle();
        QCOMPARE(menu.switches, QList<int>{3});
        QCOMPARE(follower->lastApplication().pid, qint64(4242));
        // A burst that ends in our own window still lands on the window before it.
        source->activate(QStringLiteral("Editor"));
        source->activate(QStringLiteral("Game"), QString(), QCoreApplication::applicationPid());
        QTRY_COMPARE(menu.switches, (QList<int>{3, 2}));
    }

    void aProfileAskedForFromOutsideWaitsForTheLockAndBeatsASettlingRule() {
        menu.busy = true;
        source->activate(QStringLiteral("Game"));
        follower->requestProfile(5);
        follower->requestProfile(9); // not a profile: ignored
        letItSettle();
        QVERIFY(menu.switches.isEmpty());
        menu.busy = false;
        QTRY_COMPARE(menu.switches, QList<int>{5});
        letItSettle();
        QCOMPARE(menu.switches, QList<int>{5});
        // Asking for the profile already shown sends nothing.
        follower->requestProfile(5);
        letItSettle();
        QCOMPARE(menu.switches, QList<int>{5});
    }

    void theNoMatchChoiceSwitchesForAnyOtherApplication() {
        ApplicationRules others;
        others.load(dir.filePath(QStringLiteral("others.ini")));
        QVERIFY(others.setRules({{Rule::Field::WindowClass, "Game", 3}}, 1));
        menu.current = 3;
        follower = std::make_unique<ProfileFollower>(source.get(), &others, menu.target());
        source->activate(QStringLiteral("Terminal"));
        QTRY_COMPARE(menu.switches, QList<int>{1});
    }
};

QTEST_GUILESS_MAIN(SwitchingTest)
#include "tst_follow_switching.moc"
