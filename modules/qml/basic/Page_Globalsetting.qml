import QtQuick
import "../common"
import "GlobalStrings.js" as GlobalStrings
import "SettingsRules.js" as Rules

// Program-wide options: language, text size, skin, text colour and brightness. Every change
// shows at once; only Apply stores it.
Item {
    id: page
    width: 340
    height: 420

    // The global look every page binds to (through the root's globalSetting_* properties).
    property int _Size: 11
    property color _Color: "#FF00FFFF"
    property color _ColorEnable: "#FFAAAAAA"
    property color _ColorDisable: "#80FFFFFF"
    property int _AnimationSpeed: 800
    property int skin_No: 1
    property bool isCustomBackground: false
    property string sourceCustomBackground: ""
    property string _FontFamily: "Arial"
    property var _StringList: GlobalStrings.english
    property string _Url: "https://github.com/q7config/q7config"

    property int animationIndex: 0
    property int languageIndex: -1
    property int sizeIndex: 0
    property var slotColors: [[0, 255, 255], [255, 200, 150], [255, 180, 0], [200, 200, 100],
                              [200, 170, 255], [255, 180, 180], [160, 190, 160]]
    property int selectedSlot: 0
    property int _R: 255
    property int _G: 255
    property int _B: 255
    property int brightnessStep: 7
    readonly property int brightnessValue: 45 + brightnessStep * 210 / 7
    // Length of the palette strip along its gradient.
    readonly property int paletteLength: 257

    // APPLY pressed; byKeyboard when the focus it had came from the keyboard.
    signal closeRequested(bool byKeyboard)
    // What the configuration file holds as last read or written, to tell unsaved changes.
    property string storedState: ""

    readonly property var strings: mainIten.globalSetting_stringList

    function initUI() {
        loadOptions()
        storedState = currentState()
    }

    function loadOptions() {
        if (typeof ui_View.loadApConfig !== "function")
            return
        var options = ui_View.loadApConfig()
        // Stored beside the option list, not in it.
        if (typeof ui_View.loadSkin === "function")
            chooseSkin(ui_View.loadSkin())
        if (!options || options.length === 0)
            return

        var animation = Rules.optionInt(options, 3)
        if (animation === 0 || animation === 1)
            setAnimation(animation)

        initLanguage()
        var language = Rules.optionInt(options, 4)
        if (language !== undefined && language >= 0 && language < languageModel.count) {
            languageIndex = language
            setLanguage(language)
        }

        if (options.length > 6) {
            isCustomBackground = Rules.optionBool(options, 5)
            var background = Rules.option(options, 6)
            sourceCustomBackground = background ? String(background) : ""
        }

        var size = Rules.optionInt(options, 7)
        if (size === 0 || size === 1)
            setSize(size)

        var colors = slotColors.slice()
        for (var k = 0; k < 7; ++k) {
            var r = Rules.optionInt(options, 8 + 3 * k)
            var g = Rules.optionInt(options, 9 + 3 * k)
            var b = Rules.optionInt(options, 10 + 3 * k)
            if (r !== undefined && g !== undefined && b !== undefined)
                colors[k] = [Rules.clampByte(r), Rules.clampByte(g), Rules.clampByte(b)]
        }
        slotColors = colors
        var slot = Rules.optionInt(options, 29)
        if (slot !== undefined && slot >= 0 && slot < 7)
            selectSlot(slot)

        var step = Rules.optionInt(options, 30)
        if (step !== undefined)
            setBrightness(Math.min(Math.max(step, 0), 7))

        var url = Rules.option(options, 31)
        if (url !== undefined)
            _Url = String(url)
    }

    function initLanguage() {
        languageModel.clear()
        var map = typeof ui_View.chkLanguages === "function" ? ui_View.chkLanguages() : null
        if (!map)
            return
        // The stored choice is a position in the list ordered by display name.
        var names = Object.keys(map).sort()
        for (var i = 0; i < names.length; ++i)
            languageModel.append({ name: names[i], code: String(map[names[i]]) })
    }

    function setLanguage(index) {
        if (index < 0 || index >= languageModel.count)
            return
        languageIndex = index
        var code = languageModel.get(index).code
        var list = GlobalStrings.merged(ui_View.getGlobalStrings(code))
        _StringList = list
        mainIten.translateStrings(code)
        _FontFamily = list[0]
    }

    // The texts here are bound to the string list, so a language change has reached them.
    function translateStrings() {
        names.reload()
    }
    NameTexts {
        id: names
    }

    function resetApconfig() {
        applyInputs()
        ui_View.resetApconfig()
        initUI()
    }

    function apply(byKeyboard) {
        store()
        closeRequested(byKeyboard === true)
    }

    function store() {
        applyInputs()
        ui_View.saveApConfig(optionList())
        ui_View.saveSkin(skin_No)
        storedState = currentState()
    }
    function optionList() {
        return Rules.optionList(animationIndex, Math.max(languageIndex, 0), isCustomBackground,
                                sourceCustomBackground, sizeIndex, slotColors, selectedSlot,
                                brightnessStep, _Url)
    }
    function currentState() {
        return JSON.stringify([optionList(), skin_No])
    }

    // ALL SAVE stores what the drawer changed and was not stored yet (the drawer closed
    // without APPLY keeps its changes on screen), so saving everything saves these too.
    Connections {
        target: mainIten.bottomBar
        function onBtnTotalApplyClicked() {
            if (page.currentState() !== page.storedState)
                page.store()
        }
    }

    function setAnimation(index) {
        animationIndex = index
        _AnimationSpeed = index === 1 ? 10 : 800
    }

    function setSize(index) {
        sizeIndex = index
        _Size = index === 1 ? 12 : 11
    }

    // Every image follows skin_No at once (the root builds each path from it).
    function chooseSkin(number) {
        if (number !== 1 && number !== 2)
            return
        skin_No = number
        mainIten.setSkin()
    }

    // Source 1 the palette strip, 2 the R/G/B inputs, 3 a slot click (or start-up); any other
    // value updates inputs and slot but leaves the text colour.
    function setRGB(source, r, g, b) {
        _R = r
        _G = g
        _B = b
        if (source !== 2 && colourInputs) {
            colourInputs.inputR.text = r
            colourInputs.inputG.text = g
            colourInputs.inputB.text = b
        }
        if (source !== 3 && selectedSlot < 7) {
            var colors = slotColors.slice()
            colors[selectedSlot] = [r, g, b]
            slotColors = colors
        }
        if (source === 1 || source === 2 || source === 3)
            updateColor()
    }

    function updateColor() {
        _Color = Qt.rgba(_R / 255, _G / 255, _B / 255, brightnessValue / 255)
    }

    function selectSlot(slot) {
        selectedSlot = slot
        var c = slotColors[slot]
        setRGB(3, c[0], c[1], c[2])
    }

    function setBrightness(step) {
        brightnessStep = step
        updateColor()
    }

    function pickPalette(y) {
        var c = Rules.paletteColor(Math.min(Math.max(y, 0), paletteLength - 1), paletteLength)
        setRGB(1, c[0], c[1], c[2])
    }

    // An input left empty or out of range takes the working colour's value back.
    function applyInputs() {
        // Without the drawer's controls there is nothing typed to apply.
        var inputs = colourInputs
        if (!inputs)
            return
        var r = inputs.inputR.acceptableInput ? parseInt(inputs.inputR.text) : _R
        var g = inputs.inputG.acceptableInput ? parseInt(inputs.inputG.text) : _G
        var b = inputs.inputB.acceptableInput ? parseInt(inputs.inputB.text) : _B
        inputs.inputR.text = r
        inputs.inputG.text = g
        inputs.inputB.text = b
        if (r !== _R || g !== _G || b !== _B)
            setRGB(2, r, g, b)
    }

    function toggleBackground() {
        if (!isCustomBackground) {
            var path = ui_View.getCustomFilePath()
            if (path && String(path).length > 0) {
                sourceCustomBackground = "file:" + path
                isCustomBackground = true
            } else {
                sourceCustomBackground = ""
            }
        } else {
            sourceCustomBackground = ""
            isCustomBackground = false
        }
    }

    ListModel {
        id: languageModel
        objectName: "languageModel"
    }

    // The drawer's controls (SettingsPanel) are made when it first opens; until then there
    // are no colour inputs.
    property SettingsColour colourInputs: null
    readonly property ListModel languages: languageModel
    readonly property var nameTexts: names.texts
}
