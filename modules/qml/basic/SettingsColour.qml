pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import "../common/ControlRules.js" as Texts

// The settings page's text colour: the seven palette slots, the palette strip, the working
// colour, its R/G/B inputs and the brightness steps. What a choice does is the page's.
Item {
    id: colour
    property var strings: []
    property var slotColors: []
    property int selectedSlot: 0
    property int brightnessStep: 7
    property int paletteLength: 257
    // The language's [names] texts, for the slots' names.
    property var nameTexts: ({})
    property color working: "white"
    signal slotChosen(int slot)
    signal palettePicked(real y)
    signal brightnessChosen(int step)
    // An input was left or confirmed.
    signal inputsLeft
    readonly property alias inputR: inputR
    readonly property alias inputG: inputG
    readonly property alias inputB: inputB

    width: 300
    height: brightnessRow.y + brightnessRow.height

    ShellText {
        font.bold: true
        text: colour.strings[33] + " " + colour.strings[35]
    }
    // Left and Right move through the slots.
    Row {
        id: slots
        objectName: "paletteSlots"
        y: 22
        spacing: 8
        activeFocusOnTab: true
        Accessible.role: Accessible.List
        Accessible.name: colour.strings[33] + " " + colour.strings[35]
        Keys.onLeftPressed: colour.slotChosen(Math.max(colour.selectedSlot - 1, 0))
        Keys.onRightPressed: colour.slotChosen(Math.min(colour.selectedSlot + 1, 6))
        Repeater {
            model: 7
            delegate: Rectangle {
                id: slotCell
                required property int index
                objectName: "paletteSlot" + index
                width: 36
                height: 22
                radius: 3
                color: Qt.rgba(colour.slotColors[index][0] / 255,
                               colour.slotColors[index][1] / 255,
                               colour.slotColors[index][2] / 255, 1)
                border.width: index === colour.selectedSlot ? 2 : 1
                border.color: index === colour.selectedSlot ? "#ffffff" : "#3a3f4a"
                Accessible.role: Accessible.ListItem
                Accessible.name: {
                    var c = colour.slotColors[index]
                    var rgb = Texts.named(colour.nameTexts, "rgb", "red %1, green %2, blue %3", c)
                    return Texts.named(colour.nameTexts, "colour", "Colour %1: %2", [index + 1, rgb])
                }
                Accessible.selectable: true
                Accessible.selected: index === colour.selectedSlot
                Accessible.onPressAction: colour.slotChosen(slotCell.index)
                MouseArea {
                    anchors.fill: parent
                    onClicked: colour.slotChosen(slotCell.index)
                }
            }
        }
    }
    FocusFrame {
        target: slots
    }

    // Drawn as a vertical gradient turned by -90 degrees, so it runs left to right on screen;
    // presses are read along the gradient, in the rectangle's own coordinates.
    Item {
        y: 54
        width: colour.paletteLength
        height: 17
        // Odd by odd, so the turned rectangle sits on whole pixels and presses land exactly.
        Rectangle {
            objectName: "paletteStrip"
            width: 17
            height: colour.paletteLength
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
                onPressed: mouse => colour.palettePicked(mouse.y)
                onPositionChanged: mouse => colour.palettePicked(mouse.y)
            }
        }
    }
    Rectangle {
        x: colour.paletteLength + 10
        y: 51
        width: 22
        height: 22
        radius: 3
        color: colour.working
        border.color: "#3a3f4a"
    }

    Row {
        y: 84
        spacing: 8
        ShellText { text: "R"; anchors.verticalCenter: parent.verticalCenter }
        ByteInput {
            id: inputR
            objectName: "inputR"
            text: "255"
            accessibleName: colour.strings[35] + " R"
            onEditDone: colour.inputsLeft()
        }
        ShellText { text: "G"; anchors.verticalCenter: parent.verticalCenter }
        ByteInput {
            id: inputG
            objectName: "inputG"
            text: "255"
            accessibleName: colour.strings[35] + " G"
            onEditDone: colour.inputsLeft()
        }
        ShellText { text: "B"; anchors.verticalCenter: parent.verticalCenter }
        ByteInput {
            id: inputB
            objectName: "inputB"
            text: "255"
            accessibleName: colour.strings[35] + " B"
            onEditDone: colour.inputsLeft()
        }
    }

    ShellText {
        y: 118
        font.bold: true
        text: colour.strings[33] + " " + colour.strings[36]
    }
    // Left and Right step the brightness.
    Row {
        id: brightnessRow
        objectName: "brightnessSlider"
        y: 140
        spacing: 3
        activeFocusOnTab: true
        Accessible.role: Accessible.Slider
        Accessible.name: colour.strings[33] + " " + colour.strings[36]
        Keys.onLeftPressed: colour.brightnessChosen(Math.max(colour.brightnessStep - 1, 0))
        Keys.onRightPressed: colour.brightnessChosen(Math.min(colour.brightnessStep + 1, 7))
        Repeater {
            model: 8
            delegate: Rectangle {
                id: stepCell
                required property int index
                objectName: "brightnessStep" + index
                width: 34
                height: 12
                radius: 2
                color: index <= colour.brightnessStep
                       ? Qt.rgba(colour.working.r, colour.working.g, colour.working.b,
                                 (45 + index * 30) / 255)
                       : "#262a32"
                border.color: "#3a3f4a"
                MouseArea {
                    anchors.fill: parent
                    onClicked: colour.brightnessChosen(stepCell.index)
                }
            }
        }
    }
    FocusFrame {
        target: brightnessRow
    }
}
