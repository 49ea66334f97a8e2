// The device pages of the real program, driven through X: what Apply and Reset put into the
// mouse from the sensor page (in both kinds of DPI indicator) and the lighting page (effect,
// speed, brightness, a typed colour); what shows is the mouse's, and a page applied untouched
// sends back exactly what it read, after a restart and after a profile switch too.
#include "Journey.h"

namespace {

constexpr int current = 1; // the factory mouse's current profile
constexpr int dpi = 0x54, dpiCopy = 0x5c, indicatorIndex = 0x10, indicatorRgb = 0x68;
constexpr int effect = 0x47, brightness = 0x48, speed = 0x49, lightingColours = 0x18;

bool applied(Journey &j, const char *apply, const vmouse::State &expected) {
    return j.click(apply) && j.waitMouse(expected);
}

bool applyUntouched(Journey &j, int entry, const char *apply) {
    return j.openPage(entry, apply) && j.sends(apply);
}

// Stage 2's menu, then one of its eighteen entries (the configured DPI values in order).
bool chooseStage2Dpi(Journey &j, int entry) {
    const QString name = QStringLiteral("sensorDpiMenuEntry%1").arg(entry);
    return j.click("sensorDpiStage2Menu") && j.click(name) && j.waitGone("sensorDpiMenu");
}

// By its label in the factory language (English): which effects the list holds, and where,
// is the product's to say.
bool chooseEffect(Journey &j, const QString &label) {
    if (!j.click("colorEffect") || !j.waitShown("colorEffectList"))
        return false;
    for (int position = 0; position < 11; ++position) {
        const QString item = QStringLiteral("colorEffectItem%1").arg(position);
        if (j.property(item, QStringLiteral("textX")) == label)
            return j.click(item) && j.waitGone("colorEffectList");
    }
    return j.fail(QStringLiteral("the effect list has no %1").arg(label));
}

// A seven-step slider selects position p (1..7) for a release within ((p-1), p] sevenths of
// its width less one; the middle of that span keeps off the edges.
bool setSlider(Journey &j, const QString &name, int position) {
    const std::optional<Journey::Item> slider = j.waitShown(name) ? j.item(name) : std::nullopt;
    if (!slider)
        return false;
    const int x = int((position - 0.5) * (slider->rect.width() - 1) / 7.0);
    return j.clickIn(name, QPoint(x, slider->rect.height() / 2));
}

} // namespace

