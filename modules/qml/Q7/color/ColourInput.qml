import QtQuick
import "../../common"
import "ColorRules.js" as Colour

// One colour component typed by the user: digits only, at most three, held to 0..255 as they
// are typed; an emptied field shows the cell's value again when it is left.
Row {
    id: input
    property string label
    // The objectName of the text field itself, the part tests and journeys type into.
    property string fieldName
    property int value: 0
    signal typed(int value)
    spacing: 5

    ShellText {
        anchors.verticalCenter: parent.verticalCenter
        text: input.label
        font.bold: true
    }
    Item {
        width: frame.implicitWidth > 0 ? frame.implicitWidth : 46
        height: 22
        Image {
            id: frame
            anchors.fill: parent
            source: mainIten.sourceInputValue
        }
        TextInput {
            id: field
            objectName: input.fieldName
            anchors.fill: parent
            anchors.leftMargin: 6
            anchors.rightMargin: 6
            verticalAlignment: TextInput.AlignVCenter
            horizontalAlignment: TextInput.AlignHCenter
            font.family: mainIten.globalSetting_fontFamily
            font.pixelSize: mainIten.globalSetting_size
            color: mainIten.globalSetting_color
            selectionColor: mainIten.accentColor
            selectByMouse: true
            maximumLength: 3
            inputMethodHints: Qt.ImhDigitsOnly
            validator: RegularExpressionValidator { regularExpression: /[0-9]{0,3}/ }
            text: String(input.value)
            activeFocusOnTab: true
            Accessible.role: Accessible.EditableText
            Accessible.name: input.label
            Accessible.editable: true
            onTextEdited: {
                var v = Colour.typedComponent(text)
                if (v === null)
                    return
                if (String(v) !== text)
                    text = String(v)
                input.typed(v)
            }
            onEditingFinished: text = String(input.value)
            onActiveFocusChanged: if (activeFocus) selectAll()
        }
        FocusFrame {
            target: field
            anchors.fill: parent
        }
    }
}
