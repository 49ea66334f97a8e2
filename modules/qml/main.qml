import QtQuick

// The first step of the shell: the root that start-up drives (initUI, then run) and the
// entry points that native code calls. The pages arrive in later steps.
Rectangle {
    id: mainIten
    width: 1000
    height: 600
    visible: false
    color: "transparent"

    // Start-up steps as they ran, in order; native tests read it.
    property var startupSteps: []
    property bool busy: false

    signal msg_KB(bool isDown, int keyCode)

    function initUI() {
        startupSteps = startupSteps.concat(["initUI"])
    }

    function run() {
        startupSteps = startupSteps.concat(["run"])
        visible = true
    }

    // Locks the view for interval ms; setProtectUI(0) locks and unlocks at once.
    function setProtectUI(interval) {
        busy = true
        ui_View.setEnabled(false)
        protectTimer.interval = interval
        protectTimer.restart()
    }

    function detectKeyboard(isDown, usbCode) {
        msg_KB(isDown, usbCode)
    }

    function detectMouse(isDown, mouseCode, x, y) {
        msg_KB(isDown, mouseCode)
    }

    Timer {
        id: protectTimer
        onRunningChanged: if (!running) {
            ui_View.setEnabled(true)
            mainIten.busy = false
        }
    }

    // A framed card inside a transparent margin, so the translucent window shows.
    Rectangle {
        id: surface
        anchors.fill: parent
        anchors.margins: 24
        radius: 18
        color: "#1d2026"
        border.color: "#ff7a1a"
        border.width: 2

        Text {
            anchors.centerIn: parent
            text: "Q7"
            color: "#e8e8ea"
            font.pixelSize: 48
        }

        MouseArea {
            property point pressPoint
            anchors.fill: parent
            onPressed: mouse => pressPoint = Qt.point(mouse.x, mouse.y)
            onPositionChanged: mouse => {
                ui_Ctl.onXChanged(mouse.x - pressPoint.x)
                ui_Ctl.onYChanged(mouse.y - pressPoint.y)
            }
            onDoubleClicked: ui_Ctl.onMinimize()
        }
    }
}
