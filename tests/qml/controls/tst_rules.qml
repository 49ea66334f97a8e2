import QtQuick
import QtTest
import "qrc:/modules/qml/common/ControlRules.js" as Rules

// The shared controls' conversions, without a window.
TestCase {
    name: "ControlRules"

    function test_sliderPositionsAtTheEdgesAndOutside() {
        // Seven segments over 210 px: the left edge is 0, the last pixel 7, a release beyond
        // either end is held to the control. Eleven over 330 px: each segment its own position.
        compare([0, 1, 209, -40, 500].map(x => Rules.sliderPosition(x, 210)), [0, 1, 7, 0, 7])
        compare([0, 329, 30, 29, -5, 1000].map(x => Rules.slider11Position(x, 330)), [0, 10, 1, 0, 0, 10])
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
        compare([["Arial", "OPTIONEN"], ["Arial"], ["Arial", ""], undefined].map(l => Rules.text(l, 1, "OPTIONS")),
                ["OPTIONEN", "OPTIONS", "OPTIONS", "OPTIONS"])
    }

    function test_stepSkipsRefusedEntriesAndStopsAtTheEnds() {
        var allowed = i => i !== 2
        compare([Rules.step(1, 1, 5, allowed), Rules.step(3, -1, 5, allowed), Rules.step(4, 1, 5, allowed),
                 Rules.step(0, -1, 5)], [3, 1, 4, 0])
    }
}
