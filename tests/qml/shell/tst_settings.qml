import QtQuick
import QtTest
import "options.js" as Options

// The global settings page: stored options in, the look it sets, and the list it stores.
Item {
    id: root
    width: 1000
    height: 600

    TestCase {
        id: tc
        name: "Settings"
        when: windowShown

        property var shell: null
        property var settings: null

        function child(name) {
            var item = findChild(shell, name)
            verify(item, "no item " + name)
            return item
        }

        function init() {
            ui_View.clear()
            ui_View.apConfig = Options.stored({})
            ui_View.apConfigDefaults = []
            ui_View.languages = { "ENGLISH": "031000", "GERMAN": "042000" }
            ui_View.languageStrings = { "031000": Options.strings("en", "DejaVu Sans"),
                                        "042000": Options.strings("de", "DejaVu Serif") }
            ui_View.customFilePath = ""
            shell = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), root)
            verify(shell)
            settings = child("_Page_Globalsetting")
        }

        // Opens the drawer and waits for it to be in place, so that clicks reach the page.
        function openDrawer() {
            shell.visible = true
            child("upItem").btnClicked(0)
            tryCompare(child("_fkGlobalsetting"), "contentX", 0)
        }

        function rgb() {
            return [settings._R, settings._G, settings._B]
        }

        function test_storedOptionsAsTexts() {
            ui_View.apConfig = Options.stored({ 3: "1", 4: "1", 5: "false", 7: "1", 17: "10",
                                                18: "20", 19: "30", 29: "3", 30: "0",
                                                31: "https://example.org/other" })
            shell.initUI()
            compare(shell.animation_speed, 10)
            // "false" from the file is not a true custom background.
            compare(shell.isCustomBackground, false)
            compare(shell.globalSetting_size, 12)
            compare(settings.languageIndex, 1)
            compare(shell.globalSetting_stringList[1], "de1")
            compare(shell.globalSetting_fontFamily, "DejaVu Serif")
            compare(settings.selectedSlot, 3)
            compare(rgb(), [10, 20, 30])
            compare(child("inputG").text, "20")
            fuzzyCompare(shell.globalSetting_color.a, 45 / 255, 1e-3)
            fuzzyCompare(shell.globalSetting_color.r, 10 / 255, 1e-3)
            compare(shell.globalSetting_url, "https://example.org/other")
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
            compare(ui_View.callsOf("getGlobalStrings").length, row.asked)
            compare(shell.globalSetting_stringList[1], row.first)
            compare(shell.globalSetting_stringList[113], "ALL RESET")
            compare(shell.globalSetting_fontFamily, "Arial")
            compare(shell.globalSetting_size, 11)
            compare(shell.animation_speed, row.speed)
        }

        function test_choosingALanguageRetranslatesAtOnce() {
            shell.initUI()
            openDrawer()
            ui_View.clear()
            settings.setLanguage(1)
            // The rules list reads its own section of the language file.
            compare(ui_View.names(), ["getGlobalStrings", "q7_getProductLayoutStrings", "getFollowStrings"])
            compare(child("main_Q7")._ProductLayoutStringList[0], "042000/0")
            compare(child("_Page_Keydefine").title, "de74")
            compare(shell.globalSetting_fontFamily, "DejaVu Serif")
            // Nothing is stored until Apply.
            compare(ui_View.callsOf("saveApConfig").length, 0)
        }

        function test_paletteStrip() {
            shell.initUI()
            openDrawer()
            var strip = child("paletteStrip")
            compare(strip.height, 257)                     // so y / (h - 1) = y / 256
            settings.pickPalette(0)
            compare(rgb(), [0, 0, 0])
            settings.pickPalette(48)                       // 48 / 256 = 3/16
            compare(rgb(), [255, 128, 0])
            compare(settings.slotColors[0], [255, 128, 0])
            compare(child("inputR").text, "255")
            // A real press, through the turned rectangle: its y runs left to right on screen.
            mousePress(strip, 8, 64)                       // 64 / 256 = 2/8: yellow
            mouseRelease(strip, 8, 64)
            compare(rgb(), [255, 255, 0])
            var left = strip.mapToItem(root, 8, 10), right = strip.mapToItem(root, 8, 200)
            verify(left.x < right.x)
            settings.pickPalette(256)
            compare(rgb(), [0, 0, 0])
            settings.pickPalette(7 * 32 + 16)              // halfway from white to black
            compare(rgb(), [127, 127, 127])
        }

        function test_inputsAndSlots() {
            shell.initUI()
            openDrawer()
            mouseClick(child("paletteSlot2"))
            compare(settings.selectedSlot, 2)
            compare(rgb(), [255, 180, 0])
            compare(child("inputB").text, "0")
            var g = child("inputG")
            g.input.forceActiveFocus()
            g.input.selectAll()
            keyClick(Qt.Key_1)
            keyClick(Qt.Key_2)
            keyClick(Qt.Key_Return)
            compare(rgb(), [255, 12, 0])
            compare(settings.slotColors[2], [255, 12, 0])
            fuzzyCompare(shell.globalSetting_color.g, 12 / 255, 1e-3)
            // Out of range or empty input takes the working value back.
            g.input.selectAll()
            keyClick(Qt.Key_Delete)
            settings.forceActiveFocus()
            compare(g.text, "12")
            compare(rgb(), [255, 12, 0])
            // A slot click shows the slot's colour without rewriting another slot.
            mouseClick(child("paletteSlot4"))
            compare(rgb(), [200, 170, 255])
            compare(settings.slotColors[2], [255, 12, 0])
        }

        function test_setRgbSources() {
            shell.initUI()
            var before = shell.globalSetting_color
            settings.setRGB(9, 1, 2, 3)
            compare(settings.slotColors[0], [1, 2, 3])
            compare(child("inputR").text, "1")
            compare(shell.globalSetting_color, before)
            settings.setRGB(3, 4, 5, 6)
            compare(settings.slotColors[0], [1, 2, 3])
            fuzzyCompare(shell.globalSetting_color.b, 6 / 255, 1e-3)
        }

        function test_brightnessSteps() {
            shell.initUI()
            openDrawer()
            mouseClick(child("brightnessStep0"))
            fuzzyCompare(shell.globalSetting_color.a, 45 / 255, 1e-3)
            mouseClick(child("brightnessStep7"))
            fuzzyCompare(shell.globalSetting_color.a, 1, 1e-3)
            settings.setBrightness(3)
            fuzzyCompare(shell.globalSetting_color.a, 135 / 255, 1e-3)
        }

        function test_applyStoresTheOptionsInOrderAndCloses() {
            shell.initUI()
            openDrawer()
            settings.setLanguage(1)
            mouseClick(child("sizeLarger"))
            settings.selectSlot(5)
            settings.pickPalette(48)
            mouseClick(child("brightnessStep6"))
            ui_View.clear()
            mouseClick(child("btnApply"))
            compare(ui_View.calls.length, 1)
            var expected = [2, 0, 0, 1, 1, false, "", 1,
                            0, 255, 255, 255, 200, 150, 255, 180, 0, 200, 200, 100,
                            200, 170, 255, 255, 128, 0, 160, 190, 160,
                            5, 6, "https://example.org/q7"]
            compare(ui_View.saved, expected)
            verify(!child("upItem").isGlobalSettingSelect)
            tryCompare(child("_fkGlobalsetting"), "visible", false)
        }

        function test_applyTakesAnInputStillBeingEdited() {
            shell.initUI()
            openDrawer()
            var r = child("inputR")
            r.input.forceActiveFocus()
            r.input.selectAll()
            keyClick(Qt.Key_9)
            mouseClick(child("btnApply"))
            compare(ui_View.saved[8], 9)
        }

        function test_resetRestoresTheStoredDefaults() {
            shell.initUI()
            openDrawer()
            settings.setSize(1)
            ui_View.apConfigDefaults = Options.stored({ 7: "0", 30: "2" })
            ui_View.clear()
            mouseClick(child("btnReset"))
            compare(ui_View.names().slice(0, 2), ["resetApconfig", "loadApConfig"])
            compare(shell.globalSetting_size, 11)
            compare(settings.brightnessStep, 2)
        }

        function test_customBackgroundToggle() {
            shell.initUI()
            ui_View.customFilePath = ""
            settings.toggleBackground()
            verify(!shell.isCustomBackground)
            compare(String(shell.sourceCustomBackground), "")
            ui_View.customFilePath = "/home/user/Pictures/sky.png"
            settings.toggleBackground()
            verify(shell.isCustomBackground)
            compare(String(shell.sourceCustomBackground), "file:///home/user/Pictures/sky.png")
            compare(String(findChild(child("envItem"), "backgroundImage").source),
                    "file:///home/user/Pictures/sky.png")
            settings.toggleBackground()
            verify(!shell.isCustomBackground)
            compare(ui_View.callsOf("getCustomFilePath").length, 2)
        }
    }
}
