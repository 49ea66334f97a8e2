import QtQuick

// One of the settings page's R, G and B inputs: 0..255, up to three digits. Leaving it, or
// Return, hands the three inputs to the page.
Rectangle {
    id: field
    property alias text: input.text
    property alias acceptableInput: input.acceptableInput
    property alias input: input
    property string accessibleName: ""
    signal editDone

    width: 46
    height: 22
    radius: 3
    color: "#1a1d24"
    border.color: input.activeFocus ? mainIten.accentColor : "#3a3f4a"

    TextInput {
        id: input
        objectName: field.objectName + "Input"
        anchors.fill: parent
        anchors.margins: 4
        horizontalAlignment: TextInput.AlignHCenter
        verticalAlignment: TextInput.AlignVCenter
        maximumLength: 3
        validator: IntValidator { bottom: 0; top: 255 }
        activeFocusOnTab: true
        selectByMouse: true
        color: mainIten.globalSetting_color_enable
        font.family: mainIten.globalSetting_fontFamily
        font.pixelSize: mainIten.globalSetting_size
        Accessible.role: Accessible.EditableText
        Accessible.name: field.accessibleName
        Accessible.description: text
        onEditingFinished: field.editDone()
        onActiveFocusChanged: if (!activeFocus) field.editDone()
    }
}
