import QtQuick
import QtQml.Models
import "../common"
import "../common/ControlRules.js" as Texts
import "controls"
import "color/ColorRules.js" as Colour

// Lighting of the current profile: effect, speed, brightness and the eight lighting colours.
// Nothing reaches the mouse before Apply; Reset only shows the factory values.
Item {
    id: page
    width: 759
    height: 396
    // A screen reader tells the page's controls apart from the shell's by this.
    Accessible.role: Accessible.Pane
    Accessible.name: title

    // Product constants (the main page's configuration).
    property int colorMaxStage: 8
    property var effectEnable: []
    // List position of each effect code (-1: not listed) and the code of each position.
    property var effectPositions: []
    property var effectCodes: []
    readonly property int effectPosition: colorEffect.currentIndex
    // The effect code last read, kept when the list has no entry for it.
    property int shownEffect: 0
    // The effect Apply sends; the controls follow what it uses.
    readonly property int effectCode: Colour.effectAt(effectCodes, effectPosition, shownEffect)

    property string title: "COLOR"
    property string textEffect: "EFFECTS"
    property string textSpeed: "SPEED"
    property string textBrightness: "BRIGHTNESS"
    property string textColours: "COLOR"
    property string textDefault: "DEFAULT"
    property string textApply: "APPLY"

    function translateStrings() {
        spoken.reload()
        var list = mainIten.globalSetting_stringList
        title = Texts.text(list, 76, "COLOR")
        textEffect = Texts.text(list, 7, "EFFECTS")
        textSpeed = Texts.text(list, 3, "SPEED")
        textBrightness = Texts.text(list, 4, "BRIGHTNESS")
        textColours = Texts.text(list, 35, "COLOR")
        textDefault = Texts.text(list, 106, "DEFAULT")
        textApply = Texts.text(list, 107, "APPLY")
        for (var i = 0; i < effectModel.count; ++i) {
            var effect = Colour.effects[effectCodes[i]]
            effectModel.setProperty(i, "textX", Texts.text(list, effect.string, effect.label))
        }
    }

    function initUI() {
        colorLights.maxStage = colorMaxStage
        var table = Colour.effectTable(effectEnable)
        effectCodes = table.codes
        effectPositions = table.positions
        effectModel.clear()
        for (var i = 0; i < effectCodes.length; ++i)
            effectModel.append({ textX: Colour.effects[effectCodes[i]].label })
        translateStrings()
        refreshUI()
    }

    function refreshUI() {
        var colours = Colour.triples(ui_View.q7_GetLED8StageColor())
        if (colours)
            colorLights.setColors(colours)
        showEffect(ui_View.q7_8CH_GetRGBLedEffect())
    }

    // Effect, brightness and speed byte, as the mouse stores them.
    function showEffect(values) {
        if (!values || values.length < 3)
            return
        var code = Colour.integer(values[0])
        var position = code >= 0 && code < effectPositions.length ? effectPositions[code] : -1
        // An effect this product does not list shows no entry, and Apply keeps it.
        shownEffect = code >= 0 && code < Colour.effectCount ? code : 0
        colorEffect.setCurIndex(position)
        colorBrightness.setCurIndex(Colour.brightnessPosition(values[1]))
        colorSpeed.setCurIndex(Colour.speedPosition(code, values[2]))
    }

    function pageApply() {
        mainIten.setProtectUI(800)
        ui_View.q7_SetLED8StageColor(Colour.flat(colorLights.colors()))
        ui_View.q7_0CH_SetRGBLedEffect(effectCode, Colour.brightnessByte(colorBrightness.value),
                                       Colour.speedByte(effectCode, colorSpeed.value))
    }

    function pageReset() {
        mainIten.setProtectUI(800)
        var fw = ui_View.q7_getDefaultProfile("profile_fw", 0)
        var colours = Colour.blockColours(fw)
        if (colours)
            colorLights.setColors(colours)
        showEffect(Colour.blockEffect(fw))
    }


    ListModel {
        id: effectModel
    }

    Image {
        anchors.fill: parent
        source: mainIten.sourceFnColorBackground
    }
    ShellText {
        x: 24
        y: 16
        text: page.title
        font.bold: true
    }

    Model_Color_Q7 {
        objectName: "colorModel"
        x: 64
        y: 78
    }

    Caption { x: 224; y: 62; text: page.textEffect }
    Caption {
        x: 224; y: 112; text: page.textSpeed
        opacity: colorSpeed.opacity
    }
    Caption {
        x: 224; y: 152; text: page.textBrightness
        opacity: colorBrightness.opacity
    }
    Slider {
        id: colorSpeed
        objectName: "colorSpeed"
        x: 380
        y: 110
        value: 4
        enabled: Colour.speedEnabled(page.effectCode)
        opacity: enabled ? 1 : 0.2
        accessibleName: page.textSpeed
    }
    Slider {
        id: colorBrightness
        objectName: "colorBrightness"
        x: 380
        y: 150
        value: 7
        enabled: Colour.brightnessEnabled(page.effectCode)
        opacity: enabled ? 1 : 0.2
        accessibleName: page.textBrightness
    }
    SliderValue { slider: colorSpeed; opacity: colorSpeed.opacity }
    SliderValue { slider: colorBrightness; opacity: colorBrightness.opacity }

    Image {
        x: 224
        y: 190
        width: 510
        source: mainIten.sourceLine
    }

    Caption {
        x: 224; y: 206; text: page.textColours
        opacity: colorLights.opacity
    }
    ColorGroup_8 {
        id: colorLights
        objectName: "colorLights"
        x: 224
        y: 230
        enabled: Colour.coloursEnabled(page.effectCode)
        opacity: enabled ? 1 : 0.2
        accessibleName: page.textColours
        cellText: spoken.text("colour", "Colour %1: %2")
        paletteNames: Colour.paletteNames.map((n, i) => spoken.text("colour" + i, n))
        rgbText: spoken.text("rgb", "red %1, green %2, blue %3")
        paletteText: spoken.text("palette", "Palette")
        rainbowText: spoken.text("rainbow", "Rainbow")
    }

    NameTexts {
        id: spoken
    }
    PageButtons {
        objectName: "color"
        x: 40
        y: 330
        resetTip: page.textDefault
        applyTip: page.textApply
        onResetClicked: page.pageReset()
        onApplyClicked: mainIten.sendToMouse(page.pageApply)
    }

    // Last, so that its open list lies above the other controls.
    DropdownList {
        id: colorEffect
        objectName: "colorEffect"
        x: 380
        y: 56
        model: effectModel
        defaultIndex: 0
        maxVisibleRows: Colour.effectCount
        accessibleName: page.textEffect
    }
}
