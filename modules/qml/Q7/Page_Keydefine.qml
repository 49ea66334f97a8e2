import QtQuick
import "../common"

// Button assignments. The page shows its frame; the assignment controls come with the key table.
Item {
    id: page
    width: 759
    height: 396

    property string title: "KEY"

    function initUI() {
    }

    function translateStrings() {
        title = mainIten.globalSetting_stringList[74]
    }

    Image {
        anchors.fill: parent
        source: mainIten.sourceFnKeydefineBackground
    }
    ShellText {
        x: 24
        y: 16
        text: page.title
        font.bold: true
    }
}
