import QtQuick

// A short message over the window that goes away by itself: show(text) fades it in, holds it
// for holdMs and fades it out. A newer message replaces the one on screen and starts the count
// again. While the pointer rests on it, it stays, so a slow reader is not cut off; a click
// dismisses it. It draws its own dark plate and light text, so it reads the same on every skin
// and whatever text colour or brightness the user picked.
Rectangle {
    id: notice
    property string text: ""
    property int holdMs: 4000
    readonly property bool showing: opacity > 0

    function show(message) {
        text = String(message)
        if (text === "")
            return
        fadeOut.stop()
        hold.stop()
        // The reading time counts from when the message is fully there.
        fadeIn.restart()
    }
    function hide() {
        hold.stop()
        if (opacity > 0 && !fadeOut.running) {
            fadeIn.stop()
            fadeOut.restart()
        }
    }

    width: Math.min(label.implicitWidth + 36, 640)
    height: label.implicitHeight + 18
    radius: 6
    color: "#ee101317"
    border.width: 1
    border.color: Theme.accentColor
    opacity: 0
    visible: opacity > 0
    z: 98

    Accessible.role: Accessible.AlertMessage
    Accessible.name: text

    ShellText {
        id: label
        anchors.centerIn: parent
        width: Math.min(implicitWidth, 640 - 36)
        text: notice.text
        color: "#f2f5f7"
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
    }

    MouseArea {
        id: hover
        anchors.fill: parent
        hoverEnabled: true
        onClicked: notice.hide()
        onContainsMouseChanged: if (!containsMouse && notice.showing && !fadeOut.running) hold.restart()
    }

    Timer {
        id: hold
        interval: notice.holdMs
        onTriggered: {
            if (hover.containsMouse)
                return
            notice.hide()
        }
    }

    // Fixed durations: the fast animation setting must not make a message unreadable.
    NumberAnimation {
        id: fadeIn
        target: notice; property: "opacity"; to: 1; duration: 150
        onFinished: hold.restart()
    }
    NumberAnimation {
        id: fadeOut
        target: notice; property: "opacity"; to: 0; duration: 600
    }
}
