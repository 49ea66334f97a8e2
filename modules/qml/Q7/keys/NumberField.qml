import QtQuick
import "../../common"
import "KeyRules.js" as Rules

// A short number field. Only digits are taken; a typed or pasted number above `maximum` is
// clamped when the edit ends, so what the page writes is always in range.
Item {
    id: field
    property int maximum: 255
    property int fallback: 0
    property int maximumLength: 3
    property string accessibleName: ""
    readonly property int value: Rules.count(input.text, maximum, fallback)
    property alias text: input.text

    // Return or Enter.
    signal accepted(int value)
    // Return, Enter or the focus leaving the field.
    signal editingFinished(int value)

    function setValue(v) {
        input.text = String(v)
    }
    function commit() {
        input.text = String(value)
    }

    width: 46
    height: 22

    Image {
        anchors.fill: parent
        source: mainIten.sourceInputValue
    }
    TextInput {
        id: input
        objectName: field.objectName + "Input"
        anchors.fill: parent
        anchors.leftMargin: 4
        anchors.rightMargin: 4
        horizontalAlignment: TextInput.AlignHCenter
        verticalAlignment: TextInput.AlignVCenter
        maximumLength: field.maximumLength
        validator: RegularExpressionValidator { regularExpression: /[0-9]*/ }
        activeFocusOnTab: true
        selectByMouse: true
        clip: true
        font.family: mainIten.globalSetting_fontFamily
        font.pixelSize: mainIten.globalSetting_size
        color: mainIten.globalSetting_color
        selectionColor: mainIten.accentColor
        text: String(field.fallback)
        Accessible.role: Accessible.EditableText
        Accessible.name: field.accessibleName
        Accessible.editable: true
        Accessible.description: text
        onAccepted: {
            field.commit()
            field.accepted(field.value)
        }
        onEditingFinished: {
            field.commit()
            field.editingFinished(field.value)
        }
    }
    FocusFrame { target: input }
}
