.pragma library
.import "../BlockLayout.js" as Layout

// The lighting page's conversions, and the colour helpers both pages' colour groups share.

// Each lighting effect by code: its built-in label and language string, the range of its speed
// byte (null: it has no speed and stores 0), and whether it uses the brightness and the
// lighting colours. The page enables its controls from here, whatever effects the product lists.
var effects = [
    { label: "LED POWER ON", string: 87, speed: null, brightness: false, colours: false },
    { label: "STATIC", string: 13, speed: null, brightness: true, colours: true },
    // Without a speed of its own; Apply sends brightness and colours whatever the effect, so
    // they stay open to the user as for STATIC rather than locked at values they cannot see.
    { label: "TWINKLING", string: 88, speed: null, brightness: true, colours: true },
    { label: "BREATHING", string: 14, speed: { low: 1, span: 9 }, brightness: false, colours: true },
    { label: "NEON", string: 20, speed: { low: 1, span: 9 }, brightness: false, colours: false },
    { label: "WAVE", string: 15, speed: { low: 1, span: 9 }, brightness: true, colours: false },
    { label: "GLIDING", string: 89, speed: null, brightness: false, colours: false },
    { label: "FINGER MOVING", string: 90, speed: null, brightness: false, colours: true },
    { label: "VERTICAL FLIPPING", string: 91, speed: { low: 10, span: 10 }, brightness: true, colours: true },
    { label: "YO-YO", string: 92, speed: { low: 5, span: 10 }, brightness: true, colours: true },
    // A ten-step speed range like the two before it, and what they take besides.
    { label: "SPOTLIGHT", string: 24, speed: { low: 20, span: 10 }, brightness: true, colours: true }
]
var effectCount = effects.length

// The indicator's fixed palette, index 0..7.
var palette = [[255, 0, 0], [0, 255, 0], [0, 0, 255], [255, 0, 255],
               [0, 255, 255], [255, 255, 0], [255, 255, 255], [255, 127, 0]]

// The palette's colours by name, for screen readers until the language gives its own.
var paletteNames = ["red", "green", "blue", "magenta", "cyan", "yellow", "white", "orange"]

// Eight black cells, each on its own palette colour.
function blankCells() {
    var out = []
    for (var i = 0; i < 8; ++i)
        out.push({ clrR: 0, clrG: 0, clrB: 0, color8_Id: i })
    return out
}

function clamp(v, lo, hi) {
    return Math.min(Math.max(v, lo), hi)
}

function integer(v) {
    var n = Number(v)
    return isFinite(n) && String(v).trim() !== "" ? Math.round(n) : NaN
}

// The listed effects: codes in list order, and each code's list position (-1 when not listed).
// An effect is listed when its entry of the product's effect switches is the text "true"
// (the configuration file hands back texts; a script true counts the same).
function effectTable(effectEnable) {
    var codes = []
    var positions = []
    for (var code = 0; code < effectCount; ++code) {
        var on = effectEnable && code < effectEnable.length && String(effectEnable[code]) === "true"
        positions.push(on ? codes.length : -1)
        if (on)
            codes.push(code)
    }
    return { codes: codes, positions: positions }
}

function effectOf(code) {
    var c = integer(code)
    return c >= 0 && c < effectCount ? effects[c] : null
}

// The code at a list position, or `otherwise` when no entry is chosen.
function effectAt(codes, position, otherwise) {
    return position >= 0 && position < codes.length ? codes[position] : otherwise
}

// Speed: slider position 0..7 (7 fastest end) against the effect's own byte range; a smaller
// byte is faster. Effects without a speed use 0 both ways.
function speedRange(effect) {
    var e = effectOf(effect)
    return e ? e.speed : null
}
function speedPosition(effect, speedByte) {
    var r = speedRange(effect)
    if (!r)
        return 0
    var s = integer(speedByte)
    return clamp(7 - Math.round(((isNaN(s) ? r.low : s) - r.low) * 7 / r.span), 0, 7)
}
function speedByte(effect, position) {
    var r = speedRange(effect)
    if (!r)
        return 0
    return Math.round((7 - clamp(position, 0, 7)) * r.span / 7) + r.low
}

function brightnessPosition(b) {
    var v = integer(b)
    return isNaN(v) ? 7 : clamp(Math.round(v * 7 / 255), 0, 7)
}
function brightnessByte(position) {
    return Math.round(clamp(position, 0, 7) * 255 / 7)
}

// Which controls an effect code uses.
function speedEnabled(code) {
    return speedRange(code) !== null
}
function brightnessEnabled(code) {
    var e = effectOf(code)
    return e !== null && e.brightness
}
function coloursEnabled(code) {
    var e = effectOf(code)
    return e !== null && e.colours
}

// The rainbow strip: height y of a strip h high to a colour, in eight levels from black
// through red, yellow, green, cyan, blue, magenta and white back to black.
function rainbow(y, h) {
    var t = y / (h - 1) / 0.125
    var level = Math.floor(t)
    var c = Math.round(255 * (t - level))
    switch (level) {
    case 0: return [c, 0, 0]
    case 1: return [255, c, 0]
    case 2: return [255 - c, 255, 0]
    case 3: return [0, 255, c]
    case 4: return [0, 255 - c, 255]
    case 5: return [c, 0, 255]
    case 6: return [255, c, 255]
    case 7: return [255 - c, 255 - c, 255 - c]
    }
    return [0, 0, 0]
}

// A colour component typed by the user: digits only, held to 0..255; null when there is no
// number at all (the field then shows the cell's value again).
function typedComponent(text) {
    var s = String(text).trim()
    if (!/^[0-9]+$/.test(s))
        return null
    return clamp(parseInt(s, 10), 0, 255)
}

function cssColour(rgb) {
    return Qt.rgba(rgb[0] / 255, rgb[1] / 255, rgb[2] / 255, 1)
}

// Eight colours [r, g, b] from exactly 24 byte values, or null.
function triples(list) {
    if (!list || list.length !== 24)
        return null
    var out = []
    for (var i = 0; i < 8; ++i) {
        var c = [integer(list[3 * i]), integer(list[3 * i + 1]), integer(list[3 * i + 2])]
        if (c.some(v => isNaN(v) || v < 0 || v > 255))
            return null
        out.push(c)
    }
    return out
}

// The 24 components of eight colours, each held to a byte.
function flat(colours) {
    var out = []
    for (var i = 0; i < colours.length; ++i)
        for (var k = 0; k < 3; ++k)
            out.push(clamp(integer(colours[i][k]) || 0, 0, 255))
    return out
}

// The lighting colours of profile 0's factory block, and the effect, brightness and speed
// bytes of a block; null when the block is too short to hold them.
function blockColours(fw) {
    if (!fw || fw.length < Layout.profileFw.lightingColours + 24)
        return null
    var list = []
    for (var i = 0; i < 24; ++i)
        list.push(fw[Layout.profileFw.lightingColours + i])
    return triples(list)
}
function blockEffect(fw) {
    if (!fw || fw.length <= Layout.profileFw.speed)
        return null
    return [fw[Layout.profileFw.effect], fw[Layout.profileFw.brightness], fw[Layout.profileFw.speed]]
}
