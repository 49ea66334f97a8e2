import QtQuick
import QtTest
import "shell/options.js" as Options

// A test case that is the window's content itself: the whole shell is created in it, so a page
// sees the real global look, strings and bottom bar, and talks only to the stand-in view.
TestCase {
    id: testCase
    width: 1000
    height: 600
    when: windowShown
    visible: true // a test case hides itself; here it carries the shell

    property var shell: null

    function child(name) {
        var item = findChild(shell, name)
        verify(item, "no item " + name)
        return item
    }

    // The shell created with the stand-ins' current answers, the stand-ins' calls cleared.
    function createShell() {
        ui_View.clear()
        ui_Ctl.clear()
        shell = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        verify(shell)
        return shell
    }

    // Opens the shell fast in English (German to switch to) with every page made and, given
    // pageIndex (0 keys, 1 macro, 2 lighting, 3 sensor), slides that page in; the calls of the
    // start are cleared.
    function openShell(pageIndex) {
        ui_View.apConfig = Options.stored({ 3: "1" })
        ui_View.languageStrings = { "031000": Options.strings("en", "DejaVu Sans"),
                                    "042000": Options.strings("de", "DejaVu Sans") }
        ui_View.currentProfile = 1
        createShell()
        shell.initUI()
        shell.run()
        tryVerify(() => child("_fkPage").visible && !child("pa_X").running && child("upItem").y === 0, 5000)
        child("main_Q7").makeAllPages()
        if (pageIndex !== undefined) {
            mouseClick(child("fnEntry" + pageIndex))
            tryVerify(() => child("_fkPage").contentX === 0 && !child("pa_X").running, 5000)
        }
        ui_View.clear()
    }

    // The shell opened on a page (as openShell), and that page, shown.
    function openPage(pageIndex, name) {
        openShell(pageIndex)
        var page = child(name)
        verify(page.visible)
        return page
    }

    // A list's row i; a list view lays its rows out on the next frame.
    function row(list, i) {
        tryVerify(() => findChild(shell, list + "Row" + i), 1000, "no row " + list + i)
        return findChild(shell, list + "Row" + i)
    }

    // Chooses a drop-down list's item by mouse. The closing list still covers what lies below
    // it until it is gone, so this waits for that.
    function choose(menu, item) {
        mouseClick(child(menu))
        tryVerify(() => child(menu + "List").height >= child(menu).rowHeight * Math.min(item + 1, 8))
        mouseClick(child(menu + "Item" + item))
        verify(!child(menu).opened)
        tryVerify(() => child(menu + "List").height === 0)
    }

    function typeKeys(text) {
        for (var ch of text)
            keyClick(ch)
    }
    // Replaces a text field's content by typing, as a user does; the key closing the edit is
    // the caller's.
    function typeInto(field, text) {
        field.forceActiveFocus()
        field.selectAll()
        typeKeys(text)
    }

    // What a screen reader calls each control: { objectName: name }.
    function compareNames(names) {
        for (var name in names)
            compare(child(name).Accessible.name, names[name], name)
    }

    // f over a list (qmllint takes an array literal for a QVariantList, which has no map).
    function each(list, f) {
        var out = []
        for (var i = 0; i < list.length; ++i)
            out.push(f(list[i]))
        return out
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
