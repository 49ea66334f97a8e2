import QtQuick
import "../common"

// An image button of a page that the keyboard reaches too, with its tip shown while hovered
// or focused.
Button_2state {
    id: button
    property string tip: ""
    activeFocusOnTab: true
    Accessible.role: Accessible.Button
    Accessible.name: tip
    Accessible.onPressAction: clicked()
    Keys.onPressed: event => {
        if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            clicked()
            event.accepted = true
        }
    }
    mouse.onPressed: forceActiveFocus()

    ShellText {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.top
        anchors.bottomMargin: 8
        visible: button.mouse.containsMouse || button.activeFocus
        text: button.tip
        font.bold: true
    }
    FocusFrame {}
}
