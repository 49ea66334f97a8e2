import QtQuick
import "../../common"

// MACRO on the key page: the macro list, the three play modes and the play count.
// Placed at the function menu; the macro list sits `listX` to its right.
Item {
    id: controls
    property int listX: 270
    property int playMode: 0
    property var modeTexts: ["NORMAL PLAY", "ALWAYS REPEAT", "REPEAT ON PRESSED"]
    property string timesText: "TIMES"
    property alias macroModel: macroList.model
    property alias macroList: macroList
    property alias playCount: playCount
    // Names for screen readers.
    property string macroName: "Macro"
    property string playCountName: "Play count"

    signal requestToUpdateList
    signal macroChosen(int row)
    signal modeChosen(int mode)
    signal playCountEntered

    FileListButton {
        id: macroList
        objectName: "keyMacroList"
        x: controls.listX
        accessibleName: controls.macroName
        onRequestToUpdateList: controls.requestToUpdateList()
        onListElementClicked: row => controls.macroChosen(row)
    }
    Column {
        y: 46
        spacing: 10
        Row {
            spacing: 12
            RadioButton {
                objectName: "keyPlayMode0"
                index: 0
                isSelect: controls.playMode === 0
                chkStr: controls.modeTexts[0]
                onClicked: mode => controls.modeChosen(mode)
            }
            NumberField {
                id: playCount
                objectName: "keyPlayCount"
                y: -3
                maximum: 65535
                maximumLength: 5
                fallback: 1
                width: 56
                accessibleName: controls.playCountName
                onAccepted: controls.playCountEntered()
            }
            ShellText {
                text: controls.timesText
            }
        }
        RadioButton {
            objectName: "keyPlayMode1"
            index: 1
            isSelect: controls.playMode === 1
            chkStr: controls.modeTexts[1]
            onClicked: mode => controls.modeChosen(mode)
        }
        RadioButton {
            objectName: "keyPlayMode2"
            index: 2
            isSelect: controls.playMode === 2
            chkStr: controls.modeTexts[2]
            onClicked: mode => controls.modeChosen(mode)
        }
    }
}
