import QtQuick
import "../../common"

// COMBO KEY on the key page: a modifier and two keys, side by side.
Row {
    id: combo
    property var modifierModel: null
    property alias modifier: modifier
    property alias key1: key1
    property alias key2: key2
    // Names for screen readers.
    property string modifierName: "Modifier"
    property string key1Name: "First key"
    property string key2Name: "Second key"
    property string waitingText: "waiting for a key"
    signal changed

    spacing: 13
    DropdownList {
        id: modifier
        objectName: "keyComboModifier"
        model: combo.modifierModel
        accessibleName: combo.modifierName
        onListElementClicked: combo.changed()
    }
    KeyInput_2 {
        id: key1
        objectName: "keyComboKey1"
        accessibleName: combo.key1Name
        waitingText: combo.waitingText
        onInputComplete: combo.changed()
    }
    KeyInput_2 {
        id: key2
        objectName: "keyComboKey2"
        accessibleName: combo.key2Name
        waitingText: combo.waitingText
        onInputComplete: combo.changed()
    }
}
