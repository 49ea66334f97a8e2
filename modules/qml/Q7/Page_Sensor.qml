import QtQuick
import "../common"
import "../common/ControlRules.js" as Texts
import "controls"
import "color/ColorRules.js" as Colour
import "sensor/SensorRules.js" as Rules

// Polling rate, the desktop's pointer settings, the DPI stages and the DPI indicator of the
// current profile. Nothing reaches the mouse before Apply; Reset only shows the factory values.
Item {
    id: page
    width: 759
    height: 396
    // A screen reader tells the page's controls apart from the shell's by this.
    Accessible.role: Accessible.Pane
    Accessible.name: title

    property int dpiMAXStage: 8
    property int dpiBase: 100
    property int dpiLedType: 0
    // The eighteen DPI values the stage menus offer (the product's configuration).
    property var dpiValue: []

    property string title: "SENSOR"
    property string textRate: "POLLING RATE"
    property string textCursor: "CURSOR SPEED"
    property string textScroll: "VERTICAL SCROLL SPEED"
    property string textDoubleClick: "DOUBLE CLICK SPEED"
    property string textDpi: "DPI LEVEL"
    property string textIndicator: "DPI INDICATOR LED"
    property string textDefault: "DEFAULT"
    property string textApply: "APPLY"
    // A setting the desktop does not take, shown as its hover text and read out with it.
    property string textNotOnDesktop: spoken.text("notOnDesktop",
                                                  "This desktop does not let the program change this setting")

    function translateStrings() {
        spoken.reload()
        var list = mainIten.globalSetting_stringList
        title = Texts.text(list, 86, "SENSOR")
        textRate = Texts.text(list, 100, "POLLING RATE")
        textCursor = Texts.text(list, 101, "CURSOR SPEED")
        textScroll = Texts.text(list, 102, "VERTICAL SCROLL SPEED")
        textDoubleClick = Texts.text(list, 103, "DOUBLE CLICK SPEED")
        textDpi = Texts.text(list, 104, "DPI LEVEL")
        textIndicator = Texts.text(list, 105, "DPI INDICATOR LED")
        textDefault = Texts.text(list, 106, "DEFAULT")
        textApply = Texts.text(list, 107, "APPLY")
    }

    function initUI() {
        translateStrings()
        // A stage count outside 1..8 (an empty or damaged block) would hide every stage.
        var stages = Rules.integer(ui_View.q7_GetMaxDpiStage())
        dpiMAXStage = stages >= 1 && stages <= 8 ? stages : 8
        dpiLedType = Rules.integer(ui_View.q7_89H_GetRGBLedTwinkle()) || 0
        sensorRate.setCurIndex(Rules.ratePosition(ui_View.q7_83H_GetReportRate()))
        sensorCursorSpeed.setCurIndex(Rules.pointerPosition(ui_View.getCursorSpeed(), 5))
        sensorScrollSpeed.setCurIndex(Rules.pointerPosition(ui_View.getVerticalScrollLines(), 2))
        sensorDoubleClick.setCurIndex(Rules.pointerPosition(ui_View.getDoubleClickSpeed(), 5))
        sensorCursorSpeed.enabled = ui_View.canChangePointerSetting(Rules.swCursorSpeed) === true
        sensorScrollSpeed.enabled = ui_View.canChangePointerSetting(Rules.swScrollLines) === true
        sensorDoubleClick.enabled = ui_View.canChangePointerSetting(Rules.swDoubleClick) === true
        var dpis = Rules.dpiValues(ui_View.q7_8CH_GetDpi8Stage(), dpiBase)
        if (dpis)
            sensorDpi.valueForIndex = dpis
        selectStage(Rules.stagePosition(ui_View.q7_84H_GetDPIStage()))
        var rgb = Colour.triples(ui_View.q7_8CH_GetDpi8Color())
        if (rgb)
            sensorIndicator.setColors(rgb)
        var ids = Rules.paletteIds(ui_View.q7_8CH_GetDpi8Io())
        if (ids)
            sensorIndicator.setIds(ids)
    }

    // The indicator's current cell follows the selected stage.
    function selectStage(stage) {
        sensorDpi.setCurIndex(stage)
        sensorIndicator.setCurIndex(sensorDpi.getCurIndex())
    }

    function pageApply() {
        mainIten.setProtectUI(1600)
        ui_View.q7_03H_SetReportRate(Rules.rateCode(sensorRate.getCurIndex()))
        ui_View.setCursorSpeed(sensorCursorSpeed.value)
        ui_View.setVerticalScrollLines(sensorScrollSpeed.value)
        ui_View.setDoubleClickSpeed(sensorDoubleClick.value)
        if (dpiLedType === 0)
            ui_View.q7_0CH_SetDpi8Io(Rules.storedPaletteIds(sensorIndicator.ids()))
        else
            ui_View.q7_0CH_SetDpi8Color(Colour.flat(sensorIndicator.colors()))
        ui_View.q7_0CH_SetDpi8Stage(Rules.dpiStageList(sensorDpi.valueForIndex, dpiBase))
        ui_View.q7_04H_SetDPIStage(sensorDpi.getCurIndex() + 1)
    }

    function pageReset() {
        mainIten.setProtectUI(800)
        var cur = ui_View.q7_82H_GetCurrentProfile()
        var d = Rules.defaults(ui_View.q7_getDefaultProfile("profile_sw", cur),
                               ui_View.q7_getDefaultProfile("profile_fw", cur),
                               ui_View.q7_getDefaultProfile("profile_fw", 0),
                               ui_View.q7_getDefaultProfile("other_fw", cur), dpiBase)
        if (d.rate !== null)
            sensorRate.setCurIndex(d.rate)
        if (d.cursorSpeed !== null) {
            sensorCursorSpeed.setCurIndex(d.cursorSpeed)
            sensorScrollSpeed.setCurIndex(d.scrollLines)
            sensorDoubleClick.setCurIndex(d.doubleClick)
        }
        if (d.dpi)
            sensorDpi.valueForIndex = d.dpi
        if (d.rgb)
            sensorIndicator.setColors(d.rgb)
        if (d.ids)
            sensorIndicator.setIds(d.ids)
        if (d.stage !== null)
            selectStage(d.stage)
    }


    NameTexts {
        id: spoken
    }
    Image {
        anchors.fill: parent
        source: mainIten.sourceFnCommonBackground
    }
    ShellText {
        x: 24
        y: 16
        text: page.title
        font.bold: true
    }

    Caption { x: 30; y: 56; text: page.textRate }
    ButtonGroup_4 {
        id: sensorRate
        objectName: "sensorRate"
        x: 30
        y: 78
        width: 320
        valueForIndex: ["125 Hz", "250 Hz", "500 Hz", "1000 Hz"]
        currentIndex: 2
        accessibleName: page.textRate
    }

    // A slider the desktop does not take stays disabled, keeping the profile's position, and
    // says why; being disabled it hears no pointer, so this area over it asks for the tip.
    component DesktopRefusal: MouseArea {
        required property Item slider
        required property string tip
        x: slider.x
        y: slider.y
        width: slider.width
        height: slider.height
        visible: !slider.enabled
        hoverEnabled: true
        acceptedButtons: Qt.NoButton
        onContainsMouseChanged: if (Shell.hoverTip) Shell.hoverTip.track(slider, tip, containsMouse)
    }

    Caption { x: 400; y: 50; text: page.textCursor }
    Caption { x: 400; y: 92; text: page.textScroll }
    Caption { x: 400; y: 134; text: page.textDoubleClick }
    Slider_11 {
        id: sensorCursorSpeed
        objectName: "sensorCursorSpeed"
        Accessible.description: enabled ? String(value) : value + ". " + page.textNotOnDesktop
        x: 400
        y: 68
        width: 300
        value: 5
        accessibleName: page.textCursor
    }
    Slider_11 {
        id: sensorScrollSpeed
        objectName: "sensorScrollSpeed"
        Accessible.description: enabled ? String(value) : value + ". " + page.textNotOnDesktop
        x: 400
        y: 110
        width: 300
        value: 2
        accessibleName: page.textScroll
    }
    Slider_11 {
        id: sensorDoubleClick
        objectName: "sensorDoubleClick"
        Accessible.description: enabled ? String(value) : value + ". " + page.textNotOnDesktop
        x: 400
        y: 152
        width: 300
        value: 5
        accessibleName: page.textDoubleClick
    }
    SliderValue { slider: sensorCursorSpeed }
    SliderValue { slider: sensorScrollSpeed }
    SliderValue { slider: sensorDoubleClick }
    DesktopRefusal { slider: sensorCursorSpeed; tip: page.textNotOnDesktop }
    DesktopRefusal { slider: sensorScrollSpeed; tip: page.textNotOnDesktop }
    DesktopRefusal { slider: sensorDoubleClick; tip: page.textNotOnDesktop }

    Image {
        x: (page.width - width) / 2
        y: 180
        width: 700
        source: mainIten.sourceLine
    }

    Caption { x: 30; y: 203; text: page.textDpi }
    Caption { x: 30; y: 271; text: page.textIndicator }
    ButtonGroupPro_8 {
        id: sensorDpi
        objectName: "sensorDpi"
        x: 224
        y: 196
        maxStage: page.dpiMAXStage
        valueForMenuIndex: page.dpiValue
        accessibleName: page.textDpi
        stageText: spoken.text("stage", "Stage %1: %2 DPI")
        stageOffText: spoken.text("stageOff", "Stage %1: off")
        stageMenuText: spoken.text("stageMenu", "Stage %1: choose DPI")
        entryText: spoken.text("dpi", "%1 DPI")
        onClicked: index => sensorIndicator.setCurIndex(index)
    }
    ColorGroup_8 {
        id: sensorIndicator
        objectName: "sensorIndicator"
        x: 224
        y: 264
        maxStage: page.dpiMAXStage
        isCompat8Color: page.dpiLedType === 0
        accessibleName: page.textIndicator
        cellText: spoken.text("indicator", "Stage %1 indicator: %2")
        paletteNames: Colour.paletteNames.map((n, i) => spoken.text("colour" + i, n))
        rgbText: spoken.text("rgb", "red %1, green %2, blue %3")
        paletteText: spoken.text("palette", "Palette")
        rainbowText: spoken.text("rainbow", "Rainbow")
        // Picking a cell picks its stage too, unless that stage is switched off.
        onClicked: index => {
            page.selectStage(index)
        }
    }

    PageButtons {
        objectName: "sensor"
        x: 40
        y: 330
        resetTip: page.textDefault
        applyTip: page.textApply
        onResetClicked: page.pageReset()
        onApplyClicked: mainIten.sendToMouse(page.pageApply)
    }
}
