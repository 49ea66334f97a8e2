pragma ComponentBehavior: Bound
import QtQuick
import "ControlRules.js" as Rules

// Eight stage buttons (the DPI levels), each with a "▼" under it that opens a menu of values in
// three columns below that stage, or above it where the page has no room below. A stage at or
// beyond maxStage is hidden; a stage whose value is 0 is switched off, reads "×" and cannot be
// selected.
Item {
    id: group
    property var valueForIndex: [0, 0, 0, 0, 0, 0, 0, 0]
    property var valueForMenuIndex: []
    property int menuCounter: 18
    property int maxStage: 8
    property int currentIndex: 1
    // The stage whose menu is open, -1 when none is.
    property int menuStage: -1
    property int menuHighlight: -1
    property string accessibleName: ""
    // Names for screen readers, %1 the stage's number and %2 its value; the page gives them in
    // the user's language.
    property string stageText: "Stage %1: %2 DPI"
    property string stageOffText: "Stage %1: off"
    property string stageMenuText: "Stage %1: choose DPI"
    property string entryText: "%1 DPI"
    readonly property int count: 8
    readonly property int stageWidth: width / count
    readonly property int menuRows: Math.ceil(menuCounter / 3)

    signal clicked(int index)
    signal valueChanged(int index, int value)

    implicitWidth: base.implicitWidth > 0 ? base.implicitWidth : 480
    implicitHeight: stageHeight + 18
    readonly property int stageHeight: base.implicitHeight > 0 ? base.implicitHeight : 30
    activeFocusOnTab: true

    function valueText(v) {
        return Number(v) > 0 ? String(v) : "×"
    }
    function stageName(index, value) {
        return Rules.named(null, "", Number(value) > 0 ? stageText : stageOffText, [index + 1, value])
    }
    function selectable(index) {
        return index >= 0 && index < Math.min(maxStage, count) && Number(valueForIndex[index]) > 0
    }
    function setCurIndex(index) {
        if (selectable(index))
            currentIndex = index
    }
    function getCurIndex() {
        return currentIndex
    }
    function select(index) {
        if (!selectable(index))
            return
        currentIndex = index
        clicked(index)
    }
    function openMenu(stage) {
        menuHighlight = Math.max(0, valueForMenuIndex.indexOf(Number(valueForIndex[stage])))
        menuStage = stage
    }
    function closeMenu() {
        menuStage = -1
    }
    // The same "▼" closes the menu it opened; another stage's "▼" moves it there.
    function toggleMenu(stage) {
        if (menuStage === stage)
            closeMenu()
        else
            openMenu(stage)
    }
    function chooseEntry(entry) {
        var stage = menuStage
        if (stage < 0 || entry < 0 || entry >= Math.min(menuCounter, valueForMenuIndex.length))
            return
        var value = Number(valueForMenuIndex[entry])
        var values = Array.from(valueForIndex)
        values[stage] = value
        valueForIndex = values
        closeMenu()
        valueChanged(stage, value)
        // Switching the selected stage off leaves the nearest stage still on selected.
        if (stage === currentIndex && !selectable(stage)) {
            var other = Rules.step(stage, -1, count, selectable)
            if (other === stage)
                other = Rules.step(stage, 1, count, selectable)
            select(other)
        }
    }

    // The focus rests on the row as a whole and the arrows move the choice, as in a list box.
    Accessible.role: Accessible.List
    Accessible.name: accessibleName

    onActiveFocusChanged: if (!activeFocus) closeMenu()
    // The open menu lies elsewhere on the page and must not outlive the group.
    onVisibleChanged: if (!visible) closeMenu()
    onEnabledChanged: if (!enabled) closeMenu()

    Keys.onPressed: event => {
        var k = event.key
        if (menuStage >= 0) {
            var last = Math.min(menuCounter, valueForMenuIndex.length) - 1
            if (k === Qt.Key_Up || k === Qt.Key_Down)
                menuHighlight = Rules.clamp(menuHighlight + (k === Qt.Key_Down ? 1 : -1), 0, last)
            else if (k === Qt.Key_Left || k === Qt.Key_Right)
                menuHighlight = Rules.clamp(menuHighlight + (k === Qt.Key_Right ? menuRows : -menuRows), 0, last)
            else if (k === Qt.Key_Return || k === Qt.Key_Enter || k === Qt.Key_Space)
                chooseEntry(menuHighlight)
            else if (k === Qt.Key_Escape)
                closeMenu()
            else
                return
        } else if (k === Qt.Key_Left || k === Qt.Key_Right) {
            var next = Rules.step(currentIndex, k === Qt.Key_Right ? 1 : -1, count, selectable)
            if (next !== currentIndex)
                select(next)
        } else if (k === Qt.Key_Return || k === Qt.Key_Enter || k === Qt.Key_Space || k === Qt.Key_Down) {
            openMenu(currentIndex)
        } else {
            return
        }
        event.accepted = true
    }

    // The track shows only the stages the mouse offers.
    Item {
        width: Math.min(group.maxStage, group.count) * group.stageWidth
        height: group.stageHeight
        clip: true
        Image {
            id: base
            width: group.width
            height: group.stageHeight
            source: Theme.sourceBtnGroup_8_BASE
        }
    }

    Repeater {
        model: group.count
        delegate: Item {
            id: stage
            required property int index
            readonly property bool current: index === group.currentIndex
            readonly property bool on: Number(group.valueForIndex[index]) > 0
            objectName: group.objectName + "Stage" + (index + 1)
            x: index * group.stageWidth
            width: group.stageWidth
            height: group.height
            visible: index < group.maxStage
            Accessible.role: Accessible.RadioButton
            Accessible.name: group.stageName(index, group.valueForIndex[index])
            Accessible.checkable: true
            Accessible.checked: current
            // Toggle and Press select the stage, as a click does.
            function accessiblePressAction() { if (group.enabled) group.select(stage.index) }
            function accessibleToggleAction() { accessiblePressAction() }

            Image {
                width: parent.width
                height: group.stageHeight
                visible: stage.current || (stage.on && stageArea.containsMouse)
                opacity: stage.current ? 1 : 0.45
                source: stage.current ? Theme.sourceBtnGroup2_FILLER_1 : Theme.sourceBtnGroup2_FILLER_0
            }
            ShellText {
                id: label
                anchors.horizontalCenter: parent.horizontalCenter
                y: (group.stageHeight - height) / 2
                text: group.valueText(group.valueForIndex[stage.index])
                font.bold: stage.current
                opacity: stage.on ? 1 : 0.45
            }
            MouseArea {
                id: stageArea
                width: parent.width
                height: group.stageHeight
                hoverEnabled: true
                onClicked: {
                    group.forceActiveFocus()
                    group.select(stage.index)
                }
            }
            Item {
                objectName: group.objectName + "Stage" + (stage.index + 1) + "Menu"
                y: group.stageHeight
                width: parent.width
                height: group.height - group.stageHeight
                Accessible.role: Accessible.Button
                Accessible.name: Rules.named(null, "", group.stageMenuText, [stage.index + 1])
                Accessible.description: label.text
                // Press opens the stage's menu, or closes it again, as the "▼" does.
                function accessiblePressAction() {
                    if (!group.enabled)
                        return
                    group.forceActiveFocus()
                    group.toggleMenu(stage.index)
                }
                ShellText {
                    anchors.centerIn: parent
                    text: "▼"
                    font.pixelSize: Math.max(8, Theme.textSize - 3)
                    color: group.menuStage === stage.index || arrowArea.containsMouse
                           ? Theme.accentColor : Theme.textColor
                    opacity: group.menuStage === stage.index || arrowArea.containsMouse ? 1 : 0.6
                }
                MouseArea {
                    id: arrowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: {
                        group.forceActiveFocus()
                        group.toggleMenu(stage.index)
                    }
                }
            }
        }
    }

    ListPopup {
        id: menu
        objectName: group.objectName + "Menu"
        readonly property int columnWidth: 66
        owner: group
        open: group.menuStage >= 0
        rows: group.menuRows
        rowHeight: 22
        padding: 8
        listWidth: 3 * columnWidth + 8
        // Under its stage, kept inside the group's width where the page allows.
        listX: Rules.clamp(group.menuStage * group.stageWidth + (group.stageWidth - listWidth) / 2, 0,
                           Math.max(0, group.width - listWidth))
        animated: false
        // Another stage's arrow moves the open menu there.
        onListXChanged: if (open) place()

        Accessible.role: Accessible.PopupMenu
        Accessible.name: group.menuStage >= 0 ? Rules.named(null, "", group.stageMenuText, [group.menuStage + 1]) : ""
        Rectangle {
            anchors.fill: parent
            radius: 4
            color: "#f2161a21"
            border.width: 1
            border.color: Qt.darker(Theme.accentColor, 1.6)
        }
        Flickable {
            anchors.fill: parent
            anchors.margins: 4
            clip: true
            contentHeight: group.menuRows * menu.rowHeight
            boundsBehavior: Flickable.StopAtBounds

            Repeater {
                model: Math.min(group.menuCounter, group.valueForMenuIndex.length)
                delegate: Rectangle {
                    id: entry
                    required property int index
                    readonly property int value: Number(group.valueForMenuIndex[index])
                    objectName: group.objectName + "MenuEntry" + index
                    x: Math.floor(index / group.menuRows) * menu.columnWidth
                    y: (index % group.menuRows) * menu.rowHeight
                    width: menu.columnWidth - 2
                    height: menu.rowHeight - 2
                    radius: 3
                    color: entryArea.containsMouse || index === group.menuHighlight ? Qt.rgba(1, 1, 1, 0.10)
                                                                                  : "transparent"
                    Accessible.role: Accessible.MenuItem
                    Accessible.name: entry.value > 0 ? Rules.named(null, "", group.entryText, [entry.value])
                                                     : entryText.text
                    Accessible.selectable: true
                    Accessible.selected: group.menuStage >= 0
                                         && entry.value === Number(group.valueForIndex[group.menuStage])
                    Accessible.onPressAction: group.chooseEntry(entry.index)
                    ShellText {
                        id: entryText
                        anchors.centerIn: parent
                        text: group.valueText(entry.value)
                        color: group.menuStage >= 0 && entry.value === Number(group.valueForIndex[group.menuStage])
                               ? Theme.accentColor : Theme.textColor
                    }
                    MouseArea {
                        id: entryArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: group.chooseEntry(entry.index)
                    }
                }
            }
        }
    }
    FocusFrame {}
}
