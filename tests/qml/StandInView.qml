import QtQml

// Stands in for the view: answers like the program's slots (texts where the settings file gives
// texts, lists in the view's own list types) and records every call with its arguments.
QtObject {
    id: view
    property var calls: []
    property bool enabled: true

    // What loadApConfig hands back; the settings file gives every stored entry as text.
    property var apConfig: []
    property var apConfigDefaults: []
    property var saved: null
    property var languages: ({ "ENGLISH": "031000", "GERMAN": "042000" })
    // Strings per language code; a code without an entry reads like a missing file.
    property var languageStrings: ({})
    property var productConstants: ({ "colorMaxStage": "8", "dpiBase": "50", "effectEnable": ["true", "false"],
                                      "dpiValue": ["400", "800"] })
    property int currentProfile: 1
    // A switch asked for from outside the window (rules, command line), and whether the
    // profile menu takes one now, as the view has them.
    signal profileSwitchRequested(int profile)
    // What the view tells the shell, as the view's signals.
    signal uiInitRequested
    signal uiRunRequested
    signal viewLockRequested(int interval)
    signal storeRefilled
    signal offlineEditsSettled(bool reload, string notice)
    signal keyboardCaptured(bool isDown, int usbCode)
    signal mouseCaptured(bool isDown, int mouseCode, int x, int y)
    signal captureWithdrawRequested
    signal noticeRequested(string text)
    property bool profileMenuReady: false
    property string customFilePath: ""

    function record(name, args) {
        calls = calls.concat([[name].concat(args)])
        if (sendsFail && /^(q7_0|q7_SetLED|saveMacroIni$)/.test(name))
            unsent = true
    }
    function clear() {
        assign({ calls: [], captureRequests: 0, unsent: false, notices: [] })
    }

    // A mouse that takes nothing while sendsFail: takeSendNotice owes failureNotice when a
    // change went out meanwhile. It is not recorded in calls (pages' tests compare those);
    // notices lists what each take answered.
    property bool sendsFail: false
    property string failureNotice: "NOT ON THE MOUSE"
    property bool unsent: false
    property var notices: []
    function takeSendNotice() {
        var notice = unsent ? failureNotice : ""
        unsent = false
        notices = notices.concat([notice])
        return notice
    }
    // Sets several answers at once: { reportRate: 4, cursorSpeed: 7 }.
    function assign(values) {
        for (var key in values)
            view[key] = values[key]
    }
    function names() { return calls.map(c => c[0]) }
    function callsOf(name) { return calls.filter(c => c[0] === name) }

    function setEnabled(b) { enabled = b; record("setEnabled", [b]) }

    // Requests for the desktop's input, counted as the view counts them (a new shell starts
    // from none); not in calls.
    property int captureRequests: 0
    function requestCapture(holder) { ++captureRequests }
    function releaseCapture(holder) { --captureRequests }

    function loadApConfig() { record("loadApConfig", []); return apConfig }
    function saveApConfig(list) { record("saveApConfig", [list]); saved = list }
    function resetApconfig() { record("resetApconfig", []); apConfig = apConfigDefaults; skin = 1 }
    // The stored skin, a key beside the option list.
    property int skin: 1
    function loadSkin() { record("loadSkin", []); return skin }
    function saveSkin(number) { record("saveSkin", [number]); skin = number }
    function q7_getApConfig(key) {
        record("q7_getApConfig", [key])
        return productConstants[key] !== undefined ? nativeTypes.variant(productConstants[key]) : 0
    }

    function chkLanguages() { record("chkLanguages", []); return nativeTypes.map(languages) }
    function getGlobalStrings(code) {
        record("getGlobalStrings", [code])
        return nativeTypes.stringList(languageStrings[code] !== undefined ? languageStrings[code] : [""])
    }
    function q7_getProductLayoutStrings(code) {
        record("q7_getProductLayoutStrings", [code])
        return nativeTypes.stringList(Array.from({ length: 16 }, (_, i) => code + "/" + i))
    }

    function q7_82H_GetCurrentProfile() { record("q7_82H_GetCurrentProfile", []); return currentProfile }
    function q7_02H_SetCurrentProfile(p) { record("q7_02H_SetCurrentProfile", [p]); currentProfile = p }
    function q7_loadProfile(i) { record("q7_loadProfile", [i]) }
    function q7_saveProfile(i) { record("q7_saveProfile", [i]) }
    function q7_resetProfile(i) { record("q7_resetProfile", [i]) }

    function getCustomFilePath() { record("getCustomFilePath", []); return customFilePath }

    // ---- Sensor and lighting pages (Page_Sensor, Page_Color) ------------------------------
    // Each getter answers from its property as the bridge answers from its copy (stored 0xCF
    // reads as 159, a stored 8 as palette 7); each setter records and stores like the bridge.
    property int maxDpiStage: 8
    property int ledTwinkle: 0
    property int reportRate: 2
    property int dpiStage: 2
    property int cursorSpeed: 5
    property int scrollLines: 2
    property int doubleClickSpeed: 5
    property var dpi8Stage: [8, 16, 32, 64, 128, 0, 0, 0, 8, 16, 32, 64, 128, 0, 0, 0]
    property var dpi8Color: [255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 0, 255, 0, 255, 255, 255, 255, 0, 255, 255, 255, 255, 127, 0]
    property var dpi8Io: [0, 1, 2, 3, 4, 5, 6, 8]
    property var led8StageColor: Array.from({ length: 24 }, (_, i) => 10 * (i + 1))
    property var rgbLedEffect: [3, 146, 5]
    // "group/profile" -> the factory list q7_getDefaultProfile answers (texts, as the file gives).
    property var defaultProfiles: ({})

    function q7_GetMaxDpiStage() { record("q7_GetMaxDpiStage", []); return maxDpiStage }
    function q7_89H_GetRGBLedTwinkle() { record("q7_89H_GetRGBLedTwinkle", []); return ledTwinkle }
    function q7_83H_GetReportRate() { record("q7_83H_GetReportRate", []); return reportRate }
    function q7_84H_GetDPIStage() { record("q7_84H_GetDPIStage", []); return dpiStage }
    function getCursorSpeed() { record("getCursorSpeed", []); return cursorSpeed }
    function getVerticalScrollLines() { record("getVerticalScrollLines", []); return scrollLines }
    function getDoubleClickSpeed() { record("getDoubleClickSpeed", []); return doubleClickSpeed }
    // Which pointer settings (by their place in the profile's list) the desktop takes; not in
    // calls, being a question to the desktop rather than a read of the profile.
    property var pointerChangeable: [true, true, true, true]
    function canChangePointerSetting(element) { return pointerChangeable[element] === true }
    function q7_8CH_GetDpi8Stage() {
        record("q7_8CH_GetDpi8Stage", [])
        return nativeTypes.variantList(dpi8Stage.map(v => Number(v) === 0xCF ? 159 : v))
    }
    function q7_8CH_GetDpi8Color() { record("q7_8CH_GetDpi8Color", []); return nativeTypes.variantList(dpi8Color) }
    function q7_8CH_GetDpi8Io() {
        record("q7_8CH_GetDpi8Io", [])
        return nativeTypes.variantList(dpi8Io.map(v => Number(v) === 8 ? 7 : v))
    }
    function q7_GetLED8StageColor() { record("q7_GetLED8StageColor", []); return nativeTypes.variantList(led8StageColor) }
    function q7_8CH_GetRGBLedEffect() { record("q7_8CH_GetRGBLedEffect", []); return nativeTypes.variantList(rgbLedEffect) }
    function q7_getDefaultProfile(key, profileId) {
        record("q7_getDefaultProfile", [key, profileId])
        var list = defaultProfiles[key + "/" + profileId]
        return nativeTypes.variantList(list !== undefined ? list : [])
    }

    function q7_03H_SetReportRate(rate) { record("q7_03H_SetReportRate", [rate]); reportRate = rate }
    function q7_04H_SetDPIStage(stage) { record("q7_04H_SetDPIStage", [stage]); dpiStage = stage }
    function setCursorSpeed(v) { record("setCursorSpeed", [v]); cursorSpeed = v }
    function setVerticalScrollLines(v) { record("setVerticalScrollLines", [v]); scrollLines = v }
    function setDoubleClickSpeed(v) { record("setDoubleClickSpeed", [v]); doubleClickSpeed = v }
    function q7_0CH_SetDpi8Stage(list) { record("q7_0CH_SetDpi8Stage", [Array.from(list)]); dpi8Stage = Array.from(list) }
    function q7_0CH_SetDpi8Color(list) { record("q7_0CH_SetDpi8Color", [Array.from(list)]); dpi8Color = Array.from(list) }
    function q7_0CH_SetDpi8Io(list) { record("q7_0CH_SetDpi8Io", [Array.from(list)]); dpi8Io = Array.from(list) }
    function q7_SetLED8StageColor(list) { record("q7_SetLED8StageColor", [Array.from(list)]); led8StageColor = Array.from(list) }
    function q7_0CH_SetRGBLedEffect(effect, light, speed) {
        record("q7_0CH_SetRGBLedEffect", [effect, light, speed]); rgbLedEffect = [effect, light, speed]
    }
    // ---- end sensor and lighting pages ------------------------------------------------------

    // ---- Macro library (Page_Macro) -----------------------------------------------------------
    // The library's files as name -> lines; each slot records its call and answers from here like
    // the library does (a missing file: false or an empty list). importLines is what an import
    // copies in; renameRefused makes the file system refuse the next renames.
    property var macroFiles: ({})
    property var importLines: null
    property bool renameRefused: false

    function macroNamesSorted() {
        return Object.keys(macroFiles).sort((a, b) => a.toLowerCase() < b.toLowerCase() ? -1
                                                     : a.toLowerCase() > b.toLowerCase() ? 1 : 0)
    }
    function getMacroIniNames() {
        record("getMacroIniNames", [])
        return nativeTypes.stringList(macroNamesSorted().map(n => n + ".bin"))
    }
    // The library with file name holding lines (undefined: without it).
    function withFile(name, lines) {
        var files = Object.assign({}, macroFiles, { [name]: lines })
        if (lines === undefined)
            delete files[name]
        macroFiles = files
    }
    function has(name) {
        return macroFiles[String(name)] !== undefined
    }
    function createMacroIni() {
        record("createMacroIni", [])
        for (var n = 1; ; ++n) {
            var name = "Macro. " + String(n).padStart(3, "0")
            if (!has(name)) {
                withFile(name, [])
                return name
            }
        }
    }
    function deleteMacroIni(name) {
        record("deleteMacroIni", [String(name)])
        var found = has(name)
        withFile(String(name), undefined)
        return found
    }
    function loadMacroIni(name) {
        record("loadMacroIni", [String(name)])
        return nativeTypes.stringList(has(name) ? macroFiles[String(name)] : [])
    }
    function saveMacroIni(name, lines) {
        record("saveMacroIni", [String(name), Array.from(lines)])
        if (has(name))
            withFile(String(name), Array.from(lines))
        return has(name)
    }
    function renameMacroIniFile(oldName, newName) {
        record("renameMacroIniFile", [String(oldName), String(newName)])
        if (!renameRefused && has(oldName) && !has(newName)) {
            withFile(String(newName), macroFiles[String(oldName)])
            withFile(String(oldName), undefined)
        }
    }
    function loadMacroIniFromFile(name) {
        record("loadMacroIniFromFile", [String(name)])
        if (importLines !== null && has(name))
            withFile(String(name), Array.from(importLines))
    }
    function saveMacroIniToFile(name) { record("saveMacroIniToFile", [String(name)]) }
    // ---- end macro library ------------------------------------------------------------------

    // ---- Key assignment page (Page_Keydefine) ------------------------------------------------
    // The current profile's 64 entry bytes (at first the factory's), each macro's stored configuration as name ->
    // [stored index, play count] (a file without an entry reads [-1, 1], null reads as a file
    // that cannot be read), and the answer of the confirmation box. The names are macroFiles'.
    readonly property var factoryKeyMatrix: [1, 0, 0xF0, 0, 1, 0, 0xF1, 0, 1, 0, 0xF2, 0, 1, 0, 0xF4, 0,
                                             1, 0, 0xF3, 0, 7, 0, 3, 0, 0x0B, 0, 0, 0, 7, 0, 3, 0,
                                             5, 0, 3, 0, 3, 0, 0x8A, 1, 3, 0, 0x23, 2, 3, 0, 0x94, 1,
                                             0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 1, 0, 4, 0, 2, 0]
    property var keyMatrix: factoryKeyMatrix.slice()
    property var macroConfigs: ({})
    property bool foolProofingAnswer: true

    function getKeydefine(keyId) {
        record("getKeydefine", [keyId]); return nativeTypes.variantList(keyMatrix.slice(4 * keyId, 4 * keyId + 4))
    }
    function q7_0DH_SetKeyMatrix(list) { record("q7_0DH_SetKeyMatrix", [Array.from(list)]); keyMatrix = Array.from(list) }
    function loadMacroIniConfig(name) {
        record("loadMacroIniConfig", [String(name)])
        var config = macroConfigs[String(name)]
        if (config === undefined)
            config = has(name) ? [-1, 1] : []
        return nativeTypes.variantList(config === null ? [] : config)
    }
    function setMacroIniConfig(name, config) {
        record("setMacroIniConfig", [String(name), Array.from(config)])
        if (has(name))
            macroConfigs = Object.assign({}, macroConfigs, { [String(name)]: Array.from(config) })
    }
    function q7_0FH_SetMacroKey(slot, name) { record("q7_0FH_SetMacroKey", [slot, String(name)]) }
    function getMsgAns_FoolProofing() { record("getMsgAns_FoolProofing", []); return foolProofingAnswer }
    // ---- end key assignment page --------------------------------------------------------------

    // ---- Rules list (FollowRulesPanel) ----------------------------------------------------------
    // What the program's rules answer (as the view's maps), the application seen last, the
    // language's texts of the list, and whether the next save fails to write.
    property var followState: ({ rules: [], noMatch: 0, damaged: false, watching: true })
    property var followLast: ({ instance: "", windowClass: "", executable: "" })
    property var followStrings: ({})
    property bool followSaveRefused: false

    function getFollowRules() { record("getFollowRules", []); return nativeTypes.map(followState) }
    function getFollowLastApplication() { record("getFollowLastApplication", []); return nativeTypes.map(followLast) }
    function getFollowStrings() { record("getFollowStrings", []); return nativeTypes.map(followStrings) }
    function setFollowRules(list, noMatch) {
        var rules = Array.from(list).map(r => ({ match: r.match, name: r.name, profile: Number(r.profile) }))
        record("setFollowRules", [rules, noMatch])
        if (!followSaveRefused)
            followState = { rules: rules, noMatch: noMatch, damaged: false, watching: followState.watching }
        return !followSaveRefused
    }
    // ---- end rules list -------------------------------------------------------------------------
    // ---- sections of the language file ----------------------------------------------------------
    // A section's texts by name; not in calls: every page reads its names on a language change.
    property var sectionStrings: ({})
    function getSectionStrings(section) { return nativeTypes.map(sectionStrings[section] || {}) }
    // The widget's own focus, given back after the busy lock; not recorded.
    function setFocus() {}
    function openingPlayed() { record("openingPlayed", []) }
}
