import QtQuick
import "../common"
import "../common/ControlRules.js" as Texts
import "KeyRules.js" as Rules

// Button assignments of the current profile. The sixteen entries are edited here and reach the
// mouse on Apply; a macro given to a button is stored and uploaded at once.
Item {
    id: page
    width: 759
    height: 396

    property string title: "KEY"
    property string textDefault: "DEFAULT"
    property string textApply: "APPLY"
    property string textSpeed: "SPEED"
    property var modeTexts: Rules.playModeTexts.slice()
    property string textTimes: "TIMES"
    // The function whose controls are shown, -1 for none.
    property int shownFunction: -1
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
        var list = mainIten.globalSetting_stringList
        title = Texts.text(list, 74, "KEY")
        textDefault = Texts.text(list, 106, "DEFAULT")
        textApply = Texts.text(list, 107, "APPLY")
        textSpeed = Texts.text(list, Rules.speedString, "SPEED")
        textTimes = Texts.text(list, Rules.timesString, "TIMES")
        modeTexts = Rules.playModeTexts.map((t, i) => Texts.text(list, Rules.playModeStrings[i], t))
        var i
        for (i = 0; i < lists.functionModel.count; ++i)
            lists.functionModel.setProperty(i, "textX", Texts.text(list, Rules.functionStrings[i], Rules.functionTexts[i]))
        for (i = 0; i < lists.mouseModel.count; ++i)
            lists.mouseModel.setProperty(i, "textX", Texts.text(list, Rules.mouseItems[i].string, Rules.mouseItems[i].text))
        for (i = 0; i < lists.fireModel.count; ++i)
            lists.fireModel.setProperty(i, "textX", Texts.text(list, Rules.mouseItems[i].string, Rules.mouseItems[i].text))
        for (i = 0; i < lists.mediaModel.count; ++i)
            lists.mediaModel.setProperty(i, "textX", Texts.text(list, Rules.firstMediaString + i, lists.mediaModel.get(i).builtIn))
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
        var current = macroControls.macroList.currentIndex
        var currentName = current >= 0 && current < lists.macroModel.count ? lists.macroModel.get(current).textX : ""
        lists.macroModel.clear()
        for (i = 0; i < list.length; ++i)
            lists.macroModel.append({ textX: list[i].name, textR: "" })
        macroControls.macroList.setCurIndex(list.findIndex(m => m.name === currentName))
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

    function emptyControls() {
        keyboardField.clear()
        mouseList.setCurIndex(-1)
        mediaList.setCurIndex(-1)
        comboControls.modifier.setCurIndex(-1)
        comboControls.key1.clear()
        comboControls.key2.clear()
        macroControls.macroList.setCurIndex(-1)
        macroControls.playMode = 0
        macroControls.playCount.setValue(Rules.defaultPlayCount)
        fireControls.mouseSide = true
        fireControls.buttonList.setCurIndex(-1)
        fireControls.keyField.clear()
        fireControls.shots.setValue(Rules.defaultShots)
        // The slider always has a position; the fastest is what a new fire key repeats at.
        fireControls.speed.setCurIndex(Rules.fastestSpeed)
    }

    function showSelected() {
        buttonMenu.setCurIndex(keyModel.curKeyMatrix)
        if (!keySelected) {
            shownFunction = -1
            functionMenu.setCurIndex(-1)
            return
        }
        var state = Rules.show(keyModel.entry(selectedKeyId), names)
        if (state === null)
            return
        emptyControls()
        shownFunction = state.fn
        functionMenu.setCurIndex(state.fn)
        switch (state.fn) {
        case Rules.Fn.keyboard:
            keyboardField.setKey(state.key)
            break
        case Rules.Fn.mouse:
            mouseList.setCurIndex(state.item)
            break
        case Rules.Fn.media:
            mediaList.setCurIndex(state.item)
            break
        case Rules.Fn.combo:
            comboControls.modifier.setCurIndex(state.comboItem)
            comboControls.key1.setKey(state.key1)
            comboControls.key2.setKey(state.key2)
            break
        case Rules.Fn.macro:
            reloadMacros()
            var row = Rules.macroRowOf(macros, state.storedIndex)
            macroControls.macroList.setCurIndex(row)
            macroControls.playMode = state.playMode
            macroControls.playCount.setValue(row >= 0 ? macros[row].count : Rules.defaultPlayCount)
            break
        case Rules.Fn.fire:
            fireControls.mouseSide = state.mouseSide
            fireControls.buttonList.setCurIndex(state.item)
            fireControls.keyField.setKey(state.key)
            fireControls.speed.setCurIndex(state.speed)
            fireControls.shots.setValue(state.shots)
            break
        }
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
            functionMenu.setCurIndex(Rules.Fn.mouse)
            return
        }
        emptyControls()
        shownFunction = index
        clearMacroKey()
        if (index === Rules.Fn.led)
            setSelectedEntry(Rules.ledEntry)
        else if (index === Rules.Fn.profile)
            setSelectedEntry(Rules.profileEntry)
    }

    function chooseMouse(item) {
        // Choosing LEFT again changes nothing and needs no question.
        if (item !== 0 && !foolProofing()) {
            mouseList.setCurIndex(0)
            return
        }
        setSelectedEntry(Rules.mouseEntry(item))
    }

    function writeCombo() {
        setSelectedEntry(Rules.comboEntry(Math.max(comboControls.modifier.getCurIndex(), 0), comboControls.key1.keyCode, comboControls.key2.keyCode))
    }

    // Written once there is a button or key to repeat.
    function writeFire() {
        var code = fireControls.mouseSide
                   ? (fireControls.buttonList.currentIndex >= 0 ? Rules.firstMouseCode + fireControls.buttonList.currentIndex : 0)
                   : fireControls.keyField.keyCode
        if (code > 0)
            setSelectedEntry(Rules.fireEntry(code, fireControls.speed.value, fireControls.shots.value))
    }

    function setMacroKey() {
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
        target: mainIten.bottomBar
        function onBtnTotalApplyClicked() { page.send() }
        function onBtnTotalResetClicked() { page.resetAll() }
    }
    // Every key the capture sees goes to the four capture fields; only an armed one takes it.
    Connections {
        target: mainIten
        function onMsg_KB(isDown, usbCode) {
            keyboardField.keyEvent(isDown, usbCode)
            comboControls.key1.keyEvent(isDown, usbCode)
            comboControls.key2.keyEvent(isDown, usbCode)
            fireControls.keyField.keyEvent(isDown, usbCode)
        }
    }

    KeyListModels {
        id: lists
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

    Item {
        id: controls
        x: 210
        y: 135
        width: 540
        height: 200
        enabled: page.keySelected
        opacity: enabled ? 1 : 0.2
        readonly property int sideX: functionMenu.width + 60

        KeyInput_2 {
            id: keyboardField
            objectName: "keyKeyboard"
            x: controls.sideX
            visible: page.shownFunction === Rules.Fn.keyboard
            onInputComplete: code => page.setSelectedEntry(Rules.keyboardEntry(code))
        }
        KeyComboControls {
            id: comboControls
            y: functionMenu.height + 20
            visible: page.shownFunction === Rules.Fn.combo
            z: 3
            modifierModel: lists.comboModel
            onChanged: page.writeCombo()
        }
        KeyMacroControls {
            id: macroControls
            listX: controls.sideX
            visible: page.shownFunction === Rules.Fn.macro
            z: 3
            macroModel: lists.macroModel
            modeTexts: page.modeTexts
            timesText: page.textTimes
            onRequestToUpdateList: page.reloadMacros()
            onMacroChosen: page.setMacroKey()
            onModeChosen: mode => {
                playMode = mode
                page.setMacroKey()
            }
            onPlayCountEntered: if (playMode === 0) page.setMacroKey()
        }
        KeyFireControls {
            id: fireControls
            sideX: controls.sideX
            visible: page.shownFunction === Rules.Fn.fire
            z: 3
            buttonModel: lists.fireModel
            speedText: page.textSpeed
            onSideChosen: mouse => mouseSide = mouse
            onButtonChosen: page.writeFire()
            onKeyCaptured: page.writeFire()
            onSpeedChosen: page.writeFire()
            onShotsEdited: page.writeFire()
        }
        DropdownList {
            id: mouseList
            objectName: "keyMouseList"
            x: controls.sideX
            visible: page.shownFunction === Rules.Fn.mouse
            z: 4
            model: lists.mouseModel
            onListElementClicked: item => page.chooseMouse(item)
        }
        DropdownList {
            id: mediaList
            objectName: "keyMediaList"
            x: controls.sideX
            visible: page.shownFunction === Rules.Fn.media
            z: 4
            model: lists.mediaModel
            onListElementClicked: item => page.setSelectedEntry(Rules.mediaEntry(item, page.names))
        }
        DropdownList {
            id: functionMenu
            objectName: "keyFunctionMenu"
            z: 5
            model: lists.functionModel
            onListElementClicked: index => page.chooseFunction(index)
        }
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

    // Last, so that its open list lies above everything else.
    DropdownList {
        id: buttonMenu
        objectName: "keyButtonMenu"
        x: 210
        y: 65
        model: keyModel.buttonMenu
        defaultIndex: keyModel.curKeyMatrix
        onListElementClicked: index => {
            keyModel.curKeyMatrix = index
            page.showSelected()
        }
    }
}
