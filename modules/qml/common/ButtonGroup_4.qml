pragma ComponentBehavior: Bound
import QtQuick
import "ControlRules.js" as Rules

// Four buttons in a row, one of them current (the polling rate). A click or an arrow key makes
// another current and reports it with clicked(index); setCurIndex, the page's own setting, does not.
Item {
    id: group
    property var valueForIndex: ["", "", "", ""]
    property int currentIndex: 0
    property string accessibleName: ""
    readonly property int count: 4

    signal clicked(int index)

    implicitWidth: base.implicitWidth > 0 ? base.implicitWidth : 360
    implicitHeight: base.implicitHeight > 0 ? base.implicitHeight : 30
    activeFocusOnTab: true

    function setCurIndex(index) {
        if (index >= 0 && index < count)
            currentIndex = index
    }
    function getCurIndex() {
        return currentIndex
    }
    function choose(index) {
        if (index < 0 || index >= count || index === currentIndex)
            return
        currentIndex = index
        clicked(index)
    }

    // The focus rests on the row as a whole and the arrows move the choice, as in a list box.
    Accessible.role: Accessible.List
    Accessible.name: accessibleName

    Keys.onPressed: event => {
        if (event.key === Qt.Key_Left || event.key === Qt.Key_Up)
            choose(Rules.step(currentIndex, -1, count))
        else if (event.key === Qt.Key_Right || event.key === Qt.Key_Down)
            choose(Rules.step(currentIndex, 1, count))
        else
            return
        event.accepted = true
    }

    Image {
        id: base
        anchors.fill: parent
        source: Theme.sourceBtnGroup_4_BASE
    }
    Row {
        anchors.fill: parent
        Repeater {
            model: group.count
            delegate: Item {
                id: button
                required property int index
                readonly property bool current: index === group.currentIndex
                objectName: group.objectName + "Button" + index
                width: group.width / group.count
                height: group.height
                Accessible.role: Accessible.RadioButton
                Accessible.name: label.text
                Accessible.checkable: true
                Accessible.checked: current
                // Toggle and Press choose the button, as a click does.
                function accessiblePressAction() { if (group.enabled) group.choose(index) }
                function accessibleToggleAction() { accessiblePressAction() }
                Image {
                    anchors.fill: parent
                    visible: button.current || area.containsMouse
                    opacity: button.current ? 1 : 0.45
                    source: button.current ? Theme.sourceBtnGroup_FILLER_1 : Theme.sourceBtnGroup_FILLER_0
                }
                ShellText {
                    id: label
                    anchors.centerIn: parent
                    text: String(group.valueForIndex[button.index] ?? "")
                    font.bold: button.current
                }
                MouseArea {
                    id: area
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: {
                        group.forceActiveFocus()
                        group.choose(button.index)
                    }
                }
            }
        }
    }
    FocusFrame {}
}
