.pragma library

// The macro page's line rules: the text form of an event line, where new lines go, the
// clipboard of whole lines, the delay field, recording and the undo history. Every function
// takes plain arrays and returns new ones, so the page only binds and saves.

var tagLength = 10
var tagDown = "    [Down]"
var tagUp = "      [Up]"
var tagDelay = "   [Delay]"

var defaultDelay = 1000
var minimumDelay = 10
var maximumDelay = 65535
var delayDigits = 5

// Undo steps kept per macro; older ones are dropped first.
var historyLimit = 200

// A line is its value part followed by a 10-character tag. The tag is always the last ten
// characters (names may hold blanks, "KP 7 " ends in one), so a line is never split at blanks;
// a shorter line is all tag.
function split(line) {
    var s = String(line)
    var cut = Math.max(s.length - tagLength, 0)
    return { textX: s.slice(0, cut), textR: s.slice(cut) }
}
function join(row) {
    return String(row.textX) + String(row.textR)
}
function rowsOf(lines) {
    return Array.from(lines || []).map(split)
}

// The press line and then the release line of a key or mouse button, whatever the position.
function pressAndRelease(name) {
    return [name + tagDown, name + tagUp]
}
function delayLine(ms) {
    return String(ms) + tagDelay
}

// New lines go before the current line, or at the end when none is current. The current line
// stays the same line, so further additions keep landing in front of it in order.
function insert(lines, current, added) {
    var out = Array.from(lines)
    var at = current >= 0 && current < out.length ? current : out.length
    out.splice.apply(out, [at, 0].concat(added))
    return { lines: out, current: current >= 0 && current < lines.length ? current + added.length : -1 }
}

// Removing a line keeps the position, so the next line becomes current (the last one when the
// removed line was last; none once the list is empty).
function remove(lines, current) {
    if (current < 0 || current >= lines.length)
        return { lines: Array.from(lines), current: -1 }
    var out = Array.from(lines)
    out.splice(current, 1)
    return { lines: out, current: Math.min(current, out.length - 1) }
}

// The clipboard holds one whole line. Cut fills it for one paste, Copy for any number.
function cut(lines, current) {
    if (current < 0 || current >= lines.length)
        return null
    var r = remove(lines, current)
    r.scrapbook = lines[current]
    r.isUnlimitedCopy = false
    return r
}
function copy(lines, current) {
    if (current < 0 || current >= lines.length)
        return null
    return { scrapbook: lines[current], isUnlimitedCopy: true }
}
function paste(lines, current, scrapbook, isUnlimitedCopy) {
    if (scrapbook === "")
        return null
    var r = insert(lines, current, [scrapbook])
    r.scrapbook = isUnlimitedCopy ? scrapbook : ""
    r.isUnlimitedCopy = isUnlimitedCopy
    return r
}

// The delay field's number part: digits only, at most five, never above 65535.
function acceptsDelayText(text) {
    return /^[0-9]{0,5}$/.test(text) && (text === "" || Number(text) <= maximumDelay)
}
// What Return (or the add button) makes of the number being edited: at least 10 ms; an empty
// or refused text keeps the delay as it was.
function delayFrom(text, previous) {
    if (text === "" || !acceptsDelayText(text))
        return previous
    return Math.max(Number(text), minimumDelay)
}
function delayCaption(ms) {
    return "DELAY【 " + ms + " 】ms"
}

// The key that ends a recording and is not part of it: Pause/Break (usage 0x48, Ctrl+Pause
// included). Keys typed into the window are recorded like any other, so stopping needs a key
// of its own, and a macro practically never has a use for this one.
var stopKey = 0x48

// One recorded key event as a line, or "" for a key without a name.
function recordedLine(name, isDown) {
    if (name === undefined || name === null || String(name) === "")
        return ""
    return String(name) + (isDown ? tagDown : tagUp)
}

// Recorded events with their times (ms) as lines, each pair of consecutive events separated by
// a delay line holding the gap: at least the shortest delay, at most what a delay line holds.
function timedLines(events) {
    var out = []
    for (var i = 0; i < events.length; ++i) {
        if (i > 0) {
            var gap = Math.round(events[i].time - events[i - 1].time)
            out.push(delayLine(Math.min(Math.max(gap, minimumDelay), maximumDelay)))
        }
        out.push(events[i].line)
    }
    return out
}

// Undo history of one macro: the lines before each change (undo) and after each undo (redo).
function emptyHistory() {
    return { undo: [], redo: [] }
}
// A change from `before` to new lines: remembered for undo; a new change forgets the redo steps.
function remember(history, before) {
    var undo = history.undo.concat([Array.from(before)])
    if (undo.length > historyLimit)
        undo = undo.slice(undo.length - historyLimit)
    return { undo: undo, redo: [] }
}
// The lines to show after an undo (or redo) from `now`, with the new history; null when there
// is nothing to undo (redo).
function undo(history, now) {
    if (history.undo.length === 0)
        return null
    return { lines: history.undo[history.undo.length - 1],
             history: { undo: history.undo.slice(0, -1), redo: history.redo.concat([Array.from(now)]) } }
}
function redo(history, now) {
    if (history.redo.length === 0)
        return null
    return { lines: history.redo[history.redo.length - 1],
             history: { undo: history.undo.concat([Array.from(now)]), redo: history.redo.slice(0, -1) } }
}

function sameLines(a, b) {
    if (a.length !== b.length)
        return false
    for (var i = 0; i < a.length; ++i) {
        if (a[i] !== b[i])
            return false
    }
    return true
}

// A new name for a macro: the library refuses names that could leave its folder, and a rename
// onto another macro's name would not happen; the page shows neither.
function acceptableName(newName, oldName, names) {
    var s = String(newName)
    if (s.trim() === "" || s === "." || s === ".." || /[\/\\\u0000]/.test(s))
        return false
    if (s === oldName)
        return false
    return Array.from(names).indexOf(s) < 0
}

// Macro names from the library's file names ("name.bin").
function macroNames(fileNames) {
    return Array.from(fileNames || []).map(f => String(f).slice(0, -4))
}
