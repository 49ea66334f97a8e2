.pragma library
.import "../BlockLayout.js" as Layout

// What a key entry (four bytes) means on the key page and how the page's controls write one.
// Pure functions: the page hands in the entries, the key-name table and the macros' stored
// configurations and carries out the calls these functions return.

var Fn = Object.freeze({ none: -1, keyboard: 0, mouse: 1, media: 2, combo: 3, macro: 4, fire: 5,
                         led: 6, profile: 7 })

// The function menu: built-in text and the language string that replaces it.
var functionTexts = ["KEYBOARD", "MOUSE", "MEDIA", "COMBO KEY", "MACRO", "FIRE KEY", "LED CONTROL",
                     "PROFILE SWITCH"]
var functionStrings = [46, 47, 48, 49, 50, 93, 111, 118]

var type = Object.freeze({ key: 0x00, mouse: 0x01, media: 0x03, scroll: 0x04, dpi: 0x07,
                           profile: 0x08, macro: 0x09, fire: 0x0A, led: 0x0C })

var firstMouseCode = 0xF0 // "MS-L"; the five buttons follow in order
var mouseButtons = 5
var tripleClick = [type.fire, firstMouseCode, 0x21, 0x03]

// The mouse list: text, language string and the entry it writes.
var mouseItems = [
    { text: "LEFT", string: 51, entry: [type.mouse, 0, 0xF0, 0] },
    { text: "RIGHT", string: 52, entry: [type.mouse, 0, 0xF1, 0] },
    { text: "MIDDLE", string: 53, entry: [type.mouse, 0, 0xF2, 0] },
    { text: "BACKWARD", string: 54, entry: [type.mouse, 0, 0xF3, 0] },
    { text: "FORWARD", string: 55, entry: [type.mouse, 0, 0xF4, 0] },
    { text: "TRIPLE CLICK", string: 94, entry: tripleClick },
    { text: "DPI +", string: 115, entry: [type.dpi, 0, 1, 0] },
    { text: "DPI -", string: 116, entry: [type.dpi, 0, 2, 0] },
    { text: "DPI SWITCH", string: 95, entry: [type.dpi, 0, 3, 0] },
    { text: "SCROLL UP", string: 109, entry: [type.scroll, 0, 1, 0] },
    { text: "SCROLL DOWN", string: 110, entry: [type.scroll, 0, 2, 0] }
]
var tripleClickItem = 5
var dpiFirstItem = 5 // item of "DPI +" is this plus 1
var scrollUpItem = 9

// The media list's language strings start here, in the order of the media usages.
var firstMediaString = 56

var comboTexts = ["×", "KEY【 L Ctrl 】", "KEY【 L Shift 】", "KEY【 L Alt 】", "KEY【 L Win 】",
                  "KEY【 R Ctrl 】", "KEY【 R Shift 】", "KEY【 R Alt 】", "KEY【 R Win 】"]

var playModeTexts = ["NORMAL PLAY", "ALWAYS REPEAT", "REPEAT ON PRESSED"]
var playModeStrings = [96, 98, 99]
var timesString = 97
var speedString = 3

var maxPlayCount = 65535
var maxShots = 255
var defaultPlayCount = 1
var defaultShots = 10
// The fastest repeat; also what a fire key gets while the slider has no position yet.
var fastestSpeed = 7

var empty = [0, 0, 0, 0]

function entryOf(list, keyId) {
    var e = []
    for (var i = 0; i < Layout.keyMatrix.entrySize; ++i)
        e.push(Number(list[keyId * Layout.keyMatrix.entrySize + i]) || 0)
    return e
}

function sameEntry(a, b) {
    for (var i = 0; i < 4; ++i) {
        if (Number(a[i]) !== Number(b[i]))
            return false
    }
    return true
}

// The key matrix as the device takes it: the entries of key ids 0..15 one after the other.
function matrix(entries) {
    var out = []
    for (var k = 0; k < Layout.keyMatrix.entries; ++k)
        out = out.concat(entries[k].map(Number))
    return out
}

