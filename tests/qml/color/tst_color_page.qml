import QtQuick
import QtTest
import ".."
import "../shell/options.js" as Options

// The lighting page in the shell against the recording view: the effect list, the enabling
// rules, typed colours, and exactly which calls Apply and Reset make.
Item {
    id: root
    width: 1000
    height: 600

    PageTestCase {
        id: tc
        name: "ColorPage"
        host: root

        property var page: null
        readonly property var allOn: ["true", "true", "true", "true", "true", "true", "true", "true",
                                      "true", "true", "true"]

        function init() {
            ui_View.productConstants = { "colorMaxStage": "8", "dpiBase": "50", "effectEnable": allOn,
                                         "dpiValue": ["400", "800"] }
            ui_View.rgbLedEffect = [8, 146, 10]
            ui_View.led8StageColor = [10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120,
                                      130, 140, 150, 160, 170, 180, 190, 200, 210, 220, 230, 240]
            ui_View.defaultProfiles = {}
        }

        function open() {
            openShell(2)
            page = child("_Page_Color")
            verify(page.visible)
        }

        function chooseEffect(position) {
            mouseClick(child("colorEffect"))
            var item = child("colorEffectItem" + position)
            tryVerify(() => child("colorEffectList").height >= item.y + item.height)
            mouseClick(item)
        }

        function test_refreshShowsEffectSpeedBrightnessAndColours() {
            open()
            compare(child("colorEffect").getCurIndex(), 8)
            compare(child("colorEffect").currentText, "en91")
            compare(child("colorSpeed").value, 7)
            compare(child("colorBrightness").value, 4)
            compare(child("colorLights").colors()[7], [220, 230, 240])
        }

        function test_languageChangeReReadsEveryText() {
            open()
            ui_View.languageStrings = { "031000": Options.strings("en", "DejaVu Sans"),
                                        "042000": Options.strings("de", "DejaVu Sans") }
            child("_Page_Globalsetting").setLanguage(1)
            compare([page.title, page.textEffect, page.textSpeed, page.textBrightness, page.textColours,
                     child("colorReset").tip, child("colorApply").tip],
                    ["de76", "de7", "de3", "de4", "de35", "de106", "de107"])
            compare(child("colorEffect").currentText, "de91")
            compare(child("colorEffectItem10").textX, "de24")
        }

        function test_listSkipsSwitchedOffEffectsAndAppliesTheCodeOfThePosition() {
            var on = allOn.slice()
            on[0] = "false"
            on[2] = "false"
            ui_View.productConstants = { "colorMaxStage": "6", "dpiBase": "50", "effectEnable": on,
                                         "dpiValue": [] }
            open()
            var list = child("colorEffect")
            compare(list.count, 9)
            compare(child("colorEffectItem0").textX, "en13")
            // Effect 8 sits at position 6 now.
            compare(list.getCurIndex(), 6)
            chooseEffect(7)
            mouseClick(child("colorSpeed"), 0, 10)
            mouseClick(child("colorBrightness"), child("colorBrightness").width - 1, 10)
            mouseClick(child("colorApply"))
            compare(setterCalls(), [
                ["q7_SetLED8StageColor", [10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120,
                                          130, 140, 150, 160, 170, 180, 190, 200, 210, 220, 230, 240]],
                ["q7_0CH_SetRGBLedEffect", 9, 255, 15]
            ])
            // colorMaxStage 6 leaves cells 7 and 8 unused.
            verify(child("colorLightsCell6").enabled)
            verify(!child("colorLightsCell7").enabled)
        }

        function test_unlistedEffectShowsNoEntryAndIsKept() {
            ui_View.rgbLedEffect = [2, 255, 0]
            var on = allOn.slice()
            on[2] = "false"
            ui_View.productConstants = { "colorMaxStage": "8", "dpiBase": "50", "effectEnable": on,
                                         "dpiValue": [] }
            open()
            compare(child("colorEffect").getCurIndex(), -1)
            compare(child("colorEffect").currentText, "【 en1 】")
            mouseClick(child("colorApply"))
            compare(ui_View.callsOf("q7_0CH_SetRGBLedEffect"), [["q7_0CH_SetRGBLedEffect", 2, 255, 0]])
        }

        function test_enablingFollowsTheListPosition() {
            open()
            var speed = [], bright = [], colours = []
            for (var p = 0; p < 11; ++p) {
                child("colorEffect").setCurIndex(p)
                if (child("colorSpeed").enabled) speed.push(p)
                if (child("colorBrightness").enabled) bright.push(p)
                if (child("colorLights").enabled) colours.push(p)
                compare(child("colorSpeed").opacity, child("colorSpeed").enabled ? 1 : 0.2)
            }
            // A dimmed group still draws its cells (at the group's 0.2).
            child("colorEffect").setCurIndex(0)
            compare(child("colorLights").opacity, 0.2)
            compare(child("colorLightsCell1").opacity, 1)
            compare(speed, [2, 3, 4, 7, 8])
            compare(bright, [1, 4, 7, 8])
            compare(colours, [1, 2, 6, 7, 8])
        }

        function test_typedComponentsStayInsideAByte() {
            open()
            chooseEffect(1)
            mouseClick(child("colorLightsCell3"))
            var r = child("colorLightsR")
            r.forceActiveFocus()
            r.selectAll()
            keyClick(Qt.Key_3)
            keyClick(Qt.Key_0)
            keyClick(Qt.Key_0)
            compare(r.text, "255")
            compare(child("colorLights").colors()[2], [255, 80, 90])
            // Letters never enter; an emptied field shows the cell's value again when left.
            r.selectAll()
            keyClick(Qt.Key_A)
            keyClick(Qt.Key_Minus)
            compare(r.text, "255")
            r.selectAll()
            keyClick(Qt.Key_Backspace)
            compare(r.text, "")
            keyClick(Qt.Key_Tab)
            compare(r.text, "255")
            compare(child("colorLights").colors()[2], [255, 80, 90])
            mouseClick(child("colorApply"))
            var sent = ui_View.callsOf("q7_SetLED8StageColor")[0][1]
            compare(sent.slice(6, 9), [255, 80, 90])
            verify(sent.every(v => v >= 0 && v <= 255))
        }

        function test_rainbowStripColoursTheCurrentCellAndTheInputs() {
            open()
            chooseEffect(1)
            mouseClick(child("colorLightsCell2"))
            var strip = child("colorLightsRainbow")
            mouseClick(strip, strip.width / 2, 0)
            compare(child("colorLights").colors()[1], [0, 0, 0])
            // One eighth down is pure red.
            mouseClick(strip, strip.width / 2, (strip.height - 1) * 0.125)
            compare(child("colorLights").colors()[1], [255, 0, 0])
            compare(child("colorLightsR").text, "255")
            compare(child("colorLightsG").text, "0")
        }

        function test_resetShowsProfileZerosFactoryValuesAndSendsNothing() {
            var fw = []
            for (var i = 0; i < 128; ++i)
                fw.push(String(i))
            fw[0x47] = "3"
            fw[0x48] = "255"
            fw[0x49] = "1"
            ui_View.defaultProfiles = { "profile_fw/0": fw }
            open()
            mouseClick(child("colorReset"))
            compare(child("colorEffect").getCurIndex(), 3)
            compare(child("colorBrightness").value, 7)
            compare(child("colorSpeed").value, 7)
            compare(child("colorLights").colors()[0], [0x18, 0x19, 0x1A])
            compare(setterCalls(), [])
        }

        function test_profileSwitchRefreshesAndAllSaveAppliesBothPages() {
            open()
            ui_View.rgbLedEffect = [5, 0, 10]
            mouseClick(child("pfEntry3"))
            compare(child("colorEffect").getCurIndex(), 5)
            compare(child("colorSpeed").value, 0)
            compare(child("colorBrightness").value, 0)
            ui_View.clear()
            mouseClick(child("btnTotalApply"))
            var names = setterCalls().map(c => c[0])
            verify(names.indexOf("q7_0CH_SetRGBLedEffect") >= 0)
            verify(names.indexOf("q7_03H_SetReportRate") >= 0)
            compare(ui_View.callsOf("q7_0CH_SetRGBLedEffect")[0], ["q7_0CH_SetRGBLedEffect", 5, 0, 10])
        }

        function test_keyboardChoosesAnEffect() {
            open()
            var list = child("colorEffect")
            list.forceActiveFocus()
            keyClick(Qt.Key_Up)
            compare(list.getCurIndex(), 7)
            keyClick(Qt.Key_Space)
            verify(list.opened)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Return)
            compare(list.getCurIndex(), 8)
            compare(list.Accessible.name, "en91")
        }
    }
}
