import QtQuick

Rectangle {
    width: 1000
    height: 600
    color: "#1d2026"
    Text { anchors.centerIn: parent; text: "Q7"; color: "white"; font.pixelSize: 48 }
}
