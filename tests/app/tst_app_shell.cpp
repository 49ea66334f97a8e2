// The shell in-process: start-up order, the controller's slots, the capture withdrawn from a
// minimised window and the debounced device check.
#include "DeviceChangeSource.h"
#include "StagedModules.h"
#include "Ui_Controler.h"
#include "UserEvent.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

class tst_app_shell : public QObject {
    Q_OBJECT

    StagedModules modules;

    static QStringList steps(Widget &w) {
        QQuickItem *root = w.view()->rootObject();
        return root ? root->property("startupSteps").toStringList() : QStringList{"no root"};
    }

private Q_SLOTS:
    void initUiRunsBeforeRunAndOnlyOnce() {
        Widget w;
        w.showNormal();
        w.startUi();
        // Neither step may run before the event loop delivers them.
        QVERIFY(steps(w).isEmpty());
        QTRY_COMPARE(steps(w), QStringList({"initUI", "run"}));

        // Only the run-UI code triggers run; any other custom code is ignored.
        QCoreApplication::postEvent(&w, new UserEvent(UserEvent::runUiCode + 1));
        QCoreApplication::postEvent(&w, new QEvent(QEvent::Type(QEvent::User + 1)));
        QTest::qWait(50);
        QCOMPARE(steps(w), QStringList({"initUI", "run"}));
    }

    void busyLocksTheViewAndZeroUnlocksAtOnce() {
        Widget w;
        w.showNormal();
        Ui_Controler *ctl = w.uiControler();
        ctl->setBusy(60000);
        QVERIFY(!w.view()->isEnabled());
        ctl->setBusy(); // same as setBusy(0): lock, then unlock on the next turn
        QTRY_VERIFY(w.view()->isEnabled());
        ctl->setBusy(0);
        QTRY_VERIFY(w.view()->isEnabled());
    }

    void minimizeEndsTheEventLoopWithZero() {
        Widget w;
        w.showNormal();
        QTimer::singleShot(0, w.uiControler(), &Ui_Controler::onMinimize);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!w.isVisible());
    }

    // A minimised window shows no field waiting for a key: the shell withdraws the capture.
    void minimisedWindowWithdrawsCapture() {
        Widget w;
        w.showNormal();
        QSignalSpy withdrawn(w.view()->rootObject(), SIGNAL(captureWithdrawn()));
        w.showMinimized();
        QTRY_COMPARE(withdrawn.count(), 1);
    }

    void burstOfDeviceChangesGivesOneCheck() {
        Widget w;
        auto *source = new DeviceChangeSource;
        w.setDeviceChangeSource(source);
        QSignalSpy checks(&w, &Widget::deviceChecked);

        const QTimer &timer = w.deviceCheckTimer();
        for (int i = 0; i < 6; ++i) {
            Q_EMIT source->deviceChanged();
            // Each notification restarts the full count.
            QVERIFY(timer.isActive());
            QVERIFY(timer.remainingTime() > Widget::deviceCheckDelayMs - 50);
            QTest::qWait(300);
        }
        QCOMPARE(checks.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(checks.count(), 1, 5000);
        QTest::qWait(2500);
        QCOMPARE(checks.count(), 1);
    }
};

QTEST_MAIN(tst_app_shell)
#include "tst_app_shell.moc"
