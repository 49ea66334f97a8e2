import QtQuick

// The "busy" notice shown while the view is locked; it pulses so a long lock does not look frozen.
Item {
    id: indicator
    property bool isBusy: false
    property string text: "LOADING ......"

    function setBusy(b) {
        isBusy = b
    }

    width: label.width + 40
    height: label.height + 20
    visible: isBusy

    Rectangle {
        anchors.fill: parent
        radius: 6
        color: "#cc101217"
        border.color: mainIten.accentColor
        border.width: 1
    }

    Text {
        textFormat: Text.PlainText
        id: label
        anchors.centerIn: parent
        text: indicator.text
        font.bold: true
        font.family: mainIten.globalSetting_fontFamily
        font.pixelSize: mainIten.globalSetting_size
        color: mainIten.globalSetting_color

        SequentialAnimation on opacity {
            running: indicator.isBusy
            loops: Animation.Infinite
            NumberAnimation { from: 1.0; to: 0.2; duration: 400 }
            NumberAnimation { from: 0.2; to: 1.0; duration: 400 }
            onRunningChanged: if (!running) label.opacity = 1.0
        }
    }
}
