import QtQuick

// A key capture field. A click empties it and arms it (a second click disarms it); while armed
// the next key event of the global capture, a press or a release, is taken: the field shows the
// key's name and reports the code as received. The page hands every key event to keyEvent().
Item {
    id: keyInput
    // The key shown, 0 for none.
    property int keyCode: 0
    property bool armed: false
    // Armed from the keyboard: the release of the key that armed the field is not a choice.
    property bool awaitPress: false
    readonly property string keyName: keyCode > 0 ? nameOf(keyCode) : ""
    readonly property string shownText: keyName === "" ? "KEY【 PRESS ANY 】" : "KEY 【 " + keyName + " 】"

    signal inputComplete(int usbCode)

    width: 151
    height: 23
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: shownText
    Accessible.description: armed ? "waiting for a key" : ""
    Accessible.onPressAction: toggle()

    function nameOf(code) {
        var names = mainIten.keyCodeString
        var name = names ? names.keycodeTostr(code) : undefined
        return name === undefined ? "" : String(name)
    }

    // Shows a key without reporting it (a page showing a stored entry); 0 empties the field.
    function setKey(code) {
        keyCode = code > 0 ? code : 0
        armed = false
    }
    function clear() {
        setKey(0)
    }
    function toggle() {
        keyCode = 0
        awaitPress = false
        armed = !armed
    }

    function keyEvent(isDown, usbCode) {
        if (!armed || (awaitPress && !isDown))
            return
        armed = false
        awaitPress = false
        keyCode = usbCode > 0 ? usbCode : 0
        inputComplete(usbCode)
    }

    // The desktop's keys are listened to only while the field waits for one.
    InputRequest {
        active: keyInput.armed
    }

    // Armed on the release, so the arming key's own press is already past the capture.
    Keys.onReleased: event => {
        if (event.isAutoRepeat)
            return
        if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            toggle()
            awaitPress = armed
            event.accepted = true
        }
    }

    Image {
        anchors.fill: parent
        source: mainIten.sourceBtnFrame
    }
    Rectangle {
        anchors.fill: parent
        radius: 4
        color: "transparent"
        border.width: 1
        border.color: mainIten.accentColor
        opacity: area.containsMouse && !keyInput.armed ? 0.6 : 0
    }
    // While armed the frame pulses, so a field waiting for a key is plain to see.
    Rectangle {
        anchors.fill: parent
        radius: 4
        color: "transparent"
        border.width: 1
        border.color: mainIten.accentColor
        visible: keyInput.armed
        SequentialAnimation on opacity {
            running: keyInput.armed
            loops: Animation.Infinite
            NumberAnimation { to: 0.3; duration: 400 }
            NumberAnimation { to: 1; duration: 400 }
        }
    }
    ShellText {
        anchors.centerIn: parent
        width: parent.width - 8
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideRight
        text: keyInput.shownText
        color: keyInput.armed ? mainIten.accentColor : mainIten.globalSetting_color
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
