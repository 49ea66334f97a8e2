import QtQuick
import "../../common"
import "ColorRules.js" as Colour

// The vertical rainbow strip: a click at a height picks that colour; Up/Down move the pick.
Item {
    id: strip
    property string accessibleName: ""
    property real pick: -1
    signal picked(var rgb)

    activeFocusOnTab: visible
    // The pick as screen readers read a slider: a height on the strip, top to bottom.
    readonly property real value: Math.max(pick, 0)
    readonly property real minimumValue: 0
    readonly property real maximumValue: Math.max(height - 1, 1)
    readonly property real stepSize: maximumValue / 32
    Accessible.role: Accessible.Slider
    Accessible.name: accessibleName
    function accessibleIncreaseAction() { if (enabled) pickAt(value + stepSize) }
    function accessibleDecreaseAction() { if (enabled) pickAt(value - stepSize) }

    function pickAt(y) {
        pick = Colour.clamp(y, 0, height - 1)
        picked(Colour.rainbow(pick, height))
    }

    Keys.onPressed: event => {
        if (event.key !== Qt.Key_Up && event.key !== Qt.Key_Down)
            return
        var stepY = (height - 1) / 32
        pickAt((pick < 0 ? 0 : pick) + (event.key === Qt.Key_Down ? stepY : -stepY))
        event.accepted = true
    }

    Image {
        anchors.fill: parent
        source: mainIten.sourcePalette
    }
    Rectangle {
        visible: strip.pick >= 0
        x: -3
        y: strip.pick - 1
        width: strip.width + 6
        height: 3
        radius: 1
        color: "transparent"
        border.color: "#ffffff"
    }
    MouseArea {
        anchors.fill: parent
        onPressed: mouse => {
            strip.forceActiveFocus()
            strip.pickAt(mouse.y)
        }
        onPositionChanged: mouse => strip.pickAt(mouse.y)
    }
    FocusFrame {}
}
