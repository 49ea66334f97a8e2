import QtQuick
import "../common"

// Sensor, polling rate and pointer settings. The page shows its frame; the controls come with the sensor operations.
Item {
    id: page
    width: 759
    height: 396

    property string title: "SENSOR"

    function initUI() {
        title = mainIten.globalSetting_stringList[86]
    }

    Image {
        anchors.fill: parent
        source: mainIten.sourceFnCommonBackground
    }
    ShellText {
        x: 24
        y: 16
        text: page.title
        font.bold: true
    }
}
