import QtQuick
import "../common"

// A 21 x 21 image button of the macro page: reached by Tab, pressed by Space or Return, named for
// screen readers by its hover text, which shows beside it (left of it, or above it) while the
// pointer rests on it or it has the focus.
Button_2state {
    id: button
    property string tip: ""
    property bool tipLeft: false

    width: 21
    height: 21
    activeFocusOnTab: true
    Accessible.role: Accessible.Button
    Accessible.name: tip
    Accessible.onPressAction: if (enabled) clicked()
    Keys.onPressed: event => {
        if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            clicked()
            event.accepted = true
        }
    }
    mouse.onPressed: forceActiveFocus()

    Rectangle {
        visible: tipText.visible
        anchors.fill: tipText
        anchors.margins: -3
        radius: 3
        color: "#e0101418"
    }
    ShellText {
        id: tipText
        x: button.tipLeft ? -implicitWidth - 8 : (button.width - implicitWidth) / 2
        y: button.tipLeft ? (button.height - implicitHeight) / 2 : -implicitHeight - 6
        visible: button.enabled && (button.mouse.containsMouse || button.activeFocus)
        text: button.tip
        font.bold: true
    }
    FocusFrame {}
}
