import QtQuick
import QtTest
import "shell/options.js" as Options

// A test case around the whole shell opened on one page, so a page sees the real global look,
// strings and bottom bar, and talks only to the stand-in view.
TestCase {
    when: windowShown

    // The item the shell is created in (the test's window content).
    property Item host
    property var shell: null

    function child(name) {
        var item = findChild(shell, name)
        verify(item, "no item " + name)
        return item
    }

    // Opens the shell with the stand-in's current answers and slides in page pageIndex
    // (2 lighting, 3 sensor); the calls of the start are cleared.
    function openShell(pageIndex) {
        ui_View.clear()
        ui_Ctl.clear()
        ui_View.apConfig = Options.stored({ 3: "1" })
        ui_View.languageStrings = { "031000": Options.strings("en", "DejaVu Sans") }
        ui_View.currentProfile = 1
        shell = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), host)
        verify(shell)
        shell.initUI()
        shell.run()
        tryVerify(() => child("_fkPage").visible && !child("pa_X").running && child("upItem").y === 0, 5000)
        mouseClick(child("fnEntry" + pageIndex))
        tryVerify(() => child("_fkPage").contentX === 0 && !child("pa_X").running, 5000)
        ui_View.clear()
    }

    // The recorded calls that change something, with their arguments.
    function setterCalls() {
        return ui_View.calls.filter(c => /^(q7_0|q7_Set|q7_03|q7_04|set[A-Z])/.test(c[0]) && c[0] !== "setEnabled")
    }

    // Waits out a page's busy lock so the next click reaches the view.
    function waitUnlocked() {
        tryVerify(() => ui_View.enabled, 5000)
    }
}
