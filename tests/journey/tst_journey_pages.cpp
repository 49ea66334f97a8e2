// Both device pages together in the real program: ALL SAVE applies each, and a page applied
// untouched after a restart sends back exactly what it read.
#include "Journey.h"

#include <QTest>

namespace {

constexpr int current = 1; // the factory mouse's current profile

// A click on the function menu's current entry would close its page.
bool openPage(Journey &j, int entry, const char *control) {
    if (j.item(control))
        return j.waitShown(control);
    return j.click(QStringLiteral("fnEntry%1").arg(entry)) && j.waitShown(control);
}

bool applyUntouched(Journey &j, int entry, const char *apply) {
    const int mark = j.trafficMark();
    return openPage(j, entry, apply) && j.click(apply) && j.waitIdle() &&
           (!j.commands(mark).isEmpty() || j.fail(QStringLiteral("%1 sent nothing").arg(apply)));
}

} // namespace

class tst_journey_pages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void allSaveAppliesBothPages() {
        Journey j(QStringLiteral("pages-allsave"));
        QVERIFY2(j.start(), j.errorText());
        vmouse::State expected = j.mouse();
        QVERIFY2(openPage(j, 3, "sensorRateButton1"), j.errorText());
        QVERIFY2(j.click("sensorRateButton1"), j.errorText()); // 250 Hz
        QVERIFY2(openPage(j, 2, "colorEffect"), j.errorText());
        QVERIFY2(j.click("colorEffect") && j.click("colorEffectItem3"), j.errorText()); // NEON
        QVERIFY2(j.waitGone("colorEffectList"), j.errorText());

        expected.reportRate[current] = 4;
        expected.profiles[current][0x47] = 4;
        QVERIFY2(j.click("btnTotalApply"), j.errorText());
        QVERIFY2(j.waitMouse(expected), j.errorText());
        QVERIFY2(j.stop(), j.errorText());
    }

    // A mouse the factory never made: palette indicator, odd stages, another profile.
    void untouchedPagesSendBackWhatTheyRead() {
        vmouse::State mouse = vmouse::factoryState();
        mouse.ledTwinkle = 0;
        mouse.currentProfile = 4;
        mouse.reportRate[4] = 2;
        mouse.dpiStage[4] = 5;
        const std::uint8_t stages[8] = {8, 0xcf, 24, 64, 100, 0, 150, 200};
        for (int i = 0; i < 8; ++i)
            mouse.profiles[4][0x54 + i] = mouse.profiles[4][0x5c + i] = stages[i];
        mouse.profiles[0][0x10 + 2] = 8; // orange
        mouse.profiles[4][0x47] = 9;     // effect 9 with speed byte 8
        mouse.profiles[4][0x49] = 8;
        Journey j(QStringLiteral("pages-untouched"));
        QVERIFY2(j.start(mouse), j.errorText());
        // As the program left it on start-up (its greeting sets the function option).
        mouse = j.mouse();
        QCOMPARE(int(mouse.profiles[4][0x55]), 0xcf);
        QVERIFY2(applyUntouched(j, 3, "sensorApply"), j.errorText());
        QVERIFY2(applyUntouched(j, 2, "colorApply"), j.errorText());
        j.screenshot(QStringLiteral("color"));
        QVERIFY2(sameMouse(j.mouse(), mouse), qPrintable(mouseDifferences(mouse, j.mouse())));

        // Started again over what it wrote, the same holds.
        QVERIFY2(j.restart(), j.errorText());
        QVERIFY2(applyUntouched(j, 2, "colorApply"), j.errorText());
        QVERIFY2(applyUntouched(j, 3, "sensorApply"), j.errorText());
        j.screenshot(QStringLiteral("sensor"));
        QVERIFY2(sameMouse(j.mouse(), mouse), qPrintable(mouseDifferences(mouse, j.mouse())));
        QVERIFY2(j.stop(), j.errorText());
    }

    // The pages follow a profile chosen in the menu: applied untouched afterwards, they send
    // that profile's own values back, not the previous profile's.
    void pagesFollowAProfileSwitch() {
        vmouse::State mouse = vmouse::factoryState();
        mouse.reportRate[2] = 8;
        mouse.dpiStage[2] = 3;
        mouse.profiles[2][0x54 + 2] = mouse.profiles[2][0x5c + 2] = 80;
        mouse.profiles[2][0x68 + 6] = 10; // stage 3's indicator colour
        mouse.profiles[2][0x47] = 5;
        mouse.profiles[2][0x48] = 146;
        mouse.profiles[2][0x49] = 2;
        Journey j(QStringLiteral("pages-profile"));
        QVERIFY2(j.start(mouse), j.errorText());
        QVERIFY2(openPage(j, 3, "sensorApply"), j.errorText());
        QVERIFY2(j.click("pfEntry2"), j.errorText());
        QVERIFY2(j.waitMouse([](const vmouse::State &s) { return s.currentProfile == 2; }),
                 j.errorText());
        mouse = j.mouse();
        QVERIFY2(applyUntouched(j, 3, "sensorApply"), j.errorText());
        QVERIFY2(applyUntouched(j, 2, "colorApply"), j.errorText());
        QVERIFY2(sameMouse(j.mouse(), mouse), qPrintable(mouseDifferences(mouse, j.mouse())));
        QVERIFY2(j.stop(), j.errorText());
    }
};

QTEST_GUILESS_MAIN(tst_journey_pages)
#include "tst_journey_pages.moc"
