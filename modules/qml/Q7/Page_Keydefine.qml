import QtQuick
import "../common"
import "../common/ControlRules.js" as Texts
import "controls"
import "keys"
import "keys/KeyRules.js" as Rules

// Button assignments of the current profile. The sixteen entries are edited here and reach the
// mouse on Apply; a macro given to a button is stored and uploaded at once.
Item {
    id: page
    width: 759
    height: 396
    // A screen reader tells the page's controls apart from the shell's by this.
    Accessible.role: Accessible.Pane
    Accessible.name: title

    property string title: "KEY"
    property string textDefault: "DEFAULT"
    property string textApply: "APPLY"
    property string textSpeed: "SPEED"
    property var modeTexts: Rules.playModeTexts.slice()
    property string textTimes: "TIMES"
    // The macros of the library: {name, index, count}; index is undefined when the macro's
    // configuration could not be read.
    property var macros: []
    readonly property int selectedKeyId: keyModel.selectedKeyId
    readonly property bool keySelected: selectedKeyId >= 0
    readonly property var names: mainIten.keyCodeString

    function initUI() {
        keyModel.setButtonNames(mainIten.productLayoutStrings)
        var loaded = []
        for (var k = 0; k < 16; ++k) {
            var e = ui_View.getKeydefine(k)
            loaded.push(e && e.length >= 4 ? [Number(e[0]), Number(e[1]), Number(e[2]), Number(e[3])] : Rules.empty)
            keyModel.setEntry(k, loaded[k])
        }
        var defaults = Array.from(ui_View.q7_getDefaultProfile("matrix_fw", ui_View.q7_82H_GetCurrentProfile()) || [])
        // Without the factory list, Reset returns to the entries as loaded.
        keyModel.keyCode_Default = defaults.length >= 64 ? defaults.slice(0, 64).map(Number) : Rules.matrix(loaded)
        reloadMacros()
        showSelected()
    }

    function translateStrings() {
        spoken.reload()
        var list = mainIten.globalSetting_stringList
        title = Texts.text(list, 74, "KEY")
        textDefault = Texts.text(list, 106, "DEFAULT")
        textApply = Texts.text(list, 107, "APPLY")
        textSpeed = Texts.text(list, Rules.speedString, "SPEED")
        textTimes = Texts.text(list, Rules.timesString, "TIMES")
        modeTexts = Rules.playModeTexts.map((t, i) => Texts.text(list, Rules.playModeStrings[i], t))
        controls.lists.translate(list)
        if (keyModel.setButtonNames(mainIten.productLayoutStrings))
            showSelected()
    }

    function entries() {
        return keyModel.entries()
    }
    function setSelectedEntry(e) {
        if (keySelected)
            keyModel.setEntry(selectedKeyId, e)
    }

    // The macro list, read again from the library with each macro's stored configuration.
    function reloadMacros() {
        var files = Array.from(ui_View.getMacroIniNames() || [])
        var list = []
        for (var i = 0; i < files.length; ++i) {
            var name = String(files[i]).slice(0, -4)
            var config = Array.from(ui_View.loadMacroIniConfig(name) || [])
            var readable = config.length >= 2
            list.push({ name: name, index: readable ? Number(config[0]) : undefined,
                        count: readable ? Number(config[1]) : Rules.defaultPlayCount })
        }
        macros = list
        var macroList = controls.macroControls.macroList
        var current = macroList.currentIndex
        var rows = controls.lists.macroModel
        var currentName = current >= 0 && current < rows.count ? rows.get(current).textX : ""
        rows.clear()
        for (i = 0; i < list.length; ++i)
            rows.append({ textX: list[i].name, textR: "" })
        macroList.setCurIndex(list.findIndex(m => m.name === currentName))
    }

    // Against the library as it is now: a macro added or removed since the list was read counts.
    function tidy() {
        reloadMacros()
        var readable = macros.filter(m => m.index !== undefined)
        runCalls(Rules.tidyCalls(entries(), readable))
    }
    // A macro given to a button is uploaded at once.
    function runCalls(calls) {
        mainIten.sendToMouse(() => {
            for (var i = 0; i < calls.length; ++i) {
                if (calls[i][0] === "setMacroIniConfig")
                    ui_View.setMacroIniConfig(calls[i][1], calls[i][2])
                else if (calls[i][0] === "q7_0FH_SetMacroKey")
                    ui_View.q7_0FH_SetMacroKey(calls[i][1], calls[i][2])
            }
        })
    }

    // The last left button is not reassigned without the user's consent.
    function foolProofing() {
        if (!keySelected || !Rules.isLastLeftButton(entries(), keyModel.mapping_for_keyId, selectedKeyId))
            return true
        return ui_View.getMsgAns_FoolProofing()
    }

    function showSelected() {
        buttonMenu.setCurIndex(keyModel.curKeyMatrix)
        if (!keySelected) {
            controls.showState({ fn: Rules.Fn.none }, -1, 0)
            return
        }
        var state = Rules.show(keyModel.entry(selectedKeyId), names)
        var row = -1
        if (state.fn === Rules.Fn.macro) {
            reloadMacros()
            row = Rules.macroRowOf(macros, state.storedIndex)
        }
        controls.showState(state, row, row >= 0 ? macros[row].count : Rules.defaultPlayCount)
    }

    // A macro key is cleared and the slots no key uses any more are given back.
    function clearMacroKey() {
        if (keySelected && keyModel.entry(selectedKeyId)[0] === Rules.type.macro) {
            setSelectedEntry(Rules.empty)
            tidy()
        }
    }

    function chooseFunction(index) {
        if (!foolProofing()) {
            controls.functionMenu.setCurIndex(Rules.Fn.mouse)
            return
        }
        controls.empty()
        controls.shownFunction = index
        clearMacroKey()
        if (index === Rules.Fn.led)
            setSelectedEntry(Rules.ledEntry)
        else if (index === Rules.Fn.profile)
            setSelectedEntry(Rules.profileEntry)
    }

    function chooseMouse(item) {
        // Choosing LEFT again changes nothing and needs no question.
        if (item !== 0 && !foolProofing()) {
            controls.mouseList.setCurIndex(0)
            return
        }
        setSelectedEntry(Rules.mouseEntry(item))
    }

    function writeCombo() {
        var combo = controls.comboControls
        setSelectedEntry(Rules.comboEntry(Math.max(combo.modifier.getCurIndex(), 0), combo.key1.keyCode,
                                          combo.key2.keyCode))
    }

    // Written once there is a button or key to repeat.
    function writeFire() {
        var fire = controls.fireControls
        var code = fire.mouseSide
                   ? (fire.buttonList.currentIndex >= 0 ? Rules.firstMouseCode + fire.buttonList.currentIndex : 0)
                   : fire.keyField.keyCode
        if (code > 0)
            setSelectedEntry(Rules.fireEntry(code, fire.speed.value, fire.shots.value))
    }

    function setMacroKey() {
        var macroControls = controls.macroControls
        var row = macroControls.macroList.currentIndex
        var name = row >= 0 && row < macros.length ? macros[row].name : ""
        // Read afresh: the file may have changed or gone since the list was loaded.
        var config = name !== "" ? Array.from(ui_View.loadMacroIniConfig(name) || []) : []
        var result = Rules.setMacroKey(entries(), selectedKeyId, name, config, macroControls.playMode,
                                       macroControls.playCount.value)
        setSelectedEntry(result.entry)
        runCalls(result.calls)
        if (result.calls.length > 0 && row < macros.length) {
            var m = macros.slice()
            m[row] = { name: name, index: result.calls[0][2][0], count: result.calls[0][2][1] }
            macros = m
        }
    }

    function pageReset() {
        if (!keySelected || !foolProofing())
            return
        clearMacroKey()
        setSelectedEntry(keyModel.defaultEntry(selectedKeyId))
        showSelected()
    }
    function resetAll() {
        for (var k = 0; k < 16; ++k)
            keyModel.setEntry(k, keyModel.defaultEntry(k))
        tidy()
        showSelected()
    }
    function send() {
        ui_View.q7_0DH_SetKeyMatrix(Rules.matrix(entries()))
    }
    function pageApply() {
        mainIten.setProtectUI(800)
        send()
    }

    Connections {
        target: mainIten
        function onMsg_KB(isDown, usbCode) { controls.keyEvent(isDown, usbCode) }
    }

    Image {
        anchors.fill: parent
        source: mainIten.sourceFnCommonBackground
    }
    // A click on an empty part of the page ends an edit in progress.
    MouseArea {
        anchors.fill: parent
        onClicked: page.forceActiveFocus()
    }
    ShellText {
        x: 24
        y: 16
        text: page.title
        font.bold: true
    }

    Model_KeyDefine_Q7 {
        id: keyModel
        objectName: "keyModel"
        x: 70
        y: 90
    }
    Image {
        x: 210
        y: 110
        width: 480
        source: mainIten.sourceLine
    }

    NameTexts {
        id: spoken
    }
    // Before the function menu and the controls it leads to: Tab follows the order of choices.
    DropdownList {
        id: buttonMenu
        objectName: "keyButtonMenu"
        x: 210
        y: 65
        model: keyModel.buttonMenu
        defaultIndex: keyModel.curKeyMatrix
        accessibleName: spoken.text("button", "Button")
        onListElementClicked: index => {
            keyModel.curKeyMatrix = index
            page.showSelected()
        }
    }

    KeyControls {
        id: controls
        x: 210
        y: 135
        enabled: page.keySelected
        opacity: enabled ? 1 : 0.2
        modeTexts: page.modeTexts
        timesText: page.textTimes
        speedText: page.textSpeed
        spokenNames: spoken
        onFunctionChosen: index => page.chooseFunction(index)
        onKeyboardCaptured: code => page.setSelectedEntry(Rules.keyboardEntry(code))
        onMouseChosen: item => page.chooseMouse(item)
        onMediaChosen: item => page.setSelectedEntry(Rules.mediaEntry(item, page.names))
        onComboChanged: page.writeCombo()
        onMacroListRequested: page.reloadMacros()
        onMacroEdited: page.setMacroKey()
        onFireEdited: page.writeFire()
    }

    PageButtons {
        objectName: "key"
        x: 437
        y: 330
        resetTip: page.textDefault
        applyTip: page.textApply
        onResetClicked: page.pageReset()
        onApplyClicked: mainIten.sendToMouse(page.pageApply)
    }

}
