import QtQuick

// The column of line tools beside the action list: Delete, Cut, Paste, Copy, 22 px apart, each
// in its frame with its hover text to its left, over empty page, so the text is part of its
// button.
Column {
    id: tools
    property bool lineCurrent: false
    property bool canPaste: false
    property var tips: ["DELETE", "CUT", "PASTE", "COPY"]
    // For screen readers, who also meet the macro list's DELETE: what Delete removes. The
    // buttons keep their hover texts as names.
    property string deleteName: "Delete line"

    signal deleteClicked
    signal cutClicked
    signal pasteClicked
    signal copyClicked

    spacing: 1

    component Tool: Item {
        id: tool
        property alias name: btn.objectName
        property alias source0: btn.source0
        property alias source1: btn.source1
        property alias tip: btn.tip
        property string description: ""
        property bool active: false
        signal clicked
        width: 21
        height: 21
        Image {
            anchors.fill: parent
            source: mainIten.sourceBtnFrame
        }
        MacroButton {
            id: btn
            anchors.centerIn: parent
            width: 17
            height: 17
            tipLeft: true
            tipTakesPointer: true
            enabled: tool.active
            Accessible.description: tool.description
            onClicked: tool.clicked()
        }
    }

    Tool {
        name: "macroLineDelete"
        source0: mainIten.sourceSolidDelete0
        source1: mainIten.sourceSolidDelete1
        tip: tools.tips[0]
        description: tools.deleteName
        active: tools.lineCurrent
        onClicked: tools.deleteClicked()
    }
    Tool {
        name: "macroLineCut"
        source0: mainIten.sourceSolidCut0
        source1: mainIten.sourceSolidCut1
        tip: tools.tips[1]
        active: tools.lineCurrent
        onClicked: tools.cutClicked()
    }
    Tool {
        name: "macroLinePaste"
        source0: mainIten.sourceSolidPaste0
        source1: mainIten.sourceSolidPaste1
        tip: tools.tips[2]
        active: tools.canPaste
        onClicked: tools.pasteClicked()
    }
    Tool {
        name: "macroLineCopy"
        source0: mainIten.sourceSolidCopy0
        source1: mainIten.sourceSolidCopy1
        tip: tools.tips[3]
        active: tools.lineCurrent
        onClicked: tools.copyClicked()
    }
}
