import QtQuick

// The mouse as the lighting page shows it. The three highlight areas (wheel, logo, side strip)
// stay hidden; they mark where the lighting sits for a product that shows it.
Item {
    id: model
    width: 102
    height: 191

    Image {
        source: mainIten.sourceModel_Q7_Color
    }
    Rectangle {
        objectName: "modelHighlightWheel"
        x: 44; y: 16; width: 14; height: 28
        radius: 6
        visible: false
        color: "transparent"
        border.color: mainIten.accentColor
    }
    Rectangle {
        objectName: "modelHighlightLogo"
        x: 38; y: 132; width: 26; height: 14
        radius: 6
        visible: false
        color: "transparent"
        border.color: mainIten.accentColor
    }
    Rectangle {
        objectName: "modelHighlightSide"
        x: 2; y: 80; width: 10; height: 48
        radius: 4
        visible: false
        color: "transparent"
        border.color: mainIten.accentColor
    }
}
