import QtQuick
import "../../common"

// An image button of a page, its hover text above it; the text is part of the button.
Button_2state {
    property string tip: ""
    caption: tip
    captionPlace: "above"
    captionGap: 8
    captionItem.font.bold: true
}
