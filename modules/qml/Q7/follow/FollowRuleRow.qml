import QtQuick
import "../../common"
import "../controls"
import "FollowRules.js" as Rules

// One rule of the rules list: its place, the name it matches, the profile it picks (a click or
// Left/Right steps it), and buttons to move it up or down or delete it.
Item {
    id: row
    required property int index
    // The rule: {match, name, profile}.
    required property var modelData
    readonly property string name: modelData.name
    readonly property string match: modelData.match
    readonly property int profile: modelData.profile
    property int count: 1
    property bool selected: false
    property bool shadowed: false
    property var texts: Rules.texts(null)
    readonly property bool hasFocus: profileButton.activeFocus || upButton.activeFocus
                                     || downButton.activeFocus || deleteButton.activeFocus

    signal profileStepped(int step)
    signal moveRequested(int step)
    signal deleteRequested
    signal picked

    // After the list was rebuilt the same part of the row takes the focus again, the way it
    // had it: after a click Space must not move the rule a second time.
    function focusPart(part, byKeyboard) {
        var target = part === "up" && upButton.enabled ? upButton
                   : part === "down" && downButton.enabled ? downButton
                   : part === "delete" ? deleteButton
                   : part === "profile" ? profileButton
                   : upButton.enabled ? upButton : downButton.enabled ? downButton : deleteButton
        target.takeFocus(byKeyboard)
    }
    function focusedPart() {
        return profileButton.activeFocus ? "profile" : upButton.activeFocus ? "up"
             : downButton.activeFocus ? "down" : deleteButton.activeFocus ? "delete" : ""
    }

    objectName: "followRule" + index
    width: 719
    height: 30
    onHasFocusChanged: if (hasFocus) picked()

    Rectangle {
        anchors.fill: parent
        radius: 3
        color: row.selected ? "#26ffffff" : "transparent"
    }
    MouseArea {
        anchors.fill: parent
        onClicked: row.picked()
    }

    ShellText {
        x: 6
        anchors.verticalCenter: parent.verticalCenter
        width: 26
        text: String(row.index + 1)
        color: mainIten.globalSetting_color_enable
    }
    ShellText {
        id: nameText
        objectName: "followRuleName" + row.index
        x: 36
        anchors.verticalCenter: parent.verticalCenter
        width: 300
        elide: Text.ElideRight
        text: row.name
        // A rule below another for the same name never matches: shown faint.
        opacity: row.shadowed ? 0.45 : 1
        font.strikeout: row.shadowed
    }
    ShellText {
        x: 344
        anchors.verticalCenter: parent.verticalCenter
        width: 96
        elide: Text.ElideRight
        text: row.match === "executable" ? row.texts.executable : row.texts["class"]
        color: mainIten.globalSetting_color_enable
    }
    Row {
        x: 446
        anchors.verticalCenter: parent.verticalCenter
        spacing: 6
        TextButton {
            id: profileButton
            objectName: "followRuleProfile" + row.index
            width: 56
            text: Rules.profileLabel(row.profile)
            accessibleName: Rules.format(row.texts.ruleName, [row.index + 1, row.name, text])
            onClicked: row.profileStepped(1)
            Keys.onLeftPressed: row.profileStepped(-1)
            Keys.onRightPressed: row.profileStepped(1)
        }
        TextButton {
            id: upButton
            objectName: "followRuleUp" + row.index
            width: 58
            text: row.texts.up
            accessibleName: text + " " + row.name
            enabled: row.index > 0
            onClicked: row.moveRequested(-1)
        }
        TextButton {
            id: downButton
            objectName: "followRuleDown" + row.index
            width: 64
            text: row.texts.down
            accessibleName: text + " " + row.name
            enabled: row.index < row.count - 1
            onClicked: row.moveRequested(1)
        }
        TextButton {
            id: deleteButton
            objectName: "followRuleDelete" + row.index
            width: 72
            text: row.texts["delete"]
            accessibleName: text + " " + row.name
            onClicked: row.deleteRequested()
        }
    }
}
