import QtQml

// Stands in for the view: answers like the program's slots (texts where the settings file gives
// texts, lists in the view's own list types) and records every call with its arguments.
QtObject {
    property var calls: []
    property bool enabled: true

    // What loadApConfig hands back; the settings file gives every stored entry as text.
    property var apConfig: []
    property var apConfigDefaults: []
    property var saved: null
    property var languages: ({ "ENGLISH": "031000", "GERMAN": "042000" })
    // Strings per language code; a code without an entry reads like a missing file.
    property var languageStrings: ({})
    property var productConstants: ({ "colorMaxStage": "8", "dpiBase": "50",
                                      "effectEnable": ["true", "false"],
                                      "dpiValue": ["400", "800"] })
    property int currentProfile: 1
    property string customFilePath: ""

    function record(name, args) {
        calls = calls.concat([[name].concat(args)])
    }
    function clear() {
        calls = []
    }
    function names() {
        return calls.map(c => c[0])
    }
    function callsOf(name) {
        return calls.filter(c => c[0] === name)
    }

    function setEnabled(b) {
        enabled = b
        record("setEnabled", [b])
    }

    function loadApConfig() {
        record("loadApConfig", [])
        return apConfig
    }
    function saveApConfig(list) {
        record("saveApConfig", [list])
        saved = list
    }
    function resetApconfig() {
        record("resetApconfig", [])
        apConfig = apConfigDefaults
    }
    function q7_getApConfig(key) {
        record("q7_getApConfig", [key])
        return productConstants[key] !== undefined ? nativeTypes.variant(productConstants[key]) : 0
    }

    function chkLanguages() {
        record("chkLanguages", [])
        return nativeTypes.map(languages)
    }
    function getGlobalStrings(code) {
        record("getGlobalStrings", [code])
        return nativeTypes.stringList(languageStrings[code] !== undefined ? languageStrings[code] : [""])
    }
    function q7_getProductLayoutStrings(code) {
        record("q7_getProductLayoutStrings", [code])
        var list = []
        for (var i = 0; i < 16; ++i)
            list.push(code + "/" + i)
        return nativeTypes.stringList(list)
    }

    function q7_82H_GetCurrentProfile() {
        record("q7_82H_GetCurrentProfile", [])
        return currentProfile
    }
    function q7_02H_SetCurrentProfile(p) {
        record("q7_02H_SetCurrentProfile", [p])
        currentProfile = p
    }
    function q7_loadProfile(i) { record("q7_loadProfile", [i]) }
    function q7_saveProfile(i) { record("q7_saveProfile", [i]) }
    function q7_resetProfile(i) { record("q7_resetProfile", [i]) }

    function getCustomFilePath() {
        record("getCustomFilePath", [])
        return customFilePath
    }
}
