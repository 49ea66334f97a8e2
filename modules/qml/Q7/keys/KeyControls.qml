import QtQuick
import "../../common"
import "KeyRules.js" as Rules

// The key page's function menu and, beside it, the controls of the function shown: they show
// a key's entry (showState) and report each choice; what a choice writes is the page's.
Item {
    id: controls
    width: 540
    height: 200

    // The fixed lists and the macro list's rows.
    readonly property alias lists: lists
    property var modeTexts: Rules.playModeTexts.slice()
    property string timesText: "TIMES"
    property string speedText: "SPEED"
    // The function whose controls are shown, -1 for none.
    property int shownFunction: -1
    // An entry no control can show, as it is; empty when the entry is shown by its controls.
    property string rawEntry: ""
    readonly property int sideX: functionMenu.width + 60
    // The page's names for screen readers (NameTexts), the built-in English without them.
    property var spokenNames: null
    function named(key, fallback) {
        return spokenNames ? spokenNames.text(key, fallback) : fallback
    }

    property alias functionMenu: functionMenu
    property alias keyboardField: keyboardField
    property alias mouseList: mouseList
    property alias mediaList: mediaList
    property alias comboControls: comboControls
    property alias macroControls: macroControls
    property alias fireControls: fireControls

    signal functionChosen(int index)
    signal keyboardCaptured(int usbCode)
    signal mouseChosen(int item)
    signal mediaChosen(int item)
    signal comboChanged
    signal macroListRequested
    signal macroEdited
    signal fireEdited

    // Every control empty: no key, no item, the built-in counts and the fastest speed.
    function empty() {
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
        rawEntry = ""
    }

    // Shows a state of Rules.show; a macro's row and play count are the page's to find.
    function showState(state, macroRow, playCount) {
        empty()
        shownFunction = state.fn
        functionMenu.setCurIndex(state.fn)
        switch (state.fn) {
        case Rules.Fn.none:
            rawEntry = state.raw !== undefined ? state.raw : ""
            break
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
            macroControls.macroList.setCurIndex(macroRow)
            macroControls.playMode = state.playMode
            macroControls.playCount.setValue(playCount)
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

    // Every key the capture sees goes to the four capture fields; only an armed one takes it.
    function keyEvent(isDown, usbCode) {
        keyboardField.keyEvent(isDown, usbCode)
        comboControls.key1.keyEvent(isDown, usbCode)
        comboControls.key2.keyEvent(isDown, usbCode)
        fireControls.keyField.keyEvent(isDown, usbCode)
    }

    KeyListModels {
        id: lists
    }
    // First: Tab reaches the function before the controls it shows.
    DropdownList {
        id: functionMenu
        objectName: "keyFunctionMenu"
        model: lists.functionModel
        accessibleName: controls.named("function", "Function")
        onListElementClicked: index => controls.functionChosen(index)
    }

    KeyInput_2 {
        id: keyboardField
        objectName: "keyKeyboard"
        x: controls.sideX
        accessibleName: controls.named("key", "Key")
        waitingText: controls.named("waiting", "waiting for a key")
        visible: controls.shownFunction === Rules.Fn.keyboard
        onInputComplete: code => controls.keyboardCaptured(code)
    }
    ShellText {
        objectName: "keyRawEntry"
        x: controls.sideX + 10
        y: 5
        visible: controls.shownFunction === Rules.Fn.none && controls.rawEntry !== ""
        text: controls.rawEntry
        Accessible.role: Accessible.StaticText
        Accessible.name: "key entry " + text
    }
    KeyComboControls {
        id: comboControls
        y: functionMenu.height + 20
        visible: controls.shownFunction === Rules.Fn.combo
        modifierModel: lists.comboModel
        modifierName: controls.named("modifier", "Modifier")
        key1Name: controls.named("firstKey", "First key")
        key2Name: controls.named("secondKey", "Second key")
        waitingText: controls.named("waiting", "waiting for a key")
        onChanged: controls.comboChanged()
    }
    KeyMacroControls {
        id: macroControls
        listX: controls.sideX
        visible: controls.shownFunction === Rules.Fn.macro
        macroModel: lists.macroModel
        macroName: controls.named("macro", "Macro")
        playCountName: controls.named("playCount", "Play count")
        modeTexts: controls.modeTexts
        timesText: controls.timesText
        onRequestToUpdateList: controls.macroListRequested()
        onMacroChosen: controls.macroEdited()
        onModeChosen: mode => {
            playMode = mode
            controls.macroEdited()
        }
        onPlayCountEntered: if (playMode === 0) controls.macroEdited()
    }
    KeyFireControls {
        id: fireControls
        sideX: controls.sideX
        visible: controls.shownFunction === Rules.Fn.fire
        buttonModel: lists.fireModel
        buttonName: controls.named("fireButton", "Fire button")
        keyName: controls.named("fireKey", "Fire key")
        mouseSideName: controls.named("fireMouseSide", "Repeat a mouse button")
        keySideName: controls.named("fireKeySide", "Repeat a keyboard key")
        shotsName: controls.named("shots", "Shots")
        waitingText: controls.named("waiting", "waiting for a key")
        speedText: controls.speedText
        onSideChosen: mouse => mouseSide = mouse
        onButtonChosen: controls.fireEdited()
        onKeyCaptured: controls.fireEdited()
        onSpeedChosen: controls.fireEdited()
        onShotsEdited: controls.fireEdited()
    }
    DropdownList {
        id: mouseList
        objectName: "keyMouseList"
        x: controls.sideX
        visible: controls.shownFunction === Rules.Fn.mouse
        model: lists.mouseModel
        accessibleName: controls.named("mouseFunction", "Mouse function")
        onListElementClicked: item => controls.mouseChosen(item)
    }
    DropdownList {
        id: mediaList
        objectName: "keyMediaList"
        x: controls.sideX
        visible: controls.shownFunction === Rules.Fn.media
        model: lists.mediaModel
        accessibleName: controls.named("mediaKey", "Media key")
        onListElementClicked: item => controls.mediaChosen(item)
    }
}