// Fire-key speed (0..7) and the interval value the device repeats at.
function interval(speed) {
    var s = speed >= 0 && speed <= 7 ? speed : fastestSpeed
    return (7 - s) * 35 + 10
}
function speedOf(intervalValue) {
    var s = 7 - Math.round((Math.max(intervalValue, 10) - 10) / 35)
    return Math.min(Math.max(s, 0), 7)
}

function modifierMask(item) {
    return item > 0 && item <= 8 ? 1 << (item - 1) : 0
}

// A number field's text as a count: digits only, at most max (a longer or larger text is
// clamped, so a pasted 70000 writes 65535); empty or no digits gives the fallback.
function count(text, max, fallback) {
    var digits = String(text).replace(/[^0-9]/g, "")
    if (digits === "")
        return fallback
    return Math.min(parseInt(digits, 10), max)
}

// An entry no control can show, as the page shows it instead: its four bytes, and for a mouse
// button entry the name of its code where the key-name table has one.
function rawText(entry, names) {
    var text = entry.map(b => "0x" + (Number(b) & 0xFF).toString(16).toUpperCase().padStart(2, "0")).join(" ")
    if (Number(entry[0]) === type.mouse) {
        var name = names.mousecodeTostr(Number(entry[2]))
        if (name === undefined)
            name = names.keycodeTostr(Number(entry[2]))
        if (name !== undefined)
            text += " 【 " + name + " 】"
    }
    return text
}

// How an entry is shown: the function item and the state of its controls. An entry whose bytes
// fit no row selects no function and is shown as it is (raw), so nothing of the key shown before
// stays on screen and the entry goes back to the mouse unchanged.
function show(entry, names) {
    var shown = showRow(entry, names)
    return shown !== null ? shown : { fn: Fn.none, raw: rawText(entry, names) }
}
function showRow(entry, names) {
    var t = entry[0], b1 = entry[1], b2 = entry[2], b3 = entry[3]
    switch (t) {
    case type.key:
        if (b1 === 0 && b3 === 0 && b2 !== 0)
            return { fn: Fn.keyboard, key: b2 }
        return { fn: Fn.combo, comboItem: names.logByte(b1), key1: b2, key2: b3 }
    case type.mouse:
        if (b1 !== 0 || b3 !== 0 || b2 === 0)
            return null
        return { fn: Fn.mouse, item: b2 >= firstMouseCode && b2 < firstMouseCode + mouseButtons
                                     ? b2 - firstMouseCode : -1 }
    case type.media:
        if (b1 !== 0 || b2 === 0)
            return null
        return { fn: Fn.media, item: Array.from(names.mediaUsages).indexOf(b3 * 256 + b2) }
    case type.scroll:
        if (b1 !== 0 || b3 !== 0 || (b2 !== 1 && b2 !== 2))
            return null
        return { fn: Fn.mouse, item: scrollUpItem + b2 - 1 }
    case type.dpi:
        if (b1 !== 0 || b3 !== 0 || b2 < 1 || b2 > 3)
            return null
        return { fn: Fn.mouse, item: dpiFirstItem + b2 }
    case type.profile:
        return b1 === 0 && b2 === 3 && b3 === 0 ? { fn: Fn.profile } : null
    case type.macro:
        return { fn: Fn.macro, storedIndex: b2 - 1, playMode: b1 }
    case type.fire:
        if (sameEntry(entry, tripleClick))
            return { fn: Fn.mouse, item: tripleClickItem }
        var mouseSide = b1 >= firstMouseCode && b1 < firstMouseCode + mouseButtons
        return { fn: Fn.fire, mouseSide: mouseSide, item: mouseSide ? b1 - firstMouseCode : -1,
                 key: mouseSide ? 0 : b1, speed: speedOf(b2), shots: b3 }
    case type.led:
        return b1 === 0 && b2 === 0 && b3 === 0 ? { fn: Fn.led } : null
    default:
        return null
    }
}

