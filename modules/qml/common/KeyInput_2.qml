import QtQuick
import "../basic"

// A key capture field. A click arms it (a second click disarms it); while armed the next key
// event of the global capture, a press or a release, is taken: the field shows the key's name
// and reports the code as received. The page hands every key event to keyEvent(). A field
// disarmed without a key (clicked again, hidden, disabled, another field armed, the shell
// withdrawing capture) shows what it showed before. Every key can be taken, those the field
// itself answers to (Space, Return, Enter) included.
Item {
    id: keyInput
    // The key shown, 0 for none.
    property int keyCode: 0
    property bool armed: false
    // Armed from the keyboard: the release of the key that armed the field is not a choice.
    property bool awaitPress: false
    // What was shown when the field was armed, shown again when it disarms without a key.
    property int keyBeforeArming: 0
    // The capture and the field's own key events arrive in either order. These pair them for
    // the keys the field or the focus chain answer to, so the key just taken neither re-arms
    // the field nor moves the focus: the usage pressed on the armed field, the usage taken whose
    // press has not reached the field yet, and the key whose release is the capture's.
    property int pressedWhileArmed: 0
    property int pressOwed: 0
    property int swallowedKey: 0
    // The arming key pressed while the field was idle; it arms the field on its release.
    property int armingKey: 0
    readonly property string keyName: keyCode > 0 ? nameOf(keyCode) : ""
    readonly property string shownText: keyName === "" ? "KEY【 PRESS ANY 】" : "KEY 【 " + keyName + " 】"

    signal inputComplete(int usbCode)

    width: 151
    height: 23
    activeFocusOnTab: true

    // What the field's key is for, told to screen readers with the key shown.
    property string accessibleName: ""
    property string waitingText: "waiting for a key"

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName !== "" ? accessibleName : shownText
    Accessible.description: armed ? waitingText : shownText
    // A function, not a handler: the button role lists Press once already.
    function accessiblePressAction() { if (enabled) toggle() }

    function nameOf(code) {
        var name = keyNames.keycodeTostr(code)
        return name === undefined ? "" : String(name)
    }

    // Shows a key without reporting it (a page showing a stored entry); 0 empties the field.
    function setKey(code) {
        disarm()
        keyCode = code > 0 ? code : 0
    }
    function clear() {
        setKey(0)
    }
    function arm(byKeyboard) {
        if (armed)
            return
        keyBeforeArming = keyCode
        keyCode = 0
        awaitPress = byKeyboard
        pressedWhileArmed = 0
        pressOwed = 0
        armed = true
        Shell.armedField = keyInput
    }
    function disarm() {
        if (!armed)
            return
        armed = false
        awaitPress = false
        keyCode = keyBeforeArming
        if (Shell.armedField === keyInput)
            Shell.armedField = null
    }
    function toggle() {
        if (armed)
            disarm()
        else
            arm(false)
    }

    function keyEvent(isDown, usbCode) {
        if (!armed || (awaitPress && !isDown))
            return
        armed = false
        awaitPress = false
        if (Shell.armedField === keyInput)
            Shell.armedField = null
        pressOwed = isDown && pressedWhileArmed !== usbCode ? usbCode : 0
        pressedWhileArmed = 0
        keyCode = usbCode > 0 ? usbCode : 0
        inputComplete(usbCode)
    }

    InputRequest {
        active: keyInput.armed
    }
    // The shell withdrawing capture clears the armed field, which disarms this one too.
    Connections {
        target: Shell
        function onArmedFieldChanged() {
            if (Shell.armedField !== keyInput)
                keyInput.disarm()
        }
    }
    // The key-name table is constant data generated with the program's own; the field keeps
    // its own copy rather than reaching for the shell's.
    KeyCodeString {
        id: keyNames
    }
    onVisibleChanged: if (!visible) disarm()
    onEnabledChanged: if (!enabled) disarm()
    onActiveFocusChanged: if (!activeFocus) pressOwed = 0

    // Space, Return, keypad Enter, Tab and Escape as the capture reports them.
    function usageOf(key) {
        switch (key) {
        case Qt.Key_Space: return 0x2C
        case Qt.Key_Return: return 0x28
        case Qt.Key_Enter: return 0x58
        case Qt.Key_Tab: return 0x2B
        case Qt.Key_Escape: return 0x29
        }
        return 0
    }
    function armsField(key) {
        return key === Qt.Key_Space || key === Qt.Key_Return || key === Qt.Key_Enter
    }
    // While armed every typed key is the capture's. Idle, Space, Return or Enter arm the field
    // on their release, so the arming key's own press is already past the capture.
    Keys.onPressed: event => {
        var usage = usageOf(event.key)
        if (armed || event.key === swallowedKey || (usage !== 0 && usage === pressOwed)) {
            if (armed && !event.isAutoRepeat)
                pressedWhileArmed = usage
            else if (usage === pressOwed)
                pressOwed = 0
            swallowedKey = event.key
            event.accepted = true
        } else if (!event.isAutoRepeat && armsField(event.key)) {
            armingKey = event.key
            event.accepted = true
        }
    }
    Keys.onReleased: event => {
        if (event.key === swallowedKey || armed) {
            if (!event.isAutoRepeat && event.key === swallowedKey)
                swallowedKey = 0
            event.accepted = true
        } else if (!event.isAutoRepeat && event.key === armingKey) {
            armingKey = 0
            arm(true)
            event.accepted = true
        }
    }

    Image {
        anchors.fill: parent
        source: Theme.sourceBtnFrame
    }
    Rectangle {
        anchors.fill: parent
        radius: 4
        color: "transparent"
        border.width: 1
        border.color: Theme.accentColor
        opacity: area.containsMouse && !keyInput.armed ? 0.6 : 0
    }
    // While armed the frame blinks, so a field waiting for a key is plain to see. A step every
    // 400 ms rather than a smooth pulse: the translucent window is drawn again for every frame,
    // and a field may wait long.
    Rectangle {
        id: armedFrame
        anchors.fill: parent
        radius: 4
        color: "transparent"
        border.width: 1
        border.color: Theme.accentColor
        visible: keyInput.armed
        Timer {
            running: keyInput.armed
            repeat: true
            interval: 400
            onRunningChanged: armedFrame.opacity = 1
            onTriggered: armedFrame.opacity = armedFrame.opacity < 1 ? 1 : 0.3
        }
    }
    ShellText {
        anchors.centerIn: parent
        width: parent.width - 8
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideRight
        text: keyInput.shownText
        color: keyInput.armed ? Theme.accentColor : Theme.textColor
    }
    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: {
            keyInput.forceActiveFocus()
            keyInput.toggle()
        }
    }
    FocusFrame {}
}
