import QtQuick
import "ControlRules.js" as Rules

// A field with the current row's text and a "▼" mark whose click opens a scrolling row list
// (below it where the page has room). Opening first asks the page to reload the rows
// (requestToUpdateList). A click on a row closes the list and reports the list's current row
// after the click: -1 when the row was already current, since a click on the current row
// clears it.
Item {
    id: button
    // A ListModel whose rows carry textX and textR.
    property var model: null
    property bool opened: false
    property int listHeight: 160
    property alias currentIndex: list.currentIndex
    readonly property int count: list.count
    readonly property string currentText: textAt(currentIndex, revision)
    property int revision: 0

    signal requestToUpdateList
    signal listOpened
    signal listClosed
    signal listElementClicked(int index)

    implicitWidth: 210
    implicitHeight: 26
    activeFocusOnTab: true

    // What the list chooses, told to screen readers with the current row as its value.
    property string accessibleName: ""
    readonly property string spokenName: accessibleName !== "" ? accessibleName : currentText

    Accessible.role: Accessible.ComboBox
    Accessible.name: spokenName
    // Its value; none while no item is chosen (the field then shows a prompt).
    Accessible.description: currentIndex >= 0 && currentIndex < count ? currentText : ""
    Accessible.onPressAction: {
        if (!enabled)
            return
        if (opened) {
            close()
        } else {
            open()
            list.forceActiveFocus()
        }
    }

    function setCurIndex(index) {
        list.setCurIndex(index)
    }
    function getCurIndex() {
        return list.currentIndex
    }
    function textAt(index, unused) {
        if (model && index >= 0 && index < model.count)
            return String(model.get(index).textX)
        return "【 " + Rules.text(Shell.strings, 1, "OPTIONS") + " 】"
    }
    function open() {
        if (opened)
            return
        requestToUpdateList()
        list.highlightIndex = list.currentIndex
        opened = true
        listOpened()
    }
    function close() {
        if (!opened)
            return
        opened = false
        listClosed()
    }

    Connections {
        target: button.model
        function onDataChanged() { ++button.revision }
        function onRowsInserted() { ++button.revision }
        function onRowsRemoved() { ++button.revision }
        function onModelReset() { ++button.revision }
    }

    // Focus moving between the field and its open list is not leaving the control; which of
    // the two holds it is settled once the focus change is over.
    function closeUnlessFocused() {
        if (!activeFocus && !list.activeFocus)
            close()
    }
    onActiveFocusChanged: if (!activeFocus) focusCheck.restart()
    // Its open list lies elsewhere on the page and must not outlive the field.
    onVisibleChanged: if (!visible) close()
    onEnabledChanged: if (!enabled) close()
    Timer {
        id: focusCheck
        interval: 0
        onTriggered: button.closeUnlessFocused()
    }

    Keys.onPressed: event => {
        if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter
                || event.key === Qt.Key_Down) {
            open()
            list.forceActiveFocus()
        } else if (event.key === Qt.Key_Escape && opened) {
            close()
        } else {
            return
        }
        event.accepted = true
    }

    Image {
        anchors.fill: parent
        source: Theme.sourceBtnFileListFrame
    }
    Rectangle {
        anchors.fill: parent
        radius: 4
        color: "transparent"
        border.width: 1
        border.color: Theme.accentColor
        opacity: fieldArea.containsMouse || button.opened ? 0.8 : 0
    }
    ShellText {
        anchors.left: parent.left
        anchors.leftMargin: 10
        anchors.right: arrow.left
        anchors.verticalCenter: parent.verticalCenter
        elide: Text.ElideRight
        text: button.currentText
    }
    ShellText {
        id: arrow
        anchors.right: parent.right
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        text: "▼"
        font.pixelSize: Theme.textSize - 2
        color: button.opened ? Theme.accentColor : Theme.textColor
    }
    MouseArea {
        id: fieldArea
        anchors.fill: parent
        hoverEnabled: true
        onClicked: {
            button.forceActiveFocus()
            if (button.opened)
                button.close()
            else
                button.open()
        }
    }
    FocusFrame {}

    ListPopup {
        owner: button
        open: button.opened
        rows: Math.floor(button.listHeight / list.rowHeight)
        rowHeight: list.rowHeight
        padding: 0
        animated: false

        FileList {
            id: list
            objectName: button.objectName + "List"
            anchors.fill: parent
            activeFocusOnTab: false
            model: button.model
            accessibleName: button.spokenName
            onListElementClicked: index => {
                button.close()
                button.forceActiveFocus()
                button.listElementClicked(index)
            }
            onActiveFocusChanged: if (!activeFocus) focusCheck.restart()
            Keys.onEscapePressed: {
                button.close()
                button.forceActiveFocus()
            }
        }
    }
}
