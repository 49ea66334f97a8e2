import QtQuick
import "../common"

// An entry of the shell's menus. Tab reaches it and Space, Return or Enter trigger it, as does
// a screen reader's press; a click gives it the focus only for the pointer, so no focus mark
// stays and a key does not trigger it a second time (as with Button_2state). While pointed at
// or reached by Tab it asks for its hover text.
Item {
    id: entry
    property bool hovered: false
    property string hoverText: ""
    property bool pointerFocus: false
    readonly property bool keyboardFocus: activeFocus && !pointerFocus
    readonly property bool tipWanted: hoverText !== "" && enabled && (hovered || keyboardFocus)
    signal triggered
    // The Menu key or Shift+F10, as a right click asks for a context menu.
    signal menuRequested

    function takeFocus(byKeyboard) {
        forceActiveFocus()
        pointerFocus = !byKeyboard
    }

    activeFocusOnTab: true
    // The window losing the keyboard for a while (a busy lock) leaves the focus where it was
    // and how it came.
    onActiveFocusChanged: if (!activeFocus && !focus) pointerFocus = false
    onTipWantedChanged: mainIten.hoverTip.track(entry, hoverText, tipWanted)
    Accessible.description: hoverText
    // A function, not a handler, so roles that list Press already (radio button, link) list it
    // once; a role that does not (page tab) adds the handler.
    function accessiblePressAction() { if (enabled) triggered() }
    Keys.onPressed: event => {
        if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            if (keyboardFocus)
                triggered()
            event.accepted = true
        } else if (event.key === Qt.Key_Menu
                   || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier))) {
            menuRequested()
            event.accepted = true
        }
    }

    FocusFrame {
        z: 1
        visible: entry.keyboardFocus
    }
}
