import QtQuick

// An image button: source1 while hovered, source0 otherwise; dimmed while pressed or disabled.
// Its caption is part of it: pointing at, pressing or clicking the text is doing so to the
// button. The caption stands beside the image ("right"), or is a tip that shows above or left
// of it while it is pointed at or has the keyboard's focus, and the tip with the gap to it
// then belongs to the button, so the pointer can move onto it. A tip that would lie over
// other buttons is left out of the button (captionTakesPointer false): it would hide them and
// take their clicks while shown.
//
// Tab reaches it, and Space, Return or Enter press it; a click takes the focus too (so that a
// field being edited ends its edit) but only for the pointer: a key then does not press the
// button a second time, and no focus mark or tip stays once the pointer has left.
//
// A hover text (the window's one tip, shown after a pause while pointed at or reached by Tab)
// tells what the button does and its shortcut; a screen reader reads it as the description.
Image {
    id: button
    property url source0
    property url source1
    property alias mouse: mouseArea
    property string caption: ""
    property string captionPlace: "right"
    property int captionGap: 5
    property alias captionItem: captionText
    property string accessibleName: caption
    property bool captionTakesPointer: true
    property string hoverText: ""

    readonly property bool hovered: mouseArea.containsMouse
    // The focus came from the keyboard, not from a click.
    readonly property bool keyboardFocus: activeFocus && !pointerFocus
    property bool pointerFocus: false
    readonly property bool captionShown: caption !== ""
                                         && (captionPlace === "right"
                                             || (enabled && (hovered || keyboardFocus)))
    signal clicked

    // The focus handed over by the program (after a drawer closes, say) shows its mark only
    // when the user is on the keyboard.
    function takeFocus(byKeyboard) {
        forceActiveFocus()
        pointerFocus = !byKeyboard
    }

    readonly property bool tipWanted: hoverText !== "" && enabled && (hovered || keyboardFocus)
    onTipWantedChanged: if (Shell.hoverTip) Shell.hoverTip.track(button, hoverText, tipWanted)

    source: enabled && hovered ? source1 : source0
    opacity: !enabled || mouseArea.pressed ? 0.2 : 1.0
    activeFocusOnTab: true
    // The window losing the keyboard for a while (a busy lock) leaves the focus where it was
    // and how it came.
    onActiveFocusChanged: if (!activeFocus && !focus) pointerFocus = false

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.description: hoverText
    // A function, not a handler: the button role lists Press once already.
    function accessiblePressAction() { if (enabled) clicked() }
    Keys.onPressed: event => {
        if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            // Taken either way: after a click the key belongs to no one else either.
            if (keyboardFocus)
                clicked()
            event.accepted = true
        }
    }

    ShellText {
        id: captionText
        objectName: button.objectName !== "" ? button.objectName + "Caption" : ""
        z: 1
        x: button.captionPlace === "left" ? -implicitWidth - button.captionGap
         : button.captionPlace === "above" ? (button.width - implicitWidth) / 2
         : button.width + button.captionGap
        y: button.captionPlace === "above" ? -implicitHeight - button.captionGap
                                           : (button.height - implicitHeight) / 2
        visible: button.captionShown
        text: button.caption
    }

    // The image, and while it shows the caption with the gap between them.
    MouseArea {
        id: mouseArea
        readonly property bool withCaption: button.captionShown && button.captionTakesPointer
        x: withCaption ? Math.min(0, captionText.x) : 0
        y: withCaption ? Math.min(0, captionText.y) : 0
        width: (withCaption ? Math.max(button.width, captionText.x + captionText.width)
                            : button.width) - x
        height: (withCaption ? Math.max(button.height, captionText.y + captionText.height)
                             : button.height) - y
        hoverEnabled: true
        onPressed: {
            button.pointerFocus = true
            button.forceActiveFocus()
        }
        onClicked: button.clicked()
    }

    FocusFrame {
        target: mouseArea
        visible: button.keyboardFocus
    }
}
