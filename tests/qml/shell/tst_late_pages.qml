import QtQuick
import QtTest
import ".."
import "options.js" as Options
import "qrc:/modules/qml/basic/ShellKeys.js" as ShellKeys

// Pages made after the start: what a late page shows, and what ALL SAVE and ALL RESET send
// while some pages were never made. The reference is the same shell with every page made
// and untouched, so a page made at the wrong moment or answering out of turn shows here.
PageTestCase {
    name: "LatePages"

    readonly property var pageNames: ["_Page_Keydefine", "_Page_Macro", "_Page_Color", "_Page_Sensor"]

    function init() {
        ui_View.assign({ enabled: true, apConfig: Options.stored({ 3: "1" }), currentProfile: 2,
                         reportRate: 2, cursorSpeed: 7,
                         languageStrings: { "031000": Options.strings("en", "DejaVu Sans") } })
        createShell()
        shell.initUI()
    }

    function made() {
        return each(pageNames, name => findChild(shell, name) !== null)
    }

    // The opening makes no page (and once played, hands back what making the window freed);
    // a page is made when it is first chosen, and slides in whole.
    function test_aPageIsMadeWhenFirstShown() {
        shell.run()
        tryVerify(() => child("_fkPage").visible && !child("pa_X").running && child("upItem").y === 0, 5000)
        tryVerify(() => ui_View.callsOf("openingPlayed").length === 1, 5000)
        compare(made(), [false, false, false, false])
        mouseClick(child("fnEntry2"))
        tryVerify(() => child("_fkPage").curID === 2 && !child("pa_X").running, 5000)
        compare(made(), [false, false, true, false])
        verify(child("_Page_Color").visible)

        // Chosen by its shortcut, a page not made yet takes the focus once it is there.
        child("fnEntry2").takeFocus(true)
        keyClick(Qt.Key_4, Qt.ControlModifier)
        tryVerify(() => findChild(shell, "_Page_Sensor") !== null && !child("pa_X").running
                  && ShellKeys.inside(shell.Window.activeFocusItem, child("_Page_Sensor")), 5000)
    }

    // A page made after the store changed shows what the store holds then, in the current
    // language, and what it read counts as untouched for its own Reset.
    function test_aPageMadeLateShowsTheStore() {
        ui_View.assign({ reportRate: 4, cursorSpeed: 3 })
        var page = child("main_Q7").pageAt(3)
        compare([page.title, child("sensorRate").getCurIndex(), child("sensorCursorSpeed").value],
                ["en86", 1, 3])
        // The other pages are still unmade: only the one asked for was made.
        compare(made(), [false, false, false, true])
    }

    // What the bottom bar's buttons send, pressed in turn after `prepare` made some pages (or
    // none). ALL RESET sends nothing itself: the ALL SAVE after it shows what it reset.
    function bottomBarCalls(buttons, prepare) {
        createShell()
        shell.initUI()
        prepare(child("main_Q7"))
        ui_View.clear()
        for (var button of buttons) {
            child("downItem")[button]()
            tryCompare(ui_View, "enabled", true, 5000)
        }
        return setterCalls()
    }

    function test_bottomBarWithUnmadePagesSendsAsUntouchedPages_data() {
        return [{ tag: "ALL SAVE", buttons: ["applyAll"] }, { tag: "ALL RESET", buttons: ["resetAll", "applyAll"] }]
    }
    function test_bottomBarWithUnmadePagesSendsAsUntouchedPages(row) {
        var all = bottomBarCalls(row.buttons, q7 => q7.makeAllPages())
        var names = all.map(c => c[0])
        verify(names.length > 0)
        // The key page's block before the lighting page's, the lighting's before the sensor's.
        verify(names.indexOf("q7_0DH_SetKeyMatrix") < names.indexOf("q7_0CH_SetRGBLedEffect"))
        verify(names.indexOf("q7_0CH_SetRGBLedEffect") < names.indexOf("q7_03H_SetReportRate"))
        compare(bottomBarCalls(row.buttons, q7 => {}), all, "no page made")
        // The sensor page made first still answers in the fixed order.
        compare(bottomBarCalls(row.buttons, q7 => { q7.pageAt(3); q7.pageAt(2) }), all, "out of order")
    }
}
