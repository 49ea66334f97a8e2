pragma ComponentBehavior: Bound
import QtQuick

// A scrolling list of rows, each with a text on the left (textX) and one on the right (textR),
// and a scroll bar. A left click makes a row current, or clears the current row when it was the
// current one; a right click asks for the row's menu. A row's text can be edited in place.
// By keyboard: Up/Down/Home/End move the highlight, Space/Return act as a left click on it,
// the Menu key or Shift+F10 as a right click.
Item {
    id: fileList
    // A ListModel whose rows carry textX and textR.
    property var model: null
    property int currentIndex: -1
    property int highlightIndex: -1
    property int rowHeight: 20
    // The row whose text is being edited, -1 while none is.
    property int editingRow: -1
    // From the model itself: the view's own count follows only once it has laid the rows out.
    readonly property int count: model ? model.count : 0
    property alias contentY: view.contentY

    signal listElementClicked(int index)
    signal listElementRightBtnClicked(int index)
    signal editFileName_completed(string oldName, string newName)

    implicitWidth: 141
    implicitHeight: 198
    activeFocusOnTab: true
    clip: true

    // What the list holds (its header), for screen readers; the current row is the selected one.
    property string accessibleName: ""

    Accessible.role: Accessible.List
    Accessible.name: accessibleName

    function setCurIndex(index) {
        currentIndex = index >= 0 && index < count ? index : -1
        if (currentIndex >= 0)
            view.positionViewAtIndex(currentIndex, ListView.Contain)
    }
    function getCurIndex() {
        return currentIndex
    }

    // The left click of a row: it becomes current, or the current row is cleared.
    function leftClick(row) {
        if (row < 0 || row >= count)
            return
        highlightIndex = row
        currentIndex = row === currentIndex ? -1 : row
        listElementClicked(currentIndex)
    }

    // Makes the row's text editable with all of it selected. Return or Enter keeps the new text
    // and reports it; leaving the field any other way (or an empty text) keeps the old one.
    function editFileName(row) {
        if (row < 0 || row >= count)
            return
        view.positionViewAtIndex(row, ListView.Contain)
        editingRow = row
    }
    function finishEdit(row, newName) {
        if (editingRow !== row)
            return
        editingRow = -1
        var oldName = String(model.get(row).textX)
        fileList.forceActiveFocus()
        if (newName === "")
            return
        model.setProperty(row, "textX", newName)
        editFileName_completed(oldName, newName)
    }
    function cancelEdit(row) {
        if (editingRow === row)
            editingRow = -1
    }

    Keys.onPressed: event => {
        if (count === 0)
            return
        var start = highlightIndex >= 0 ? highlightIndex : currentIndex
        if (event.key === Qt.Key_Down || event.key === Qt.Key_Up) {
            var delta = event.key === Qt.Key_Down ? 1 : -1
            highlightIndex = Math.min(Math.max(start + delta, 0), count - 1)
        } else if (event.key === Qt.Key_Home) {
            highlightIndex = 0
        } else if (event.key === Qt.Key_End) {
            highlightIndex = count - 1
        } else if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            leftClick(start >= 0 ? start : 0)
        } else if (event.key === Qt.Key_Menu || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier))) {
            if (start >= 0)
                listElementRightBtnClicked(start)
        } else {
            return
        }
        view.positionViewAtIndex(Math.max(highlightIndex, 0), ListView.Contain)
        event.accepted = true
    }

    Image {
        anchors.fill: parent
        source: Theme.sourceFilelist
    }

    ListView {
        id: view
        anchors.fill: parent
        anchors.rightMargin: scrollBar.width + 2
        model: fileList.model
        boundsBehavior: Flickable.StopAtBounds
        clip: true
        delegate: Rectangle {
            id: row
            required property int index
            required property string textX
            required property string textR
            // A row being destroyed has index -1, like "no row being edited".
            readonly property bool editing: index >= 0 && fileList.editingRow === index
            objectName: fileList.objectName + "Row" + index
            width: view.width
            height: fileList.rowHeight
            color: index === fileList.currentIndex ? Qt.rgba(1, 1, 1, 0.16)
                   : rowArea.containsMouse || (fileList.activeFocus && index === fileList.highlightIndex)
                     ? Qt.rgba(1, 1, 1, 0.08) : "transparent"
            Accessible.role: Accessible.ListItem
            Accessible.name: (textX + " " + textR.trim()).trim()
            Accessible.selectable: true
            Accessible.selected: index === fileList.currentIndex
            // Press acts as a left click: the row becomes current, or the current one is cleared.
            Accessible.onPressAction: if (fileList.enabled) fileList.leftClick(index)

            ShellText {
                id: leftText
                anchors.left: parent.left
                anchors.leftMargin: 6
                anchors.right: rightText.left
                anchors.rightMargin: 4
                anchors.verticalCenter: parent.verticalCenter
                elide: Text.ElideRight
                visible: !row.editing
                text: row.textX
                color: row.index === fileList.currentIndex ? Theme.accentColor : Theme.textColor
            }
            ShellText {
                id: rightText
                anchors.right: parent.right
                anchors.rightMargin: 4
                anchors.verticalCenter: parent.verticalCenter
                text: row.textR.trim()
                opacity: 0.7
            }
            MouseArea {
                id: rowArea
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: mouse => {
                    fileList.forceActiveFocus()
                    if (mouse.button === Qt.RightButton) {
                        fileList.highlightIndex = row.index
                        fileList.listElementRightBtnClicked(row.index)
                    } else {
                        fileList.leftClick(row.index)
                    }
                }
            }
            TextInput {
                id: editor
                objectName: row.editing ? fileList.objectName + "Editor" : ""
                anchors.fill: leftText
                visible: row.editing
                enabled: row.editing
                font.family: Theme.fontFamily
                font.pixelSize: Theme.textSize
                color: Theme.textColor
                selectionColor: Theme.accentColor
                verticalAlignment: TextInput.AlignVCenter
                clip: true
                Accessible.role: Accessible.EditableText
                Accessible.name: text
                Accessible.editable: true
                Keys.onReturnPressed: fileList.finishEdit(row.index, text)
                Keys.onEnterPressed: fileList.finishEdit(row.index, text)
                Keys.onEscapePressed: fileList.cancelEdit(row.index)
                onActiveFocusChanged: if (!activeFocus) fileList.cancelEdit(row.index)
            }
            onEditingChanged: {
                if (!editing)
                    return
                editor.text = textX
                editor.selectAll()
                editor.forceActiveFocus()
            }
        }
    }

    // The scroll bar: a track with a thumb the size of the visible part, dragged by the mouse.
    Rectangle {
        id: scrollBar
        objectName: fileList.objectName + "ScrollBar"
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.margins: 2
        width: 6
        radius: 3
        color: Qt.rgba(1, 1, 1, 0.08)
        visible: view.contentHeight > view.height
        Rectangle {
            id: thumb
            width: parent.width
            radius: 3
            color: thumbArea.pressed ? Theme.accentColor : Qt.rgba(1, 1, 1, 0.35)
            height: Math.max(12, view.visibleArea.heightRatio * scrollBar.height)
            y: view.visibleArea.yPosition * scrollBar.height
        }
        MouseArea {
            id: thumbArea
            anchors.fill: parent
            function scrollTo(y) {
                var span = view.contentHeight - view.height
                var ratio = Math.min(Math.max((y - thumb.height / 2) / (scrollBar.height - thumb.height), 0), 1)
                view.contentY = ratio * span
            }
            onPressed: mouse => scrollTo(mouse.y)
            onPositionChanged: mouse => scrollTo(mouse.y)
        }
    }

    FocusFrame {}
}