class tst_journey_pages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The keys reach the page in the real, frameless window: a click gives the rate buttons
    // the focus, the arrow keys move along them.
    void sensorSendsRateStageAndPaletteIndicator() {
        vmouse::State palette = vmouse::factoryState();
        palette.ledTwinkle = 0;
        Journey j(QStringLiteral("sensor-palette"));
        JVERIFY(j.start(palette));
        vmouse::State expected = j.mouse();
        JVERIFY(j.openPage(3, "sensorApply"));
        JVERIFY(j.click("sensorRateButton0")); // 125 Hz, then two to the right: 500 Hz
        j.key(XK_Right);
        j.key(XK_Right);
        // 7950 is 159 steps of 50, which the mouse stores as 0xCF.
        JVERIFY(chooseStage2Dpi(j, 17));
        // The current cell follows the selected stage (2); orange is stored as 8.
        JVERIFY(j.click("sensorIndicatorSwatch7"));
        j.screenshot(QStringLiteral("edited"));

        expected.reportRate[current] = 2;
        expected.profiles[current][dpi + 1] = expected.profiles[current][dpiCopy + 1] = 0xcf;
        expected.profiles[0][indicatorIndex + 1] = 8;
        JVERIFY(applied(j, "sensorApply", expected));
        JVERIFY(j.stop());
    }

    // The factory mouse has the full-colour indicator. Nothing out of range reaches it, and
    // Reset shows the defaults but sends them only on Apply.
    void sensorRgbIndicatorHeldToAByteAndResetWaitsForApply() {
        Journey j(QStringLiteral("sensor-rgb"));
        JVERIFY(j.start());
        const vmouse::State factory = j.mouse();
        JVERIFY(j.openPage(3, "sensorApply"));
        JVERIFY(j.click("sensorRateButton0"));
        JVERIFY(chooseStage2Dpi(j, 8)); // 2000: 40 steps
        JVERIFY(j.enter("sensorIndicatorR", "12") && j.enter("sensorIndicatorG", "34") &&
                j.enter("sensorIndicatorB", "56"));
        j.screenshot(QStringLiteral("edited"));

        vmouse::State expected = factory;
        expected.reportRate[current] = 8;
        expected.profiles[current][dpi + 1] = expected.profiles[current][dpiCopy + 1] = 40;
        expected.profiles[current][indicatorRgb + 3] = 12;
        expected.profiles[current][indicatorRgb + 4] = 34;
        expected.profiles[current][indicatorRgb + 5] = 56;
        JVERIFY(applied(j, "sensorApply", expected));

        // Too large, letters, nothing: the cell keeps a value of 0..255 (300 must not wrap
        // to 44), letters and an emptied field leave it as it was.
        JVERIFY(j.enter("sensorIndicatorR", "300") && j.enter("sensorIndicatorG", "abc") &&
                j.enter("sensorIndicatorB", ""));
        JVERIFY(j.sends("sensorApply"));
        const vmouse::State after = j.mouse();
        const int r = after.profiles[current][indicatorRgb + 3];
        QVERIFY2(r == 12 || r == 255, qPrintable(QString::number(r)));
        QCOMPARE(int(after.profiles[current][indicatorRgb + 4]), 34);
        QCOMPARE(int(after.profiles[current][indicatorRgb + 5]), 56);

        JVERIFY(j.click("sensorRateButton2")); // an edit Reset drops
        JVERIFY(j.sendsNothing("sensorReset") && j.waitMouse(after));
        JVERIFY(applied(j, "sensorApply", factory));
        JVERIFY(j.stop());
    }

    // WAVE's speed byte runs 1..10, a smaller byte faster; the slider's right end is fast.
    // Effect 8 takes speed, brightness and colours, its speed byte 10..20.
    void lightingSendsEffectSpeedBrightnessAndColourResetWaitsForApply() {
        Journey j(QStringLiteral("color-apply"));
        JVERIFY(j.start());
        const vmouse::State factory = j.mouse();
        vmouse::State expected = factory;
        JVERIFY(j.openPage(2, "colorApply"));
        JVERIFY(chooseEffect(j, QStringLiteral("WAVE")) && setSlider(j, "colorSpeed", 2));
        j.screenshot(QStringLiteral("wave"));
        expected.profiles[current][effect] = 5;
        expected.profiles[current][speed] = 7; // round(5 * 9 / 7) + 1
        JVERIFY(applied(j, "colorApply", expected));
        JVERIFY(setSlider(j, "colorSpeed", 6));
        expected.profiles[current][speed] = 2; // round(1 * 9 / 7) + 1
        JVERIFY(applied(j, "colorApply", expected));

        JVERIFY(chooseEffect(j, QStringLiteral("VERTICAL FLIPPING")));
        JVERIFY(setSlider(j, "colorSpeed", 2) && setSlider(j, "colorBrightness", 3));
        JVERIFY(j.click("colorLightsCell3") && j.enter("colorLightsR", "12") &&
                j.enter("colorLightsG", "34") && j.enter("colorLightsB", "56"));
        j.screenshot(QStringLiteral("edited"));
        expected.profiles[current][effect] = 8;
        expected.profiles[current][brightness] = 109; // round(3 * 255 / 7)
        expected.profiles[current][speed] = 17;       // round(5 * 10 / 7) + 10
        expected.profiles[0][lightingColours + 6] = 12;
        expected.profiles[0][lightingColours + 7] = 34;
        expected.profiles[0][lightingColours + 8] = 56;
        JVERIFY(applied(j, "colorApply", expected));

        JVERIFY(chooseEffect(j, QStringLiteral("NEON"))); // an edit Reset drops
        JVERIFY(j.sendsNothing("colorReset") && j.waitMouse(expected));
        JVERIFY(applied(j, "colorApply", factory));
        JVERIFY(j.stop());
    }

    // A mouse the factory never made, changed elsewhere: palette indicator, odd stages, another
    // profile than the file's (1); and a profile 2 of its own, so that the pages that follow a
    // switch to it cannot send back the previous profile's values unseen.
    void untouchedPagesSendBackWhatTheyRead() {
        vmouse::State mouse = vmouse::factoryState();
        mouse.ledTwinkle = 0;
        mouse.currentProfile = 4;
        mouse.reportRate[4] = 2;
        mouse.dpiStage[4] = 5;
        const std::uint8_t stages[8] = {8, 0xcf, 24, 64, 100, 0, 150, 200};
        for (int i = 0; i < 8; ++i)
            mouse.profiles[4][dpi + i] = mouse.profiles[4][dpiCopy + i] = stages[i];
        mouse.profiles[0][indicatorIndex + 2] = 8; // orange
        mouse.profiles[4][effect] = 9;             // effect 9 with speed byte 8
        mouse.profiles[4][speed] = 8;
        mouse.reportRate[2] = 8;
        mouse.dpiStage[2] = 3;
        mouse.profiles[2][dpi + 2] = mouse.profiles[2][dpiCopy + 2] = 80;
        mouse.profiles[2][indicatorRgb + 6] = 10; // stage 3's indicator colour
        mouse.profiles[2][effect] = 5;
        mouse.profiles[2][brightness] = 146;
        mouse.profiles[2][speed] = 2;
        Journey j(QStringLiteral("pages-untouched"));
        JVERIFY(j.start(mouse));
        // As the program left it on start-up (its greeting sets the function option).
        mouse = j.mouse();
        QCOMPARE(int(mouse.profiles[4][dpi + 1]), 0xcf);
        JVERIFY(j.waitProperty("pfEntry4", "current", "true"));
        QCOMPARE(j.property("pfEntry1", "current"), QStringLiteral("false"));
        JVERIFY(applyUntouched(j, 3, "sensorApply") && applyUntouched(j, 2, "colorApply"));
        j.screenshot(QStringLiteral("color"));
        JVERIFY(j.waitMouse(mouse));

        // Started again over what it wrote, the same holds.
        JVERIFY(j.restart());
        QCOMPARE(j.setting("p_Q7.bin", "common/curProfile").toInt(), 4);
        JVERIFY(applyUntouched(j, 2, "colorApply") && applyUntouched(j, 3, "sensorApply"));
        j.screenshot(QStringLiteral("sensor"));
        JVERIFY(j.waitMouse(mouse));

        // Profile 2 chosen in the menu while the sensor page shows.
        JVERIFY(j.click("pfEntry2") && j.waitProfile(2));
        mouse = j.mouse();
        JVERIFY(applyUntouched(j, 3, "sensorApply") && applyUntouched(j, 2, "colorApply"));
        JVERIFY(j.waitMouse(mouse));
        JVERIFY(j.stop());
    }
};

QTEST_GUILESS_MAIN(tst_journey_pages)
#include "tst_journey_pages.moc"
