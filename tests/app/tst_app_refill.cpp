// The window's refill from the mouse: read off the GUI thread under the busy lock, and shown
// by the profile menu and the pages once the store has taken it.
#include "StagedModules.h"
#include "VirtualMouse.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

class tst_app_refill : public QObject {
    Q_OBJECT

    StagedModules modules;

    static QVariant shown(Widget &w, const char *name, const char *property) {
        QObject *item = w.view()->rootObject()->findChild<QObject *>(QLatin1String(name));
        return item ? item->property(property) : QVariant();
    }

    static bool checked(Widget &w) {
        QSignalSpy done(&w, &Widget::deviceChecked);
        w.checkDevice();
        return !done.isEmpty() || done.wait(20000);
    }

    static void startWindow(Widget &w) {
        w.showNormal();
        w.startUi();
        QTRY_COMPARE(w.view()->rootObject()->property("startupSteps").toStringList(),
                     QStringList({"initUI", "run"}));
    }

private Q_SLOTS:
    void init() {
        vmouse::reset();
    }

    // A slow mouse must not hold the window: the check returns before the mouse has been
    // read, the window stays locked until the store has taken what was read, and a device
    // check arriving meanwhile waits for the refill instead of rebinding under it.
    void slowMouseIsReadOffTheGuiThreadUnderTheLock() {
        Widget w;
        startWindow(w);
        QVERIFY(checked(w));
        vmouse::State changed = vmouse::state();
        changed.reportRate[changed.currentProfile] = 8;
        vmouse::setState(changed);
        std::vector<std::string> problems;
        vmouse::setFaults(vmouse::parseFaults("slow=40ms", problems));

        QSignalSpy done(&w, &Widget::deviceChecked);
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

    // What the pages read while the first refill runs is the file's copy, not the start zeros.
    void storeHoldsTheFileWhileTheFirstRefillReads() {
        std::vector<std::string> problems;
        vmouse::setFaults(vmouse::parseFaults("slow=20ms", problems));
        Widget w;
        QSignalSpy done(&w, &Widget::deviceChecked);
        w.checkDevice();
        QVERIFY(w.refilling());
        const int during = w.view()->q7_83H_GetReportRate();
        QVERIFY(done.wait(20000));
        QVERIFY(during != 0);
        const vmouse::State mouse = vmouse::state();
        QCOMPARE(int(w.view()->q7_83H_GetReportRate()), int(mouse.reportRate[mouse.currentProfile]));
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

QTEST_MAIN(tst_app_refill)
#include "tst_app_refill.moc"
