import QtQuick
import QtTest
import ".."

// The lighting page in the shell against the recording view: the effect list, the enabling
// rules, typed colours, and exactly which calls Apply and Reset make.
PageTestCase {
    name: "ColorPage"

    property var page: null
    readonly property var allOn: new Array(11).fill("true")
    readonly property var stored: [10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120,
                                   130, 140, 150, 160, 170, 180, 190, 200, 210, 220, 230, 240]

    // The page opened with the effects at the given positions switched off, at most maxStage
    // colours used, and the given answers of the bridge changed.
    function open(off, maxStage, answers) {
        var on = allOn.slice()
        for (var i of off || [])
            on[i] = "false"
        ui_View.assign({ productConstants: { "colorMaxStage": String(maxStage || 8), "dpiBase": "50", "effectEnable": on,
                                             "dpiValue": ["400", "800"] },
                         rgbLedEffect: [8, 146, 10], led8StageColor: stored, defaultProfiles: {} })
        ui_View.assign(answers || {})
        page = openPage(2, "_Page_Color")
    }
    function colour(i) {
        return child("colorLights").colors()[i]
    }

    function test_refreshShowsTheBridgeAnswersAndALanguageChangeEveryText() {
        open()
        compare([child("colorEffect").getCurIndex(), child("colorEffect").currentText, child("colorSpeed").value,
                 child("colorBrightness").value, colour(7)], [8, "en91", 7, 4, [220, 230, 240]])
        // A language change re-reads every text.
        child("_Page_Globalsetting").setLanguage(1)
        compare([page.title, page.textEffect, page.textSpeed, page.textBrightness, page.textColours,
                 child("colorReset").tip, child("colorApply").tip, child("colorEffect").currentText,
                 child("colorEffectItem10").textX],
                ["de76", "de7", "de3", "de4", "de35", "de106", "de107", "de91", "de24"])
    }

    function test_listSkipsSwitchedOffEffectsAndAppliesTheCodeOfThePosition() {
        open([0, 2], 6)
        var list = child("colorEffect")
        // Effect 8 sits at position 6 now.
        compare([list.count, child("colorEffectItem0").textX, list.getCurIndex()], [9, "en13", 6])
        choose("colorEffect", 7)
        mouseClick(child("colorSpeed"), 0, 10)
        mouseClick(child("colorBrightness"), child("colorBrightness").width - 1, 10)
        mouseClick(child("colorApply"))
        compare(setterCalls(), [["q7_SetLED8StageColor", stored], ["q7_0CH_SetRGBLedEffect", 9, 255, 15]])
        // colorMaxStage 6 leaves cells 7 and 8 unused.
        compare([child("colorLightsCell6").enabled, child("colorLightsCell7").enabled], [true, false])
    }

    function test_unlistedEffectShowsNoEntryIsKeptAndKeepsItsControls() {
        open([2, 10], 8, { rgbLedEffect: [10, 255, 20] })
        compare([child("colorEffect").getCurIndex(), child("colorEffect").currentText], [-1, "【 en1 】"])
        // SPOTLIGHT's speed still moves within its own range.
        verify(child("colorSpeed").enabled)
        mouseClick(child("colorSpeed"), 0, 10)
        mouseClick(child("colorApply"))
        compare(ui_View.callsOf("q7_0CH_SetRGBLedEffect"), [["q7_0CH_SetRGBLedEffect", 10, 255, 30]])
    }

    function test_controlsFollowTheCodeOfTheChosenEntry() {
        open()
        // With every effect listed, positions 2, 5 and 10 are TWINKLING, WAVE and SPOTLIGHT.
        var seen = each([2, 5, 10], p => {
            child("colorEffect").setCurIndex(p)
            return each(["colorSpeed", "colorBrightness", "colorLights"], n => child(n).enabled)
        })
        compare(seen, [[false, true, true], [true, true, false], [true, true, true]])
        compare([child("colorSpeed").opacity, child("colorLights").opacity], [1, 1])
        // A dimmed group still draws its cells (at the group's 0.2).
        child("colorEffect").setCurIndex(0)
        compare([child("colorSpeed").opacity, child("colorLights").opacity, child("colorLightsCell1").opacity],
                [0.2, 0.2, 1])
    }

    function test_typedComponentsStayInsideAByte() {
        open()
        choose("colorEffect", 1)
        mouseClick(child("colorLightsCell3"))
        var r = child("colorLightsR")
        typeInto(r, "300")
        compare([r.text, colour(2)], ["255", [255, 80, 90]])
        // Letters never enter; an emptied field shows the cell's value again when left.
        typeInto(r, "a-")
        compare(r.text, "255")
        r.selectAll()
        keyClick(Qt.Key_Backspace)
        compare(r.text, "")
        keyClick(Qt.Key_Tab)
        compare([r.text, colour(2)], ["255", [255, 80, 90]])
        mouseClick(child("colorApply"))
        var sent = ui_View.callsOf("q7_SetLED8StageColor")[0][1]
        compare(sent.slice(6, 9), [255, 80, 90])
        verify(sent.every(v => v >= 0 && v <= 255))
    }

    function test_rainbowStripColoursTheCurrentCellAndTheInputs() {
        open()
        choose("colorEffect", 1)
        mouseClick(child("colorLightsCell2"))
        var strip = child("colorLightsRainbow")
        mouseClick(strip, strip.width / 2, 0)
        compare(colour(1), [0, 0, 0])
        // One eighth down is pure red.
        mouseClick(strip, strip.width / 2, (strip.height - 1) * 0.125)
        compare([colour(1), child("colorLightsR").text, child("colorLightsG").text], [[255, 0, 0], "255", "0"])
    }

    function test_resetShowsProfileZerosFactoryValuesAndSendsNothing() {
        var fw = Array.from({ length: 128 }, (_, i) => String(i))
        fw.splice(0x47, 3, "3", "255", "1")
        open([], 8, { defaultProfiles: { "profile_fw/0": fw } })
        mouseClick(child("colorReset"))
        compare([child("colorEffect").getCurIndex(), child("colorBrightness").value, child("colorSpeed").value,
                 colour(0), setterCalls()], [3, 7, 7, [0x18, 0x19, 0x1A], []])
    }

    function test_profileSwitchRefreshesAndAllSaveSendsTheNewEffect() {
        open()
        ui_View.rgbLedEffect = [5, 0, 10]
        mouseClick(child("pfEntry3"))
        compare([child("colorEffect").getCurIndex(), child("colorSpeed").value, child("colorBrightness").value],
                [5, 0, 0])
        ui_View.clear()
        mouseClick(child("btnTotalApply"))
        compare(ui_View.callsOf("q7_0CH_SetRGBLedEffect"), [["q7_0CH_SetRGBLedEffect", 5, 0, 10]])
    }

    // The effect list by keyboard and for a screen reader, which hears the colours with their
    // values; the open list tells which entry is chosen and chooses by Press.
    function test_effectsByKeyboardAndScreenReader() {
        open()
        var effect = child("colorEffect")
        effect.forceActiveFocus()
        keyClick(Qt.Key_Up)
        compare(effect.getCurIndex(), 7)
        keyClick(Qt.Key_Space)
        verify(effect.opened)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Return)
        compare([effect.getCurIndex(), effect.Accessible.name, effect.Accessible.description], [8, "en7", "en91"])
        compare(child("colorLightsCell2").Accessible.name, "Colour 2: red 40, green 50, blue 60")
        compare([child("colorSpeed").minimumValue, child("colorSpeed").maximumValue], [0, 7])
        effect.Accessible.pressAction()
        verify(effect.opened)
        compare(child("colorEffectItem" + effect.currentIndex).Accessible.selected, true)
        child("colorEffectItem1").Accessible.pressAction()
        compare([effect.opened, effect.currentIndex], [false, 1])
    }
}
