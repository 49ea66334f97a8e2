import QtQuick
import QtTest
import ".."
import "../shell/options.js" as Options

// The sensor page in the shell against the recording view: what it shows from the bridge's
// answers, and exactly which calls Apply and Reset make.
Item {
    id: root
    width: 1000
    height: 600

    PageTestCase {
        id: tc
        name: "SensorPage"
        host: root

        property var page: null

        function init() {
            ui_View.productConstants = { "colorMaxStage": "8", "dpiBase": "50",
                                         "effectEnable": ["true", "true"],
                                         "dpiValue": ["0", "200", "400", "600", "800", "1000", "1200",
                                                      "1600", "2000", "2400", "3000", "3200", "4000",
                                                      "4800", "5000", "6000", "7200", "7950"] }
            ui_View.maxDpiStage = 8
            ui_View.ledTwinkle = 0
            ui_View.reportRate = 4
            ui_View.dpiStage = 3
            ui_View.cursorSpeed = 7
            ui_View.scrollLines = 3
            ui_View.doubleClickSpeed = 9
            ui_View.dpi8Stage = [8, 16, 32, 0xCF, 128, 0, 0, 0, 8, 16, 32, 0xCF, 128, 0, 0, 0]
            ui_View.dpi8Io = [0, 1, 2, 3, 4, 5, 6, 8]
            ui_View.dpi8Color = [255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 0, 255,
                                 0, 255, 255, 255, 255, 0, 255, 255, 255, 255, 127, 0]
            ui_View.defaultProfiles = {}
        }

        function open() {
            openShell(3)
            page = child("_Page_Sensor")
            verify(page.visible)
        }

        function test_initUIShowsTheBridgeAnswers() {
            open()
            compare(child("sensorRate").getCurIndex(), 1)
            compare(child("sensorCursorSpeed").value, 7)
            compare(child("sensorScrollSpeed").value, 3)
            compare(child("sensorDoubleClick").value, 9)
            var dpi = child("sensorDpi")
            compare(dpi.getCurIndex(), 2)
            compare(Array.from(dpi.valueForIndex), [400, 800, 1600, 7950, 6400, 0, 0, 0])
            compare(child("sensorIndicator").getCurIndex(), 2)
            compare(child("sensorIndicator").ids(), [0, 1, 2, 3, 4, 5, 6, 7])
            compare(child("sensorIndicator").colors()[7], [255, 127, 0])
            verify(child("sensorIndicator").isCompat8Color)
            compare(Array.from(dpi.valueForMenuIndex).length, 18)
            // Texts by index from the language's list.
            compare(page.textRate, "en100")
            compare(page.textIndicator, "en105")
            compare(child("sensorApply").tip, "en107")
            compare(child("sensorReset").tip, "en106")
        }

        function test_languageChangeReReadsEveryText() {
            open()
            ui_View.languageStrings = { "031000": Options.strings("en", "DejaVu Sans"),
                                        "042000": Options.strings("de", "DejaVu Sans") }
            child("_Page_Globalsetting").setLanguage(1)
            compare([page.title, page.textRate, page.textCursor, page.textScroll, page.textDoubleClick,
                     page.textDpi, page.textIndicator, child("sensorReset").tip, child("sensorApply").tip],
                    ["de86", "de100", "de101", "de102", "de103", "de104", "de105", "de106", "de107"])
        }

        function test_applyInPaletteModeMakesExactlyTheseCalls() {
            open()
            mouseClick(child("sensorRateButton0"))
            mouseClick(child("sensorIndicatorSwatch7"))
            mouseClick(child("sensorApply"))
            compare(setterCalls(), [
                ["q7_03H_SetReportRate", 8],
                ["setCursorSpeed", 7],
                ["setVerticalScrollLines", 3],
                ["setDoubleClickSpeed", 9],
                ["q7_0CH_SetDpi8Io", [0, 1, 8, 3, 4, 5, 6, 8]],
                ["q7_0CH_SetDpi8Stage", [8, 16, 32, 0xCF, 128, 0, 0, 0, 8, 16, 32, 0xCF, 128, 0, 0, 0]],
                ["q7_04H_SetDPIStage", 3]
            ])
            compare(ui_View.callsOf("setEnabled")[0], ["setEnabled", false])
        }

        function test_applyInRgbModeSendsTheColoursAndTheEditedStage() {
            ui_View.ledTwinkle = 1
            open()
            verify(!child("sensorIndicator").isCompat8Color)
            // Stage 5 gets 1600 through its menu, stage 2 becomes current.
            mouseClick(child("sensorDpiStage5Menu"))
            mouseClick(child("sensorDpiMenuEntry7"))
            mouseClick(child("sensorDpiStage2"))
            compare(child("sensorIndicator").getCurIndex(), 1)
            var r = child("sensorIndicatorR")
            r.forceActiveFocus()
            r.selectAll()
            keyClick(Qt.Key_1)
            keyClick(Qt.Key_2)
            keyClick(Qt.Key_Return)
            mouseClick(child("sensorApply"))
            var calls = setterCalls()
            compare(calls.map(c => c[0]), ["q7_03H_SetReportRate", "setCursorSpeed", "setVerticalScrollLines",
                                           "setDoubleClickSpeed", "q7_0CH_SetDpi8Color", "q7_0CH_SetDpi8Stage",
                                           "q7_04H_SetDPIStage"])
            compare(calls[4][1], [255, 0, 0, 12, 255, 0, 0, 0, 255, 255, 0, 255,
                                  0, 255, 255, 255, 255, 0, 255, 255, 255, 255, 127, 0])
            compare(calls[5][1], [8, 16, 32, 0xCF, 32, 0, 0, 0, 8, 16, 32, 0xCF, 32, 0, 0, 0])
            compare(calls[6], ["q7_04H_SetDPIStage", 2])
        }

        function test_applyThenInitUIReadsBackWhatWasSent() {
            // What Apply writes, initUI shows again unchanged: the stand-in stores like the bridge.
            ui_View.reportRate = 3
            open()
            mouseClick(child("sensorApply"))
            var first = setterCalls()
            page.initUI()
            ui_View.clear()
            mouseClick(child("sensorApply"))
            compare(setterCalls(), first)
            compare(first[0], ["q7_03H_SetReportRate", 1])
        }

        function test_resetShowsTheFactoryValuesAndSendsNothing() {
            var fw = [], fw0 = []
            for (var i = 0; i < 128; ++i) {
                fw.push("0")
                fw0.push("0")
            }
            ;[20, 40, 0xCF, 80, 0, 0, 0, 0].forEach((v, k) => fw[0x54 + k] = String(v))
            for (var c = 0; c < 24; ++c)
                fw[0x68 + c] = String(c)
            ;[6, 5, 4, 3, 2, 1, 0, 8].forEach((v, k) => fw0[0x10 + k] = String(v))
            ui_View.defaultProfiles = {
                "profile_sw/1": ["false", "5", "2", "5"],
                "profile_fw/1": fw,
                "profile_fw/0": fw0,
                "other_fw/1": ["2", "1", "0"]
            }
            open()
            mouseClick(child("sensorReset"))
            compare(child("sensorRate").getCurIndex(), 3)
            compare([child("sensorCursorSpeed").value, child("sensorScrollSpeed").value,
                     child("sensorDoubleClick").value], [5, 2, 5])
            compare(Array.from(child("sensorDpi").valueForIndex), [1000, 2000, 7950, 4000, 0, 0, 0, 0])
            compare(child("sensorDpi").getCurIndex(), 1)
            compare(child("sensorIndicator").ids(), [6, 5, 4, 3, 2, 1, 0, 7])
            compare(child("sensorIndicator").colors()[1], [3, 4, 5])
            compare(setterCalls(), [])
            compare(ui_View.callsOf("q7_getDefaultProfile").map(c => c.slice(1)),
                    [["profile_sw", 1], ["profile_fw", 1], ["profile_fw", 0], ["other_fw", 1]])
            // The bottom bar's reset does the same; its apply then sends the factory values.
            ui_View.clear()
            mouseClick(child("btnTotalApply"))
            compare(ui_View.callsOf("q7_03H_SetReportRate"), [["q7_03H_SetReportRate", 1]])
        }

        function test_stageCountHidesStagesAndCells() {
            ui_View.maxDpiStage = 5
            open()
            for (var i = 1; i <= 8; ++i) {
                compare(child("sensorDpiStage" + i).visible, i <= 5, "stage " + i)
                compare(child("sensorIndicatorCell" + i).enabled, i <= 5, "cell " + i)
            }
            // A damaged count of 0 would hide everything; all eight are shown instead.
            ui_View.maxDpiStage = 0
            page.initUI()
            verify(child("sensorDpiStage8").visible)
        }

        function test_switchedOffStageCannotBeSelected() {
            open()
            mouseClick(child("sensorDpiStage6"))
            compare(child("sensorDpi").getCurIndex(), 2)
            compare(child("sensorDpiStage6").children[1].text, "×")
            // Switching the current stage off moves the selection to the next stage below.
            mouseClick(child("sensorDpiStage3Menu"))
            mouseClick(child("sensorDpiMenuEntry0"))
            compare(child("sensorDpi").getCurIndex(), 1)
            compare(child("sensorIndicator").getCurIndex(), 1)
        }

        function test_menuOpensBelowItsStageAndClosesOnItsOwnArrow() {
            open()
            var menu = child("sensorDpiMenu")
            verify(!menu.visible)
            mouseClick(child("sensorDpiStage2Menu"))
            verify(menu.visible)
            verify(menu.mapToItem(null, 0, 0).y > child("sensorDpiStage2").mapToItem(null, 0, 0).y + 30)
            compare(child("sensorDpiMenuEntry0").children[0].text, "×")
            // Another stage's arrow moves the menu there; the same arrow again closes it.
            mouseClick(child("sensorDpiStage4Menu"))
            compare(child("sensorDpi").menuStage, 3)
            mouseClick(child("sensorDpiStage4Menu"))
            verify(!menu.visible)
        }

        function test_damagedListsLeaveTheControlsAsTheyWere() {
            open()
            ui_View.dpi8Color = [1, 2, 3]
            ui_View.dpi8Io = [0, 1, 2, 3, 4, 5, 6, 7, 0]
            ui_View.dpi8Stage = [1, 2]
            var ids = child("sensorIndicator").ids()
            var colours = child("sensorIndicator").colors()
            page.initUI()
            compare(child("sensorIndicator").ids(), ids)
            compare(child("sensorIndicator").colors(), colours)
            compare(Array.from(child("sensorDpi").valueForIndex), [400, 800, 1600, 7950, 6400, 0, 0, 0])
        }

        function test_profileSwitchReadsTheNewProfile() {
            open()
            ui_View.reportRate = 8
            ui_View.cursorSpeed = 1
            mouseClick(child("pfEntry2"))
            compare(ui_View.calls[0], ["q7_02H_SetCurrentProfile", 2])
            compare(child("sensorRate").getCurIndex(), 0)
            compare(child("sensorCursorSpeed").value, 1)
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
                var item = child(order[i])
                verify(item.activeFocus, order[i] + " has the focus")
                verify(item.Accessible.name.length > 0, order[i] + " has a name")
                if (i === 0) {
                    keyClick(Qt.Key_Left)
                    keyClick(Qt.Key_Left)
                }
            }
            keyClick(Qt.Key_Space)
            compare(setterCalls()[0], ["q7_03H_SetReportRate", 2])
            compare(setterCalls()[1], ["setCursorSpeed", 5])
        }
    }
}
