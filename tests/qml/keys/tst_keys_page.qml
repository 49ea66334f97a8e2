import QtQuick
import QtTest
import ".."

// The key page in the shell against the recording view: what it shows from the bridge's answers
// and exactly which calls its choices, Reset and Apply make.
PageTestCase {
    name: "KeysPage"

    readonly property var factory: ui_View.factoryKeyMatrix

    // The page opened on the factory's key matrix with the given entries changed, and a macro
    // library of name -> stored configuration.
    function open(matrixEdits, configs) {
        var files = {}
        for (var name in configs || {})
            files[name] = []
        ui_View.assign({ keyMatrix: factory.slice(), foolProofingAnswer: true, macroFiles: files,
                         macroConfigs: configs || {},
                         defaultProfiles: { "matrix_fw/1": factory.concat(new Array(64).fill(0)).map(String) } })
        for (var k in matrixEdits)
            ui_View.keyMatrix.splice(4 * k, 4, ...matrixEdits[k])
        openPage(0, "_Page_Keydefine")
    }

    // Apply clicked; the whole list, or one key's entry (the selected key 3 unless told), as
    // it sent it last.
    function sentAfterApply(key) {
        mouseClick(child("keyApply"))
        waitUnlocked()
        var sent = ui_View.callsOf("q7_0DH_SetKeyMatrix")
        verify(sent.length > 0, "nothing sent")
        var k = key === undefined ? 3 : key
        return key === null ? sent[sent.length - 1][1] : Array.from(sent[sent.length - 1][1]).slice(4 * k, 4 * k + 4)
    }
    function chooseMacro(row) {
        mouseClick(child("keyMacroList"))
        waitForRendering(child("keyMacroList"))
        mouseClick(child("keyMacroListListRow" + row))
    }
    function macroCalls() {
        return ui_View.calls.filter(c => c[0] === "setMacroIniConfig" || c[0] === "q7_0FH_SetMacroKey")
    }

    function test_initUIShowsTheSelectedButton() {
        open({})
        // Position 3 of the product's sixteen names is selected: key id 3, forward.
        compare([child("keyButtonMenu").getCurIndex(), child("keyFunctionMenu").currentText,
                 child("keyMouseList").currentText], [3, "en47", "en55"])
        verify(child("keyMouseList").visible && !child("keyKeyboard").visible)
        // Tab goes from the button to its function, then to the function's controls.
        child("keyButtonMenu").forceActiveFocus()
        keyClick(Qt.Key_Tab)
        verify(child("keyFunctionMenu").activeFocus)
    }

    function test_applySendsTheSixtyFourNumbersInKeyIdOrder() {
        open({})
        choose("keyButtonMenu", 5)
        choose("keyFunctionMenu", 6)
        var expected = factory.slice()
        expected.splice(20, 4, 0x0C, 0, 0, 0)
        compare([sentAfterApply(null), ui_View.callsOf("setEnabled")[0]], [expected, ["setEnabled", false]])
        // Apply all sends the same, with no lock of the page's own.
        ui_View.clear()
        shell.bottomBar.btnTotalApplyClicked()
        compare(ui_View.callsOf("q7_0DH_SetKeyMatrix"), [["q7_0DH_SetKeyMatrix", expected]])
    }

    function test_mouseKeyboardAndComboWrites() {
        open({})
        choose("keyMouseList", 2)
        compare(sentAfterApply(), [1, 0, 0xF2, 0])
        choose("keyFunctionMenu", 0)
        mouseClick(child("keyKeyboard"))
        shell.msg_KB(true, 0x04)
        compare(child("keyKeyboard").shownText, "KEY 【 A 】")
        compare(sentAfterApply(), [0, 0, 0x04, 0])
        choose("keyFunctionMenu", 3)
        choose("keyComboModifier", 2)
        mouseClick(child("keyComboKey2"))
        shell.msg_KB(false, 0x05)
        compare(sentAfterApply(), [0, 2, 0, 0x05])
        choose("keyFunctionMenu", 2)
        // By keyboard: a closed list steps through its items.
        child("keyMediaList").forceActiveFocus()
        for (var i = 0; i < 12; ++i)
            keyClick(Qt.Key_Down)
        compare(sentAfterApply(), [3, 0, 0x21, 2])
    }

    // An entry the page has no control for selects no function, shows its bytes where the
    // controls go, hides the controls of the button shown before, and goes back unchanged.
    function test_anEntryNoControlShowsIsShownRawAndSentUnchanged() {
        var unknown = [0x0E, 0x12, 0x34, 0x56], dpi5 = [7, 0, 5, 0]
        open({ 3: unknown, 4: dpi5 })
        var raw = child("keyRawEntry")
        compare([child("keyFunctionMenu").getCurIndex(), raw.visible, raw.text], [-1, true, "0x0E 0x12 0x34 0x56"])
        choose("keyButtonMenu", 0)
        verify(child("keyMouseList").visible && !raw.visible)
        choose("keyButtonMenu", 4)
        compare([child("keyFunctionMenu").getCurIndex(), child("keyMouseList").visible, raw.visible, raw.text],
                [-1, false, true, "0x07 0x00 0x05 0x00"])
        var expected = factory.slice()
        expected.splice(12, 8, ...unknown, ...dpi5)
        ui_View.clear()
        compare(sentAfterApply(null), expected)
        compare(ui_View.callsOf("q7_0DH_SetKeyMatrix").length, 1)
        // A function picked replaces it.
        choose("keyFunctionMenu", 6)
        verify(!raw.visible)
        compare(sentAfterApply(4), [0x0C, 0, 0, 0])
    }

    // An armed field disarms, showing its key again, when the shell withdraws the capture:
    // the settings drawer opening, the profile menu opening, a profile switch.
    function test_anArmedFieldDisarmsWhenTheShellWithdrawsCapture() {
        open({ 3: [0, 0, 0x04, 0] })
        var field = child("keyKeyboard"), drawer = child("btnSetting"), profile = child("pfEntry2")
        var withdrawals = [() => mouseClick(drawer), () => mouseClick(profile, 5, 5, Qt.RightButton),
                           () => mouseClick(profile)]
        for (var i = 0; i < withdrawals.length; ++i) {
            mouseClick(field)
            compare([field.armed, ui_View.captureRequests], [true, 1])
            withdrawals[i]()
            compare([field.armed, field.shownText, ui_View.captureRequests], [false, "KEY 【 A 】", 0], i)
            if (i === 0)
                mouseClick(drawer)
            child("pfItem").closeMenu()
            tryVerify(() => child("_fkPage").enabled && child("pfContextMenu").opacity === 0)
        }
    }

    function test_lastLeftButtonIsGuarded() {
        open({})
        choose("keyButtonMenu", 0)
        ui_View.foolProofingAnswer = false
        ui_View.clear()
        choose("keyFunctionMenu", 0)
        compare(ui_View.names(), ["getMsgAns_FoolProofing"])
        choose("keyMouseList", 1)
        compare([child("keyFunctionMenu").getCurIndex(), child("keyMouseList").getCurIndex()], [1, 0])
        mouseClick(child("keyReset"))
        compare(ui_View.callsOf("getMsgAns_FoolProofing").length, 3)
        compare(sentAfterApply(0), [1, 0, 0xF0, 0])
        // Asked and agreed, the button changes.
        ui_View.foolProofingAnswer = true
        choose("keyMouseList", 1)
        compare(sentAfterApply(0), [1, 0, 0xF1, 0])
    }

    function test_withTwoLeftButtonsNothingIsAsked() {
        open({ 1: [1, 0, 0xF0, 0] })
        choose("keyButtonMenu", 0)
        choose("keyFunctionMenu", 7)
        choose("keyFunctionMenu", 1)
        choose("keyMouseList", 4)
        mouseClick(child("keyReset"))
        compare(ui_View.callsOf("getMsgAns_FoolProofing").length, 0)
    }

    function test_aNewMacroTakesTheNextSlotAndUploadsAtOnce() {
        open({ 0: [9, 0, 1, 0], 1: [9, 0, 2, 0] }, { "A": [0, 1], "B": [1, 1], "C": [-1, 1] })
        choose("keyFunctionMenu", 4)
        compare(macroCalls(), [])
        chooseMacro(2)
        compare(macroCalls(), [["setMacroIniConfig", "C", [2, 1]], ["q7_0FH_SetMacroKey", 3, "C"]])
        // A screen reader's Press chooses a play mode as a click does.
        child("keyPlayMode2").accessibleToggleAction()
        compare(sentAfterApply(), [9, 2, 3, 0])
        // The play count goes with NORMAL PLAY, on Return.
        mouseClick(child("keyPlayMode0"))
        ui_View.clear()
        typeInto(child("keyPlayCountInput"), "70000")
        keyClick(Qt.Key_Return)
        compare(child("keyPlayCountInput").text, "65535")
        compare(macroCalls(), [["setMacroIniConfig", "C", [2, 65535]], ["q7_0FH_SetMacroKey", 3, "C"]])
        // Clicking the current macro again leaves the button without function.
        ui_View.clear()
        chooseMacro(2)
        compare(macroCalls(), [])
        compare(sentAfterApply(), [0, 0, 0, 0])
    }

    function test_twoButtonsShareAMacrosSlotAndAVanishedMacroIsNotUploaded() {
        // "Gone" is listed, but its configuration cannot be read (the file went meanwhile).
        open({ 0: [9, 0, 5, 0] }, { "A": [4, 2], "Gone": null })
        choose("keyFunctionMenu", 4)
        chooseMacro(0)
        compare(macroCalls(), [["setMacroIniConfig", "A", [4, 1]], ["q7_0FH_SetMacroKey", 5, "A"]])
        compare(sentAfterApply(), [9, 0, 5, 0])
        ui_View.clear()
        chooseMacro(1)
        compare(macroCalls(), [])
        compare(sentAfterApply(), [0, 0, 0, 0])
    }

    function test_leavingAMacroTidiesItsSlot() {
        open({ 3: [9, 1, 1, 0] }, { "A": [0, 4], "B": [-1, 1] })
        compare([child("keyFunctionMenu").getCurIndex(), child("keyMacroList").currentText,
                 child("keyPlayCountInput").text, child("keyPlayMode1").isSelect], [4, "A", "4", true])
        choose("keyFunctionMenu", 1)
        compare(macroCalls(), [["setMacroIniConfig", "A", [-1, 1]], ["setMacroIniConfig", "B", [-1, 1]]])
    }

    function test_fireKeyStartsAtTheFastestSpeed() {
        open({})
        choose("keyFunctionMenu", 5)
        compare(child("keyFireSpeed").value, 7)
        choose("keyFireButton", 1)
        compare(sentAfterApply(), [0x0A, 0xF1, 10, 10])
        typeInto(child("keyFireShotsInput"), "300")
        // A click on the page's Apply ends the edit first.
        compare(sentAfterApply(), [0x0A, 0xF1, 10, 255])
        mouseClick(child("keyFireKeySide"))
        mouseClick(child("keyFireKey"))
        shell.msg_KB(true, 0x2C)
        var slider = child("keyFireSpeed")
        mouseClick(slider, 0, slider.height / 2)
        compare(sentAfterApply(), [0x0A, 0x2C, 255, 255])
    }

    function test_resetAllAsksNothingAndAProfileSwitchDropsEdits() {
        open({ 0: [9, 0, 1, 0], 3: [0x0C, 0, 0, 0] }, { "A": [0, 4] })
        choose("keyButtonMenu", 5)
        choose("keyFunctionMenu", 7)
        shell.bottomBar.btnTotalResetClicked()
        compare(ui_View.callsOf("getMsgAns_FoolProofing").length, 0)
        compare(macroCalls(), [["setMacroIniConfig", "A", [-1, 1]]])
        compare(sentAfterApply(null), factory)

        choose("keyFunctionMenu", 6)
        ui_View.clear()
        child("pfItem").indexChanged_btn(2)
        compare(ui_View.callsOf("q7_02H_SetCurrentProfile"), [["q7_02H_SetCurrentProfile", 2]])
        compare(sentAfterApply(null), factory)
    }
}
