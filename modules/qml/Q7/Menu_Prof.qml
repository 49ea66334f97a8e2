import QtQuick

// The profile column at the right edge. Entry 0 holds device-wide values and is never offered.
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

    function openMenu(index, entryItem) {
        menuIndex = index
        contextMenu.y = entryItem.mapToItem(menuProf, 0, entryItem.height / 2).y
                        - contextMenu.height / 2
        fadeOut.stop()
        fadeIn.restart()
        menuOpened()
    }

    function closeMenu() {
        if (contextMenu.opacity > 0 && !fadeOut.running) {
            fadeIn.stop()
            fadeOut.restart()
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
            model: 6
            delegate: Item {
                id: entry
                objectName: "pfEntry" + index
                width: 52
                height: 37
                visible: index > 0
                readonly property bool current: menuProf.currentIndex === index

                Image {
                    anchors.fill: parent
                    source: entry.current || entryMouse.containsMouse ? mainIten.sourceFW1
                                                                       : mainIten.sourceFW0
                }
                Text {
                    textFormat: Text.PlainText
                    anchors.centerIn: parent
                    text: "P" + (index < 10 ? "0" : "") + index
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
                    onClicked: mouse => {
                        if (mouse.button === Qt.RightButton)
                            menuProf.openMenu(index, entry)
                        else
                            menuProf.select(index)
                    }
                }
            }
        }
    }

    // The context menu opens to the left of the column, beside the entry it was opened on.
    Rectangle {
        id: contextMenu
        objectName: "pfContextMenu"
        x: -width - 6
        width: 110
        height: menuColumn.height + 12
        radius: 4
        color: "#e6121419"
        border.color: mainIten.accentColor
        border.width: 1
        opacity: 0
        visible: opacity > 0
        // A menu on its way out takes no second choice.
        enabled: !fadeOut.running

        Column {
            id: menuColumn
            x: 6
            y: 6
            Repeater {
                model: 5
                delegate: Rectangle {
                    objectName: "pfMenuItem" + index
                    width: contextMenu.width - 12
                    height: 26
                    radius: 3
                    color: itemMouse.containsMouse ? Qt.rgba(mainIten.accentColor.r,
                                                             mainIten.accentColor.g,
                                                             mainIten.accentColor.b, 0.25)
                                                   : "transparent"
                    Text {
                        textFormat: Text.PlainText
                        anchors.verticalCenter: parent.verticalCenter
                        x: 10
                        text: index < 4 ? menuProf.menuLabels[index] : menuProf.rulesLabel
                        font.family: mainIten.globalSetting_fontFamily
                        font.pixelSize: mainIten.globalSetting_size
                        color: itemMouse.containsMouse ? mainIten.globalSetting_color
                                                       : mainIten.globalSetting_color_enable
                    }
                    MouseArea {
                        id: itemMouse
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: menuProf.menuAction(index)
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
