import QtQuick
import "../../common"

// A control's caption on a page.
ShellText {
    font.bold: true
    opacity: 0.85
}
