import QtQuick

// The keyboard focus mark every control shows around itself while it has the active focus, so
// Tab through a page is always visible. Put it inside the control; it ignores the mouse.
Rectangle {
    property Item target: parent
    anchors.fill: target
    anchors.margins: -3
    radius: 3
    color: "transparent"
    border.width: 1
    border.color: Theme.accentColor
    visible: target.activeFocus
}
