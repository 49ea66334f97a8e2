import QtQuick
import QtTest
import ".."

// The sensor page in the shell against the recording view: what it shows from the bridge's
// answers, and exactly which calls Apply and Reset make.
PageTestCase {
    name: "SensorPage"

    property var page: null

    // The page opened on these answers of the bridge, with the given ones changed.
    function open(answers) {
        ui_View.assign({
            productConstants: { "colorMaxStage": "8", "dpiBase": "50", "effectEnable": ["true", "true"],
                                "dpiValue": ["0", "200", "400", "600", "800", "1000", "1200", "1600", "2000",
                                             "2400", "3000", "3200", "4000", "4800", "5000", "6000", "7200", "7950"] },
            pointerChangeable: [true, true, true, true], sectionStrings: {}, maxDpiStage: 8, ledTwinkle: 0, reportRate: 4, dpiStage: 3, cursorSpeed: 7, scrollLines: 3,
            doubleClickSpeed: 9, defaultProfiles: {}, dpi8Io: [0, 1, 2, 3, 4, 5, 6, 8],
            dpi8Stage: [8, 16, 32, 0xCF, 128, 0, 0, 0, 8, 16, 32, 0xCF, 128, 0, 0, 0],
            dpi8Color: [255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 0, 255, 0, 255, 255, 255, 255, 0, 255, 255, 255, 255, 127, 0]
        })
        ui_View.assign(answers || {})
        page = openPage(3, "_Page_Sensor")
    }
    function shownDpi() {
        return Array.from(child("sensorDpi").valueForIndex)
    }

    function test_initUIShowsTheBridgeAnswersAndALanguageChangeEveryText() {
        open()
        compare([child("sensorRate").getCurIndex(), child("sensorCursorSpeed").value, child("sensorScrollSpeed").value,
                 child("sensorDoubleClick").value, child("sensorDpi").getCurIndex(),
                 child("sensorIndicator").getCurIndex()], [1, 7, 3, 9, 2, 2])
        compare(shownDpi(), [400, 800, 1600, 7950, 6400, 0, 0, 0])
        compare([child("sensorIndicator").ids(), child("sensorIndicator").colors()[7], child("sensorIndicator").isCompat8Color],
                [[0, 1, 2, 3, 4, 5, 6, 7], [255, 127, 0], true])
        // A screen reader hears the stages, their menus and the indicator cells with their values.
        compareNames({ sensorDpiStage2: "Stage 2: 800 DPI", sensorDpiStage6: "Stage 6: off",
                       sensorDpiStage2Menu: "Stage 2: choose DPI", sensorIndicatorCell3: "Stage 3 indicator: blue",
                       sensorIndicatorCell8: "Stage 8 indicator: orange", sensorIndicatorSwatch4: "cyan" })
        // A language change re-reads every text.
        child("_Page_Globalsetting").setLanguage(1)
        compare([page.title, page.textRate, page.textCursor, page.textScroll, page.textDoubleClick,
                 page.textDpi, page.textIndicator, child("sensorReset").tip, child("sensorApply").tip],
                ["de86", "de100", "de101", "de102", "de103", "de104", "de105", "de106", "de107"])
    }

    // A setting the desktop does not take shows disabled, with the language's reason as its hover
    // text and description; neither a click nor Tab reaches it, and Apply stores its position again.
    function test_settingTheDesktopRefusesIsDisabledAndSaysWhy() {
        open({ pointerChangeable: [true, true, false, true], sectionStrings: { names: { notOnDesktop: "NOT HERE" } } })
        var scroll = child("sensorScrollSpeed"), tip = child("hoverTip")
        compare([child("sensorCursorSpeed").enabled, scroll.enabled, child("sensorDoubleClick").enabled],
                [true, false, true])
        mouseClick(scroll, scroll.width - 5, scroll.height / 2)
        mouseMove(scroll, 40, scroll.height / 2)
        tryVerify(() => tip.visible)
        compare([tip.text, scroll.Accessible.description, scroll.value], ["NOT HERE", "3. NOT HERE", 3])
        mouseMove(page, 10, 380)
        verify(!tip.visible)
        child("sensorCursorSpeed").forceActiveFocus()
        keyClick(Qt.Key_Tab)
        verify(child("sensorDoubleClick").activeFocus)
        mouseClick(child("sensorApply"))
        compare(ui_View.callsOf("setVerticalScrollLines"), [["setVerticalScrollLines", 3]])
    }

    function test_applyInPaletteModeMakesExactlyTheseCalls() {
        open()
        mouseClick(child("sensorRateButton0"))
        mouseClick(child("sensorIndicatorSwatch7"))
        mouseClick(child("sensorApply"))
        // The eight stages go out twice, 7950 as the mouse's own code for 159 units (0xCF).
        compare(setterCalls(), [
            ["q7_03H_SetReportRate", 8], ["setCursorSpeed", 7], ["setVerticalScrollLines", 3],
            ["setDoubleClickSpeed", 9], ["q7_0CH_SetDpi8Io", [0, 1, 8, 3, 4, 5, 6, 8]],
            ["q7_0CH_SetDpi8Stage", [8, 16, 32, 0xCF, 128, 0, 0, 0, 8, 16, 32, 0xCF, 128, 0, 0, 0]],
            ["q7_04H_SetDPIStage", 3]
        ])
        compare(ui_View.callsOf("setEnabled")[0], ["setEnabled", false])
    }

    function test_applyInRgbModeSendsTheColoursAndTheEditedStage() {
        open({ ledTwinkle: 1 })
        verify(!child("sensorIndicator").isCompat8Color)
        // Stage 5 gets 1600 through its menu, stage 2 becomes current.
        mouseClick(child("sensorDpiStage5Menu"))
        mouseClick(child("sensorDpiMenuEntry7"))
        mouseClick(child("sensorDpiStage2"))
        compare(child("sensorIndicator").getCurIndex(), 1)
        typeInto(child("sensorIndicatorR"), "12")
        keyClick(Qt.Key_Return)
        mouseClick(child("sensorApply"))
        compare(setterCalls().slice(4), [
            ["q7_0CH_SetDpi8Color", [255, 0, 0, 12, 255, 0, 0, 0, 255, 255, 0, 255,
                                     0, 255, 255, 255, 255, 0, 255, 255, 255, 255, 127, 0]],
            ["q7_0CH_SetDpi8Stage", [8, 16, 32, 0xCF, 32, 0, 0, 0, 8, 16, 32, 0xCF, 32, 0, 0, 0]],
            ["q7_04H_SetDPIStage", 2]
        ])
    }

    function test_resetShowsTheFactoryValuesAndSendsNothing() {
        var fw = new Array(128).fill("0"), fw0 = new Array(128).fill("0")
        ;[20, 40, 0xCF, 80].forEach((v, k) => fw[0x54 + k] = String(v))
        for (var c = 0; c < 24; ++c)
            fw[0x68 + c] = String(c)
        ;[6, 5, 4, 3, 2, 1, 0, 8].forEach((v, k) => fw0[0x10 + k] = String(v))
        open({ defaultProfiles: { "profile_sw/1": ["false", "5", "2", "5"], "profile_fw/1": fw, "profile_fw/0": fw0,
                                  "other_fw/1": ["2", "1", "0"] } })
        mouseClick(child("sensorReset"))
        compare([child("sensorRate").getCurIndex(), child("sensorCursorSpeed").value, child("sensorScrollSpeed").value,
                 child("sensorDoubleClick").value, child("sensorDpi").getCurIndex()], [3, 5, 2, 5, 1])
        compare(shownDpi(), [1000, 2000, 7950, 4000, 0, 0, 0, 0])
        compare([child("sensorIndicator").ids(), child("sensorIndicator").colors()[1], setterCalls()],
                [[6, 5, 4, 3, 2, 1, 0, 7], [3, 4, 5], []])
        compare(ui_View.callsOf("q7_getDefaultProfile").map(c => c.slice(1)),
                [["profile_sw", 1], ["profile_fw", 1], ["profile_fw", 0], ["other_fw", 1]])
        // The bottom bar's apply then sends the factory values.
        ui_View.clear()
        mouseClick(child("btnTotalApply"))
        compare(ui_View.callsOf("q7_03H_SetReportRate"), [["q7_03H_SetReportRate", 1]])
    }

    function test_stageCountHidesStagesAndCellsButDamagedAnswersDoNot() {
        open({ maxDpiStage: 5 })
        for (var i = 1; i <= 8; ++i) {
            compare(child("sensorDpiStage" + i).visible, i <= 5, "stage " + i)
            compare(child("sensorIndicatorCell" + i).enabled, i <= 5, "cell " + i)
        }
        // A damaged count of 0 would hide everything; all eight are shown instead. Lists of the
        // wrong length leave their controls as they were.
        var ids = child("sensorIndicator").ids(), colours = child("sensorIndicator").colors()
        ui_View.assign({ maxDpiStage: 0, dpi8Color: [1, 2, 3], dpi8Io: [0, 1, 2, 3, 4, 5, 6, 7, 0], dpi8Stage: [1, 2] })
        page.initUI()
        compare([child("sensorDpiStage8").visible, child("sensorIndicator").ids(), child("sensorIndicator").colors(),
                 shownDpi()], [true, ids, colours, [400, 800, 1600, 7950, 6400, 0, 0, 0]])
    }

    function test_switchedOffStageCannotBeSelected() {
        open()
        mouseClick(child("sensorDpiStage6"))
        compare(child("sensorDpi").getCurIndex(), 2)
        // Switching the current stage off moves the selection to the next stage below.
        mouseClick(child("sensorDpiStage3Menu"))
        mouseClick(child("sensorDpiMenuEntry0"))
        compare([child("sensorDpi").getCurIndex(), child("sensorIndicator").getCurIndex()], [1, 1])
    }

    function test_profileSwitchReadsTheNewProfile() {
        open()
        ui_View.assign({ reportRate: 8, cursorSpeed: 1 })
        mouseClick(child("pfEntry2"))
        compare([ui_View.calls[0], child("sensorRate").getCurIndex(), child("sensorCursorSpeed").value],
                [["q7_02H_SetCurrentProfile", 2], 0, 1])
    }

    function test_keyboardWalksThePageAndChangesRateAndSlider() {
        open()
        var rate = child("sensorRate")
        rate.forceActiveFocus()
        keyClick(Qt.Key_Right)
        compare(rate.getCurIndex(), 2)
        var order = ["sensorCursorSpeed", "sensorScrollSpeed", "sensorDoubleClick", "sensorDpi",
                     "sensorIndicatorCells", "sensorIndicatorSwatches", "sensorReset", "sensorApply"]
        for (var i = 0; i < order.length; ++i) {
            keyClick(Qt.Key_Tab)
            verify(child(order[i]).activeFocus, order[i] + " has the focus")
            verify(child(order[i]).Accessible.name.length > 0, order[i] + " has a name")
            if (i === 0) {
                keyClick(Qt.Key_Left)
                keyClick(Qt.Key_Left)
            }
        }
        keyClick(Qt.Key_Space)
        compare(setterCalls().slice(0, 2), [["q7_03H_SetReportRate", 2], ["setCursorSpeed", 5]])
    }

    // The accessible actions do what a click or a key does, and are reported to the page.
    function test_actionsChooseStepAndOpen() {
        open()
        child("sensorRateButton0").accessiblePressAction()
        var slider = child("sensorCursorSpeed")
        compare([slider.minimumValue, slider.maximumValue, slider.stepSize], [0, 10, 1])
        slider.accessibleIncreaseAction()
        slider.accessibleIncreaseAction()
        slider.accessibleIncreaseAction()
        child("sensorScrollSpeed").accessibleDecreaseAction()
        child("sensorDpiStage2Menu").accessiblePressAction()
        compare(child("sensorDpi").menuStage, 1)
        child("sensorDpiMenuEntry8").Accessible.pressAction()
        child("sensorIndicatorSwatch5").accessiblePressAction()
        child("sensorApply").clicked()
        waitUnlocked()
        compare([ui_View.callsOf("q7_03H_SetReportRate")[0][1], ui_View.callsOf("setCursorSpeed")[0][1],
                 ui_View.callsOf("setVerticalScrollLines")[0][1], shownDpi()[1],
                 child("sensorIndicator").ids()[2]], [8, 10, 2, 2000, 5])
    }
}
