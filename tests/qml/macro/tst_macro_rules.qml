import QtQuick
import QtTest
import "qrc:/modules/qml/Q7/macro/MacroRules.js" as Rules

// The macro page's line rules: where added lines go, the clipboard, the delay field, the text
// form of a line, recording with timing and the undo history.
TestCase {
    name: "MacroRules"

    readonly property var five: ["1" + Rules.tagDown, "1" + Rules.tagUp, "50" + Rules.tagDelay,
                                 "2" + Rules.tagDown, "2" + Rules.tagUp]

    // Where the page puts added lines is its test's; here the edges.
    function test_keyPairGoesBeforeTheCurrentLineOrAtTheEnd() {
        // The current line stays current, so a second addition lands after the first.
        compare(Rules.insert(five, 2, ["x", "y"]).current, 4)
        // A current line past the end (a stale index) appends; the input is left alone.
        compare(Rules.insert(five, 9, ["x"]).lines[5], "x")
        compare(five.length, 5)
    }

    // Cut once and copy many times are the page test's, through its buttons; here the edges.
    function test_clipboardEdges() {
        // The line after the cut one becomes current; an empty clipboard pastes nothing.
        compare(Rules.cut(five, 1).current, 1)
        compare(Rules.paste(five, 1, "", false), null)
        // Nothing current: nothing to cut, copy or delete.
        compare([Rules.cut(five, -1), Rules.copy(five, 5)], [null, null])
        compare(Rules.remove(five, -1).lines, five)
        // Removing the last line leaves the new last one current; the only line, none.
        compare(Rules.remove(five, 4).current, 3)
        compare(Rules.remove(["x"], 0), { lines: [], current: -1 })
    }

    function test_delayFieldTakesFiveDigitsUpTo65535AndAtLeastTen() {
        compare(["", "0", "10", "65535", "00042", "65536", "99999", "123456", "1a", "-5", " 5", "5.0"]
                .map(t => Rules.acceptsDelayText(t)),
                [true, true, true, true, true, false, false, false, false, false, false, false])
        compare(["5", "0", "10", "65535"].map(t => Rules.delayFrom(t, 1000)), [10, 10, 10, 65535])
        compare([Rules.delayFrom("", 250), Rules.delayFrom("70000", 250)], [250, 250])
        compare(Rules.delayCaption(10), "DELAY【 10 】ms")
    }

    function test_splitAndJoinRoundTripEveryTag() {
        for (var line of ["A    [Down]", "A      [Up]", "1000   [Delay]", "KP 7     [Down]", "' \"      [Up]",
                          "►    [Down]", "MS-B5      [Up]", "short", "0", ""]) {
            var row = Rules.split(line)
            compare(Rules.join(row), line)
            compare(row.textR.length, Math.min(10, line.length))
        }
        // The name keeps its trailing blank; the tag is exactly the last ten characters.
        compare(Rules.split("KP 7     [Down]"), { textX: "KP 7 ", textR: "    [Down]" })
        compare(Rules.split("short"), { textX: "", textR: "short" })
        compare(Rules.rowsOf(["A    [Down]"]), [{ textX: "A", textR: "    [Down]" }])
    }

    // The lines of the keys and the nameless ones left out are the page test's, through a
    // recording; here the gaps, held to the delay's range.
    function test_recordingTimesTheGaps() {
        var events = [{ line: "A    [Down]", time: 1000 }, { line: "A      [Up]", time: 1003 },
                      { line: "B    [Down]", time: 1250.4 }, { line: "B      [Up]", time: 200000 }]
        compare(Rules.timedLines(events), ["A    [Down]", "10   [Delay]", "A      [Up]", "247   [Delay]",
                                           "B    [Down]", "65535   [Delay]", "B      [Up]"])
        compare([Rules.timedLines([events[0]]), Rules.timedLines([])], [["A    [Down]"], []])
    }

    function test_undoAndRedoWalkTheHistory() {
        var h = Rules.emptyHistory()
        compare(Rules.undo(h, ["a"]), null)
        h = Rules.remember(Rules.remember(h, []), ["a"])
        var u1 = Rules.undo(h, ["a", "b"])
        var u2 = Rules.undo(u1.history, u1.lines)
        compare([u1.lines, u2.lines, Rules.undo(u2.history, u2.lines)], [["a"], [], null])
        var r1 = Rules.redo(u2.history, u2.lines)
        var r2 = Rules.redo(r1.history, r1.lines)
        compare([r1.lines, r2.lines, Rules.redo(r2.history, r2.lines)], [["a"], ["a", "b"], null])
        // A new change after an undo forgets what could be redone.
        compare(Rules.remember(u1.history, u1.lines).redo, [])
        // The oldest steps go first once the history is full.
        var full = Rules.emptyHistory()
        for (var i = 0; i < Rules.historyLimit + 5; ++i)
            full = Rules.remember(full, [String(i)])
        compare([full.undo.length, full.undo[0]], [Rules.historyLimit, ["5"]])
    }

    function test_renameRefusesNamesTheLibraryWouldNotTake() {
        var others = ["Macro. 001", "Fire"]
        verify(Rules.acceptableName("Jump", "Macro. 002", others))
        verify(Rules.acceptableName("macro. 001", "Macro. 002", others))
        for (var bad of ["", "   ", ".", "..", "a/b", "a\\b", "a\u0000b", "Fire", "Macro. 002"])
            verify(!Rules.acceptableName(bad, "Macro. 002", others), JSON.stringify(bad))
        compare(Rules.macroNames(["Macro. 001.bin", "b.bin"]), ["Macro. 001", "b"])
    }
}
