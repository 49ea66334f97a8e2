import QtQuick
import "../../common"
import "../controls"
import "FollowRules.js" as Rules

// The rules list: which profile goes with which application. It works on a copy of the rules
// and writes them only on SAVE; CANCEL or Escape leaves them as they were.
Rectangle {
    id: panel
    // The profile a new rule starts with (the one shown in the profile menu).
    property int defaultProfile: 1
    // The shell's, read with its other texts (the profile menu names the list from the start).
    property var texts: Rules.texts(null)
    property var rules: []
    property int noMatch: 0
    property int selected: -1
    property int newProfile: 1
    property var lastApplication: null
    property var viewState: null
    property bool saveFailed: false
    readonly property bool isOpen: visible

    function open() {
        viewState = ui_View.getFollowRules()
        rules = Rules.fromView(viewState)
        noMatch = Rules.noMatchFromView(viewState)
        lastApplication = ui_View.getFollowLastApplication()
        newProfile = Rules.validProfile(defaultProfile) ? defaultProfile : 1
        selected = rules.length > 0 ? 0 : -1
        saveFailed = false
        nameInput.text = ""
        visible = true
        // Before any other application was seen, typing a class is the way to add.
        if (addLastButton.enabled)
            addLastButton.forceActiveFocus()
        else
            nameInput.forceActiveFocus()
    }
    function close() {
        visible = false
    }
    function save() {
        if (ui_View.setFollowRules(Rules.toView(rules), noMatch))
            close()
        else
            saveFailed = true
    }

    // Applies an edit's result and gives the focus back to the same part of the row it is on.
    function apply(result, part) {
        var button = Window.activeFocusItem as TextButton
        var byKeyboard = !(button && button.pointerFocus)
        rules = result.rules
        selected = result.selected
        if (part !== "")
            Qt.callLater(focusRow, result.selected, part, byKeyboard)
    }
    // The list is rebuilt by an edit, the row that asked for it with it: the edits run here.
    function stepProfile(index, step) {
        apply({ rules: Rules.setProfile(rules, index, Rules.stepProfile(rules[index].profile, step)),
                selected: index }, "profile")
    }
    // A row shows its rule from the model and the rest from here.
    function wireRow(row) {
        row.count = Qt.binding(() => rules.length)
        row.selected = Qt.binding(() => selected === row.index)
        row.shadowed = Rules.shadowed(rules, row.index)
        row.texts = Qt.binding(() => texts)
        row.picked.connect(() => {
            selected = row.index
            showRow(row.index)
        })
        row.profileStepped.connect(step => stepProfile(row.index, step))
        row.moveRequested.connect(step => apply(Rules.move(rules, row.index, step), step < 0 ? "up" : "down"))
        row.deleteRequested.connect(() => apply(Rules.remove(rules, row.index), "delete"))
    }
    function wireChoice(choice, button) {
        button.text = Qt.binding(() => Rules.noMatchLabel(texts, choice))
        button.accessibleName = Qt.binding(() => texts.otherApps + ": " + button.text)
        button.checked = Qt.binding(() => noMatch === choice)
        button.clicked.connect(() => noMatch = choice)
    }
    function focusRow(index, part, byKeyboard) {
        var item = ruleRows.itemAt(index) as FollowRuleRow
        if (item)
            item.focusPart(part, byKeyboard)
        else
            nameInput.forceActiveFocus()
    }
    function addTyped() {
        var name = Rules.cleanName(nameInput.text)
        if (name === "")
            return
        apply(Rules.add(rules, { match: "class", name: name, profile: newProfile }), "")
        nameInput.text = ""
    }
    function showRow(index) {
        var top = index * 32
        // Rows are 30 high with 2 between them.
        if (top < list.contentY)
            list.contentY = top
        else if (top + 30 > list.contentY + list.height)
            list.contentY = top + 30 - list.height
    }

    width: 759
    height: 442
    radius: 6
    color: "#f2101317"
    border.width: 1
    border.color: mainIten.accentColor
    visible: false

    Accessible.role: Accessible.Dialog
    Accessible.name: texts.title
    Keys.onEscapePressed: close()

    // Clicks on the panel stay on it.
    MouseArea {
        anchors.fill: parent
        hoverEnabled: true
    }

    ShellText {
        x: 20
        y: 14
        text: panel.texts.title
        font.bold: true
    }
    ShellText {
        objectName: "followSource"
        anchors.right: parent.right
        anchors.rightMargin: 20
        y: 14
        text: Rules.sourceLine(panel.texts, panel.viewState)
        color: mainIten.globalSetting_color_enable
    }
    ShellText {
        objectName: "followIntro"
        x: 20
        y: 36
        width: panel.width - 40
        wrapMode: Text.Wrap
        text: panel.texts.intro
        color: mainIten.globalSetting_color_enable
    }
    ShellText {
        id: statusText
        objectName: "followStatus"
        x: 20
        y: 262
        width: panel.width - 40
        wrapMode: Text.Wrap
        text: Rules.status(panel.texts, panel.viewState, panel.saveFailed)
        color: "#ffb347"
        Accessible.role: Accessible.AlertMessage
        Accessible.name: text
    }

    Flickable {
        id: list
        objectName: "followRuleList"
        x: 20
        y: 70
        width: 719
        height: 6 * 32 - 2
        clip: true
        contentHeight: rows.height
        boundsBehavior: Flickable.StopAtBounds

        Column {
            id: rows
            spacing: 2
            Repeater {
                id: ruleRows
                model: panel.rules
                delegate: FollowRuleRow {}
                onItemAdded: (index, item) => panel.wireRow(item as FollowRuleRow)
            }
        }
    }
    ShellText {
        objectName: "followEmpty"
        x: 20
        y: 74
        width: 719
        wrapMode: Text.Wrap
        visible: panel.rules.length === 0
        text: panel.texts.empty
        color: mainIten.globalSetting_color_enable
    }

    // New rules: the application used last in one click, or a typed class name.
    Row {
        x: 20
        y: 308
        spacing: 8
        TextButton {
            id: addLastButton
            objectName: "followAddLast"
            width: 250
            text: Rules.addLastLabel(panel.texts, panel.lastApplication)
            enabled: Rules.ruleFromApplication(panel.lastApplication, 1) !== null
            onClicked: panel.apply(Rules.add(panel.rules, Rules.ruleFromApplication(panel.lastApplication,
                                                                                     panel.newProfile)), "")
        }
        Rectangle {
            width: 220
            height: 24
            radius: 3
            color: "#33ffffff"
            border.width: 1
            border.color: "#66ffffff"
            TextInput {
                id: nameInput
                objectName: "followNameInput"
                anchors.fill: parent
                anchors.leftMargin: 6
                anchors.rightMargin: 6
                verticalAlignment: TextInput.AlignVCenter
                maximumLength: Rules.maxNameLength
                activeFocusOnTab: true
                selectByMouse: true
                clip: true
                font.family: mainIten.globalSetting_fontFamily
                font.pixelSize: mainIten.globalSetting_size
                color: mainIten.globalSetting_color
                selectionColor: mainIten.accentColor
                Accessible.role: Accessible.EditableText
                Accessible.name: panel.texts.nameField
                Accessible.description: text
                onAccepted: panel.addTyped()
            }
            ShellText {
                anchors.left: parent.left
                anchors.leftMargin: 6
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 12
                elide: Text.ElideRight
                visible: nameInput.text === "" && !nameInput.activeFocus
                text: panel.texts.nameField
                color: mainIten.globalSetting_color_disable
            }
            FocusFrame { target: nameInput }
        }
        TextButton {
            id: newProfileButton
            objectName: "followNewProfile"
            width: 56
            text: Rules.profileLabel(panel.newProfile)
            accessibleName: panel.texts.profile + " " + text
            onClicked: panel.newProfile = Rules.stepProfile(panel.newProfile, 1)
            Keys.onLeftPressed: panel.newProfile = Rules.stepProfile(panel.newProfile, -1)
            Keys.onRightPressed: panel.newProfile = Rules.stepProfile(panel.newProfile, 1)
        }
        TextButton {
            objectName: "followAdd"
            width: 72
            text: panel.texts.add
            accessibleName: text + " " + nameInput.text
            enabled: Rules.cleanName(nameInput.text) !== ""
            onClicked: panel.addTyped()
        }
    }

    // What happens in every application no rule names.
    ShellText {
        x: 20
        y: 356
        text: panel.texts.otherApps
    }
    Row {
        x: 230
        y: 352
        spacing: 6
        Repeater {
            model: Rules.profileCount + 1
            delegate: TextButton {
                required property int index
                objectName: "followNoMatch" + index
                width: index === 0 ? 70 : 50
            }
            onItemAdded: (index, item) => panel.wireChoice(index, item as TextButton)
        }
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 20
        y: 398
        spacing: 10
        TextButton {
            objectName: "followSave"
            width: 90
            text: panel.texts.save
            onClicked: panel.save()
        }
        TextButton {
            objectName: "followCancel"
            width: 90
            text: panel.texts.cancel
            onClicked: panel.close()
        }
    }
}
