import QtQuick
import QtTest
import "qrc:/modules/qml/Q7/sensor/SensorRules.js" as Rules

// The sensor page's conversions between the mouse's stored values and the controls.
TestCase {
    name: "SensorRules"

    function test_rateCodesBothWays() {
        compare([8, 4, 2, 1].map(Rules.ratePosition), [0, 1, 2, 3])
        compare([0, 1, 2, 3].map(Rules.rateCode), [8, 4, 2, 1])
        // The lowest set bit decides: a damaged 3 and a missing 0 both show 1000 Hz, and so
        // does a text that is no number.
        compare([3, 0, "x", 12, "8", 16].map(v => Rules.ratePosition(v)), [3, 3, 3, 1, 0, 0])
        compare(Rules.rateCode(9), 1)
    }

    function test_stagesAreOneBasedAndHeldToEight() {
        compare([1, 2, 8, 0, 9, "3", undefined].map(v => Rules.stagePosition(v)), [0, 1, 7, 0, 7, 2, 0])
    }

    function test_dpi159IsStoredAs0xCFAndReadBack() {
        compare([Rules.dpiFromStored(0xCF, 50), Rules.dpiFromStored(159, 50)], [159 * 50, 159 * 50])
        compare([1600, 1625, 100000, -400].map(v => Rules.storedDpi(v, 50)), [32, 33, 255, 0])
        compare([Rules.dpiFromStored("16", 100), Rules.dpiFromStored("", 100)], [1600, 0])
        // Every stored unit survives the way to the control and back; 159 units go back as 0xCF.
        for (var v = 0; v <= 255; ++v) {
            var stored = v === 159 ? 0xCF : v
            if (v !== 0xCF)
                compare(Rules.storedDpi(Rules.dpiFromStored(stored, 50), 50), stored, "unit " + v)
        }
    }

    // Orange, stored as 8 and shown as 7, both ways is the page test's, through Apply; damaged
    // ids read as the first colour.
    function test_paletteIdsFromTheMouse() {
        compare(Rules.paletteIds(["8", "7", "9", "-1", "3", "0", "6", "x"]), [7, 7, 0, 0, 3, 0, 6, 0])
    }

    // What Reset shows from full lists is the page test's, and so are lists of the wrong length
    // read from the mouse; short or missing factory lists leave their controls alone.
    function test_resetWithoutFactoryLists() {
        var none = Rules.defaults([], [], [], [], 50)
        compare([none.rate, none.cursorSpeed, none.dpi, none.rgb, none.ids], [null, null, null, null, null])
    }
}
