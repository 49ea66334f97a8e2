import QtQuick
import "../controls"
import "qrc:/modules/qml/basic"

// The shell's look as the key page's controls read it, with the interface's key-name table.
FakeShell {
    property string sourceFilelist: skinDir + "common/filelist_BASE.png"
    property string sourceBtnFileListFrame: skinDir + "common/btnFileListFrame.png"
    property string sourceCHK0: skinDir + "common/checkbox_0.png"
    property string sourceCHK1: skinDir + "common/checkbox_1.png"
    readonly property var keyCodeString: names
    KeyCodeString {
        id: names
    }
}
