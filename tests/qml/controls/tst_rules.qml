import QtQuick
import QtTest
import "qrc:/modules/qml/common/ControlRules.js" as Rules

// The shared controls' conversions, without a window.
TestCase {
    name: "ControlRules"

    function test_sliderPositionsAtTheEdgesAndOutside() {
        // Seven segments over 210 px: the left edge is 0, the last pixel 7, a release beyond
        // either end is held to the control.
        compare(Rules.sliderPosition(0, 210), 0)
        compare(Rules.sliderPosition(1, 210), 1)
        compare(Rules.sliderPosition(209, 210), 7)
        compare(Rules.sliderPosition(-40, 210), 0)
        compare(Rules.sliderPosition(500, 210), 7)
        // Eleven segments over 330 px: each segment is its own position.
        compare(Rules.slider11Position(0, 330), 0)
        compare(Rules.slider11Position(329, 330), 10)
        compare(Rules.slider11Position(30, 330), 1)
        compare(Rules.slider11Position(29, 330), 0)
        compare(Rules.slider11Position(-5, 330), 0)
        compare(Rules.slider11Position(1000, 330), 10)
    }

    function test_everyPositionSurvivesAClickOnItsOwnFill() {
        // A click at the right end of a position's fill selects that position again, so what
        // the slider shows is what a click there gives.
        for (var p = 1; p <= 7; ++p)
            compare(Rules.sliderPosition(Math.floor(Rules.sliderFill(p, 210)) - 1, 210), p)
        for (var q = 0; q <= 10; ++q)
            compare(Rules.slider11Position(Math.floor(Rules.slider11Fill(q, 330)) - 1, 330), q)
    }

    function test_textsFallBackToTheBuiltInWhereALanguageEndsEarly() {
        compare(Rules.text(["Arial", "OPTIONEN"], 1, "OPTIONS"), "OPTIONEN")
        compare(Rules.text(["Arial"], 1, "OPTIONS"), "OPTIONS")
        compare(Rules.text(["Arial", ""], 1, "OPTIONS"), "OPTIONS")
        compare(Rules.text(undefined, 1, "OPTIONS"), "OPTIONS")
    }

    function test_stepSkipsRefusedEntriesAndStopsAtTheEnds() {
        var allowed = i => i !== 2
        compare(Rules.step(1, 1, 5, allowed), 3)
        compare(Rules.step(3, -1, 5, allowed), 1)
        compare(Rules.step(4, 1, 5, allowed), 4)
        compare(Rules.step(0, -1, 5), 0)
    }
}
