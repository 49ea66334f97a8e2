// The real program by keyboard alone, on a desktop with a window manager: after the start no
// pointer event at all, only X key events, as a user without a mouse drives it.
#include "Journey.h"

#include <QSettings>
#include <QTest>

namespace {

constexpr unsigned long pageDown = 0xff56, keyS = 's';
constexpr int firstProfile = 1; // the factory mouse's current profile

bool focused(Journey &j, const QString &objectName) {
    return j.property(objectName, QStringLiteral("activeFocus")) == QLatin1String("true");
}

// Tab until the control has the focus; a whole round of the window without it fails.
bool tabTo(Journey &j, const QString &objectName) {
    for (int i = 0; i < 120; ++i) {
        if (!j.settle())
            return false;
        if (focused(j, objectName))
            return true;
        j.key(Journey::Tab);
    }
    return j.fail(objectName + QStringLiteral(" never had the focus"));
}

bool waitFocus(Journey &j, const QString &objectName) {
    return j.waitFor([&] { return focused(j, objectName); }) ||
           j.fail(objectName + QStringLiteral(" did not get the focus"));
}

} // namespace

class tst_journey_keyboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pageProfileLanguageAndSaveAllWithoutAPointer() {
        Journey j(QStringLiteral("keyboard"));
        j.useWindowManager();
        QVERIFY2(j.start(), j.errorText());
        vmouse::State expected = j.mouse();

        // The function menu, SENSOR: the focus goes to the page's first control, the rates.
        QVERIFY2(tabTo(j, QStringLiteral("fnEntry3")), j.errorText());
        j.screenshot(QStringLiteral("menu-focus"));
        j.key(Journey::Space);
        QVERIFY2(waitFocus(j, QStringLiteral("sensorRate")), j.errorText());
        for (int i = 0; i < 3; ++i)
            j.key(Journey::Left); // to the first, 125 Hz
        QVERIFY2(tabTo(j, QStringLiteral("sensorApply")), j.errorText());
        j.key(Journey::Space);
        expected.reportRate[firstProfile] = 8;
        QVERIFY2(j.waitMouse(expected), j.errorText());
        QVERIFY2(j.waitIdle(), j.errorText());

        // P01 to P03 by the next-profile shortcut, which goes to the mouse at once.
        j.shortcut(pageDown, Journey::ControlL);
        j.shortcut(pageDown, Journey::ControlL);
        expected.currentProfile = 3;
        QVERIFY2(j.waitMouse(expected), j.errorText());
        QVERIFY2(j.waitIdle(), j.errorText());
        QCOMPARE(j.property(QStringLiteral("pfEntry3"), QStringLiteral("current")), QStringLiteral("true"));

        // The drawer, from the keyboard: the focus goes into it, Up chooses the language before
        // English, the second skin shows at once, Escape closes it onto the settings button.
        QVERIFY2(tabTo(j, QStringLiteral("btnSetting")), j.errorText());
        j.key(Journey::Space);
        QVERIFY2(waitFocus(j, QStringLiteral("languageList")), j.errorText());
        j.key(Journey::Up);
        QVERIFY(j.waitFor([&] {
            return j.property(QStringLiteral("_Page_Globalsetting"), QStringLiteral("languageIndex")) == "1";
        }));
        j.screenshot(QStringLiteral("drawer-focus-skin1"));
        QVERIFY2(tabTo(j, QStringLiteral("skin2")), j.errorText());
        j.key(Journey::Space);
        QVERIFY(j.waitFor([&] {
            return j.property(QStringLiteral("_Page_Globalsetting"), QStringLiteral("skin_No")) == "2";
        }));
        j.screenshot(QStringLiteral("drawer-focus-skin2"));
        j.shortcut(Journey::Escape);
        QVERIFY2(j.waitGone(QStringLiteral("_fkGlobalsetting")), j.errorText());
        QVERIFY2(waitFocus(j, QStringLiteral("btnSetting")), j.errorText());
        j.screenshot(QStringLiteral("gear-focus-skin2"));

        // ALL SAVE by Ctrl+S: the pages send the current profile's values (unchanged), and the
        // drawer's changes, never applied there, are stored.
        const int mark = j.trafficMark();
        j.shortcut(keyS, Journey::ControlL);
        QVERIFY2(j.waitFor([&] { return !j.commands(mark).isEmpty(); }), j.errorText());
        QVERIFY2(j.waitIdle(), j.errorText());
        QVERIFY2(j.waitMouse(expected), j.errorText());
        const QSettings file(j.programDir() + QStringLiteral("/modules/setting/apConfig.bin"),
                             QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("common/4")).toInt(), 1);
        QCOMPARE(file.value(QStringLiteral("common/skin")).toInt(), 2);

        // Closed from the keyboard too: the close button is the next stop after the settings.
        j.key(Journey::Tab);
        QVERIFY2(waitFocus(j, QStringLiteral("btnClose")), j.errorText());
        j.screenshot(QStringLiteral("close-focus-skin2"));
        j.key(Journey::Space);
        QTRY_VERIFY_WITH_TIMEOUT(j.programPid() == 0, 15000);
    }
};

QTEST_GUILESS_MAIN(tst_journey_keyboard)
#include "tst_journey_keyboard.moc"
