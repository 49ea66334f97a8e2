import QtQuick
import "../../common"
import "../controls"

// FIRE KEY on the key page: a mouse button or a keyboard key to repeat (the side not chosen is
// dimmed), the shot count and the repeat speed. Placed at the function menu's row; `sideX` is
// where the button list and the capture field start.
Item {
    id: controls
    property int sideX: 270
    property bool mouseSide: true
    property var buttonModel: null
    property string speedText: "SPEED"
    property alias buttonList: buttonList
    property alias keyField: keyField
    property alias speed: speed
    property alias shots: shots
    // Names for screen readers.
    property string buttonName: "Fire button"
    property string keyName: "Fire key"
    property string mouseSideName: "Repeat a mouse button"
    property string keySideName: "Repeat a keyboard key"
    property string shotsName: "Shots"
    property string waitingText: "waiting for a key"

    signal sideChosen(bool mouse)
    signal buttonChosen(int item)
    signal keyCaptured(int usbCode)
    signal speedChosen(int position)
    signal shotsEdited

    RadioButton {
        objectName: "keyFireMouseSide"
        x: controls.sideX - 30
        y: 5
        width: 16
        index: 0
        isSelect: controls.mouseSide
        onClicked: controls.sideChosen(true)
        chkStr: controls.mouseSideName
        showText: false
    }
    RadioButton {
        objectName: "keyFireKeySide"
        x: controls.sideX - 30
        y: keyField.y + 4
        width: 16
        index: 1
        isSelect: !controls.mouseSide
        onClicked: controls.sideChosen(false)
        chkStr: controls.keySideName
        showText: false
    }
    KeyInput_2 {
        id: keyField
        objectName: "keyFireKey"
        accessibleName: controls.keyName
        waitingText: controls.waitingText
        x: controls.sideX
        y: buttonList.height + 8
        enabled: !controls.mouseSide
        opacity: enabled ? 1 : 0.2
        onInputComplete: code => controls.keyCaptured(code)
    }
    Caption {
        x: speed.x
        y: keyField.y + keyField.height + 20
        text: controls.speedText
    }
    Slider {
        id: speed
        objectName: "keyFireSpeed"
        x: controls.sideX - 60 - width
        y: keyField.y + keyField.height + 40
        value: 7
        accessibleName: controls.speedText
        onSliderClicked: position => controls.speedChosen(position)
    }
    Row {
        x: controls.sideX - 30
        y: speed.y + speed.height - height
        spacing: 4
        ShellText { anchors.verticalCenter: parent.verticalCenter; text: "FIRE【" }
        NumberField {
            id: shots
            objectName: "keyFireShots"
            maximum: 255
            maximumLength: 3
            fallback: 10
            accessibleName: controls.shotsName
            onEditingFinished: controls.shotsEdited()
        }
        ShellText { anchors.verticalCenter: parent.verticalCenter; text: "】times" }
    }
    DropdownList {
        id: buttonList
        objectName: "keyFireButton"
        x: controls.sideX
        model: controls.buttonModel
        accessibleName: controls.buttonName
        enabled: controls.mouseSide
        opacity: enabled ? 1 : 0.2
        onListElementClicked: item => controls.buttonChosen(item)
    }
}
