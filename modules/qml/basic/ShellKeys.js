.pragma library
.import "../common/ControlRules.js" as Rules

// The shell's names, hover texts and keyboard shortcuts. The names are what a screen reader
// says for each control; the hover texts carry the shortcut, so a user finds it by pointing.

// The built-in English texts, used where the language file's [keyboard] section has none.
var englishTexts = {
    "settings": "Settings",
    "settingsTip": "Program settings: language, text size, skin and text colour (Esc closes them)",
    "close": "Close",
    "closeTip": "Close the program",
    "pages": "Pages",
    "pageTip": "Show the %1 page (%2)",
    "profiles": "Profiles",
    "profile": "Profile %1",
    "profileTip": "Make %1 the mouse's current profile (previous %2, next %3, its menu %4)",
    "profileMenu": "Menu of %1",
    "resetTip": "Show every page's default values; ALL SAVE sends them",
    "saveTip": "Send every page's values to the mouse and store the program settings (%1)",
    "web": "Web site",
    "webTip": "Open the web site in the browser"
}

// The shortcuts, as the shell's Shortcut items take them and the hover texts show them.
var pageKeys = ["Ctrl+1", "Ctrl+2", "Ctrl+3", "Ctrl+4"]
var saveKey = "Ctrl+S"
var previousProfileKey = "Ctrl+PgUp"
var nextProfileKey = "Ctrl+PgDown"
var profileMenuKey = "Shift+F10"

// The language's texts over the English ones; an empty text counts as missing.
function texts(fromLanguage) {
    return Rules.merged(englishTexts, fromLanguage)
}

// "%1"… in one pass, so a replacement holding "%2" stays as it is.
function format(text, args) {
    return Rules.format(text, args)
}

function profileLabel(index) {
    return Rules.profileLabel(index)
}

// The profile a step of -1 or +1 leads to from `current`: around the offered ones (1 to 5), as
// Ctrl+PgUp and Ctrl+PgDown go around the tabs of a desktop program.
function stepProfile(current, step) {
    var from = current >= 1 && current <= 5 ? current : 1
    return (from - 1 + step + 5 * 2) % 5 + 1
}

// The shell's shortcuts wait while something takes every key (a capture field that is armed,
// a macro being recorded) and, but for Escape, while the settings drawer is open.
function shortcutsFree(armed, recording, drawerOpen) {
    return !armed && !recording && !drawerOpen
}

// Whether `item` is `container` or lies inside it.
function inside(item, container) {
    for (var i = item; i; i = i.parent) {
        if (i === container)
            return true
    }
    return false
}
