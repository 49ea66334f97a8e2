import QtQuick
import QtTest
import "options.js" as Options

// Page switching, the settings drawer and the profile menu, driven by clicks.
Item {
    id: root
    width: 1000
    height: 600

    TestCase {
        id: tc
        name: "Navigation"
        when: windowShown

        property var shell: null
        property var page: null
        property var fn: null
        property var pf: null

        function child(name) {
            var item = findChild(shell, name)
            verify(item, "no item " + name)
            return item
        }

        // The shell after a fast opening; slow (animation switch 0) afterwards when asked, so that
        // a slide is still running when the next click comes.
        function openShell(animation) {
            ui_View.clear()
            ui_Ctl.clear()
            ui_View.apConfig = Options.stored({ 3: "1" })
            ui_View.languageStrings = { "031000": Options.strings("en", "DejaVu Sans") }
            ui_View.currentProfile = 1
            shell = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), root)
            verify(shell)
            shell.initUI()
            shell.run()
            page = child("_fkPage")
            fn = child("fnItem")
            pf = child("pfItem")
            // Finish the opening at once, whatever its speed.
            tryVerify(() => page.visible && !child("pa_X").running && child("upItem").y === 0, 5000)
            child("_Page_Globalsetting").setAnimation(animation)
            ui_View.clear()
        }

        function clickFn(index) {
            mouseClick(child("fnEntry" + index))
        }

        function test_keyThenMacroThenMacroAgain() {
            openShell(1)
            clickFn(0)
            compare(page.curID, 0)
            tryCompare(page, "contentX", 0)
            clickFn(1)
            // The key page slides out first; the macro page appears once it is out.
            verify(child("paBack_X").running || page.curID === 1)
            tryCompare(page, "curID", 1)
            tryVerify(() => !child("pa_X").running && page.contentX === 0)
            compare(fn.currentIndex, 1)
            clickFn(1)
            compare(fn.currentIndex, -1)
            tryCompare(page, "curID", -1)
            compare(page.contentX, -2 * page.width)
            verify(!child("_Page_Macro").visible)
        }

        function test_clickDuringSlideInFinishesItWithoutJumpingBack() {
            openShell(0)
            clickFn(0)
            verify(child("pa_X").running)
            clickFn(1)
            // The running slide-in is completed where it was heading, now showing MACRO.
            verify(!child("pa_X").running)
            verify(!child("paBack_X").running)
            compare(page.contentX, 0)
            compare(page.curID, 1)
            verify(child("_Page_Macro").visible)
        }

        function test_clickDuringSlideOutCarriesOnToTheNewPage() {
            openShell(0)
            clickFn(0)
            child("pa_X").complete()
            clickFn(1)
            verify(child("paBack_X").running)
            compare(page.curID, 0)
            clickFn(3)
            // The slide-out ends at once and the newest choice slides in from there.
            verify(!child("paBack_X").running)
            compare(page.curID, 3)
            verify(child("pa_X").running)
            verify(page.contentX < 0)
            child("pa_X").complete()
            compare(page.contentX, 0)
            verify(child("_Page_Sensor").visible)
            verify(!child("_Page_Keydefine").visible && !child("_Page_Macro").visible)
        }

        function test_drawerDimsEverythingButTheTopBar() {
            openShell(1)
            var up = child("upItem"), down = child("downItem")
            mouseClick(child("btnSetting"))
            verify(up.isGlobalSettingSelect)
            var drawer = child("_fkGlobalsetting")
            verify(drawer.visible)
            tryCompare(drawer, "contentX", 0)
            for (var item of [down, fn, pf, page]) {
                compare(item.enabled, false)
                fuzzyCompare(item.opacity, 0.2, 1e-9)
            }
            compare(up.enabled, true)
            compare(up.opacity, 1)
            // Disabled controls ignore clicks.
            mouseClick(child("fnEntry2"))
            compare(fn.currentIndex, -1)
            mouseClick(child("pfEntry3"))
            compare(ui_View.callsOf("q7_02H_SetCurrentProfile").length, 0)

            mouseClick(child("btnSetting"))
            verify(!up.isGlobalSettingSelect)
            tryCompare(drawer, "visible", false)
            for (var again of [down, fn, pf, page])
                compare(again.opacity, 1)
        }

        function test_drawerShowDuringCloseFinishesTheCloseAndOpensAgain() {
            openShell(0)
            var drawer = child("_fkGlobalsetting")
            drawer.show()
            drawer.show()                          // finishes the opening at once
            compare(drawer.contentX, 0)
            drawer.close()
            verify(drawer.contentX >= 0 && drawer.visible)
            drawer.show()                          // close finished, then opened again
            verify(drawer.visible)
            tryCompare(drawer, "contentX", 0, 5000)
            verify(drawer.visible)
        }

        function test_profileClicksSwitchAndRefresh() {
            openShell(1)
            mouseClick(child("pfEntry3"))
            compare(pf.currentIndex, 3)
            compare(ui_View.callsOf("q7_02H_SetCurrentProfile"), [["q7_02H_SetCurrentProfile", 3]])
            // Clicking the current entry again changes nothing.
            mouseClick(child("pfEntry3"))
            compare(ui_View.callsOf("q7_02H_SetCurrentProfile").length, 1)
            verify(!child("pfEntry0").visible)
        }

        function test_profileMenuRestsWhileTheMacroPageIsShown() {
            openShell(1)
            clickFn(1)
            tryCompare(page, "curID", 1)
            compare(pf.enabled, false)
            fuzzyCompare(pf.opacity, 0.2, 1e-9)
            mouseClick(child("pfEntry2"))
            compare(pf.currentIndex, 1)
            compare(ui_View.callsOf("q7_02H_SetCurrentProfile").length, 0)
            clickFn(2)
            tryCompare(page, "curID", 2)
            compare(pf.enabled, true)
        }

        function chooseFromContextMenu(entry, item) {
            var menu = child("pfContextMenu")
            var target = child("pfEntry" + entry)
            mouseClick(target, 10, 10, Qt.RightButton)
            tryCompare(menu, "opacity", 1)
            // It opens beside the entry it belongs to.
            fuzzyCompare(menu.mapToItem(root, 0, menu.height / 2).y,
                         target.mapToItem(root, 0, target.height / 2).y, 1)
            verify(menu.mapToItem(root, menu.width, 0).x <= target.mapToItem(root, 0, 0).x)
            mouseClick(child("pfMenuItem" + item))
            tryCompare(menu, "visible", false)
        }

        function test_loadOnTheCurrentEntryRefreshesThePages() {
            openShell(1)
            mouseClick(child("pfEntry3"))
            ui_View.clear()
            chooseFromContextMenu(3, 0)
            compare(ui_View.calls.slice(0, 2), [["q7_loadProfile", 3], ["q7_02H_SetCurrentProfile", 3]])
            // Then the pages read the profile again, and only read.
            verify(ui_View.names().indexOf("q7_8CH_GetRGBLedEffect") > 1)
            verify(ui_View.names().indexOf("q7_8CH_GetDpi8Stage") > 1)
            verify(ui_View.names().slice(2).every(n => /^(q7_[0-9A-F]*H?_?Get|q7_Get|get|q7_getDefaultProfile$|loadMacroIniConfig$)/.test(n)))
        }

        // LOAD and RESET of another entry, SAVE and CANCEL of any, leave the pages alone.
        function test_otherChoicesNeverRefresh() {
            openShell(1)
            chooseFromContextMenu(3, 0)
            chooseFromContextMenu(4, 2)
            chooseFromContextMenu(1, 1)
            chooseFromContextMenu(1, 3)
            compare(ui_View.calls, [["q7_loadProfile", 3], ["q7_resetProfile", 4],
                                    ["q7_saveProfile", 1]])
            compare(pf.currentIndex, 1)
            // The menus speak the chosen language.
            compare(pf.menuLabels, ["en84", "en85", "en77", "en78"])
            compare(fn.labels, ["en74", "en75", "en76", "en86"])
        }
    }
}
