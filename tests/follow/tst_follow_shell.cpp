// The follower against the real shell: its switch goes through the profile menu, waits while
// the menu takes no click, and is told in the window in the current language.
#include "ProfileFollowing.h"
#include "StagedModules.h"
#include "Ui_Controler.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class FollowShellTest : public QObject {
    Q_OBJECT
    StagedModules modules;

private Q_SLOTS:
    void aSwitchGoesAsAMenuClickAndIsTold() {
        Widget w;
        w.showNormal();
        w.startUi();
        QObject *menu = w.view()->rootObject()->findChild<QObject *>(QStringLiteral("pfItem"));
        QObject *notice =
            w.view()->rootObject()->findChild<QObject *>(QStringLiteral("sendNotice"));
        QVERIFY(menu && notice);
        QTRY_VERIFY(menu->property("visible").toBool() && menu->property("enabled").toBool());
        QTemporaryDir dir;
        ProfileFollowing following(w.view(), dir.filePath(QStringLiteral("rules.ini")));
        ProfileFollower::Target target = ProfileFollowing::menuTarget(w.view());
        QCOMPARE(target.currentProfile(), int(w.view()->q7_82H_GetCurrentProfile()));

        // The busy lock holds the switch back.
        w.uiControler()->setBusy(60000);
        QVERIFY(target.busy());
        w.uiControler()->setBusy(0);
        QTRY_VERIFY(!target.busy());

        // A click on profile 2 and the follower's switch to 4 leave the same traces: the
        // menu's entry and the bridge's current profile, told once.
        QVERIFY(QMetaObject::invokeMethod(menu, "select", Q_ARG(QVariant, QVariant(2))));
        QCOMPARE(menu->property("currentIndex").toInt(), 2);
        QCOMPARE(int(w.view()->q7_82H_GetCurrentProfile()), 2);
        QSignalSpy changes(w.view(), &myQQuickView::currentProfileChanged);
        following.follower()->requestProfile(4);
        QTRY_COMPARE(menu->property("currentIndex").toInt(), 4);
        QCOMPARE(int(w.view()->q7_82H_GetCurrentProfile()), 4);
        QCOMPARE(w.view()->property("currentProfile").toInt(), 4);
        QCOMPARE(changes.count(), 1);

        // A rule's switch is told naming profile and application, in the current language
        // (the English notice is the follow journey's).
        w.view()->getGlobalStrings(QStringLiteral("025044"));
        const ActiveWindowInfo gimp{"gimp", "Gimp", "gimp", 77};
        emit following.follower()->switchedByRule(4, gimp);
        QTRY_VERIFY(notice->property("showing").toBool());
        QCOMPARE(notice->property("text").toString(), QString::fromUtf8("Gimp：P04"));
        QVERIFY(QMetaObject::invokeMethod(notice, "hide"));
        QTRY_VERIFY(!notice->property("showing").toBool());

        // A menu that takes no click (hidden or dimmed, as under the drawer) holds it back too,
        // and the view's switch asks nothing of it meanwhile.
        menu->setProperty("enabled", false);
        QVERIFY(target.busy());
        QVERIFY(!w.view()->switchProfile(2));
        QCOMPARE(menu->property("currentIndex").toInt(), 4);

        // Nothing is told while the window is hidden.
        w.hide();
        emit following.follower()->switchedByRule(5, gimp);
        QTest::qWait(300);
        QVERIFY(!notice->property("showing").toBool());
    }
};

QTEST_MAIN(FollowShellTest)
#include "tst_follow_shell.moc"
