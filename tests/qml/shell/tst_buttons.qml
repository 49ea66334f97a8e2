import QtQuick
import QtTest
import ".."

// Image buttons with a caption are one target, and a click leaves no key to press them again.
PageTestCase {
    name: "WholeButtons"

    readonly property var jump: ["A    [Down]", "A      [Up]", "100   [Delay]", "B    [Down]", "B      [Up]"]

    function init() {
        ui_View.assign({ macroFiles: { "Jump": jump } })
    }

    function sends() {
        return ui_View.callsOf("q7_03H_SetReportRate").length
    }
    function macroLines() {
        return child("_Page_Macro").lines().length
    }

    // The bottom bar's caption always shows beside its icon; a page's is a tip shown while the
    // button is pointed at (or reached by Tab), which the pointer can then move onto.
    function test_captionIsTheButtonAndAClickLeavesNoKeyToFire_data() {
        return [{ tag: "ALL SAVE", page: 3, button: "btnTotalApply", tip: false, fired: sends },
                { tag: "sensor APPLY", page: 3, button: "sensorApply", tip: true, fired: sends },
                { tag: "macro line DELETE", page: 1, button: "macroLineDelete", tip: true,
                  fired: () => 5 - macroLines(),
                  prepare: () => { mouseClick(row("macroList", 0)); mouseClick(row("actionList", 2)) } }]
    }
    function test_captionIsTheButtonAndAClickLeavesNoKeyToFire(row) {
        openShell(row.page)
        if (row.prepare)
            row.prepare()
        var button = child(row.button), caption = child(row.button + "Caption")
        compare(button.Accessible.name, caption.text)
        compare(caption.visible, !row.tip)
        if (row.tip) {
            mouseMove(button)
            tryVerify(() => caption.visible)
        }
        // Onto the text, and a click there.
        mouseMove(caption)
        verify(button.hovered && caption.visible)
        mouseClick(caption)
        compare(row.fired(), 1)
        keyClick(Qt.Key_Space)
        keyClick(Qt.Key_Return)
        compare(row.fired(), 1)
        verify(button.activeFocus && !button.keyboardFocus)
        // Pointer gone: so is a tip, focus or not.
        mouseMove(shell, 500, 590)
        tryVerify(() => !button.hovered)
        compare(caption.visible, !row.tip)

        // Back by the keyboard: Space presses it, and a tip shows while it has the focus.
        keyClick(Qt.Key_Tab)
        keyClick(Qt.Key_Tab, Qt.ShiftModifier)
        verify(button.keyboardFocus)
        verify(caption.visible)
        keyClick(Qt.Key_Space)
        compare(row.fired(), 2)
    }
}
