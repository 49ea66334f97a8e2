import QtQuick

// The macro page's list of macros in its frame, with ADD and DELETE in its header.
MacroListFrame {
    id: frame
    // A macro is current, so there is one to delete.
    property bool canDelete: false
    property string deleteTip: "DELETE"
    // For screen readers: the line tools have a DELETE of their own.
    property string addName: "Add macro"
    property string deleteName: "Delete macro"

    signal addClicked
    signal deleteClicked

    listName: "macroList"

    MacroButton {
        objectName: "macroAdd"
        source0: mainIten.sourceAdd0
        source1: mainIten.sourceAdd1
        tip: "ADD"
        accessibleName: frame.addName
        enabled: frame.listEnabled
        onClicked: frame.addClicked()
    }
    MacroButton {
        objectName: "macroDelete"
        source0: mainIten.sourceDelete0
        source1: mainIten.sourceDelete1
        tip: frame.deleteTip
        accessibleName: frame.deleteName
        enabled: frame.listEnabled && frame.canDelete
        onClicked: frame.deleteClicked()
    }
}
