import QtQuick
import QtTest
import ".."
import "options.js" as Options

// The shell's start: what initUI asks in which order, the window drag and the busy lock. Where the bars and menus end after the opening is tst_qml_startup's, on the
// real program's screen.
PageTestCase {
    name: "Startup"

    function init() {
        ui_View.assign({ enabled: true, apConfig: Options.stored({}), currentProfile: 4,
                         languageStrings: { "031000": Options.strings("en", "DejaVu Sans") } })
        createShell()
    }

    function test_initUiLoadsStringsBeforeProductPages() {
        shell.initUI()
        var n = ui_View.names()
        compare(n.indexOf("loadApConfig"), 0)
        // The product pages ask for their values only after the language is in place.
        verify(n.indexOf("getGlobalStrings") > 0 && n.indexOf("getGlobalStrings") < n.indexOf("q7_getApConfig"))
        verify(n.indexOf("q7_getApConfig") < n.indexOf("q7_82H_GetCurrentProfile"))
        compare([shell.globalSetting_fontFamily, child("pfItem").currentIndex], ["DejaVu Sans", 4])
        // The product's constants arrive as texts and are used as numbers.
        var product = child("main_Q7")
        compare([product.dpiBase, product.effectEnable, product.dpiValue, product._ProductLayoutStringList[15]],
                [50, ["true", "false"], [400, 800], "031000/15"])
        // Shown by run (that it follows initUI, once, is tst_app_shell's).
        verify(!shell.visible)
        shell.run()
        verify(shell.visible)
        // A page made after the start reads the language initUI loaded.
        compare(product.pageAt(3).title, "en86")
    }

    // Without a window system that moves it, by the offset from the press; with one (Wayland
    // allows no other way), the window is left to it and never moved a second time. Asked
    // once per press, when the pointer first moves.
    function test_drag_data() {
        return [{ tag: "by offset", systemMoves: false,
                  calls: [["startSystemMove"], ["onXChanged", 10], ["onYChanged", -5],
                          ["onXChanged", -3], ["onYChanged", 1]] },
                { tag: "by the window system", systemMoves: true, calls: [["startSystemMove"]] }]
    }

    function test_drag(data) {
        shell.visible = true
        ui_Ctl.systemMoves = data.systemMoves
        var area = child("dragArea")
        mousePress(area, 600, 450)
        mouseMove(area, 610, 445)
        mouseMove(area, 597, 451)
        mouseRelease(area, 597, 451)
        compare(ui_Ctl.calls, data.calls)
    }

    // A click hands the window system nothing: it would start a move after the release.
    function test_clickIsNoDrag() {
        shell.visible = true
        ui_Ctl.systemMoves = true
        mouseClick(child("dragArea"), 600, 450)
        compare(ui_Ctl.calls, [])
    }

    function test_busyLock() {
        var busy = child("protectUIItem")
        shell.setProtectUI(0)
        // Locked at once, unlocked on the next turn of the event loop.
        verify(busy.isBusy && !ui_View.enabled)
        tryCompare(ui_View, "enabled", true)
        verify(!busy.isBusy)
        shell.setProtectUI(60000)
        shell.setProtectUI(60000)
        wait(20)
        compare(ui_View.enabled, false)
        // Another interval restarts the count with it.
        shell.setProtectUI(0)
        tryCompare(ui_View, "enabled", true)
        verify(!busy.isBusy)
    }
}
