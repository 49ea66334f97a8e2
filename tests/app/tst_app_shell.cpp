// The shell in-process: start-up order, the minimise slot, the capture withdrawn from a
// minimised window, the debounced device check, and the window's refill from the mouse: read
// off the GUI thread under the busy lock, and shown by the profile menu and the pages once the
// store has taken it.
#include "DeviceChangeSource.h"
#include "StagedModules.h"
#include "Ui_Controler.h"
#include "VirtualMouse.h"
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
    static QVariant shown(Widget &w, const char *name, const char *property) {
        QObject *item = w.view()->rootObject()->findChild<QObject *>(QLatin1String(name));
        return item ? item->property(property) : QVariant();
    }
    static bool checked(Widget &w) {
        QSignalSpy done(&w, &Widget::deviceChecked);
        w.checkDevice();
        return !done.isEmpty() || done.wait(20000);
    }
    // Each start-up step once, in order, and neither before the event loop delivers them.
    static void startWindow(Widget &w) {
        w.showNormal();
        w.startUi();
        QVERIFY(steps(w).isEmpty());
        QTRY_COMPARE(steps(w), QStringList({"initUI", "run"}));
    }
    static void slowMouse(const char *delay) {
        std::vector<std::string> problems;
        vmouse::setFaults(vmouse::parseFaults(std::string("slow=") + delay, problems));
    }

private Q_SLOTS:
    void init() { vmouse::reset(); }

    // A page asked for in the background is made between frames, not only once something
    // waits for it (else its first showing stops the slide while it is made).
    void pageAskedForInTheBackgroundIsMadeBetweenFrames() {
        Widget w;
        startWindow(w);
        QObject *product = w.view()->rootObject()->findChild<QObject *>(QLatin1String("main_Q7"));
        QVERIFY(product);
        QVERIFY(QMetaObject::invokeMethod(product, "preparePage", Q_ARG(QVariant, 2)));
        QVERIFY(shown(w, "_Page_Color", "visible").isNull());
        QTRY_VERIFY(!shown(w, "_Page_Color", "visible").isNull());
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

    // A slow mouse must not hold the window: the check returns before the mouse has been
    // read, the pages meanwhile read the file's copy (not the start zeros), the window stays
    // locked until the store has taken what was read, and a device check arriving meanwhile
    // waits for the refill instead of rebinding under it.
    void slowMouseIsReadOffTheGuiThreadUnderTheLock() {
        slowMouse("20ms");
        Widget w;
        QSignalSpy done(&w, &Widget::deviceChecked);
        w.checkDevice();
        QVERIFY(w.refilling());
        QVERIFY(w.view()->q7_83H_GetReportRate() != 0);
        QVERIFY(done.wait(20000));
        startWindow(w);
        vmouse::State changed = vmouse::state();
        changed.reportRate[changed.currentProfile] = 8;
        vmouse::setState(changed);

        done.clear();
        w.checkDevice();
        // Back before the store has taken anything: only this thread's next turns can.
        QVERIFY(w.refilling());
        QVERIFY(!w.view()->isEnabled());
        QVERIFY(int(w.view()->q7_83H_GetReportRate()) != 8);
        w.checkDevice(); // comes while the refill reads: deferred
        QVERIFY(done.wait(20000));
        QCOMPARE(done.count(), 1);
        QCOMPARE(int(w.view()->q7_83H_GetReportRate()), 8);
        QTRY_VERIFY(w.view()->isEnabled());
        // The deferred check, after the first.
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 20000);
    }

    void replugOnAnotherProfileShowsTheMouseProfileAndValues() {
        const std::vector<vmouse::Interface> plugged = vmouse::interfaces();
        Widget w;
        QVERIFY(checked(w));
        startWindow(w);
        const vmouse::State factory = vmouse::state();
        QCOMPARE(shown(w, "pfItem", "currentIndex").toInt(), int(factory.currentProfile));

        vmouse::setInterfaces({});
        QVERIFY(checked(w));
        QVERIFY(!w.view()->deviceLinked());

        // Changed on another computer meanwhile: profile 3, reporting at 125 Hz.
        constexpr std::uint8_t other = 3, rate125Hz = 8;
        QVERIFY(factory.currentProfile != other && factory.reportRate[other] != rate125Hz);
        vmouse::State changed = factory;
        changed.currentProfile = other;
        changed.reportRate[other] = rate125Hz;
        vmouse::setState(changed);
        vmouse::setInterfaces(plugged);
        QVERIFY(checked(w));
        QVERIFY(w.view()->deviceLinked());

        QTRY_COMPARE(shown(w, "pfItem", "currentIndex").toInt(), int(other));
        // The sensor page's first rate is 125 Hz.
        QTRY_COMPARE(shown(w, "sensorRate", "currentIndex").toInt(), 0);
        QCOMPARE(int(w.view()->q7_82H_GetCurrentProfile()), int(other));
    }
};

QTEST_MAIN(tst_app_shell)
#include "tst_app_shell.moc"
