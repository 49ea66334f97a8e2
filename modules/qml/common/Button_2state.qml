import QtQuick

// An image button: source1 while hovered, source0 otherwise; dimmed while pressed or disabled.
Image {
    id: button
    property url source0
    property url source1
    property alias mouse: mouseArea
    signal clicked

    source: enabled && mouseArea.containsMouse ? source1 : source0
    opacity: !enabled || mouseArea.pressed ? 0.2 : 1.0

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.clicked()
    }
}
