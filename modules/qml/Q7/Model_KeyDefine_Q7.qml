import QtQuick
import "keys/KeyRules.js" as Rules

// The key page's model: the sixteen key entries of the current profile as the page edits them,
// their defaults, the button menu's key ids, and the mouse picture.
Item {
    id: model
    width: 102
    height: 191

    // Key id k's entry is records.get(k): keyCode0 .. keyCode3.
    property alias records: records
    // 64 numbers: the default entries of the 16 keys.
    property var keyCode_Default: []
    // Position in the button menu, -1 for none; mapping_for_keyId gives each position's key id.
    property int curKeyMatrix: -1
    property var mapping_for_keyId: Rules.builtInKeyIds.slice()
    // Rows of the button menu (textX).
    property alias buttonMenu: buttonMenu
    readonly property int selectedKeyId: curKeyMatrix >= 0 && curKeyMatrix < mapping_for_keyId.length
                                         ? mapping_for_keyId[curKeyMatrix] : -1

    function getKey(keyId) {
        return records.get(keyId)
    }
    function entry(keyId) {
        var r = records.get(keyId)
        return [r.keyCode0, r.keyCode1, r.keyCode2, r.keyCode3]
    }
    function entries() {
        return Array.from({ length: records.count }, (unused, k) => entry(k))
    }
    function setEntry(keyId, e) {
        records.set(keyId, { keyCode0: e[0], keyCode1: e[1], keyCode2: e[2], keyCode3: e[3] })
    }
    function defaultEntry(keyId) {
        return Rules.entryOf(keyCode_Default, keyId)
    }

    // Rebuilds the button menu from the product's names; returns whether its texts changed.
    function setButtonNames(layoutStrings) {
        var menu = Rules.buttonMenu(layoutStrings)
        var changed = menu.texts.length !== buttonMenu.count
        for (var i = 0; !changed && i < menu.texts.length; ++i)
            changed = buttonMenu.get(i).textX !== menu.texts[i]
        if (!changed)
            return false
        mapping_for_keyId = menu.keyIds
        buttonMenu.clear()
        for (i = 0; i < menu.texts.length; ++i)
            buttonMenu.append({ textX: menu.texts[i] })
        curKeyMatrix = menu.loaded ? Math.min(3, menu.texts.length - 1) : -1
        return true
    }

    ListModel {
        id: records
        Component.onCompleted: {
            for (var k = 0; k < 16; ++k)
                append({ keyCode0: 0, keyCode1: 0, keyCode2: 0, keyCode3: 0 })
        }
    }
    ListModel {
        id: buttonMenu
        Component.onCompleted: {
            for (var i = 0; i < Rules.builtInKeyTexts.length; ++i)
                append({ textX: Rules.builtInKeyTexts[i] })
        }
    }

    Image {
        x: -10
        y: -20
        width: 102
        height: 191
        source: mainIten.sourceModel_Q7_KeyDefine
        Accessible.role: Accessible.Graphic
        Accessible.name: "mouse"
    }
}
