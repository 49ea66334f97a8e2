import QtQuick
import QtTest
import "qrc:/modules/qml/Q7/color/ColorRules.js" as Rules

// The lighting conversions: effect list, speed and brightness steps, the rainbow strip, typed
// colour components.
TestCase {
    name: "ColorRules"

    function test_effectListSkipsSwitchedOffEffects() {
        var on = ["true", "true", "false", "true", "true", "true", "true", "true", "true", "true", "false"]
        var t = Rules.effectTable(on)
        compare([t.codes, t.positions], [[0, 1, 3, 4, 5, 6, 7, 8, 9], [0, 1, -1, 2, 3, 4, 5, 6, 7, 8, -1]])
        // Script booleans count like the texts; a short list leaves the rest off.
        compare([Rules.effectTable([true, "TRUE", "1", true]).codes, Rules.effectTable(undefined).codes], [[0, 3], []])
    }

    // Speed, brightness, colours of an effect code.
    function controls(code) {
        return [Rules.speedEnabled(code), Rules.brightnessEnabled(code), Rules.coloursEnabled(code)]
    }

    // Each effect code enables the controls it uses; a list position, those of its code.
    function test_listPositionsTakeTheControlsOfTheirCode() {
        // Positions with speed, with brightness, with colours.
        function byPosition(enable) {
            var codes = Rules.effectTable(enable).codes
            var out = [[], [], []]
            for (var p = 0; p < codes.length; ++p)
                controls(Rules.effectAt(codes, p, -1)).forEach((on, k) => { if (on) out[k].push(p) })
            return out
        }
        // With every effect listed a position is its code: speed exactly where the code has a
        // speed range.
        var all = new Array(11).fill("true")
        compare(byPosition(all), [[3, 4, 5, 8, 9, 10], [1, 2, 5, 8, 9, 10], [1, 2, 3, 7, 8, 9, 10]])
        // A byte that is no effect's code enables nothing.
        compare([11, -1, ""].map(controls), [[false, false, false], [false, false, false], [false, false, false]])
        // The factory's nine (no TWINKLING, no SPOTLIGHT): each position enables what it always did.
        var nine = all.slice()
        nine[2] = nine[10] = "false"
        compare(byPosition(nine), [[2, 3, 4, 7, 8], [1, 4, 7, 8], [1, 2, 6, 7, 8]])
        // No entry chosen: the effect last read.
        compare([Rules.effectAt([0, 1], -1, 10), Rules.effectAt([0, 1], 2, 10)], [10, 10])
    }

    function test_speedTablesRoundTripEveryPosition() {
        for (var effect = 0; effect <= 10; ++effect) {
            for (var k = 0; k <= 7; ++k) {
                var expected = [3, 4, 5, 8, 9, 10].indexOf(effect) >= 0 ? k : 0
                compare(Rules.speedPosition(effect, Rules.speedByte(effect, k)), expected,
                        "effect " + effect + " position " + k)
            }
        }
    }

    function test_speedBytesAtTheEndsOfEachRange() {
        compare([8, 3, 9, 10].map(e => [Rules.speedByte(e, 0), Rules.speedByte(e, 7)]),
                [[20, 10], [10, 1], [15, 5], [30, 20]])
        compare(Rules.speedByte(1, 4), 0)
        // A byte outside its effect's range still lands on the slider.
        compare([Rules.speedPosition(8, 0), Rules.speedPosition(8, 255), Rules.speedPosition(5, "3")], [7, 0, 5])
    }

    function test_brightnessSteps() {
        compare([0, 1, 2, 3, 4, 5, 6, 7].map(Rules.brightnessByte), [0, 36, 73, 109, 146, 182, 219, 255])
        for (var k = 0; k <= 7; ++k)
            compare(Rules.brightnessPosition(Rules.brightnessByte(k)), k)
        compare(Rules.brightnessPosition(300), 7)
    }

    function test_rainbowAtTheEndsAndEachLevelBoundary() {
        // Each level spans 32 pixels exactly; the last pixel is level 8, black again.
        compare([0, 32, 64, 96, 128, 160, 192, 224, 256, 16, 240].map(y => Rules.rainbow(y, 257)),
                [[0, 0, 0], [255, 0, 0], [255, 255, 0], [0, 255, 0], [0, 255, 255], [0, 0, 255],
                 [255, 0, 255], [255, 255, 255], [0, 0, 0], [128, 0, 0], [127, 127, 127]])
    }

    function test_typedComponentsAreDigitsHeldToAByte() {
        compare(["0", "255", "300", " 42 ", "", "1e2", "-5", "abc"].map(t => Rules.typedComponent(t)),
                [0, 255, 255, 42, null, null, null, null])
    }

    function test_colourListsOfTheWrongLengthOrRangeAreRefused() {
        var list = Array.from({ length: 24 }, (_, i) => String(i * 10))
        compare(Rules.triples(list)[7], [210, 220, 230])
        verify(Rules.triples(list.slice(1)) === null)
        list[5] = "256"
        verify(Rules.triples(list) === null)
        compare(Rules.flat([[300, -1, "7"]]), [255, 0, 7])
    }

    function test_blockFieldsAtTheirOffsets() {
        var fw = Array.from({ length: 128 }, (_, i) => i)
        compare(Rules.blockEffect(fw), [0x47, 0x48, 0x49])
        compare([Rules.blockColours(fw)[0], Rules.blockColours(fw)[7]], [[0x18, 0x19, 0x1A], [0x2D, 0x2E, 0x2F]])
        verify(Rules.blockEffect([1, 2]) === null)
        verify(Rules.blockColours(fw.slice(0, 40)) === null)
    }
}
