import QtQuick
import "../common"

// Lighting. The page shows its frame; the effect and colour controls come with the lighting operations.
Item {
    id: page
    width: 759
    height: 396

    property string title: "COLOR"

    function initUI() {
        refreshUI()
    }

    function refreshUI() {
    }

    function translateStrings() {
        title = mainIten.globalSetting_stringList[76]
    }

    Image {
        anchors.fill: parent
        source: mainIten.sourceFnColorBackground
    }
    ShellText {
        x: 24
        y: 16
        text: page.title
        font.bold: true
    }
}
