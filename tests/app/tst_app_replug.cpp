// A mouse plugged in again while the window is up, holding another current profile and other
// settings than the window showed: the profile menu and the pages show the mouse's.
#include "StagedModules.h"
#include "VirtualMouse.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QQuickItem>
#include <QTest>

class tst_app_replug : public QObject {
    Q_OBJECT

    StagedModules modules;

    static QVariant shown(Widget &w, const char *name, const char *property) {
        QObject *item = w.view()->rootObject()->findChild<QObject *>(QLatin1String(name));
        return item ? item->property(property) : QVariant();
    }

private Q_SLOTS:
    void replugOnAnotherProfileShowsTheMouseProfileAndValues() {
        vmouse::reset();
        const std::vector<vmouse::Interface> plugged = vmouse::interfaces();
        Widget w;
        w.checkDevice();
        w.showNormal();
        w.startUi();
        const vmouse::State factory = vmouse::state();
        QTRY_COMPARE(w.view()->rootObject()->property("startupSteps").toStringList(),
                     QStringList({"initUI", "run"}));
        QCOMPARE(shown(w, "pfItem", "currentIndex").toInt(), int(factory.currentProfile));

        vmouse::setInterfaces({});
        w.checkDevice();
        QVERIFY(!w.view()->deviceLinked());

        // Changed on another computer meanwhile: profile 3, reporting at 125 Hz.
        constexpr std::uint8_t other = 3, rate125Hz = 8;
        QVERIFY(factory.currentProfile != other && factory.reportRate[other] != rate125Hz);
        vmouse::State changed = factory;
        changed.currentProfile = other;
        changed.reportRate[other] = rate125Hz;
        vmouse::setState(changed);
        vmouse::setInterfaces(plugged);
        w.checkDevice();
        QVERIFY(w.view()->deviceLinked());

        QTRY_COMPARE(shown(w, "pfItem", "currentIndex").toInt(), int(other));
        // The sensor page's first rate is 125 Hz.
        QTRY_COMPARE(shown(w, "sensorRate", "currentIndex").toInt(), 0);
        QCOMPARE(int(w.view()->q7_82H_GetCurrentProfile()), int(other));
    }
};

QTEST_MAIN(tst_app_replug)
#include "tst_app_replug.moc"
