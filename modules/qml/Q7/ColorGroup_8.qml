pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import "color"
import "color/ColorRules.js" as Colour
import "../common/ControlRules.js" as Texts

// Eight colour cells, one of them current. In eight-colour mode (isCompat8Color) a cell holds an
// index into the fixed palette, set from the swatch row; otherwise it holds an RGB colour, typed
// into R, G, B or picked from the rainbow strip. Cells at or beyond maxStage are not used.
Item {
    id: group
    // One entry per cell: clrR, clrG, clrB (0..255) and color8_Id (palette index 0..7).
    property var modColors: Colour.blankCells()
    property bool isCompat8Color: false
    property int maxStage: 8
    property int currentIndex: 0
    property int cellSlot: 60
    property string accessibleName: ""
    // Names for screen readers in the user's language: a cell's (%1 its number, %2 its colour),
    // the palette's colours, and a free colour's (%1, %2, %3 its R, G, B).
    property string cellText: "Colour %1: %2"
    property var paletteNames: Colour.paletteNames
    property string rgbText: "red %1, green %2, blue %3"
    property string paletteText: "Palette"
    property string rainbowText: "Rainbow"
    readonly property var color8_RGB: Colour.palette
    readonly property var current: modColors[Math.min(currentIndex, 7)]

    signal clicked(int index)
    // The user changed the colour of a cell.
    signal colorEdited(int index)

    implicitWidth: 8 * cellSlot + 32
    implicitHeight: 97

    function usable(index) {
        return index >= 0 && index < Math.min(maxStage, 8)
    }
    function setCurIndex(index) {
        if (usable(index))
            currentIndex = index
    }
    function getCurIndex() {
        return currentIndex
    }
    function select(index) {
        if (!usable(index))
            return
        currentIndex = index
        clicked(index)
    }
    function cellColour(index) {
        var c = modColors[index]
        return isCompat8Color ? Colour.cssColour(color8_RGB[c.color8_Id] || color8_RGB[0])
                              : Colour.cssColour([c.clrR, c.clrG, c.clrB])
    }
    function colourName(index) {
        var c = modColors[index]
        return isCompat8Color ? String(paletteNames[c.color8_Id] ?? paletteNames[0])
                              : Texts.named(null, "", rgbText, [c.clrR, c.clrG, c.clrB])
    }
    function update(index, change) {
        var list = modColors.slice()
        list[index] = Object.assign({}, list[index], change)
        modColors = list
    }
    function setColor8_Id(index, id) {
        if (index >= 0 && index < 8 && id >= 0 && id < 8)
            update(index, { color8_Id: id })
    }
    function setRgb(index, rgb) {
        if (index >= 0 && index < 8)
            update(index, { clrR: Colour.clamp(rgb[0], 0, 255), clrG: Colour.clamp(rgb[1], 0, 255),
                            clrB: Colour.clamp(rgb[2], 0, 255) })
    }
    // Whole sets, as the pages read and send them.
    function setColors(triples) {
        modColors = modColors.map((c, i) => Object.assign({}, c, { clrR: triples[i][0], clrG: triples[i][1],
                                                                   clrB: triples[i][2] }))
    }
    function colors() {
        return modColors.map(c => [c.clrR, c.clrG, c.clrB])
    }
    function setIds(ids) {
        modColors = modColors.map((c, i) => Object.assign({}, c, { color8_Id: ids[i] }))
    }
    function ids() {
        return modColors.map(c => c.color8_Id)
    }
    // The user's edits of the current cell.
    function editId(id) {
        setColor8_Id(currentIndex, id)
        colorEdited(currentIndex)
    }
    function editRgb(rgb) {
        setRgb(currentIndex, rgb)
        colorEdited(currentIndex)
    }

    onMaxStageChanged: if (!usable(currentIndex)) currentIndex = 0

    Accessible.role: Accessible.Grouping
    Accessible.name: accessibleName

    // The cells; Left/Right moves the current cell, Up/Down steps its palette colour.
    Item {
        id: cells
        objectName: group.objectName + "Cells"
        width: 8 * group.cellSlot
        height: 30
        activeFocusOnTab: true
        Accessible.role: Accessible.List
        Accessible.name: group.accessibleName
        Keys.onPressed: event => {
            if (event.key === Qt.Key_Left || event.key === Qt.Key_Right) {
                group.select(group.currentIndex + (event.key === Qt.Key_Right ? 1 : -1))
            } else if (group.isCompat8Color && (event.key === Qt.Key_Up || event.key === Qt.Key_Down)) {
                group.editId((group.current.color8_Id + (event.key === Qt.Key_Down ? 1 : 7)) % 8)
            } else {
                return
            }
            event.accepted = true
        }
        Repeater {
            model: 8
            delegate: Item {
                id: cell
                required property int index
                objectName: group.objectName + "Cell" + (index + 1)
                x: index * group.cellSlot
                width: group.cellSlot
                height: cells.height
                // Read from usable(), not from enabled: a dimmed group disables every cell.
                readonly property bool used: group.usable(index)
                enabled: used
                opacity: used ? 1 : 0
                Accessible.role: Accessible.ListItem
                Accessible.name: Texts.named(null, "", group.cellText, [index + 1, group.colourName(index)])
                Accessible.selectable: true
                Accessible.selected: index === group.currentIndex
                Accessible.onPressAction: if (group.enabled) group.select(index)
                Rectangle {
                    anchors.centerIn: parent
                    width: group.cellSlot - 18
                    height: 20
                    radius: 4
                    color: group.cellColour(cell.index)
                    border.width: cell.index === group.currentIndex ? 2 : 1
                    border.color: cell.index === group.currentIndex ? "#ffffff" : Qt.rgba(1, 1, 1, 0.25)
                }
                Rectangle {
                    visible: cell.index === group.currentIndex
                    anchors.horizontalCenter: parent.horizontalCenter
                    anchors.bottom: parent.bottom
                    anchors.bottomMargin: -3
                    width: 14
                    height: 2
                    radius: 1
                    color: mainIten.accentColor
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: {
                        cells.forceActiveFocus()
                        group.select(cell.index)
                    }
                }
            }
        }
        FocusFrame {}
    }

    // Eight-colour mode: the palette swatches.
    Item {
        id: swatches
        objectName: group.objectName + "Swatches"
        y: 44
        width: 8 * group.cellSlot
        height: 22
        visible: group.isCompat8Color
        activeFocusOnTab: visible
        Accessible.role: Accessible.List
        Accessible.name: group.paletteText
        Keys.onPressed: event => {
            if (event.key === Qt.Key_Left || event.key === Qt.Key_Right)
                group.editId(Colour.clamp(group.current.color8_Id + (event.key === Qt.Key_Right ? 1 : -1), 0, 7))
            else
                return
            event.accepted = true
        }
        Repeater {
            model: 8
            delegate: Rectangle {
                id: swatch
                required property int index
                readonly property bool chosen: group.current.color8_Id === index
                objectName: group.objectName + "Swatch" + index
                x: index * group.cellSlot + (group.cellSlot - width) / 2
                width: 18
                height: 18
                radius: 9
                color: Colour.cssColour(group.color8_RGB[index])
                border.width: chosen ? 2 : 1
                border.color: chosen ? "#ffffff" : Qt.rgba(0, 0, 0, 0.5)
                scale: chosen ? 1.15 : swatchArea.containsMouse ? 1.1 : 1
                Accessible.role: Accessible.RadioButton
                Accessible.name: String(group.paletteNames[index])
                Accessible.checkable: true
                Accessible.checked: chosen
                // Toggle and Press give the current cell this colour, as a click does.
                function accessiblePressAction() { if (group.enabled) group.editId(swatch.index) }
                function accessibleToggleAction() { accessiblePressAction() }
                MouseArea {
                    id: swatchArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: {
                        swatches.forceActiveFocus()
                        group.editId(swatch.index)
                    }
                }
            }
        }
        FocusFrame {}
    }

    // RGB mode: three typed components, a preview, and the rainbow strip at the right.
    Row {
        y: 44
        spacing: 10
        visible: !group.isCompat8Color
        ColourInput {
            fieldName: group.objectName + "R"
            label: "R"
            value: group.current.clrR
            onTyped: v => group.editRgb([v, group.current.clrG, group.current.clrB])
        }
        ColourInput {
            fieldName: group.objectName + "G"
            label: "G"
            value: group.current.clrG
            onTyped: v => group.editRgb([group.current.clrR, v, group.current.clrB])
        }
        ColourInput {
            fieldName: group.objectName + "B"
            label: "B"
            value: group.current.clrB
            onTyped: v => group.editRgb([group.current.clrR, group.current.clrG, v])
        }
        Rectangle {
            width: 40
            height: 22
            radius: 4
            color: group.cellColour(group.currentIndex)
            border.color: Qt.rgba(1, 1, 1, 0.25)
        }
        ShellText {
            anchors.verticalCenter: parent.verticalCenter
            text: "#" + [group.current.clrR, group.current.clrG, group.current.clrB]
                  .map(v => ("0" + Number(v).toString(16)).slice(-2)).join("").toUpperCase()
            opacity: 0.7
        }
    }
    RainbowStrip {
        objectName: group.objectName + "Rainbow"
        x: 8 * group.cellSlot + 12
        width: 16
        height: group.height
        visible: !group.isCompat8Color
        accessibleName: group.rainbowText
        onPicked: rgb => group.editRgb(rgb)
    }
}
