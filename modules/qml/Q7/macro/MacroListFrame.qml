import QtQuick
import "../../common"

// One list of the macro page in its frame: the header bar with its title and buttons at its
// right end, and the row list directly below it.
Item {
    id: frame
    property string title: ""
    property int listWidth: 141
    property int listHeight: 198
    readonly property alias list: rows
    property alias model: rows.model
    property alias listName: rows.objectName
    // The header's buttons, right-aligned.
    default property alias buttons: buttonRow.data
    property bool listEnabled: true

    signal rowClicked(int index)
    signal rowRightClicked(int row)
    signal renamed(string oldName, string newName)
    signal deletePressed

    width: listWidth + 2
    height: 3 + 21 + listHeight

    Image {
        width: frame.width
        height: 27
        source: mainIten.sourceBtnFileListFrame
    }
    Rectangle {
        id: header
        x: 1
        y: 3
        width: frame.listWidth
        height: 21
        color: Qt.rgba(0, 0, 0, 0.5)
        ShellText {
            anchors.left: parent.left
            anchors.leftMargin: 6
            anchors.verticalCenter: parent.verticalCenter
            text: frame.title
            font.bold: true
        }
        Row {
            id: buttonRow
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            spacing: 2
        }
    }
    FileList {
        id: rows
        x: 1
        y: header.y + header.height
        width: frame.listWidth
        height: frame.listHeight
        enabled: frame.listEnabled
        opacity: enabled ? 1 : 0.4
        accessibleName: frame.title
        onListElementClicked: index => frame.rowClicked(index)
        onListElementRightBtnClicked: row => frame.rowRightClicked(row)
        onEditFileName_completed: (oldName, newName) => frame.renamed(oldName, newName)
        Keys.onDeletePressed: frame.deletePressed()
    }
}