// Entries the second-level controls write.
function keyboardEntry(usbCode) {
    return [type.key, 0, usbCode, 0]
}
function mouseEntry(item) {
    return mouseItems[item].entry.slice()
}
function mediaEntry(item, names) {
    var usage = names.mediaUsages[item]
    return [type.media, 0, usage & 0xFF, (usage >> 8) & 0xFF]
}
function comboEntry(item, key1, key2) {
    return [type.key, modifierMask(item), key1 > 0 ? key1 : 0, key2 > 0 ? key2 : 0]
}
function fireEntry(code, speed, shots) {
    return [type.fire, code, interval(speed), Math.min(Math.max(shots, 0), maxShots)]
}
function macroEntry(playMode, storedIndex) {
    return [type.macro, playMode, storedIndex + 1, 0]
}
var ledEntry = [type.led, 0, 0, 0]
var profileEntry = [type.profile, 0, 3, 0]

// The stored indexes the keys use: slot - 1 of every macro entry.
function usedIndexes(entries) {
    var used = []
    for (var k = 0; k < entries.length; ++k) {
        var e = entries[k]
        if (e[0] === type.macro && e[3] === 0)
            used.push(e[2] - 1)
    }
    return used
}

function freeIndex(entries) {
    var used = usedIndexes(entries)
    for (var i = 0; i < Layout.macroSlots; ++i) {
        if (used.indexOf(i) < 0)
            return i
    }
    return -1
}

// Gives key keyId the macro `name` whose stored configuration is `config` ([index, play count],
// empty when it could not be read). The macro keeps its slot if it has one, else takes the
// smallest free one. Returns the key's new entry and the calls that store and upload the macro;
// without a readable macro or a free slot the key is left without function.
function setMacroKey(entries, keyId, name, config, playMode, playCount) {
    var others = entries.slice()
    others[keyId] = empty
    var result = { entry: empty.slice(), calls: [] }
    if (name === undefined || name === null || name === "" || !config || config.length < 2)
        return result
    var index = Number(config[0])
    if (!(index >= 0 && index < Layout.macroSlots))
        index = freeIndex(others)
    if (index < 0)
        return result
    result.calls = [["setMacroIniConfig", name, [index, playCount]],
                    ["q7_0FH_SetMacroKey", index + 1, name]]
    result.entry = macroEntry(playMode, index)
    return result
}

// Macros whose slot no key uses any more lose it (and their play count): [-1, 1].
// `macros` lists {name, index} of every macro whose configuration could be read.
function tidyCalls(entries, macros) {
    var used = usedIndexes(entries)
    var calls = []
    for (var i = 0; i < macros.length; ++i) {
        if (used.indexOf(macros[i].index) < 0)
            calls.push(["setMacroIniConfig", macros[i].name, [-1, defaultPlayCount]])
    }
    return calls
}

// The macro to show for a stored index: the last one in list order that holds it.
function macroRowOf(macros, storedIndex) {
    var row = -1
    for (var i = 0; i < macros.length; ++i) {
        if (macros[i].index === storedIndex)
            row = i
    }
    return row
}

// The button menu: the product's named key positions, or the built-in nine before the names
// are loaded.
var builtInKeyIds = [0, 1, 2, 3, 4, 5, 6, 14, 15]
var builtInKeyTexts = ["KEY 1", "KEY ２", "KEY ３", "KEY ４", "KEY ５", "KEY ６", "KEY ７", "KEY ８", "KEY ９"]
function buttonMenu(layoutStrings) {
    var ids = [], texts = []
    for (var k = 0; layoutStrings && k < layoutStrings.length && k < Layout.keyMatrix.entries; ++k) {
        var s = layoutStrings[k] === undefined || layoutStrings[k] === null ? "" : String(layoutStrings[k])
        if (s !== "") {
            ids.push(k)
            texts.push(s)
        }
    }
    if (ids.length === 0)
        return { keyIds: builtInKeyIds.slice(), texts: builtInKeyTexts.slice(), loaded: false }
    return { keyIds: ids, texts: texts, loaded: true }
}

// The last left button is not taken away without asking: true when the selected key is the
// left button and no other listed key is.
function isLastLeftButton(entries, listedKeyIds, keyId) {
    var left = mouseItems[0].entry
    if (!sameEntry(entries[keyId], left))
        return false
    var n = 0
    for (var i = 0; i < listedKeyIds.length; ++i) {
        if (sameEntry(entries[listedKeyIds[i]], left))
            ++n
    }
    return n <= 1
}
