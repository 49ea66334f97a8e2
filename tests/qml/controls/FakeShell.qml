import QtQuick

// What the key page's control tests (keys/KeysShell) still take from a shell: a window-sized
// root, the skin folder their own paths start with, and a withdrawal of capture to call. The
// controls themselves need no shell: they read Theme and Shell.
Item {
    width: 1000
    height: 600
    readonly property string skinDir: "file:modules/img/skin1/"
    signal captureWithdrawn
}
