import QtQuick
import QtTest
import "qrc:/modules/qml/Q7/SensorRules.js" as Rules

// The sensor page's conversions between the mouse's stored values and the controls.
TestCase {
    name: "SensorRules"

    function test_rateCodesBothWays() {
        compare([8, 4, 2, 1].map(Rules.ratePosition), [0, 1, 2, 3])
        compare([0, 1, 2, 3].map(Rules.rateCode), [8, 4, 2, 1])
        // The lowest set bit decides: a damaged 3 and a missing 0 both show 1000 Hz, and so
        // does a text that is no number.
        compare(Rules.ratePosition(3), 3)
        compare(Rules.ratePosition(0), 3)
        compare(Rules.ratePosition("x"), 3)
        compare(Rules.ratePosition(12), 1)
        compare(Rules.ratePosition("8"), 0)
        compare(Rules.ratePosition(16), 0)
        compare(Rules.rateCode(9), 1)
    }

    function test_stagesAreOneBasedAndHeldToEight() {
        compare([1, 2, 8].map(Rules.stagePosition), [0, 1, 7])
        compare(Rules.stagePosition(0), 0)
        compare(Rules.stagePosition(9), 7)
        compare(Rules.stagePosition("3"), 2)
        compare(Rules.stagePosition(undefined), 0)
    }

    function test_dpi159IsStoredAs0xCFAndReadBack() {
        compare(Rules.storedDpi(159 * 50, 50), 0xCF)
        compare(Rules.dpiFromStored(0xCF, 50), 159 * 50)
        compare(Rules.dpiFromStored(159, 50), 159 * 50)
        compare(Rules.storedDpi(1600, 50), 32)
        compare(Rules.storedDpi(1625, 50), 33)
        // Nothing beyond a byte reaches the mouse.
        compare(Rules.storedDpi(100000, 50), 255)
        compare(Rules.storedDpi(-400, 50), 0)
        compare(Rules.dpiFromStored("16", 100), 1600)
        compare(Rules.dpiFromStored("", 100), 0)
    }

    function test_sixteenStageValuesCarryTheCopy() {
        var list = Rules.dpiStageList([400, 800, 1600, 159 * 50, 0, 3200, 6400, 7950], 50)
        compare(list.length, 16)
        compare(list.slice(0, 8), [8, 16, 32, 0xCF, 0, 64, 128, 0xCF])
        compare(list.slice(8), list.slice(0, 8))
        // 7950 is 159 units: the mouse's own code for it, not 159.
        compare(Rules.dpiStageList([7950, 0, 0, 0, 0, 0, 0, 0], 50)[0], 0xCF)
    }

    function test_everyStoredDpiSurvivesTheRoundTrip() {
        for (var v = 0; v <= 255; ++v) {
            var stored = v === 159 ? 0xCF : v
            if (v === 0xCF)
                continue
            compare(Rules.storedDpi(Rules.dpiFromStored(stored, 50), 50), stored, "unit " + v)
        }
    }

    function test_orangeIsStoredAs8AndShownAs7() {
        compare(Rules.paletteStored(7), 8)
        compare(Rules.paletteShown(8), 7)
        compare(Rules.paletteShown(Rules.paletteStored(7)), 7)
        compare(Rules.storedPaletteIds([0, 1, 2, 3, 4, 5, 6, 7]), [0, 1, 2, 3, 4, 5, 6, 8])
        compare(Rules.paletteIds(["8", "7", "9", "-1", "3", "0", "6", "x"]), [7, 7, 0, 0, 3, 0, 6, 0])
    }

    function test_listsOfTheWrongLengthAreRefused() {
        verify(Rules.paletteIds([0, 1, 2]) === null)
        verify(Rules.paletteIds([0, 1, 2, 3, 4, 5, 6, 7, 0]) === null)
        verify(Rules.dpiValues([1, 2, 3], 50) === null)
        compare(Rules.dpiValues([1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16], 50),
                [50, 100, 150, 200, 250, 300, 350, 400])
    }

    function test_resetValuesComeFromTheFactoryLists() {
        var fw = []
        var fw0 = []
        for (var i = 0; i < 128; ++i) {
            fw.push(String(i))
            fw0.push("0")
        }
        fw[0x54] = "207"
        for (var k = 0; k < 8; ++k)
            fw0[0x10 + k] = String(k === 7 ? 8 : k)
        var other = ["3", "4", "0"].concat(new Array(125).fill("0"))
        var d = Rules.defaults(["false", "7", "3", "9"], fw, fw0, other, 50)
        compare(d.rate, 1)
        compare(d.stage, 2)
        compare([d.cursorSpeed, d.scrollLines, d.doubleClick], [7, 3, 9])
        compare(d.dpi, [159 * 50, 85 * 50, 86 * 50, 87 * 50, 88 * 50, 89 * 50, 90 * 50, 91 * 50])
        compare(d.rgb[0], [0x68, 0x69, 0x6A])
        compare(d.rgb[7], [0x7D, 0x7E, 0x7F])
        compare(d.ids, [0, 1, 2, 3, 4, 5, 6, 7])
        // Short or missing lists leave their controls alone.
        var none = Rules.defaults([], [], [], [], 50)
        verify(none.rate === null && none.cursorSpeed === null && none.dpi === null)
        verify(none.rgb === null && none.ids === null)
    }
}
