pragma ComponentBehavior: Bound
import QtQuick
import "../common"

// The installed languages, by display name; a click, or Up and Down, chooses one at once.
Rectangle {
    id: box
    property alias model: languageList.model
    property int currentIndex: -1
    property string accessibleName: ""
    signal chosen(int index)

    width: 300
    height: 70
    radius: 3
    color: "#14161b"
    border.color: "#2e333d"

    ListView {
        id: languageList
        objectName: "languageList"
        anchors.fill: parent
        anchors.margins: 2
        clip: true
        currentIndex: box.currentIndex
        boundsBehavior: Flickable.StopAtBounds
        activeFocusOnTab: true
        // The choice is the page's: the keys ask for it instead of moving the list's own index.
        keyNavigationEnabled: false
        Keys.onUpPressed: if (box.currentIndex > 0) box.chosen(box.currentIndex - 1)
        Keys.onDownPressed: if (box.currentIndex < count - 1) box.chosen(box.currentIndex + 1)
        Accessible.role: Accessible.List
        Accessible.name: box.accessibleName
        delegate: Rectangle {
            id: row
            required property int index
            required property string name
            width: languageList.width
            height: 21
            Accessible.role: Accessible.ListItem
            Accessible.name: row.name
            Accessible.selectable: true
            Accessible.selected: row.index === box.currentIndex
            Accessible.onPressAction: box.chosen(row.index)
            color: index === box.currentIndex
                   ? Qt.rgba(mainIten.accentColor.r, mainIten.accentColor.g,
                             mainIten.accentColor.b, 0.22)
                   : "transparent"
            ShellText {
                x: 8
                anchors.verticalCenter: parent.verticalCenter
                text: row.name
                color: row.index === box.currentIndex ? mainIten.globalSetting_color
                                                      : mainIten.globalSetting_color_enable
            }
            MouseArea {
                anchors.fill: parent
                onClicked: box.chosen(row.index)
            }
        }
    }
    FocusFrame {
        target: languageList
    }
}
