import QtQuick
import "../common"
import "GlobalStrings.js" as GlobalStrings

// Program-wide options: language, text size, text colour and brightness. Every change shows at
// once; only Apply stores it.
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

    signal closeRequested

    readonly property var strings: mainIten.globalSetting_stringList

    function option(list, i) {
        return i < list.length ? list[i] : undefined
    }
    function optionInt(list, i) {
        var v = parseInt(option(list, i))
        return isNaN(v) ? undefined : v
    }
    // The settings file hands booleans back as the texts "true" and "false".
    function optionBool(list, i) {
        var v = option(list, i)
        return v === true || v === "true" || v === 1 || v === "1"
    }

    function initUI() {
        if (typeof ui_View.loadApConfig !== "function")
            return
        var options = ui_View.loadApConfig()
        if (!options || options.length === 0)
            return

        var animation = optionInt(options, 3)
        if (animation === 0 || animation === 1)
            setAnimation(animation)

        initLanguage()
        var language = optionInt(options, 4)
        if (language !== undefined && language >= 0 && language < languageModel.count) {
            languageIndex = language
            setLanguage(language)
        }

        if (options.length > 6) {
            isCustomBackground = optionBool(options, 5)
            var background = option(options, 6)
            sourceCustomBackground = background ? String(background) : ""
        }

        var size = optionInt(options, 7)
        if (size === 0 || size === 1)
            setSize(size)

        var colors = slotColors.slice()
        for (var k = 0; k < 7; ++k) {
            var r = optionInt(options, 8 + 3 * k)
            var g = optionInt(options, 9 + 3 * k)
            var b = optionInt(options, 10 + 3 * k)
            if (r !== undefined && g !== undefined && b !== undefined)
                colors[k] = [clampByte(r), clampByte(g), clampByte(b)]
        }
        slotColors = colors
        var slot = optionInt(options, 29)
        if (slot !== undefined && slot >= 0 && slot < 7)
            selectSlot(slot)

        var step = optionInt(options, 30)
        if (step !== undefined)
            setBrightness(Math.min(Math.max(step, 0), 7))

        var url = option(options, 31)
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
    }

    function resetApconfig() {
        applyInputs()
        ui_View.resetApconfig()
        initUI()
    }

    function apply() {
        applyInputs()
        var options = [2, 0, 0, animationIndex, Math.max(languageIndex, 0), isCustomBackground,
                       sourceCustomBackground, sizeIndex]
        for (var k = 0; k < 7; ++k)
            options.push(slotColors[k][0], slotColors[k][1], slotColors[k][2])
        options.push(selectedSlot, brightnessStep, _Url)
        ui_View.saveApConfig(options)
        closeRequested()
    }

    function setAnimation(index) {
        animationIndex = index
        _AnimationSpeed = index === 1 ? 10 : 800
    }

    function setSize(index) {
        sizeIndex = index
        _Size = index === 1 ? 12 : 11
    }

    function clampByte(v) {
        return Math.min(Math.max(Math.round(v), 0), 255)
    }

    // Source 1 the palette strip, 2 the R/G/B inputs, 3 a slot click (or start-up); any other
    // value updates inputs and slot but leaves the text colour.
    function setRGB(source, r, g, b) {
        _R = r
        _G = g
        _B = b
        if (source !== 2) {
            inputR.text = r
            inputG.text = g
            inputB.text = b
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

    // The colour at position y along the strip's gradient (black, red, yellow, green, cyan,
    // blue, magenta, white, black at each eighth).
    function paletteColor(y, length) {
        var t = y / (length - 1) / 0.125
        var level = Math.floor(t)
        var x = Math.round((t - level) * 255)
        switch (level) {
        case 0: return [x, 0, 0]
        case 1: return [255, x, 0]
        case 2: return [255 - x, 255, 0]
        case 3: return [0, 255, x]
        case 4: return [0, 255 - x, 255]
        case 5: return [x, 0, 255]
        case 6: return [255, x, 255]
        case 7: return [255 - x, 255 - x, 255 - x]
        default: return [0, 0, 0]
        }
    }

    function pickPalette(y) {
        var c = paletteColor(Math.min(Math.max(y, 0), paletteLength - 1), paletteLength)
        setRGB(1, c[0], c[1], c[2])
    }

    // An input left empty or out of range takes the working colour's value back.
    function applyInputs() {
        var r = inputR.acceptableInput ? parseInt(inputR.text) : _R
        var g = inputG.acceptableInput ? parseInt(inputG.text) : _G
        var b = inputB.acceptableInput ? parseInt(inputB.text) : _B
        inputR.text = r
        inputG.text = g
        inputB.text = b
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

    component Heading: ShellText {
        font.bold: true
    }

    component Choice: Item {
        id: choice
        property bool selected: false
        property alias label: choiceText.text
        signal clicked
        width: box.width + choiceText.implicitWidth + 8
        height: Math.max(box.height, choiceText.implicitHeight)
        Image {
            id: box
            anchors.verticalCenter: parent.verticalCenter
            source: choice.selected ? mainIten.sourceCHK1 : mainIten.sourceCHK0
        }
        ShellText {
            id: choiceText
            x: box.width + 6
            anchors.verticalCenter: parent.verticalCenter
            color: choice.selected ? mainIten.globalSetting_color
                                   : mainIten.globalSetting_color_enable
        }
        MouseArea {
            anchors.fill: parent
            onClicked: choice.clicked()
        }
    }

    component ByteInput: Rectangle {
        property alias text: input.text
        property alias acceptableInput: input.acceptableInput
        property alias input: input
        width: 46
        height: 22
        radius: 3
        color: "#1a1d24"
        border.color: input.activeFocus ? mainIten.accentColor : "#3a3f4a"
        TextInput {
            id: input
            anchors.fill: parent
            anchors.margins: 4
            horizontalAlignment: TextInput.AlignHCenter
            verticalAlignment: TextInput.AlignVCenter
            maximumLength: 3
            validator: IntValidator { bottom: 0; top: 255 }
            selectByMouse: true
            color: mainIten.globalSetting_color_enable
            font.family: mainIten.globalSetting_fontFamily
            font.pixelSize: mainIten.globalSetting_size
            onEditingFinished: page.applyInputs()
            onActiveFocusChanged: if (!activeFocus) page.applyInputs()
        }
    }

    Image {
        anchors.fill: parent
        source: mainIten.sourceGlobalsettingBackground
    }

    // A click on empty space takes the focus from the inputs, which applies them.
    MouseArea {
        anchors.fill: parent
        onClicked: page.forceActiveFocus()
    }

    Heading {
        x: 20
        y: 14
        text: page.strings[1]
    }

    Heading {
        x: 20
        y: 42
        text: page.strings[29]
    }
    Rectangle {
        x: 20
        y: 62
        width: 300
        height: 88
        radius: 3
        color: "#14161b"
        border.color: "#2e333d"
        ListView {
            id: languageList
            objectName: "languageList"
            anchors.fill: parent
            anchors.margins: 2
            clip: true
            model: languageModel
            currentIndex: page.languageIndex
            boundsBehavior: Flickable.StopAtBounds
            delegate: Rectangle {
                width: languageList.width
                height: 21
                color: index === page.languageIndex
                       ? Qt.rgba(mainIten.accentColor.r, mainIten.accentColor.g,
                                 mainIten.accentColor.b, 0.22)
                       : "transparent"
                ShellText {
                    x: 8
                    anchors.verticalCenter: parent.verticalCenter
                    text: model.name
                    color: index === page.languageIndex ? mainIten.globalSetting_color
                                                        : mainIten.globalSetting_color_enable
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: page.setLanguage(index)
                }
            }
        }
    }

    Heading {
        x: 20
        y: 160
        text: page.strings[33] + " " + page.strings[34]
    }
    Row {
        x: 150
        y: 160
        spacing: 18
        Choice {
            objectName: "sizeNormal"
            label: page.strings[37]
            selected: page.sizeIndex === 0
            onClicked: page.setSize(0)
        }
        Choice {
            objectName: "sizeLarger"
            label: page.strings[38]
            selected: page.sizeIndex === 1
            onClicked: page.setSize(1)
        }
    }

    // Present but not offered in this product.
    Row {
        objectName: "animationSwitch"
        visible: false
        spacing: 18
        Choice {
            label: page.strings[31]
            selected: page.animationIndex === 0
            onClicked: page.setAnimation(0)
        }
        Choice {
            label: page.strings[32]
            selected: page.animationIndex === 1
            onClicked: page.setAnimation(1)
        }
    }
    Choice {
        objectName: "backgroundToggle"
        visible: false
        label: page.strings[30]
        selected: page.isCustomBackground
        onClicked: page.toggleBackground()
    }

    Heading {
        x: 20
        y: 192
        text: page.strings[33] + " " + page.strings[35]
    }
    Row {
        x: 20
        y: 214
        spacing: 8
        Repeater {
            model: 7
            delegate: Rectangle {
                objectName: "paletteSlot" + index
                width: 36
                height: 22
                radius: 3
                color: Qt.rgba(page.slotColors[index][0] / 255, page.slotColors[index][1] / 255,
                               page.slotColors[index][2] / 255, 1)
                border.width: index === page.selectedSlot ? 2 : 1
                border.color: index === page.selectedSlot ? "#ffffff" : "#3a3f4a"
                MouseArea {
                    anchors.fill: parent
                    onClicked: page.selectSlot(index)
                }
            }
        }
    }

    // Drawn as a vertical gradient turned by -90 degrees, so it runs left to right on screen;
    // presses are read along the gradient, in the rectangle's own coordinates.
    Item {
        x: 20
        y: 246
        width: page.paletteLength
        height: 17
        // Odd by odd, so the turned rectangle sits on whole pixels and presses land exactly.
        Rectangle {
            id: paletteStrip
            objectName: "paletteStrip"
            width: 17
            height: page.paletteLength
            anchors.centerIn: parent
            rotation: -90
            gradient: Gradient {
                GradientStop { position: 0 / 8; color: "#000000" }
                GradientStop { position: 1 / 8; color: "#ff0000" }
                GradientStop { position: 2 / 8; color: "#ffff00" }
                GradientStop { position: 3 / 8; color: "#00ff00" }
                GradientStop { position: 4 / 8; color: "#00ffff" }
                GradientStop { position: 5 / 8; color: "#0000ff" }
                GradientStop { position: 6 / 8; color: "#ff00ff" }
                GradientStop { position: 7 / 8; color: "#ffffff" }
                GradientStop { position: 8 / 8; color: "#000000" }
            }
            MouseArea {
                anchors.fill: parent
                onPressed: mouse => page.pickPalette(mouse.y)
                onPositionChanged: mouse => page.pickPalette(mouse.y)
            }
        }
    }
    Rectangle {
        x: 20 + page.paletteLength + 10
        y: 243
        width: 22
        height: 22
        radius: 3
        color: Qt.rgba(page._R / 255, page._G / 255, page._B / 255, 1)
        border.color: "#3a3f4a"
    }

    Row {
        x: 20
        y: 276
        spacing: 8
        ShellText { text: "R"; anchors.verticalCenter: parent.verticalCenter }
        ByteInput { id: inputR; objectName: "inputR"; text: "255" }
        ShellText { text: "G"; anchors.verticalCenter: parent.verticalCenter }
        ByteInput { id: inputG; objectName: "inputG"; text: "255" }
        ShellText { text: "B"; anchors.verticalCenter: parent.verticalCenter }
        ByteInput { id: inputB; objectName: "inputB"; text: "255" }
    }

    Heading {
        x: 20
        y: 312
        text: page.strings[33] + " " + page.strings[36]
    }
    Row {
        id: brightnessSlider
        objectName: "brightnessSlider"
        x: 20
        y: 334
        spacing: 3
        Repeater {
            model: 8
            delegate: Rectangle {
                objectName: "brightnessStep" + index
                width: 34
                height: 12
                radius: 2
                color: index <= page.brightnessStep
                       ? Qt.rgba(page._R / 255, page._G / 255, page._B / 255,
                                 (45 + index * 30) / 255)
                       : "#262a32"
                border.color: "#3a3f4a"
                MouseArea {
                    anchors.fill: parent
                    onClicked: page.setBrightness(index)
                }
            }
        }
    }

    Row {
        x: 20
        y: 372
        spacing: 26
        Row {
            spacing: 6
            Button_2state {
                objectName: "btnReset"
                source0: mainIten.sourceReset0
                source1: mainIten.sourceReset1
                onClicked: page.resetApconfig()
            }
            ShellText {
                anchors.verticalCenter: parent.verticalCenter
                text: page.strings[106]
            }
        }
        Row {
            spacing: 6
            Button_2state {
                objectName: "btnApply"
                source0: mainIten.sourceApply0
                source1: mainIten.sourceApply1
                onClicked: page.apply()
            }
            ShellText {
                anchors.verticalCenter: parent.verticalCenter
                text: page.strings[107]
            }
        }
    }
}
