import QtQuick
import QtTest
import ".."
import "qrc:/modules/qml/basic/ShellKeys.js" as ShellKeys

// The shell by keyboard alone: where Tab goes, the shortcuts and when they wait, the drawer's
// Escape, the profile menu's keys, and where the focus goes when a page changes.
PageTestCase {
    name: "Keyboard"

    readonly property var ctrl: Qt.ControlModifier
    readonly property var shellOrder: ["btnSetting", "btnClose", "logoWeb_img", "fnEntry0", "fnEntry1", "fnEntry2",
                                       "fnEntry3", "pfEntry1", "pfEntry2", "pfEntry3", "pfEntry4", "pfEntry5",
                                       "btnTotalReset", "btnTotalApply"]

    function focused() {
        return shell.Window.activeFocusItem
    }
    function inside(item, container) {
        return ShellKeys.inside(item, child(container))
    }
    function profileSwitches() {
        return ui_View.callsOf("q7_02H_SetCurrentProfile").map(c => c[1])
    }
    function pageShown(index) {
        return child("_fkPage").curID === index && !child("pa_X").running && !child("paBack_X").running
    }
    // Where the keyboard is, from one of the shell's controls.
    function keyboardOn(name) {
        child(name).takeFocus(true)
        verify(child(name).keyboardFocus)
    }

    // The shell's controls in their order, a shown page's between the function menu and the
    // profile column; Shift+Tab walks back.
    function test_tabRunsTopBarMenuPageProfilesBottomBar() {
        openShell(3)
        keyboardOn("btnSetting")
        var items = shellOrder.map(n => child(n)), seen = []
        for (var i = 0; i < 200 && (i === 0 || focused() !== items[0]); ++i) {
            keyClick(Qt.Key_Tab)
            var k = items.indexOf(focused())
            if (k < 0)
                verify(inside(focused(), "_Page_Sensor"), "Tab went to " + focused())
            var name = k < 0 ? "page" : shellOrder[k]
            if (seen[seen.length - 1] !== name)
                seen.push(name)
        }
        compare(seen, shellOrder.slice(1, 7).concat(["page"], shellOrder.slice(7), [shellOrder[0]]))
        // Every control on the way showed where the focus was.
        keyClick(Qt.Key_Tab, Qt.ShiftModifier)
        verify(focused() === child("btnTotalApply") && child("btnTotalApply").keyboardFocus)
    }

    function test_shortcutsPressWhatTheyName_data() {
        return [{ tag: "Ctrl+2 macro", key: Qt.Key_2, hover: "fnEntry1", done: () => pageShown(1) && inside(focused(), "_Page_Macro") },
                { tag: "Ctrl+4 sensor", key: Qt.Key_4, hover: "fnEntry3", done: () => pageShown(3) && inside(focused(), "_Page_Sensor") },
                // The page already shown stays, and the focus goes into it.
                { tag: "Ctrl+1 shown", key: Qt.Key_1, hover: "fnEntry0", done: () => pageShown(0) && inside(focused(), "_Page_Keydefine") },
                { tag: "Ctrl+S", key: Qt.Key_S, hover: "btnTotalApply",
                  done: () => ui_View.callsOf("q7_0DH_SetKeyMatrix").length === 1 && !ui_View.enabled },
                // Around the ends: 1 back is 5.
                { tag: "Ctrl+PgUp", key: Qt.Key_PageUp, hover: "pfEntry1",
                  done: () => String(profileSwitches()) === "5" && child("pfEntry5").Accessible.checked },
                { tag: "Ctrl+PgDown", key: Qt.Key_PageDown, hover: "pfEntry1",
                  done: () => String(profileSwitches()) === "2" && child("pfEntry2").Accessible.checked }]
    }
    function test_shortcutsPressWhatTheyName(row) {
        openShell(0)
        keyboardOn("fnEntry0")
        keyClick(row.key, ctrl)
        tryVerify(row.done, 5000)
        // The control the shortcut presses names it in its hover text.
        var keys = [Qt.Key_1, Qt.Key_2, Qt.Key_3, Qt.Key_4].indexOf(row.key) >= 0 ? ShellKeys.pageKeys
                 : [ShellKeys.saveKey, ShellKeys.previousProfileKey, ShellKeys.nextProfileKey]
        verify(keys.some(k => child(row.hover).Accessible.description.indexOf(k) >= 0), child(row.hover).Accessible.description)
    }

    // An armed capture field and a recording take every key, the open drawer all but Escape.
    function test_shortcutsWaitWhileSomethingTakesEveryKey_data() {
        return [{ tag: "armed field", page: 0, take: () => mouseClick(child("keyKeyboard")), still: () => child("keyKeyboard").armed },
                { tag: "recording", page: 1, still: () => child("_Page_Macro").isRecordStart,
                  take: () => { mouseClick(row("macroList", 0)); mouseClick(child("macroRecord")) } },
                { tag: "drawer", page: 0, take: () => mouseClick(child("btnSetting")), still: () => child("upItem").isGlobalSettingSelect }]
    }
    function test_shortcutsWaitWhileSomethingTakesEveryKey(row) {
        ui_View.assign({ macroFiles: { "Jump": ["A    [Down]", "A      [Up]"] } })
        ui_View.keyMatrix.splice(12, 4, 0, 0, 0x04, 0)
        openShell(row.page)
        row.take()
        verify(row.still())
        ui_View.clear()
        for (var key of [Qt.Key_1, Qt.Key_2, Qt.Key_3, Qt.Key_4, Qt.Key_S, Qt.Key_PageUp, Qt.Key_PageDown])
            keyClick(key, ctrl)
        verify(row.still())
        compare([child("fnItem").currentIndex, child("_fkPage").curID, child("pfItem").currentIndex], [row.page, row.page, 1])
        compare(ui_View.names().filter(n => /^(q7_0|setEnabled|saveApConfig)/.test(n)), [])
    }

    function test_escapeClosesTheDrawerAndTheFocusReturnsToTheGear() {
        openShell()
        var up = child("upItem"), gear = child("btnSetting")
        keyboardOn("btnSetting")
        keyClick(Qt.Key_Space)
        // Opened from the keyboard, the drawer takes the focus.
        verify(up.isGlobalSettingSelect && inside(focused(), "_fkGlobalsetting"))
        keyClick(Qt.Key_Tab)
        verify(inside(focused(), "_fkGlobalsetting"))
        keyClick(Qt.Key_Escape)
        verify(!up.isGlobalSettingSelect && focused() === gear && gear.keyboardFocus)
        tryCompare(child("_fkGlobalsetting"), "visible", false)

        // APPLY clicked: the focus leaves the closing drawer for the gear, without a mark.
        mouseClick(gear)
        tryCompare(child("_fkGlobalsetting"), "contentX", 0)
        mouseClick(child("btnApply"))
        verify(!up.isGlobalSettingSelect && focused() === gear && !gear.keyboardFocus)
    }

    // The focus lands on the first control of the page shown, unless a click chose it.
    function test_aPageChangeMovesTheFocusIntoTheNewPage_data() {
        return [{ tag: "Space on the menu", go: () => { keyboardOn("fnEntry3"); keyClick(Qt.Key_Space) } },
                { tag: "shortcut from another page", go: () => {
                    keyboardOn("fnEntry0")
                    keyClick(Qt.Key_Space)
                    tryVerify(() => inside(focused(), "_Page_Keydefine"))
                    keyClick(Qt.Key_4, ctrl)
                } },
                { tag: "screen reader's press", go: () => child("fnEntry3").Accessible.pressAction() },
                { tag: "click", click: true, go: () => mouseClick(child("fnEntry3")) }]
    }
    function test_aPageChangeMovesTheFocusIntoTheNewPage(row) {
        openShell()
        row.go()
        tryVerify(() => pageShown(3), 5000)
        if (row.click) {
            verify(focused() === child("fnEntry3") && !child("fnEntry3").keyboardFocus)
            return
        }
        tryVerify(() => inside(focused(), "_Page_Sensor"))
        // The first of the page: one step back is the menu.
        keyClick(Qt.Key_Tab, Qt.ShiftModifier)
        compare(focused(), child("fnEntry3"))
    }

    function test_profileMenuByKeyboard() {
        openShell()
        var menu = child("pfContextMenu")
        keyboardOn("pfEntry3")
        keyClick(Qt.Key_F10, Qt.ShiftModifier)
        verify(menu.visible && focused() === child("pfMenuItem0"))
        compare(child("pfMenuItem0").Accessible.role, Accessible.MenuItem)
        // Up from the first goes round to the last; Down walks on.
        keyClick(Qt.Key_Up)
        compare(focused(), child("pfMenuItem4"))
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Return)
        compare(ui_View.calls, [["q7_saveProfile", 3]])
        verify(focused() === child("pfEntry3") && child("pfEntry3").keyboardFocus)
        tryCompare(menu, "visible", false)

        keyClick(Qt.Key_Menu)
        verify(focused() === child("pfMenuItem0"))
        keyClick(Qt.Key_Escape)
        compare([focused(), ui_View.calls], [child("pfEntry3"), [["q7_saveProfile", 3]]])
    }

    // Pointed at, a control shows its hover text after a pause, and only while pointed at.
    function test_hoverTextShowsWhilePointedAt() {
        openShell()
        var tip = child("hoverTip")
        mouseMove(child("fnEntry2"))
        tryVerify(() => tip.visible)
        compare(tip.text, "Show the en76 page (Ctrl+3)")
        mouseMove(shell, 500, 590)
        verify(!tip.visible)
    }

    // 1 back is the shortcuts' case; a damaged profile number steps into the range. (The texts'
    // fallback is the settings test's, through a language change.)
    function test_profileStepsGoRound() {
        compare([[5, 1], [3, 1], [0, 1], [9, -1]].map(a => ShellKeys.stepProfile(a[0], a[1])), [1, 4, 2, 5])
    }
}
