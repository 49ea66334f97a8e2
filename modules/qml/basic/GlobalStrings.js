.pragma library

// The interface strings before any language file is read: index 0 is the font family,
// 1..114 the texts that every language file translates.
var english = ["Arial",
    "OPTIONS", "LOOP", "SPEED", "BRIGHTNESS", "DIRECTION", "PAINTING", "EFFECTS",
    "USER DEFINE 1", "USER DEFINE 2", "USER DEFINE 3", "USER DEFINE 4", "USER DEFINE 5",
    "STATIC", "BREATHING", "WAVE", "INDUCTION DARKEN", "MARQUEE", "RIPPLE",
    "INDUCTION BRIGHTEN", "NEON", "MARQUEE COLORFUL", "RAINING", "MARQUEE CIRCLE",
    "SPOTLIGHT", "ROTATION", "SKIN", "SOUND", "ANIMATED", "LANGUAGE", "BACKGROUND", "ON",
    "OFF", "TEXT", "SIZE", "COLOR", "BRIGHTNESS", "NORMAL", "LARGER", "SKIN 1", "SKIN 2",
    "SKIN 3", "SKIN 4", "SKIN 5", "MACRO", "ACTION", "KEYBOARD", "MOUSE", "MEDIA",
    "COMBO KEY", "MACRO", "LEFT", "RIGHT", "MIDDLE", "BACKWARD", "FORWARD", "NEXT TRACK",
    "PREVIOUS TRACK", "STOP", "PLAY / PAUSE", "MUTE", "VOLUME UP", "VOLUME DOWN",
    "MEDIA SELECT", "MAIL", "CALCULATOR", "MY COMPUTER", "WWW SEARCH", "WWW HOME",
    "WWW BACK", "WWW FORWARD", "WWW STOP", "WWW REFRESH", "WWW FAVORITES", "KEY", "MACRO",
    "COLOR", "RESET", "CANCEL", "GAMING MODE", "DELETE", "CUT", "PASTE", "COPY", "LOAD",
    "SAVE", "SENSOR", "LED POWER ON", "TWINKLING", "GLIDING", "FINGER MOVING",
    "VERTICAL FLIPPING", "YO-YO", "FIRE KEY", "TRIPLE CLICK", "DPI SWITCH", "NORMAL PLAY",
    "TIMES", "ALWAYS REPEAT", "REPEAT ON PRESSED", "POLLING RATE", "CURSOR SPEED",
    "VERTICAL SCROLL SPEED", "DOUBLE CLICK SPEED", "DPI LEVEL", "DPI INDICATOR LED",
    "DEFAULT", "APPLY", "SCROLL SWAP", "SCROLL UP", "SCROLL DOWN", "LED CONTROL", "RENAME",
    "ALL RESET", "ALL SAVE"]

// A language file that lacks some strings (or could not be read at all) keeps the built-in
// text for them instead of leaving blank labels; strings beyond the built-in ones are kept.
// The view hands a string list over as a list-like object, not as a script array.
function merged(fromFile) {
    var list = fromFile && typeof fromFile.length === "number" ? Array.from(fromFile) : []
    for (var i = 0; i < english.length; ++i) {
        if (i >= list.length || list[i] === undefined || list[i] === null || list[i] === "")
            list[i] = english[i]
    }
    return list
}
