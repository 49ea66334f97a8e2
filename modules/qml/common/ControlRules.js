.pragma library

// Conversions of the shared controls, kept out of the QML so they are tested without a window.

// A text of the current language by index, or the built-in English text while the list is not
// loaded or too short (a language file may end early).
function text(list, index, fallback) {
    var s = list && index < list.length ? list[index] : undefined
    return s === undefined || s === null || String(s) === "" ? fallback : String(s)
}

function clamp(v, lo, hi) {
    return Math.min(Math.max(v, lo), hi)
}

// Seven-segment slider (positions 0..7): a release at x, clamped to the control.
function sliderPosition(x, width) {
    if (width <= 1)
        return 0
    var cx = clamp(x, 0, width - 1)
    return clamp(Math.ceil(cx / (width - 1) * 7), 0, 7)
}

// Eleven-segment slider (positions 0..10): the segment the release lands in.
function slider11Position(x, width) {
    if (width <= 1)
        return 0
    return clamp(Math.ceil(11 * x / (width - 1)) - 1, 0, 10)
}

// Filled width of each slider kind at a position: the seven-segment slider fills up to the
// position's boundary, the eleven-segment one fills the position's own segment too.
function sliderFill(position, width) {
    return clamp(position, 0, 7) / 7 * width
}
function slider11Fill(position, width) {
    return (clamp(position, 0, 10) + 1) / 11 * width
}

// The next position of a list or button row from an arrow key, skipping entries the predicate
// refuses; stays put when nothing further is allowed.
function step(current, delta, count, allowed) {
    for (var i = current + delta; i >= 0 && i < count; i += delta) {
        if (!allowed || allowed(i))
            return i
    }
    return current
}

// A section of the language file over its built-in English texts (`english`, key to text): a
// text the language has replaces the English one, an empty one counts as missing, and keys the
// program does not know are left out.
function merged(english, fromLanguage) {
    var result = {}
    for (var key in english)
        result[key] = english[key]
    for (var k in fromLanguage || {}) {
        var text = String(fromLanguage[k])
        if (text !== "" && english[k] !== undefined)
            result[k] = text
    }
    return result
}

// "%1"… replaced by `args` in one pass, so an argument holding "%2" stays as it is.
function format(text, args) {
    return String(text).replace(/%([1-9])/g, (all, n) => args && args[n - 1] !== undefined ? String(args[n - 1]) : all)
}

// "P01" … "P05", as the profile column shows a profile.
function profileLabel(profile) {
    var n = Number(profile)
    return "P" + (n < 10 ? "0" : "") + n
}

// A name for screen readers from the language's own texts (`texts`, key to text), the
// built-in English `fallback` where it has none; %1, %2, ... take `args` in order.
function named(texts, key, fallback, args) {
    var t = texts && texts[key] !== undefined && texts[key] !== null && String(texts[key]) !== ""
            ? String(texts[key]) : fallback
    return format(t, args)
}
