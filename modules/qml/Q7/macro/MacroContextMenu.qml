pragma ComponentBehavior: Bound
import QtQuick
import "../../common"

// The small menu a right click on a macro row opens beside it: LOAD, SAVE, RENAME, CANCEL. It
// fades in and out; by keyboard Up/Down move, Space/Return choose, Escape is CANCEL.
Item {
    id: menu
    // The row the menu was opened for.
    property int row: -1
    property bool opened: false
    property int highlightIndex: 0
    property var texts: ["LOAD", "SAVE", "RENAME", "CANCEL"]
    readonly property var names: ["Load", "Save", "Rename", "Cancel"]

    // 0 LOAD, 1 SAVE, 2 RENAME, 3 CANCEL
    signal chosen(int action, int row)

    width: 96
    height: column.height + 6
    opacity: opened ? 1 : 0
    visible: opened || opacity > 0
    enabled: opened
    z: 50
    activeFocusOnTab: opened

    Accessible.role: Accessible.PopupMenu
    Accessible.name: "MACRO"

    Behavior on opacity {
        NumberAnimation {
            duration: 0.3 * mainIten.animation_speed
            easing.type: Easing.OutCubic
        }
    }

    function open(forRow) {
        row = forRow
        highlightIndex = 0
        opened = true
        forceActiveFocus()
    }
    function close() {
        opened = false
    }
    function choose(action) {
        if (!opened)
            return
        var r = row
        close()
        chosen(action, r)
    }

    onActiveFocusChanged: if (!activeFocus) close()

    Keys.onPressed: event => {
        if (event.key === Qt.Key_Down || event.key === Qt.Key_Up) {
            highlightIndex = (highlightIndex + (event.key === Qt.Key_Down ? 1 : 3)) % 4
        } else if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            choose(highlightIndex)
        } else if (event.key === Qt.Key_Escape) {
            choose(3)
        } else {
            return
        }
        event.accepted = true
    }

    Rectangle {
        anchors.fill: parent
        radius: 4
        color: "#f2161a21"
        border.width: 1
        border.color: Qt.darker(mainIten.accentColor, 1.6)
    }
    Column {
        id: column
        x: 3
        y: 3
        width: parent.width - 6
        Repeater {
            model: 4
            delegate: Rectangle {
                id: entry
                required property int index
                objectName: "macroMenu" + menu.names[index]
                width: column.width
                height: 22
                radius: 3
                color: area.containsMouse || (menu.activeFocus && menu.highlightIndex === index)
                       ? Qt.rgba(1, 1, 1, 0.12) : "transparent"
                Accessible.role: Accessible.MenuItem
                Accessible.name: menu.texts[index]
                Accessible.onPressAction: menu.choose(index)
                ShellText {
                    anchors.left: parent.left
                    anchors.leftMargin: 8
                    anchors.verticalCenter: parent.verticalCenter
                    text: menu.texts[entry.index]
                    color: area.containsMouse ? mainIten.accentColor : mainIten.globalSetting_color
                }
                MouseArea {
                    id: area
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: menu.choose(entry.index)
                }
            }
        }
    }
    FocusFrame {}
}
