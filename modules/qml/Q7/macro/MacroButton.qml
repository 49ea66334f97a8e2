import QtQuick
import "../../common"

// A 21 x 21 image button of the macro page, named by its hover text, which shows on a dark
// backing beside it (left of it, or above it) while the pointer rests on it or the keyboard
// has brought the focus to it. The page sets these buttons close together, so the text is part
// of the button only where it is told that nothing lies under it (tipTakesPointer).
Button_2state {
    id: button
    property string tip: ""
    property bool tipLeft: false
    property alias tipTakesPointer: button.captionTakesPointer

    width: 21
    height: 21
    caption: tip
    captionPlace: tipLeft ? "left" : "above"
    captionGap: tipLeft ? 8 : 6
    captionItem.font.bold: true
    captionTakesPointer: false

    Rectangle {
        visible: button.captionShown
        anchors.fill: button.captionItem
        anchors.margins: -3
        radius: 3
        color: "#e0101418"
    }
}
