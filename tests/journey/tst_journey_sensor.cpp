// The sensor page of the real program, driven through X: what Apply and Reset put into the
// mouse, in both kinds of DPI indicator.
#include "Journey.h"

#include <QTest>

namespace {

constexpr int current = 1; // the factory mouse's current profile
constexpr int dpi = 0x54, dpiCopy = 0x5c, indicatorIndex = 0x10, indicatorRgb = 0x68;

vmouse::State factoryWithTwinkle(std::uint8_t type) {
    vmouse::State s = vmouse::factoryState();
    s.ledTwinkle = type;
    return s;
}

bool openSensorPage(Journey &j) { return j.click("fnEntry3") && j.waitShown("sensorApply"); }

// Stage 2's menu, then one of its eighteen entries (the configured DPI values in order).
bool chooseStage2Dpi(Journey &j, int entry) {
    const QString name = QStringLiteral("sensorDpiMenuEntry%1").arg(entry);
    return j.click("sensorDpiStage2Menu") && j.click(name) && j.waitGone("sensorDpiMenu");
}

bool applied(Journey &j, const vmouse::State &expected) {
    return j.click("sensorApply") && j.waitMouse(expected);
}

} // namespace

class tst_journey_sensor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void applySendsRateStageAndPaletteIndicator() {
        Journey j(QStringLiteral("sensor-palette"));
        QVERIFY2(j.start(factoryWithTwinkle(0)), j.errorText());
        const vmouse::State before = j.mouse();
        QVERIFY2(openSensorPage(j), j.errorText());
        QVERIFY2(j.click("sensorRateButton0"), j.errorText()); // 125 Hz
        // 7950 is 159 steps of 50, which the mouse stores as 0xCF.
        QVERIFY2(chooseStage2Dpi(j, 17), j.errorText());
        // The current cell follows the selected stage (2); orange is stored as 8.
        QVERIFY2(j.click("sensorIndicatorSwatch7"), j.errorText());
        j.screenshot(QStringLiteral("edited"));

        vmouse::State expected = before;
        expected.reportRate[current] = 8;
        expected.profiles[current][dpi + 1] = 0xcf;
        expected.profiles[current][dpiCopy + 1] = 0xcf;
        expected.profiles[0][indicatorIndex + 1] = 8;
        QVERIFY2(applied(j, expected), j.errorText());
        QVERIFY2(j.stop(), j.errorText());
    }

    void applySendsRgbIndicatorAndNothingOutOfRange() {
        Journey j(QStringLiteral("sensor-rgb"));
        QVERIFY2(j.start(factoryWithTwinkle(1)), j.errorText());
        const vmouse::State before = j.mouse();
        QVERIFY2(openSensorPage(j), j.errorText());
        QVERIFY2(j.click("sensorRateButton0"), j.errorText());
        QVERIFY2(chooseStage2Dpi(j, 8), j.errorText()); // 2000: 40 steps
        QVERIFY2(j.enter("sensorIndicatorR", "12"), j.errorText());
        QVERIFY2(j.enter("sensorIndicatorG", "34"), j.errorText());
        QVERIFY2(j.enter("sensorIndicatorB", "56"), j.errorText());
        j.screenshot(QStringLiteral("edited"));

        vmouse::State expected = before;
        expected.reportRate[current] = 8;
        expected.profiles[current][dpi + 1] = 40;
        expected.profiles[current][dpiCopy + 1] = 40;
        expected.profiles[current][indicatorRgb + 3] = 12;
        expected.profiles[current][indicatorRgb + 4] = 34;
        expected.profiles[current][indicatorRgb + 5] = 56;
        QVERIFY2(applied(j, expected), j.errorText());

        // Too large, letters, nothing: the cell keeps a value of 0..255 (300 must not wrap
        // to 44), letters and an emptied field leave it as it was.
        QVERIFY2(j.enter("sensorIndicatorR", "300"), j.errorText());
        QVERIFY2(j.enter("sensorIndicatorG", "abc"), j.errorText());
        QVERIFY2(j.enter("sensorIndicatorB", ""), j.errorText());
        const int mark = j.trafficMark();
        QVERIFY2(j.click("sensorApply"), j.errorText());
        QVERIFY2(j.waitIdle(), j.errorText());
        QVERIFY(!j.commands(mark).isEmpty());
        const vmouse::State after = j.mouse();
        const int r = after.profiles[current][indicatorRgb + 3];
        QVERIFY2(r == 12 || r == 255, qPrintable(QString::number(r)));
        QCOMPARE(int(after.profiles[current][indicatorRgb + 4]), 34);
        QCOMPARE(int(after.profiles[current][indicatorRgb + 5]), 56);
        QVERIFY2(j.stop(), j.errorText());
    }

    void resetShowsTheDefaultsAndSendsThemOnlyOnApply() {
        Journey j(QStringLiteral("sensor-reset"));
        QVERIFY2(j.start(), j.errorText());
        const vmouse::State factory = j.mouse();
        QVERIFY2(openSensorPage(j), j.errorText());
        QVERIFY2(j.click("sensorRateButton0"), j.errorText());
        QVERIFY2(chooseStage2Dpi(j, 8), j.errorText());
        vmouse::State edited = factory;
        edited.reportRate[current] = 8;
        edited.profiles[current][dpi + 1] = edited.profiles[current][dpiCopy + 1] = 40;
        QVERIFY2(applied(j, edited), j.errorText());

        QVERIFY2(j.click("sensorRateButton2"), j.errorText()); // an edit Reset drops
        const int mark = j.trafficMark();
        QVERIFY2(j.click("sensorReset"), j.errorText());
        QVERIFY2(j.waitIdle(), j.errorText());
        QCOMPARE(j.commands(mark), QList<QByteArray>());
        QVERIFY2(sameMouse(j.mouse(), edited), qPrintable(mouseDifferences(edited, j.mouse())));

        QVERIFY2(applied(j, factory), j.errorText());
        QVERIFY2(j.stop(), j.errorText());
    }

    // The keys reach the page in the real, frameless window: a click gives the rate buttons
    // the focus, the arrow keys move along them.
    void arrowKeysMoveTheRateAfterAClick() {
        Journey j(QStringLiteral("sensor-keys"));
        QVERIFY2(j.start(), j.errorText());
        vmouse::State expected = j.mouse();
        QVERIFY2(openSensorPage(j), j.errorText());
        QVERIFY2(j.click("sensorRateButton0"), j.errorText());
        j.key(Journey::Right);
        j.key(Journey::Right);
        expected.reportRate[current] = 2; // 500 Hz
        QVERIFY2(applied(j, expected), j.errorText());
        QVERIFY2(j.stop(), j.errorText());
    }
};

QTEST_GUILESS_MAIN(tst_journey_sensor)
#include "tst_journey_sensor.moc"
