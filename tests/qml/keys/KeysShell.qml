import QtQuick

// A window-sized root for the key page's control tests; the controls read Theme and Shell.
Item {
    width: 1000
    height: 600
}
