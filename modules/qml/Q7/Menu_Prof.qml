pragma ComponentBehavior: Bound
import QtQuick
import "../basic"
import "../basic/ShellKeys.js" as ShellKeys

// The profile column at the right edge. Entry 0 holds device-wide values and is never offered.
// Each entry is a Tab stop that Space or Return makes current; the Menu key or Shift+F10 opens
// its context menu, whose items Up and Down walk and Escape leaves. A screen reader meets the
// entries as radio buttons, the current one checked.
Item {
    id: menuProf
    property int currentIndex: 1
    // The entry the context menu was opened on.
    property int menuIndex: -1
    property var menuLabels: ["LOAD", "SAVE", "RESET", "CANCEL"]
    readonly property var menuStrings: [84, 85, 77, 78]
    // A fifth item below those four opens the rules that pick a profile by application.
    property string rulesLabel: "RULES"

    signal indexChanged_btn(int currentIndex)
    signal rulesRequested
    signal menuOpened

    width: container.width
    height: container.height
    Accessible.role: Accessible.Grouping
    Accessible.name: mainIten.keyTexts.profiles

    function initUI() {
        if (typeof ui_View.q7_82H_GetCurrentProfile === "function")
            currentIndex = ui_View.q7_82H_GetCurrentProfile()
    }

    function translateStrings() {
        var list = mainIten.globalSetting_stringList
        menuLabels = menuStrings.map((k, i) => list[k] !== undefined ? list[k] : menuLabels[i])
    }

    function select(index) {
        closeMenu()
        if (index < 1 || index > 5 || index === currentIndex)
            return
        currentIndex = index
        indexChanged_btn(index)
    }

    // A switch asked for elsewhere (a rule, the command line, a warning message) is made here,
    // as a click on the entry; the current profile follows the view's wherever it changed.
    Connections {
        target: ui_View
        function onProfileSwitchRequested(profile) { menuProf.select(profile) }
        function onCurrentProfileChanged() { menuProf.currentIndex = ui_View.currentProfile }
    }

    function focusEntry(index, byKeyboard) {
        (entryList.itemAt(index) as ShellEntry).takeFocus(byKeyboard)
    }

    // By the keyboard the focus goes to the menu's first item, and back to the entry after.
    function openMenu(index, entryItem, byKeyboard) {
        menuIndex = index
        menuByKeyboard = byKeyboard === true
        contextMenu.y = entryItem.mapToItem(menuProf, 0, entryItem.height / 2).y
                        - contextMenu.height / 2
        fadeOut.stop()
        fadeIn.restart()
        menuOpened()
        if (menuByKeyboard)
            (menuItems.itemAt(0) as Item).forceActiveFocus()
    }
    property bool menuByKeyboard: false

    // A menu still fading in closes too: a key can choose before the first frame shows it.
    function closeMenu() {
        if (contextMenu.visible && !fadeOut.running) {
            // Asked before the fade-out disables the items, which takes their focus away.
            var focusInside = ShellKeys.inside(contextMenu.Window.activeFocusItem, contextMenu)
            fadeIn.stop()
            fadeOut.restart()
            if (menuByKeyboard && focusInside)
                focusEntry(menuIndex, true)
        }
    }

    // 0 LOAD, 1 SAVE, 2 RESET, 3 CANCEL, 4 the rules.
    function menuAction(action) {
        var index = menuIndex
        closeMenu()
        if (action === 4)
            rulesRequested()
        if (action === 0)
            ui_View.q7_loadProfile(index)
        else if (action === 1)
            ui_View.q7_saveProfile(index)
        else if (action === 2)
            ui_View.q7_resetProfile(index)
        // The pages show the current profile; only then do they need the new values.
        if ((action === 0 || action === 2) && index === currentIndex)
            indexChanged_btn(index)
    }

    onEnabledChanged: if (!enabled) closeMenu()

    Image {
        id: container
        source: mainIten.sourceListPfContainer
    }

    Column {
        id: entries
        x: (container.width - 52) / 2
        y: 27
        spacing: 13
        Repeater {
            id: entryList
            model: 6
            delegate: ShellEntry {
                id: entry
                required property int index
                objectName: "pfEntry" + entry.index
                width: 52
                height: 37
                visible: entry.index > 0
                readonly property bool current: menuProf.currentIndex === entry.index
                readonly property string label: ShellKeys.profileLabel(entry.index)
                hovered: entryMouse.containsMouse
                hoverText: ShellKeys.format(mainIten.keyTexts.profileTip,
                                            [label, ShellKeys.previousProfileKey,
                                             ShellKeys.nextProfileKey, ShellKeys.profileMenuKey])
                Accessible.role: Accessible.RadioButton
                Accessible.name: ShellKeys.format(mainIten.keyTexts.profile, [entry.index])
                Accessible.checkable: true
                Accessible.checked: entry.current
                onTriggered: menuProf.select(entry.index)
                onMenuRequested: menuProf.openMenu(entry.index, entry, true)

                Image {
                    anchors.fill: parent
                    source: entry.current || entryMouse.containsMouse ? mainIten.sourceFW1
                                                                       : mainIten.sourceFW0
                }
                Text {
                    textFormat: Text.PlainText
                    anchors.centerIn: parent
                    text: entry.label
                    font.bold: entry.current
                    font.family: mainIten.globalSetting_fontFamily
                    font.pixelSize: mainIten.globalSetting_size
                    color: entry.current ? mainIten.globalSetting_color
                                         : mainIten.globalSetting_color_enable
                }
                MouseArea {
                    id: entryMouse
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onPressed: entry.takeFocus(false)
                    onClicked: mouse => {
                        if (mouse.button === Qt.RightButton)
                            menuProf.openMenu(entry.index, entry, false)
                        else
                            menuProf.select(entry.index)
                    }
                }
            }
        }
    }

    // The context menu opens to the left of the column, beside the entry it was opened on.
    Rectangle {
        id: contextMenu
        objectName: "pfContextMenu"
        Accessible.role: Accessible.PopupMenu
        Accessible.name: ShellKeys.format(mainIten.keyTexts.profileMenu, [ShellKeys.profileLabel(menuProf.menuIndex)])
        x: -width - 6
        width: 110
        height: menuColumn.height + 12
        radius: 4
        color: "#e6121419"
        border.color: mainIten.accentColor
        border.width: 1
        opacity: 0
        // Shown from the start of its fade-in, so that the keyboard can enter it at once.
        visible: opacity > 0 || fadeIn.running
        // A menu on its way out takes no second choice.
        enabled: !fadeOut.running

        Column {
            id: menuColumn
            x: 6
            y: 6
            Repeater {
                id: menuItems
                model: 5
                delegate: Rectangle {
                    id: menuItem
                    required property int index
                    readonly property bool lit: itemMouse.containsMouse || activeFocus
                    objectName: "pfMenuItem" + index
                    width: contextMenu.width - 12
                    height: 26
                    radius: 3
                    color: lit ? Qt.rgba(mainIten.accentColor.r, mainIten.accentColor.g,
                                         mainIten.accentColor.b, 0.25)
                               : "transparent"
                    border.width: activeFocus ? 1 : 0
                    border.color: mainIten.accentColor
                    Accessible.role: Accessible.MenuItem
                    Accessible.name: itemText.text
                    Accessible.onPressAction: menuProf.menuAction(index)
                    // The menu keeps the keys while open: Up and Down go round its items.
                    Keys.onPressed: event => {
                        var step = event.key === Qt.Key_Down || event.key === Qt.Key_Tab ? 1
                                 : event.key === Qt.Key_Up || event.key === Qt.Key_Backtab ? 4 : 0
                        if (step !== 0) {
                            (menuItems.itemAt((index + step) % 5) as Item).forceActiveFocus()
                        } else if (event.key === Qt.Key_Space || event.key === Qt.Key_Return
                                   || event.key === Qt.Key_Enter) {
                            menuProf.menuAction(index)
                        } else if (event.key === Qt.Key_Escape) {
                            menuProf.closeMenu()
                        } else {
                            return
                        }
                        event.accepted = true
                    }
                    Text {
                        id: itemText
                        textFormat: Text.PlainText
                        anchors.verticalCenter: parent.verticalCenter
                        x: 10
                        text: menuItem.index < 4 ? menuProf.menuLabels[menuItem.index] : menuProf.rulesLabel
                        font.family: mainIten.globalSetting_fontFamily
                        font.pixelSize: mainIten.globalSetting_size
                        color: menuItem.lit ? mainIten.globalSetting_color
                                            : mainIten.globalSetting_color_enable
                    }
                    MouseArea {
                        id: itemMouse
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: menuProf.menuAction(menuItem.index)
                    }
                }
            }
        }

        NumberAnimation {
            id: fadeIn
            target: contextMenu; property: "opacity"; to: 1
            duration: 1.5 * mainIten.animation_speed
        }
        NumberAnimation {
            id: fadeOut
            target: contextMenu; property: "opacity"; to: 0
            duration: mainIten.animation_speed
        }
    }
}
