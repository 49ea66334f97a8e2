import QtQuick
import "../../common"

// The switch in the action header that makes recording keep the gaps between key events as
// delay lines: a check image and a short caption.
Item {
    id: toggle
    property bool checked: false
    property string caption: "TIMING"
    signal toggled

    width: check.width + 3 + label.implicitWidth
    height: 21
    activeFocusOnTab: true
    opacity: enabled ? 1 : 0.4

    Accessible.role: Accessible.CheckBox
    Accessible.name: "RECORD WITH TIMING"
    Accessible.checkable: true
    Accessible.checked: checked
    // The check box role lists Toggle and Press once already.
    function accessibleToggleAction() { if (enabled) toggled() }
    function accessiblePressAction() { accessibleToggleAction() }

    Keys.onPressed: event => {
        if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            toggled()
            event.accepted = true
        }
    }

    Image {
        id: check
        anchors.verticalCenter: parent.verticalCenter
        width: 13
        height: 13
        source: toggle.checked ? mainIten.sourceCHK1 : mainIten.sourceCHK0
    }
    ShellText {
        id: label
        anchors.left: check.right
        anchors.leftMargin: 3
        anchors.verticalCenter: parent.verticalCenter
        text: toggle.caption
        font.pixelSize: mainIten.globalSetting_size - 2
        color: toggle.checked ? mainIten.accentColor : mainIten.globalSetting_color
    }
    MouseArea {
        anchors.fill: parent
        onClicked: {
            toggle.forceActiveFocus()
            toggle.toggled()
        }
    }
    FocusFrame {}
}
