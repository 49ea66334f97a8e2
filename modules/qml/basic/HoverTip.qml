import QtQuick
import "../common"

// The one hover text of the window: a control that is pointed at, or reached by Tab, asks
// for it with track(); it shows after a short pause, below the control and inside the window,
// and goes when that control no longer asks.
Rectangle {
    id: tip
    property Item owner: null
    property alias text: label.text

    function track(item, text, wanted) {
        if (wanted) {
            owner = item
            label.text = text
            shown = false
            delay.restart()
        } else if (owner === item) {
            owner = null
            shown = false
            delay.stop()
        }
    }

    property bool shown: false
    visible: shown && owner !== null && owner.visible && label.text !== ""
    width: label.implicitWidth + 16
    height: label.implicitHeight + 10
    radius: 3
    color: "#f0121419"
    border.color: mainIten.accentColor
    border.width: 1

    // Below the control, or above it where the window ends; never past the window's edges.
    readonly property point ownerPos: owner ? owner.mapToItem(parent, 0, 0) : Qt.point(0, 0)
    x: Math.max(4, Math.min(ownerPos.x, parent.width - width - 4))
    y: owner && ownerPos.y + owner.height + 6 + height > parent.height - 4
       ? ownerPos.y - height - 6
       : ownerPos.y + (owner ? owner.height : 0) + 6

    Timer {
        id: delay
        interval: 500
        onTriggered: tip.shown = true
    }

    ShellText {
        id: label
        x: 8
        anchors.verticalCenter: parent.verticalCenter
        color: mainIten.globalSetting_color_enable
    }
}
