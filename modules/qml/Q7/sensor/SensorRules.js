.pragma library
.import "../BlockLayout.js" as Layout
.import "../color/ColorRules.js" as Colour

// The sensor page's conversions between what the mouse stores and what the controls show.

// Positions in the desktop pointer settings list of a profile ("profile_sw").
var swCursorSpeed = 1
var swScrollLines = 2
var swDoubleClick = 3

var stageCount = 8

// Shared with the lighting page: a bridge or settings value (a number or its text) as an
// integer or NaN, and a value held to a range.
var integer = Colour.integer
var clamp = Colour.clamp

// Rate buttons are 125, 250, 500, 1000 Hz; the mouse stores 8, 4, 2, 1. The lowest set bit
// decides, so a damaged code still lands on a button (0 reads as 1000 Hz).
function ratePosition(code) {
    var c = integer(code)
    var bit = 0
    if (c > 0) {
        for (bit = 1; !(c & 1); ++bit)
            c >>= 1
    }
    return clamp(4 - bit, 0, 3)
}
function rateCode(position) {
    return 1 << (3 - clamp(position, 0, 3))
}

// The mouse counts stages from 1.
function stagePosition(stage) {
    var s = integer(stage)
    return clamp(isNaN(s) ? 0 : s - 1, 0, stageCount - 1)
}

// Stored DPI units to DPI. The mouse keeps 159 units as 0xCF; the view's reads and the
// defaults' blocks both answer that coding, and this is the one place that turns it back.
function dpiFromStored(stored, base) {
    var v = integer(stored)
    if (isNaN(v))
        return 0
    if (v === Layout.dpiStored159)
        v = Layout.dpiShown159
    return v * base
}
function storedDpi(dpi, base) {
    var v = clamp(Math.round(dpi / base), 0, 255)
    return v === Layout.dpiShown159 ? Layout.dpiStored159 : v
}
// The sixteen values the mouse takes: the eight stages and the copy it keeps of them.
function dpiStageList(dpis, base) {
    var first = []
    for (var i = 0; i < stageCount; ++i)
        first.push(storedDpi(dpis[i] || 0, base))
    return first.concat(first)
}
// Eight stage DPIs from a bridge or block list, or null when it holds fewer than eight.
function dpiValues(list, base) {
    if (!list || list.length < stageCount)
        return null
    var out = []
    for (var i = 0; i < stageCount; ++i)
        out.push(dpiFromStored(list[i], base))
    return out
}

// Palette indexes: orange (7) is stored as 8. Anything else outside the palette reads as its
// first colour rather than an undrawable one.
function paletteShown(stored) {
    var v = integer(stored)
    if (v === Layout.paletteOrangeStored)
        return Layout.paletteOrange
    return v >= 0 && v <= 7 ? v : 0
}
function paletteStored(id) {
    var v = clamp(integer(id) || 0, 0, 7)
    return v === Layout.paletteOrange ? Layout.paletteOrangeStored : v
}
function paletteIds(list) {
    if (!list || list.length !== stageCount)
        return null
    var out = []
    for (var i = 0; i < stageCount; ++i)
        out.push(paletteShown(list[i]))
    return out
}
function storedPaletteIds(ids) {
    return ids.map(paletteStored)
}

// A pointer-setting slider position from a stored value (0..10).
function pointerPosition(v, fallback) {
    var n = integer(v)
    return isNaN(n) ? fallback : clamp(n, 0, 10)
}

function slice(list, from, count) {
    var out = []
    if (!list || list.length < from + count)
        return null
    for (var i = 0; i < count; ++i)
        out.push(list[from + i])
    return out
}

// What the page's reset shows, from the factory lists of the selected profile (its pointer
// settings, firmware block and other values) and profile 0's firmware block. A list that is
// too short yields null for the values it would carry; the page leaves those controls alone.
function defaults(profileSw, profileFw, profile0Fw, otherFw, base) {
    var sw = profileSw && profileSw.length > swDoubleClick
    var other = otherFw && otherFw.length > Layout.otherFw.reportRate
    return {
        rate: other ? ratePosition(otherFw[Layout.otherFw.reportRate]) : null,
        stage: other ? stagePosition(otherFw[Layout.otherFw.dpiStage]) : null,
        cursorSpeed: sw ? pointerPosition(profileSw[swCursorSpeed], 5) : null,
        scrollLines: sw ? pointerPosition(profileSw[swScrollLines], 2) : null,
        doubleClick: sw ? pointerPosition(profileSw[swDoubleClick], 5) : null,
        dpi: dpiValues(slice(profileFw, Layout.profileFw.dpi, stageCount), base),
        rgb: Colour.triples(slice(profileFw, Layout.profileFw.indicatorRgb, 3 * stageCount)),
        ids: paletteIds(slice(profile0Fw, Layout.profileFw.indicatorIndex, stageCount))
    }
}
