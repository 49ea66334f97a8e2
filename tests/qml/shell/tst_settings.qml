import QtQuick
import QtTest
import ".."
import "options.js" as Options

// The global settings page: stored options in, the look it sets, and the list it stores.

PageTestCase {
    name: "Settings"

    property var settings: null

    function init() {
        ui_View.assign({ apConfig: Options.stored({}), apConfigDefaults: [], customFilePath: "", skin: 1, sectionStrings: {},
                         languages: { "ENGLISH": "031000", "GERMAN": "042000" },
                         languageStrings: { "031000": Options.strings("en", "DejaVu Sans"),
                                            "042000": Options.strings("de", "DejaVu Serif") } })
        createShell()
        settings = child("_Page_Globalsetting")
    }

    // Starts the shell, makes its pages (as once the opening has started), opens the drawer
    // and waits for it to be in place, so that clicks reach the page.
    function openDrawer() {
        shell.initUI()
        shell.visible = true
        child("main_Q7").makeAllPages()
        child("upItem").btnClicked(0)
        tryCompare(child("_fkGlobalsetting"), "contentX", 0)
    }

    function rgb() {
        return [settings._R, settings._G, settings._B]
    }

    function colour() {
        var c = shell.globalSetting_color
        return each([c.r, c.g, c.b, c.a], v => Math.round(v * 255))
    }

    function test_storedOptionsAsTexts() {
        ui_View.apConfig = Options.stored({ 3: "1", 4: "1", 5: "false", 7: "1", 17: "10", 18: "20", 19: "30",
                                            29: "3", 30: "0", 31: "https://example.org/other" })
        ui_View.skin = 2
        shell.initUI()
        // "false" from the file is not a true custom background.
        compare([shell.animation_speed, shell.isCustomBackground, shell.globalSetting_size, settings.languageIndex,
                 shell.globalSetting_stringList[1], shell.globalSetting_fontFamily, settings.selectedSlot],
                [10, false, 12, 1, "de1", "DejaVu Serif", 3])
        // The drawer's inputs, made when it first opens, start from the stored colour.
        child("upItem").btnClicked(0)
        compare([rgb(), child("inputG").text, colour(), shell.globalSetting_url, shell.skin_No,
                 String(child("btnTotalApply").source)], [[10, 20, 30], "20", [10, 20, 30, 45],
                 "https://example.org/other", 2, "file:modules/img/skin2/common/apply_0.png"])
    }

    // No options, an unreadable language file, or a stored language beyond the list: the
    // built-in look and texts stay wherever nothing better was read.
    function test_builtInFallbacks_data() {
        return [{ tag: "no options", options: [], asked: 0, first: "OPTIONS", speed: 800 },
                { tag: "unreadable language", options: Options.stored({}), asked: 1,
                  strings: ["", "Optionen"], first: "Optionen", speed: 10 },
                { tag: "language beyond the list", options: Options.stored({ 4: "7" }),
                  asked: 0, first: "OPTIONS", speed: 10 }]
    }
    function test_builtInFallbacks(row) {
        ui_View.apConfig = row.options
        if (row.strings)
            ui_View.languageStrings = { "031000": row.strings }
        shell.initUI()
        compare([ui_View.callsOf("getGlobalStrings").length, shell.globalSetting_stringList[1],
                 shell.globalSetting_stringList[113], shell.globalSetting_fontFamily, shell.globalSetting_size,
                 shell.animation_speed], [row.asked, row.first, "ALL RESET", "Arial", 11, row.speed])
    }

    function test_aLanguageChosenRetranslatesAtOnceAndAllSaveStoresIt() {
        openDrawer()
        ui_View.clear()
        ui_View.sectionStrings = { "keyboard": { "settings": "EINSTELLUNGEN", "close": "" } }
        settings.setLanguage(1)
        // The shell and the rules list read their own sections of the language file; nothing is
        // stored until Apply.
        compare(ui_View.names(), ["getGlobalStrings", "q7_getProductLayoutStrings",
                                  "getFollowStrings"])
        compare([child("main_Q7")._ProductLayoutStringList[0], child("_Page_Keydefine").title,
                 shell.globalSetting_fontFamily], ["042000/0", "de74", "DejaVu Serif"])
        // An empty text keeps the built-in name.
        compare([child("btnSetting").Accessible.name, child("btnClose").Accessible.name], ["EINSTELLUNGEN", "Close"])
        // A change the drawer shows but nobody applied is stored by ALL SAVE, once.
        child("upItem").btnClicked(0)
        tryCompare(child("_fkGlobalsetting"), "visible", false)
        ui_View.clear()
        child("downItem").applyAll()
        compare([ui_View.callsOf("saveApConfig").length, ui_View.saved[4]], [1, 1])
        child("downItem").applyAll()
        compare(ui_View.callsOf("saveApConfig").length, 1)
    }

    function test_paletteStripSlotsInputsAndBrightness() {
        openDrawer()
        var strip = child("paletteStrip")
        compare(strip.height, 257)                     // so y / (h - 1) = y / 256
        // 48 / 256 = 3/16; 7 * 32 + 16 is halfway from white to black.
        var picked = each([0, 48, 256, 7 * 32 + 16], y => { settings.pickPalette(y); return rgb() })
        compare([picked, settings.slotColors[0], child("inputR").text],
                [[[0, 0, 0], [255, 128, 0], [0, 0, 0], [127, 127, 127]], [127, 127, 127], "127"])
        // A real press, through the turned rectangle: its y runs left to right on screen.
        mousePress(strip, 8, 64)                       // 64 / 256 = 2/8: yellow
        mouseRelease(strip, 8, 64)
        compare(rgb(), [255, 255, 0])
        verify(strip.mapToItem(null, 8, 10).x < strip.mapToItem(null, 8, 200).x)
        // The slots, their R, G, B inputs and the brightness.
        mouseClick(child("paletteSlot2"))
        compare([settings.selectedSlot, rgb(), child("inputB").text], [2, [255, 180, 0], "0"])
        var g = child("inputG")
        typeInto(g.input, "12")
        keyClick(Qt.Key_Return)
        compare([rgb(), settings.slotColors[2], colour().slice(0, 3)], [[255, 12, 0], [255, 12, 0], [255, 12, 0]])
        // Out of range or empty input takes the working value back.
        g.input.selectAll()
        keyClick(Qt.Key_Delete)
        settings.forceActiveFocus()
        compare([g.text, rgb()], ["12", [255, 12, 0]])
        // A slot click shows the slot's colour without rewriting another slot.
        mouseClick(child("paletteSlot4"))
        compare([rgb(), settings.slotColors[2]], [[200, 170, 255], [255, 12, 0]])
        // The eight brightness steps run from 45 to 255.
        compare(each([0, 3, 7], k => { mouseClick(child("brightnessStep" + k)); return colour()[3] }), [45, 135, 255])
    }

    // The skin shows at once and is stored beside the option list, after it.
    function test_applyStoresTheOptionsInOrderAndCloses() {
        openDrawer()
        settings.setLanguage(1)
        mouseClick(child("sizeLarger"))
        mouseClick(child("skin2"))
        compare([shell.skin_No, String(child("sensorApply").source)],
                [2, "file:modules/img/skin2/common/apply_0.png"])
        settings.selectSlot(5)
        settings.pickPalette(48)
        mouseClick(child("brightnessStep6"))
        // APPLY takes an input still being edited: R of slot 5.
        typeInto(child("inputR").input, "9")
        ui_View.clear()
        mouseClick(child("btnApply"))
        compare([ui_View.names(), ui_View.skin], [["saveApConfig", "saveSkin"], 2])
        compare(ui_View.saved, [2, 0, 0, 1, 1, false, "", 1, 0, 255, 255, 255, 200, 150, 255, 180, 0, 200, 200, 100,
                                200, 170, 255, 9, 128, 0, 160, 190, 160, 5, 6, "https://example.org/q7"])
        verify(!child("upItem").isGlobalSettingSelect)
        tryCompare(child("_fkGlobalsetting"), "visible", false)
    }

    function test_resetRestoresTheStoredDefaults() {
        openDrawer()
        settings.setSize(1)
        mouseClick(child("skin2"))
        ui_View.apConfigDefaults = Options.stored({ 7: "0", 30: "2" })
        ui_View.clear()
        mouseClick(child("btnReset"))
        compare(ui_View.names().slice(0, 3), ["resetApconfig", "loadApConfig", "loadSkin"])
        compare([shell.globalSetting_size, settings.brightnessStep, shell.skin_No], [11, 2, 1])
    }

    // A cancelled choice leaves the built-in background; a chosen file shows at once.
    function test_customBackgroundToggle() {
        shell.initUI()
        settings.toggleBackground()
        compare([shell.isCustomBackground, String(shell.sourceCustomBackground)], [false, ""])
        ui_View.customFilePath = "/home/user/Pictures/sky.png"
        settings.toggleBackground()
        compare([shell.isCustomBackground, String(findChild(child("envItem"), "backgroundImage").source)],
                [true, "file:///home/user/Pictures/sky.png"])
        settings.toggleBackground()
        compare([shell.isCustomBackground, ui_View.callsOf("getCustomFilePath").length], [false, 2])
    }
}
