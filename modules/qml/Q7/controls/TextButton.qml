import QtQuick
import "../../common"

// A button that is its text, for the small panels without skin images. The keyboard reaches
// it; Space, Return or Enter press it, unless a click brought the focus (see Button_2state).
// `checked` marks the chosen one of a group.
Rectangle {
    id: button
    property string text: ""
    property string accessibleName: text
    property bool checked: false
    readonly property bool keyboardFocus: activeFocus && !pointerFocus
    property bool pointerFocus: false
    signal clicked

    implicitWidth: Math.max(label.implicitWidth + 20, 44)
    implicitHeight: 24
    radius: 3
    color: checked ? Qt.rgba(mainIten.accentColor.r, mainIten.accentColor.g, mainIten.accentColor.b, 0.35)
                   : mouse.containsMouse && enabled ? Qt.rgba(mainIten.accentColor.r, mainIten.accentColor.g,
                                                              mainIten.accentColor.b, 0.18)
                                                    : "#33ffffff"
    border.width: 1
    border.color: checked ? mainIten.accentColor : "#66ffffff"
    opacity: !enabled ? 0.35 : mouse.pressed ? 0.6 : 1.0
    activeFocusOnTab: true
    onActiveFocusChanged: if (!activeFocus) pointerFocus = false

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.checkable: checked
    Accessible.checked: checked
    // A function, not a handler: the button role lists Press once already.
    function accessiblePressAction() { clicked() }
    // As Button_2state's: a click's focus is the pointer's, and Space does not press again.
    function takeFocus(byKeyboard) {
        forceActiveFocus()
        pointerFocus = !byKeyboard
    }
    Keys.onPressed: event => {
        if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            if (button.keyboardFocus)
                button.clicked()
            event.accepted = true
        }
    }

    ShellText {
        id: label
        anchors.centerIn: parent
        width: Math.min(implicitWidth, button.width - 8)
        elide: Text.ElideRight
        text: button.text
        font.bold: button.checked
        color: button.checked || button.keyboardFocus ? mainIten.globalSetting_color
                                                     : mainIten.globalSetting_color_enable
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onPressed: {
            button.pointerFocus = true
            button.forceActiveFocus()
        }
        onClicked: button.clicked()
    }
    FocusFrame {
        visible: button.keyboardFocus
    }
}
