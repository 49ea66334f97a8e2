import QtQuick

// A page's own Reset and Apply, in their frame, each with its hover tip above it.
Item {
    id: buttons
    property string resetTip: "DEFAULT"
    property string applyTip: "APPLY"
    signal resetClicked
    signal applyClicked

    width: frame.implicitWidth > 0 ? frame.implicitWidth : 90
    height: frame.implicitHeight > 0 ? frame.implicitHeight : 40

    Image {
        id: frame
        anchors.fill: parent
        source: mainIten.sourceFram2btn
    }
    Row {
        anchors.centerIn: parent
        spacing: 14
        PageButton {
            objectName: buttons.objectName + "Reset"
            source0: mainIten.sourceReset0
            source1: mainIten.sourceReset1
            tip: buttons.resetTip
            onClicked: buttons.resetClicked()
        }
        PageButton {
            objectName: buttons.objectName + "Apply"
            source0: mainIten.sourceApply0
            source1: mainIten.sourceApply1
            tip: buttons.applyTip
            onClicked: buttons.applyClicked()
        }
    }
}
