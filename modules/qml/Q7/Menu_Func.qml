pragma ComponentBehavior: Bound
import QtQuick
import "../common"

// The function menu: one button per page. A click on the current entry closes its page. Tab
// reaches each entry and Space or Return presses it, unless a click brought the focus there
// (see Button_2state): a stray key must not close the page just opened.
Item {
    id: menuFunc
    property int currentIndex: -1
    property var labels: ["KEY", "MACRO", "COLOR", "SENSOR"]
    // Which string of the language list names each entry.
    readonly property var labelStrings: [74, 75, 76, 86]
    readonly property var icons: ["fnKeydefine", "fnMacro", "fnColor", "fnSensor"]

    signal indexChanged_btn(int currentIndex)

    width: 150
    height: column.height

    function translateStrings() {
        var list = mainIten.globalSetting_stringList
        labels = labelStrings.map((k, i) => list[k] !== undefined ? list[k] : labels[i])
    }

    // The icons are bound to the skin folder and follow a skin change by themselves.
    function setSkin() {
    }

    function select(index) {
        currentIndex = index === currentIndex ? -1 : index
        indexChanged_btn(currentIndex)
    }

    Column {
        id: column
        spacing: 13
        Repeater {
            model: 4
            delegate: Item {
                id: entry
                required property int index
                objectName: "fnEntry" + index
                width: 150
                height: 37
                readonly property bool current: menuFunc.currentIndex === entry.index
                readonly property bool keyboardFocus: activeFocus && !pointerFocus
                property bool pointerFocus: false

                activeFocusOnTab: true
                onActiveFocusChanged: if (!activeFocus) pointerFocus = false
                Accessible.role: Accessible.Button
                Accessible.name: menuFunc.labels[entry.index]
                Accessible.checkable: true
                Accessible.checked: entry.current
                Accessible.onPressAction: menuFunc.select(entry.index)
                Keys.onPressed: event => {
                    if (event.key === Qt.Key_Space || event.key === Qt.Key_Return
                            || event.key === Qt.Key_Enter) {
                        if (entry.keyboardFocus)
                            menuFunc.select(entry.index)
                        event.accepted = true
                    }
                }

                Image {
                    anchors.fill: parent
                    source: entryMouse.containsMouse ? mainIten.sourceListFnBtn_1
                                                     : mainIten.sourceListFnBtn_0
                }
                Image {
                    id: icon
                    x: entry.width / 15
                    anchors.verticalCenter: parent.verticalCenter
                    source: mainIten.skinDir + "list_fn/" + menuFunc.icons[entry.index]
                            + (entry.current ? "_1.png" : "_0.png")
                }
                Text {
                    textFormat: Text.PlainText
                    x: icon.x + icon.width + 15
                    anchors.verticalCenter: parent.verticalCenter
                    anchors.verticalCenterOffset: 4
                    text: menuFunc.labels[entry.index]
                    font.bold: true
                    font.family: mainIten.globalSetting_fontFamily
                    font.pixelSize: mainIten.globalSetting_size
                    color: mainIten.globalSetting_color
                }
                MouseArea {
                    id: entryMouse
                    anchors.fill: parent
                    hoverEnabled: true
                    onPressed: {
                        entry.pointerFocus = true
                        entry.forceActiveFocus()
                    }
                    onClicked: menuFunc.select(entry.index)
                }
                FocusFrame {
                    visible: entry.keyboardFocus
                }
            }
        }
    }
}
