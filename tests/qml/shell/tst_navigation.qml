import QtQuick
import QtTest
import ".."

// Page switching, the settings drawer and the profile menu, driven by clicks.
PageTestCase {
    name: "Navigation"

    property var page: null
    property var fn: null
    property var pf: null

    // The shell after a fast opening; slow (animation switch 0) afterwards when asked, so that
    // a slide is still running when the next click comes.
    function open(animation) {
        openShell()
        page = child("_fkPage")
        fn = child("fnItem")
        pf = child("pfItem")
        child("_Page_Globalsetting").setAnimation(animation)
        ui_View.clear()
    }
    function clickFn(index) {
        mouseClick(child("fnEntry" + index))
    }
    function profileSwitches() {
        return ui_View.callsOf("q7_02H_SetCurrentProfile")
    }

    function test_keyThenMacroThenMacroAgain() {
        open(1)
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
        compare([page.contentX, child("_Page_Macro").visible], [-2 * page.width, false])
    }

    function test_clickDuringSlideInFinishesItWithoutJumpingBack() {
        open(0)
        clickFn(0)
        verify(child("pa_X").running)
        clickFn(1)
        // The running slide-in is completed where it was heading, now showing MACRO.
        verify(!child("pa_X").running && !child("paBack_X").running)
        compare([page.contentX, page.curID, child("_Page_Macro").visible], [0, 1, true])
    }

    function test_clickDuringSlideOutCarriesOnToTheNewPage() {
        open(0)
        clickFn(0)
        child("pa_X").complete()
        clickFn(1)
        verify(child("paBack_X").running)
        compare(page.curID, 0)
        clickFn(3)
        // The slide-out ends at once and the newest choice slides in from there.
        verify(!child("paBack_X").running && child("pa_X").running && page.curID === 3 && page.contentX < 0)
        child("pa_X").complete()
        compare([page.contentX, child("_Page_Sensor").visible, child("_Page_Keydefine").visible,
                 child("_Page_Macro").visible], [0, true, false, false])
    }

    function test_drawerRestsEverythingButTheTopBar() {
        open(1)
        var up = child("upItem"), down = child("downItem"), drawer = child("_fkGlobalsetting")
        mouseClick(child("btnSetting"))
        verify(up.isGlobalSettingSelect && drawer.visible)
        tryCompare(drawer, "contentX", 0)
        compare(each([down, fn, pf, page, up], i => i.enabled), [false, false, false, false, true])
        // Disabled controls ignore clicks.
        mouseClick(child("fnEntry2"))
        mouseClick(child("pfEntry3"))
        compare([fn.currentIndex, profileSwitches()], [-1, []])

        mouseClick(child("btnSetting"))
        verify(!up.isGlobalSettingSelect)
        tryCompare(drawer, "visible", false)
        compare(each([down, fn, pf, page], i => i.enabled), [true, true, true, true])
    }

    function test_drawerShowDuringCloseFinishesTheCloseAndOpensAgain() {
        open(0)
        var drawer = child("_fkGlobalsetting")
        drawer.show()
        drawer.show()                          // finishes the opening at once
        compare(drawer.contentX, 0)
        drawer.close()
        verify(drawer.contentX >= 0 && drawer.visible)
        drawer.show()                          // close finished, then opened again
        tryCompare(drawer, "contentX", 0, 5000)
        verify(drawer.visible)
    }

    // A click switches the profile, the current entry's again nothing; the column rests while
    // the macro page is shown.
    function test_profileClicksAndTheMacroPage() {
        open(1)
        mouseClick(child("pfEntry3"))
        mouseClick(child("pfEntry3"))
        compare([pf.currentIndex, profileSwitches(), child("pfEntry0").visible],
                [3, [["q7_02H_SetCurrentProfile", 3]], false])
        ui_View.clear()
        clickFn(1)
        tryCompare(page, "curID", 1)
        verify(!pf.enabled)
        mouseClick(child("pfEntry2"))
        compare([pf.currentIndex, profileSwitches()], [3, []])
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
        fuzzyCompare(menu.mapToItem(null, 0, menu.height / 2).y, target.mapToItem(null, 0, target.height / 2).y, 1)
        verify(menu.mapToItem(null, menu.width, 0).x <= target.mapToItem(null, 0, 0).x)
        mouseClick(child("pfMenuItem" + item))
        tryCompare(menu, "visible", false)
    }

    // LOAD and RESET of another entry, SAVE and CANCEL of any, leave the pages alone; LOAD of
    // the current one refreshes them.
    function test_onlyLoadOfTheCurrentEntryRefreshes() {
        open(1)
        chooseFromContextMenu(3, 0)
        chooseFromContextMenu(4, 2)
        chooseFromContextMenu(1, 1)
        chooseFromContextMenu(1, 3)
        compare(ui_View.calls, [["q7_loadProfile", 3], ["q7_resetProfile", 4], ["q7_saveProfile", 1]])
        compare(pf.currentIndex, 1)
        // The menus speak the chosen language.
        compare([pf.menuLabels, fn.labels], [["en84", "en85", "en77", "en78"], ["en74", "en75", "en76", "en86"]])

        // LOAD of the current entry loads it into the mouse, switches to it again, and the pages
        // read the profile again, and only read.
        mouseClick(child("pfEntry3"))
        ui_View.clear()
        chooseFromContextMenu(3, 0)
        compare(ui_View.calls.slice(0, 2), [["q7_loadProfile", 3], ["q7_02H_SetCurrentProfile", 3]])
        var after = ui_View.names().slice(2)
        verify(after.indexOf("q7_8CH_GetRGBLedEffect") >= 0 && after.indexOf("q7_8CH_GetDpi8Stage") >= 0)
        verify(after.every(n => /^(q7_[0-9A-F]*H?_?Get|q7_Get|get|q7_getDefaultProfile$|loadMacroIniConfig$)/.test(n)))
    }
}
