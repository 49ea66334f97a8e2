.pragma library
.import "../Q7/color/ColorRules.js" as Colour

// Conversions of the settings page, kept out of the QML so they are tested without a window.

// Entry i of a stored option list; the settings file hands every entry back as text.
function option(list, i) {
    return i < list.length ? list[i] : undefined
}
function optionInt(list, i) {
    var v = parseInt(option(list, i))
    return isNaN(v) ? undefined : v
}
// Booleans come back as the texts "true" and "false".
function optionBool(list, i) {
    var v = option(list, i)
    return v === true || v === "true" || v === 1 || v === "1"
}

// The 32 options in their stored order: layout version 2, two reserved, animation, language,
// custom background and its source, text size, the seven slots' red, green and blue, the
// selected slot, the brightness step, the web address.
function optionList(animation, language, customBackground, background, size, slots, slot,
                    brightness, url) {
    var options = [2, 0, 0, animation, language, customBackground, background, size]
    for (var k = 0; k < 7; ++k)
        options.push(slots[k][0], slots[k][1], slots[k][2])
    options.push(slot, brightness, url)
    return options
}

function clampByte(v) {
    return Math.min(Math.max(Math.round(v), 0), 255)
}

// The palette strip is the lighting page's rainbow strip laid on its side: one gradient, one
// conversion.
function paletteColor(y, length) {
    return Colour.rainbow(y, length)
}
