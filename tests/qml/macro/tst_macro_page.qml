import QtQuick
import QtTest
import ".."

// The macro page in the shell against the recording view: what it shows of the library, and
// exactly which library calls each click, key and menu choice makes.
PageTestCase {
    name: "MacroPage"

    property var page: null
    readonly property var jump: ["A    [Down]", "A      [Up]", "100   [Delay]", "B    [Down]", "B      [Up]"]

    function init() {
        ui_View.assign({ macroFiles: { "Jump": jump, "Macro. 001": [], "fire": ["MS-L    [Down]"] },
                         importLines: null, renameRefused: false, sectionStrings: {} })
        page = openPage(1, "_Page_Macro")
    }

    function pick(i) {
        mouseClick(row("macroList", i))
    }
    function menuChoice(i, item) {
        mouseClick(row("macroList", i), 5, 5, Qt.RightButton)
        tryVerify(() => child("macroMenu").opacity === 1)
        mouseClick(child(item))
    }
    function saves() {
        return ui_View.callsOf("saveMacroIni").map(c => c.slice(1))
    }
    // Key events as the capture delivers them: [down, code] pairs.
    function keys(events) {
        for (var e of events)
            shell.detectKeyboard(e[0], e[1])
    }
    // RENAME from row i's menu, the name typed over and ended with Return.
    function rename(i, typed) {
        menuChoice(i, "macroMenuRename")
        tryVerify(() => child("macroListEditor").activeFocus)
        keyClick(Qt.Key_A, Qt.ControlModifier)
        typeKeys(typed)
        keyClick(Qt.Key_Return)
    }

    function test_selectingARowLoadsItsLinesAndAgainClearsAndNames() {
        compare([child("macroTitle").text, page.macroTexts()], ["en75", ["fire", "Jump", "Macro. 001"]])
        pick(1)
        compare([page.currentName, ui_View.calls], ["Jump", [["loadMacroIni", "Jump"]]])
        // Value on the left, the ten-character tag on the right.
        compare([page.actionModel.get(2).textX, page.actionModel.get(2).textR], ["100", "   [Delay]"])
        compare(page.lines(), jump)
        pick(1)
        compare([page.currentName, page.actionModel.count], ["", 0])
        verify(!child("macroRecord").enabled && !child("macroAddDelay").enabled)
        // A screen reader hears the lists by their headers, the two DELETEs apart, and names the
        // language gives over the built-in English.
        ui_View.sectionStrings = { names: { deleteMacro: "Makro löschen" } }
        page.translateStrings()
        compareNames({ macroList: "en44", actionList: "en45", macroDelete: "Makro löschen", macroLineDelete: "en80" })
        compare(child("macroLineDelete").Accessible.description, "Delete line")
    }

    function test_addCreatesAndOpensDeleteRemoves() {
        mouseClick(child("macroAdd"))
        compare(ui_View.names(), ["createMacroIni", "loadMacroIni"])
        compare([page.macroTexts()[3], page.currentName], ["Macro. 002", "Macro. 002"])
        ui_View.clear()
        mouseClick(child("macroDelete"))
        compare(ui_View.calls[0], ["deleteMacroIni", "Macro. 002"])
        compare([page.macroTexts(), page.currentName, child("macroDelete").enabled],
                [["fire", "Jump", "Macro. 001"], "", false])
    }

    function test_recordClearsTheScreenAndOnlyStopSaves() {
        pick(1)
        keys([[true, 0x04]]) // pressed before recording
        mouseClick(child("macroRecord"))
        compare(page.actionModel.count, 0)
        compare(each(["macroList", "macroAdd", "macroDelete", "macroRecord", "macroStop"], n => child(n).enabled),
                [false, false, false, false, true])

        // The release of the key pressed before still counts; 0x32 has no name and is ignored.
        keys([[false, 0x04], [true, 0xE1], [true, 0x32], [false, 0x32], [true, 0x05], [false, 0x05], [false, 0xE1]])
        compare(page.lines(), ["A      [Up]", "L Shift    [Down]", "B    [Down]", "B      [Up]", "L Shift      [Up]"])
        compare([saves(), ui_View.macroFiles["Jump"]], [[], jump])

        mouseClick(child("macroStop"))
        compare(saves(), [["Jump", page.lines()]])
        verify(child("macroList").enabled && child("macroRecord").enabled)
        // Keys after Stop are not recorded.
        keys([[true, 0x06]])
        compare(page.actionModel.count, 5)

        // Only a recording asks for the desktop's input, and opening the settings drawer ends
        // it as Stop does.
        mouseClick(child("macroRecord"))
        compare(ui_View.captureRequests, 1)
        keys([[true, 0x07]])
        mouseClick(child("btnSetting"))
        compare([saves()[1], page.isRecordStart, ui_View.captureRequests], [["Jump", ["D    [Down]"]], false, 0])
    }

    function test_recordWithTimingPutsTheGapsBetweenEvents() {
        pick(2)
        mouseClick(child("macroRecordTiming"))
        mouseClick(child("macroRecord"))
        keys([[true, 0x04]])
        wait(40)
        keys([[false, 0x04]])
        mouseClick(child("macroStop"))
        var lines = saves()[0][1]
        compare([lines.length, lines[0], lines[2]], [3, "A    [Down]", "A      [Up]"])
        verify(/^\d+   \[Delay\]$/.test(lines[1]) && parseInt(lines[1]) >= 30, lines[1])
    }

    function test_lineToolsFollowTheClipboardRules() {
        pick(1)
        var del = child("macroLineDelete"), cut = child("macroLineCut")
        var paste = child("macroLinePaste"), copy = child("macroLineCopy")
        compare([del.enabled, cut.enabled, copy.enabled, paste.enabled], [false, false, false, false])
        mouseClick(row("actionList", 2))
        compare([del.enabled, cut.enabled, copy.enabled], [true, true, true])

        mouseClick(cut)
        compare(page.lines(), [jump[0], jump[1], jump[3], jump[4]])
        mouseClick(paste)
        // The cut line went back once; the clipboard is empty now.
        compare([page.lines(), paste.enabled], [jump, false])

        mouseClick(row("actionList", 0))
        mouseClick(copy)
        mouseClick(row("actionList", 0)) // no line current: paste appends
        mouseClick(paste)
        mouseClick(paste)
        compare(page.lines(), jump.concat([jump[0], jump[0]]))

        // Delete by button and by the Delete key of the focused list.
        mouseClick(row("actionList", 5))
        mouseClick(del)
        child("actionList").forceActiveFocus()
        keyClick(Qt.Key_Delete)
        compare(page.lines(), jump)
        compare([saves().length, saves()[5], ui_View.macroFiles["Jump"]], [6, ["Jump", jump], jump])
        // A file gone meanwhile empties the list at the next save, and is not written again.
        mouseClick(row("actionList", 0))
        ui_View.withFile("Jump", undefined)
        mouseClick(del)
        compare([saves()[6], page.actionModel.count, ui_View.macroFiles["Jump"]], [["Jump", jump.slice(1)], 0, undefined])
    }

    function test_addedEventsArePressThenReleaseBeforeTheCurrentLine() {
        pick(1)
        mouseClick(row("actionList", 2))
        mouseClick(child("macroKeyInput"))
        keys([[true, 0x04]])
        mouseClick(child("macroAddKey"))
        compare(page.lines().slice(2, 5), ["A    [Down]", "A      [Up]", "100   [Delay]"])

        // The mouse list: item 2 is the middle button.
        choose("macroMouseButton", 2)
        mouseClick(child("macroAddMouse"))
        compare(page.lines().slice(4, 7), ["MS-M    [Down]", "MS-M      [Up]", "100   [Delay]"])

        // A delay of 5 shows as 10 on Return; one still being typed is taken by the add button.
        var delay = child("macroDelayInput")
        typeInto(delay, "5")
        keyClick(Qt.Key_Return)
        compare(delay.text, "10")
        mouseClick(row("actionList", 6)) // none current: append
        typeInto(delay, "700000")
        // 70000 cannot be typed: the field keeps 7000.
        compare(delay.text, "7000")
        mouseClick(child("macroAddDelay"))
        compare([page.lines().slice(-1), saves().length, saves()[2]], [["7000   [Delay]"], 3, ["Jump", page.lines()]])
    }

    function test_menuLoadSaveAndRenameAndRenamesThatCannotHappen() {
        pick(1)
        ui_View.importLines = ["C    [Down]"]
        ui_View.clear()
        menuChoice(1, "macroMenuLoad")
        compare([ui_View.calls, page.lines()], [[["loadMacroIniFromFile", "Jump"], ["loadMacroIni", "Jump"]], ["C    [Down]"]])
        tryVerify(() => !child("macroMenu").visible)

        // Another row: imported, the current one stays as it is.
        ui_View.clear()
        menuChoice(0, "macroMenuLoad")
        menuChoice(2, "macroMenuSave")
        menuChoice(2, "macroMenuCancel")
        compare(ui_View.calls, [["loadMacroIniFromFile", "fire"], ["saveMacroIniToFile", "Macro. 001"]])

        // RENAME: Return renames, leaving the field restores.
        ui_View.clear()
        rename(1, "r")
        compare(ui_View.callsOf("renameMacroIniFile"), [["renameMacroIniFile", "Jump", "r"]])
        compare([page.macroTexts()[1], page.currentName], ["r", "r"])

        ui_View.clear()
        menuChoice(0, "macroMenuRename")
        tryVerify(() => child("macroListEditor").activeFocus)
        keyClick(Qt.Key_Z)
        mouseClick(child("macroKeyInput"))
        // Names the library would not take keep the old one.
        rename(1, "fire")         // another macro's name
        rename(0, "a/b")          // a path
        rename(0, " ")            // blank
        compare([ui_View.callsOf("renameMacroIniFile"), page.macroTexts()], [[], ["fire", "r", "Macro. 001"]])
        // The file system refuses: the row shows the name the file still has.
        ui_View.renameRefused = true
        rename(0, "x")
        compare(ui_View.callsOf("renameMacroIniFile"), [["renameMacroIniFile", "fire", "x"]])
        compare(page.macroTexts()[0], "fire")
    }

    function test_undoAndRedoRestoreAndSaveTheExactLines() {
        pick(1)
        mouseClick(row("actionList", 0))
        mouseClick(child("macroLineDelete"))
        mouseClick(child("macroLineDelete"))
        compare(page.lines(), jump.slice(2))
        // Ctrl+Z twice, once more with nothing left to undo, then Ctrl+Y and Ctrl+Shift+Z.
        var seen = each([1, 2, 3], () => {
            keyClick(Qt.Key_Z, Qt.ControlModifier)
            return page.lines()
        })
        compare([seen, ui_View.macroFiles["Jump"], saves().length], [[jump.slice(1), jump, jump], jump, 4])
        keyClick(Qt.Key_Y, Qt.ControlModifier)
        compare(page.lines(), jump.slice(1))
        keyClick(Qt.Key_Z, Qt.ShiftModifier | Qt.ControlModifier)
        compare([page.lines(), saves().length, ui_View.macroFiles["Jump"]], [jump.slice(2), 6, jump.slice(2)])
        // Another macro drops the history.
        pick(0)
        pick(1)
        keyClick(Qt.Key_Z, Qt.ControlModifier)
        compare(page.lines(), jump.slice(2))
    }

    // Pause/Break ends a recording and is not recorded, nor is its release taken afterwards;
    // outside a recording it is a key like any other.
    function test_pauseBreakStopsARecordingAndIsNotRecorded() {
        pick(1)
        mouseClick(child("macroRecord"))
        keys([[true, 0x04], [false, 0x04], [true, 0x48]])
        compare([page.isRecordStart, saves()], [false, [["Jump", ["A    [Down]", "A      [Up]"]]]])
        var field = child("macroKeyInput")
        mouseClick(field)
        keys([[false, 0x48]])
        verify(field.armed)
        keys([[true, 0x48]])
        compare([field.armed, field.keyCode], [false, 0x48])
        // A row is pressed as a click chooses it.
        row("macroList", 2).Accessible.pressAction()
        compare(page.currentName, "Macro. 001")
    }
}
