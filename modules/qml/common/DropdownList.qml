pragma ComponentBehavior: Bound
import QtQuick
import "ControlRules.js" as Rules

// A drop-down list: a field with the current item's text and a "▼" mark, and the list of items
// (list-model rows with a text textX) that a click opens below it, or above where the page has
// no room below. Closed, the arrow keys step through the items directly; open, they move the
// highlight and Return chooses it.
Item {
    id: dropdown
    // A ListModel whose rows carry textX.
    property var model: null
    // The item current from the start, -1 for none.
    property int defaultIndex: -1
    property int currentIndex: defaultIndex
    property bool opened: false
    property int highlightIndex: -1
    property int rowHeight: 24
    property int maxVisibleRows: 8
    readonly property int count: rows.count
    readonly property string currentText: textAt(currentIndex, revision)

    // Bumped on every change of the model, so the field's text follows edits of its rows.
    property int revision: 0

    signal listOpened
    signal listClosed
    signal listElementClicked(int index)

    implicitWidth: sliderImage.implicitWidth > 0 ? sliderImage.implicitWidth : 210
    implicitHeight: 26
    activeFocusOnTab: true

    // What the list chooses (the caption the page shows beside it, or what a sighted user
    // reads from its place), told to screen readers with the current text as its value.
    property string accessibleName: ""
    readonly property string spokenName: accessibleName !== "" ? accessibleName : currentText

    Accessible.role: Accessible.ComboBox
    Accessible.name: spokenName
    // Its value; none while no item is chosen (the field then shows a prompt).
    Accessible.description: currentIndex >= 0 && currentIndex < count ? currentText : ""
    Accessible.onPressAction: if (enabled) opened ? close() : open()

    function setCurIndex(index) {
        currentIndex = index >= 0 && index < count ? index : -1
    }
    function getCurIndex() {
        return currentIndex
    }
    function textAt(index, unused) {
        if (model && index >= 0 && index < model.count)
            return String(model.get(index).textX)
        return "【 " + Rules.text(Shell.strings, 1, "OPTIONS") + " 】"
    }
    function open() {
        if (opened)
            return
        highlightIndex = currentIndex
        opened = true
        // A list shortened to fit opens with its current row in view.
        var shown = popup.shownRows * rowHeight
        flick.contentY = Math.max(0, Math.min((highlightIndex + 1) * rowHeight - shown, count * rowHeight - shown))
        listOpened()
    }
    function close() {
        if (!opened)
            return
        opened = false
        listClosed()
    }
    function choose(index) {
        if (index < 0 || index >= count)
            return
        currentIndex = index
        close()
        listElementClicked(index)
    }
    function moveHighlight(delta) {
        highlightIndex = Rules.clamp(highlightIndex + delta, 0, count - 1)
        var top = highlightIndex * rowHeight
        if (top < flick.contentY)
            flick.contentY = top
        else if (top + rowHeight > flick.contentY + flick.height)
            flick.contentY = top + rowHeight - flick.height
    }

    Connections {
        target: dropdown.model
        function onDataChanged() { ++dropdown.revision }
        function onRowsInserted() { ++dropdown.revision }
        function onRowsRemoved() { ++dropdown.revision }
        function onModelReset() { ++dropdown.revision }
    }

    onActiveFocusChanged: if (!activeFocus) close()
    // Its open list lies elsewhere on the page and must not outlive the field.
    onVisibleChanged: if (!visible) close()
    onEnabledChanged: if (!enabled) close()

    Keys.onPressed: event => {
        if (count === 0)
            return
        if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            if (!opened)
                open()
            else if (highlightIndex >= 0)
                choose(highlightIndex)
            else
                close()
        } else if (event.key === Qt.Key_Escape && opened) {
            close()
        } else if (event.key === Qt.Key_Down || event.key === Qt.Key_Up) {
            var delta = event.key === Qt.Key_Down ? 1 : -1
            if (opened)
                moveHighlight(delta)
            else if (Rules.clamp(currentIndex + delta, 0, count - 1) !== currentIndex)
                choose(Rules.clamp(currentIndex + delta, 0, count - 1))
        } else {
            return
        }
        event.accepted = true
    }

    Image {
        id: sliderImage
        visible: false
        source: Theme.sourceSlider
    }
    Image {
        id: field
        anchors.fill: parent
        source: Theme.sourceBtnFrame
    }
    Rectangle {
        anchors.fill: parent
        radius: 4
        color: "transparent"
        border.width: 1
        border.color: Theme.accentColor
        opacity: fieldArea.containsMouse || dropdown.opened ? 0.8 : 0
    }
    ShellText {
        anchors.left: parent.left
        anchors.leftMargin: 10
        anchors.right: arrow.left
        anchors.verticalCenter: parent.verticalCenter
        elide: Text.ElideRight
        text: dropdown.currentText
    }
    ShellText {
        id: arrow
        anchors.right: parent.right
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        text: "▼"
        font.pixelSize: Theme.textSize - 2
        color: dropdown.opened ? Theme.accentColor : Theme.textColor
    }
    MouseArea {
        id: fieldArea
        anchors.fill: parent
        hoverEnabled: true
        onClicked: {
            dropdown.forceActiveFocus()
            if (dropdown.opened)
                dropdown.close()
            else
                dropdown.open()
        }
    }
    FocusFrame {}

    ListPopup {
        id: popup
        objectName: dropdown.objectName + "List"
        owner: dropdown
        open: dropdown.opened
        rows: Math.min(dropdown.count, dropdown.maxVisibleRows)
        rowHeight: dropdown.rowHeight

        Rectangle {
            id: listFrame
            anchors.fill: parent
            clip: true
            Accessible.role: Accessible.List
            Accessible.name: dropdown.spokenName
            radius: 4
            color: "#f2161a21"
            border.width: 1
            border.color: Qt.darker(Theme.accentColor, 1.6)

            Flickable {
                id: flick
                anchors.fill: parent
                anchors.margins: 2
                contentHeight: column.height
                boundsBehavior: Flickable.StopAtBounds
                // A thin bar at the right shows where a longer list stands.
                Rectangle {
                    parent: listFrame
                    visible: flick.contentHeight > flick.height
                    x: listFrame.width - 5
                    y: 2 + flick.visibleArea.yPosition * (listFrame.height - 4)
                    width: 3
                    height: flick.visibleArea.heightRatio * (listFrame.height - 4)
                    radius: 1.5
                    color: Theme.accentColor
                    opacity: 0.6
                }
                Column {
                    id: column
                    width: flick.width
                    Repeater {
                        id: rows
                        model: dropdown.model
                        delegate: Rectangle {
                            id: row
                            required property int index
                            required property string textX
                            objectName: dropdown.objectName + "Item" + index
                            width: column.width
                            height: dropdown.rowHeight
                            radius: 3
                            color: rowArea.containsMouse || index === dropdown.highlightIndex
                                   ? Qt.rgba(1, 1, 1, 0.10) : "transparent"
                            Accessible.role: Accessible.ListItem
                            Accessible.name: textX
                            Accessible.selectable: true
                            Accessible.selected: index === dropdown.currentIndex
                            Accessible.onPressAction: dropdown.choose(index)
                            ShellText {
                                anchors.left: parent.left
                                anchors.leftMargin: 8
                                anchors.verticalCenter: parent.verticalCenter
                                text: row.textX
                                color: row.index === dropdown.currentIndex ? Theme.accentColor
                                                                           : Theme.textColor
                            }
                            MouseArea {
                                id: rowArea
                                anchors.fill: parent
                                hoverEnabled: true
                                onClicked: dropdown.choose(row.index)
                            }
                        }
                    }
                }
            }
        }
    }
}
