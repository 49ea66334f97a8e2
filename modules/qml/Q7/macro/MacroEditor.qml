import QtQuick
import "../../common"
import "MacroRules.js" as Rules

// The editor under the lists: the mouse-button list, the key capture field and the delay field,
// each followed 5 px to its right by its add button.
Item {
    id: editor
    // A macro is current: the add buttons work only then.
    property bool macroCurrent: false
    property int delay: Rules.defaultDelay
    property string addTip: "ADD"
    // The page's names for screen readers (NameTexts), the built-in English without them.
    property var spokenNames: null
    function named(key, fallback) {
        return spokenNames ? spokenNames.text(key, fallback) : fallback
    }
    readonly property alias mouseList: mouseList
    readonly property alias keyField: keyField
    readonly property alias delayInput: delayInput

    // Item 0..4 of the mouse-button list, a captured key code, a delay in ms.
    signal addMouse(int item)
    signal addKey(int usbCode)
    signal addDelay(int ms)

    width: 151 + 5 + 21
    height: 3 * 23 + 2 * 4

    function keyEvent(isDown, usbCode) {
        keyField.keyEvent(isDown, usbCode)
    }
    // Return in the number part, and the add button before it adds: at least 10 ms; the field
    // shows the value taken.
    function commitDelay() {
        delay = Rules.delayFrom(delayInput.text, delay)
        delayInput.text = String(delay)
    }

    ListModel {
        id: mouseItems
        ListElement { textX: "MOUSE【 LEFT 】" }
        ListElement { textX: "MOUSE【 RIGHT 】" }
        ListElement { textX: "MOUSE【 MIDDLE 】" }
        ListElement { textX: "MOUSE【 BACKWARD 】" }
        ListElement { textX: "MOUSE【 FORWARD 】" }
    }

    DropdownList {
        id: mouseList
        objectName: "macroMouseButton"
        width: 151
        height: 23
        model: mouseItems
        defaultIndex: 0
        accessibleName: editor.named("mouseButton", "Mouse button")
    }
    MacroButton {
        objectName: "macroAddMouse"
        x: mouseList.width + 5
        y: 1
        source0: mainIten.sourceAdd0
        source1: mainIten.sourceAdd1
        tip: editor.addTip + " " + mouseList.currentText
        enabled: editor.macroCurrent && mouseList.currentIndex >= 0
        onClicked: editor.addMouse(mouseList.currentIndex)
    }

    KeyInput_2 {
        id: keyField
        objectName: "macroKeyInput"
        y: 27
        accessibleName: editor.named("key", "Key")
        waitingText: editor.named("waiting", "waiting for a key")
    }
    MacroButton {
        objectName: "macroAddKey"
        x: keyField.width + 5
        y: keyField.y + 1
        source0: mainIten.sourceAdd0
        source1: mainIten.sourceAdd1
        tip: editor.addTip + " " + keyField.shownText
        enabled: editor.macroCurrent && keyField.keyCode > 0
        onClicked: editor.addKey(keyField.keyCode)
    }

    Item {
        id: delayField
        objectName: "macroDelay"
        y: 54
        width: 151
        height: 23
        Image {
            anchors.fill: parent
            source: mainIten.sourceBtnFrame
        }
        Row {
            anchors.centerIn: parent
            ShellText {
                anchors.verticalCenter: parent.verticalCenter
                text: "DELAY【 "
            }
            TextInput {
                id: delayInput
                objectName: "macroDelayInput"
                anchors.verticalCenter: parent.verticalCenter
                width: Math.max(contentWidth, 8)
                maximumLength: Rules.delayDigits
                validator: RegularExpressionValidator { regularExpression: /[0-9]*/ }
                activeFocusOnTab: true
                selectByMouse: true
                font.family: mainIten.globalSetting_fontFamily
                font.pixelSize: mainIten.globalSetting_size
                color: activeFocus ? mainIten.accentColor : mainIten.globalSetting_color
                selectionColor: mainIten.accentColor
                text: String(editor.delay)
                Accessible.role: Accessible.EditableText
                Accessible.name: editor.named("delay", "Delay in ms")
                Accessible.editable: true
                Accessible.description: text
                // The last text within range, so a number above 65535 cannot be typed or pasted.
                property string accepted: text
                onTextChanged: {
                    if (Rules.acceptsDelayText(text))
                        accepted = text
                    else
                        text = accepted
                }
                onActiveFocusChanged: if (activeFocus) selectAll()
                Keys.onReturnPressed: editor.commitDelay()
                Keys.onEnterPressed: editor.commitDelay()
            }
            ShellText {
                anchors.verticalCenter: parent.verticalCenter
                text: " 】ms"
            }
        }
        MouseArea {
            anchors.fill: parent
            z: -1
            onClicked: delayInput.forceActiveFocus()
        }
        FocusFrame {
            visible: delayInput.activeFocus
        }
    }
    MacroButton {
        objectName: "macroAddDelay"
        x: delayField.width + 5
        y: delayField.y + 1
        source0: mainIten.sourceAdd0
        source1: mainIten.sourceAdd1
        tip: editor.addTip + " " + Rules.delayCaption(editor.delay)
        enabled: editor.macroCurrent
        onClicked: {
            editor.commitDelay()
            editor.addDelay(editor.delay)
        }
    }
}
