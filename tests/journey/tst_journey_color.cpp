// The lighting page of the real program, driven through X: effect, speed, brightness and a
// typed colour reach the mouse on Apply; Reset sends nothing until Apply.
#include "Journey.h"

#include <QTest>

namespace {

constexpr int current = 1; // the factory mouse's current profile
constexpr int effect = 0x47, brightness = 0x48, speed = 0x49, lightingColours = 0x18;

bool openColorPage(Journey &j) { return j.click("fnEntry2") && j.waitShown("colorApply"); }

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

bool applied(Journey &j, const vmouse::State &expected) {
    return j.click("colorApply") && j.waitMouse(expected);
}

} // namespace

class tst_journey_color : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void applySendsEffectSpeedBrightnessAndColourAndReadsThemBack() {
        Journey j(QStringLiteral("color-apply"));
        QVERIFY2(j.start(), j.errorText());
        const vmouse::State before = j.mouse();
        QVERIFY2(openColorPage(j), j.errorText());
        // Effect 8 takes speed, brightness and colours.
        QVERIFY2(chooseEffect(j, QStringLiteral("VERTICAL FLIPPING")), j.errorText());
        QVERIFY2(setSlider(j, "colorSpeed", 2), j.errorText());
        QVERIFY2(setSlider(j, "colorBrightness", 3), j.errorText());
        QVERIFY2(j.click("colorLightsCell3"), j.errorText());
        QVERIFY2(j.enter("colorLightsR", "12"), j.errorText());
        QVERIFY2(j.enter("colorLightsG", "34"), j.errorText());
        QVERIFY2(j.enter("colorLightsB", "56"), j.errorText());
        j.screenshot(QStringLiteral("edited"));

        vmouse::State expected = before;
        expected.profiles[current][effect] = 8;
        expected.profiles[current][brightness] = 109; // round(3 * 255 / 7)
        expected.profiles[current][speed] = 17;       // round(5 * 10 / 7) + 10
        expected.profiles[0][lightingColours + 6] = 12;
        expected.profiles[0][lightingColours + 7] = 34;
        expected.profiles[0][lightingColours + 8] = 56;
        QVERIFY2(applied(j, expected), j.errorText());

        // Started again and applied untouched, the page sends back what it read.
        QVERIFY2(j.restart(), j.errorText());
        QVERIFY2(openColorPage(j), j.errorText());
        const int mark = j.trafficMark();
        QVERIFY2(j.click("colorApply"), j.errorText());
        QVERIFY2(j.waitIdle(), j.errorText());
        QVERIFY(!j.commands(mark).isEmpty());
        QVERIFY2(sameMouse(j.mouse(), expected), qPrintable(mouseDifferences(expected, j.mouse())));
        QVERIFY2(j.stop(), j.errorText());
    }

    // WAVE's speed byte runs 1..10, a smaller byte faster; the slider's right end is fast.
    void waveSpeedFollowsTheSlider() {
        Journey j(QStringLiteral("color-wave"));
        QVERIFY2(j.start(), j.errorText());
        vmouse::State expected = j.mouse();
        QVERIFY2(openColorPage(j), j.errorText());
        QVERIFY2(chooseEffect(j, QStringLiteral("WAVE")), j.errorText());
        QVERIFY2(setSlider(j, "colorSpeed", 2), j.errorText());
        j.screenshot(QStringLiteral("wave"));
        expected.profiles[current][effect] = 5;
        expected.profiles[current][speed] = 7; // round(5 * 9 / 7) + 1
        QVERIFY2(applied(j, expected), j.errorText());

        QVERIFY2(setSlider(j, "colorSpeed", 6), j.errorText());
        expected.profiles[current][speed] = 2; // round(1 * 9 / 7) + 1
        QVERIFY2(applied(j, expected), j.errorText());
        QVERIFY2(j.stop(), j.errorText());
    }

    void resetSendsNothingUntilApply() {
        Journey j(QStringLiteral("color-reset"));
        QVERIFY2(j.start(), j.errorText());
        const vmouse::State factory = j.mouse();
        QVERIFY2(openColorPage(j), j.errorText());
        QVERIFY2(chooseEffect(j, QStringLiteral("NEON")), j.errorText());
        vmouse::State edited = factory;
        edited.profiles[current][effect] = 4;
        QVERIFY2(applied(j, edited), j.errorText());

        const int mark = j.trafficMark();
        QVERIFY2(j.click("colorReset"), j.errorText());
        QVERIFY2(j.waitIdle(), j.errorText());
        QCOMPARE(j.commands(mark), QList<QByteArray>());
        QVERIFY2(sameMouse(j.mouse(), edited), qPrintable(mouseDifferences(edited, j.mouse())));

        QVERIFY2(applied(j, factory), j.errorText());
        QVERIFY2(j.stop(), j.errorText());
    }
};

QTEST_GUILESS_MAIN(tst_journey_color)
#include "tst_journey_color.moc"
