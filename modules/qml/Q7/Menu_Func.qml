pragma ComponentBehavior: Bound
import QtQuick
import "../basic"
import "../basic/ShellKeys.js" as ShellKeys

// The function menu: one button per page. A click on the current entry closes its page. Tab
// reaches each entry and Space or Return presses it, unless a click brought the focus there
// (see ShellEntry): a stray key must not close the page just opened. A screen reader meets
// the entries as page tabs, the current one checked.
Item {
    id: menuFunc
    property int currentIndex: -1
    property var labels: ["KEY", "MACRO", "COLOR", "SENSOR"]
    // Which string of the language list names each entry.
    readonly property var labelStrings: [74, 75, 76, 86]
    readonly property var icons: ["fnKeydefine", "fnMacro", "fnColor", "fnSensor"]
    // The last choice came from the keyboard or a screen reader, not the pointer: the focus
    // then follows into the page.
    property bool chosenByKeyboard: false

    signal indexChanged_btn(int currentIndex)

    width: 150
    height: column.height
    Accessible.role: Accessible.PageTabList
    Accessible.name: mainIten.keyTexts.pages

    function translateStrings() {
        var list = mainIten.globalSetting_stringList
        labels = labelStrings.map((k, i) => list[k] !== undefined ? list[k] : labels[i])
    }

    // The icons are bound to the skin folder and follow a skin change by themselves.
    function setSkin() {
    }

    function select(index, byKeyboard) {
        chosenByKeyboard = byKeyboard === true
        currentIndex = index === currentIndex ? -1 : index
        indexChanged_btn(currentIndex)
    }

    function focusEntry(index, byKeyboard) {
        (entries.itemAt(index) as ShellEntry).takeFocus(byKeyboard)
    }

    Column {
        id: column
        spacing: 13
        Repeater {
            id: entries
            model: 4
            delegate: ShellEntry {
                id: entry
                required property int index
                objectName: "fnEntry" + index
                width: 150
                height: 37
                readonly property bool current: menuFunc.currentIndex === entry.index

                hovered: entryMouse.containsMouse
                hoverText: ShellKeys.format(mainIten.keyTexts.pageTip,
                                            [menuFunc.labels[entry.index], ShellKeys.pageKeys[entry.index]])
                Accessible.role: Accessible.PageTab
                Accessible.name: menuFunc.labels[entry.index]
                Accessible.checkable: true
                Accessible.checked: entry.current
                Accessible.selectable: true
                Accessible.selected: entry.current
                Accessible.onPressAction: entry.accessiblePressAction()
                onTriggered: menuFunc.select(entry.index, true)

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
                    onPressed: entry.takeFocus(false)
                    onClicked: menuFunc.select(entry.index, false)
                }
            }
        }
    }
}
