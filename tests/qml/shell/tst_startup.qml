import QtQuick
import QtTest
import "options.js" as Options

Item {
    id: root
    width: 1000
    height: 600

    TestCase {
        id: tc
        name: "Startup"
        when: windowShown

        property var shell: null

        function child(name) {
            var item = findChild(shell, name)
            verify(item, "no item " + name)
            return item
        }

        function init() {
            ui_View.clear()
            ui_Ctl.clear()
            ui_View.enabled = true
            ui_View.apConfig = Options.stored({})
            ui_View.languageStrings = { "031000": Options.strings("en", "DejaVu Sans"),
                                        "042000": Options.strings("de", "DejaVu Serif") }
            ui_View.currentProfile = 4
            shell = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), root)
            verify(shell)
        }

        function test_initUiLoadsStringsBeforeProductPages() {
            shell.initUI()
            var n = ui_View.names()
            var strings = n.indexOf("getGlobalStrings")
            verify(n.indexOf("loadApConfig") === 0)
            verify(strings > 0)
            // The product pages ask for their values only after the language is in place.
            verify(strings < n.indexOf("q7_getApConfig"))
            verify(n.indexOf("q7_getApConfig") < n.indexOf("q7_82H_GetCurrentProfile"))
            compare(child("_Page_Sensor").title, "en86")
            compare(shell.globalSetting_fontFamily, "DejaVu Sans")
            compare(child("pfItem").currentIndex, 4)
            compare(child("main_Q7").dpiBase, 50)
            compare(child("main_Q7").effectEnable, ["true", "false"])
            compare(child("main_Q7").dpiValue, [400, 800])
            compare(child("main_Q7")._ProductLayoutStringList[15], "031000/15")
            compare(shell.startupSteps, ["initUI"])
            // The pages find the key names under the shell.
            compare(child("_KeyCodeString").keycodeTostr(0x04), "A")
        }

        function test_openingPutsBarsAndMenusInPlace() {
            shell.initUI()
            compare(shell.animation_speed, 10)
            verify(!shell.visible)
            shell.run()
            verify(shell.visible)
            var fn = child("fnItem"), pf = child("pfItem"), up = child("upItem")
            var down = child("downItem"), page = child("_fkPage")
            tryCompare(page, "contentX", 0)
            tryCompare(up, "y", 0)
            tryCompare(down, "y", 600 - down.height)
            compare(child("logoWeb_img").y, 4)
            compare(child("logoWeb_img").opacity, 1)
            compare(child("envItem").opacity, 1)
            compare(child("envDecorationItem").opacity, 1)
            verify(fn.visible && pf.visible && page.visible)
            compare(fn.x, 8)
            compare(pf.x, 1000 - pf.width - 8)
            compare(page.curID, -1)
            compare(shell.startupSteps, ["initUI", "run"])
        }

        function test_dragMovesByOffsetFromThePress() {
            shell.visible = true
            var area = child("dragArea")
            mousePress(area, 600, 450)
            mouseMove(area, 610, 445)
            mouseMove(area, 597, 451)
            mouseRelease(area, 597, 451)
            compare(ui_Ctl.calls, [["onXChanged", 10], ["onYChanged", -5],
                                   ["onXChanged", -3], ["onYChanged", 1]])
        }

        function test_busyLock() {
            var busy = child("protectUIItem")
            shell.setProtectUI(0)
            // Locked at once, unlocked on the next turn of the event loop.
            verify(busy.isBusy)
            compare(ui_View.enabled, false)
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

        function test_keysReachTheProductPages() {
            var product = child("main_Q7")
            var spy = createTemporaryObject(spyComponent, tc, { target: product })
            shell.detectKeyboard(true, 0x04)
            shell.detectKeyboard(false, 0x05)
            shell.detectMouse(true, 0xF0, 10, 10)
            compare(spy.count, 2)
            compare(Array.from(spy.signalArguments[0]), [true, 0x04])
            compare(Array.from(spy.signalArguments[1]), [false, 0x05])
            // Only presses count as the last pressed key.
            compare(product.lastPressKeyCode, 0x04)
        }

        Component {
            id: spyComponent
            SignalSpy { signalName: "msg_KB" }
        }
    }
}
