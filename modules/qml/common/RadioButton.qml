import QtQuick

// A choice among a few: a check image and its text. A click reports the button's index; the
// page decides what is selected (isSelect).
Item {
    id: radio
    property int index: 0
    property bool isSelect: false
    property string chkStr: ""
    // Off for a button whose meaning the controls beside it show; chkStr still names it.
    property bool showText: true

    signal clicked(int index)

    implicitWidth: check.width + (showText ? 6 + label.implicitWidth : 0)
    implicitHeight: Math.max(check.height, label.implicitHeight)
    activeFocusOnTab: true
    opacity: enabled ? 1 : 0.2

    Accessible.role: Accessible.RadioButton
    Accessible.name: chkStr
    Accessible.checkable: true
    Accessible.checked: isSelect
    // The radio role lists Toggle and Press already; both choose the button, as a click does.
    function accessiblePressAction() { if (enabled) clicked(index) }
    function accessibleToggleAction() { accessiblePressAction() }

    Keys.onPressed: event => {
        if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            clicked(index)
            event.accepted = true
        }
    }

    Image {
        id: check
        anchors.verticalCenter: parent.verticalCenter
        width: 16
        height: 16
        source: radio.isSelect ? Theme.sourceCHK1 : Theme.sourceCHK0
    }
    ShellText {
        id: label
        anchors.left: check.right
        anchors.leftMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        text: radio.chkStr
        visible: radio.showText
        color: radio.isSelect ? Theme.accentColor : Theme.textColor
    }
    MouseArea {
        anchors.fill: parent
        onClicked: {
            radio.forceActiveFocus()
            radio.clicked(radio.index)
        }
    }
    FocusFrame {}
}
