import QtQuick
import "../common"

// Macro library and recording. The page shows its frame; the macro list and editor come with the macro files.
Item {
    id: page
    width: 759
    height: 396

    property string title: "MACRO"

    function initUI() {
    }

    function translateStrings() {
        title = mainIten.globalSetting_stringList[75]
    }

    Image {
        anchors.fill: parent
        source: mainIten.sourceFnMacroBackground
    }
    ShellText {
        x: 24
        y: 16
        text: page.title
        font.bold: true
    }
}
