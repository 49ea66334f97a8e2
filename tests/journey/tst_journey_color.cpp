// The lighting page of the real program, driven through X: effect, speed, brightness and a
// typed colour reach the mouse on Apply; Reset sends nothing until Apply.
#include "Journey.h"

#include <QTest>

namespace {

constexpr int current = 1; // the factory mouse's current profile
constexpr int effect = 0x47, brightness = 0x48, speed = 0x49, lightingColours = 0x18;

bool openColorPage(Journey &j) { return j.click("fnEntry2") && j.waitShown("colorApply"); }

bool chooseEffect(Journey &j, int position) {
    return j.click("colorEffect") && j.click(QStringLiteral("colorEffectItem%1").arg(position)) &&
           j.waitGone("colorEffectList");
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
        // Every effect is enabled at the factory, so list position 8 is effect 8, which
        // takes speed, brightness and colours.
        QVERIFY2(chooseEffect(j, 8), j.errorText());
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

    void resetSendsNothingUntilApply() {
        Journey j(QStringLiteral("color-reset"));
        QVERIFY2(j.start(), j.errorText());
        const vmouse::State factory = j.mouse();
        QVERIFY2(openColorPage(j), j.errorText());
        QVERIFY2(chooseEffect(j, 4), j.errorText());
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
