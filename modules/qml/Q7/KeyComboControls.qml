import QtQuick
import "../common"

// COMBO KEY on the key page: a modifier and two keys, side by side.
Row {
    id: combo
    property var modifierModel: null
    property alias modifier: modifier
    property alias key1: key1
    property alias key2: key2
    signal changed

    spacing: 13
    DropdownList {
        id: modifier
        objectName: "keyComboModifier"
        model: combo.modifierModel
        onListElementClicked: combo.changed()
    }
    KeyInput_2 {
        id: key1
        objectName: "keyComboKey1"
        onInputComplete: combo.changed()
    }
    KeyInput_2 {
        id: key2
        objectName: "keyComboKey2"
        onInputComplete: combo.changed()
    }
}
