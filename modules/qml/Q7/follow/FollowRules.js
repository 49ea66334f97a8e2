.pragma library
.import "../../common/ControlRules.js" as Rules

// The rules list's editing, on plain script values: a rule is {match: "class" | "executable",
// name, profile}; every change returns a new list and the row to select, so the panel only
// shows what these functions give it.

var profileCount = 5
// Names longer than this are refused by the program; the field stops there too.
var maxNameLength = 256

// The built-in English texts, used where the language file has none.
var englishTexts = {
    "menu": "RULES",
    "title": "PROFILES BY APPLICATION",
    "intro": "The first rule that names the active application picks its profile.",
    "empty": "No rules yet. Add the application you used last, or type its class name.",
    "class": "CLASS",
    "executable": "PROGRAM",
    "addLast": "ADD %1",
    "noLast": "NO APPLICATION SEEN YET",
    "nameField": "Class name of the application",
    "add": "ADD",
    "profile": "PROFILE",
    "up": "UP",
    "down": "DOWN",
    "delete": "DELETE",
    "otherApps": "OTHER APPLICATIONS",
    "stay": "STAY",
    "save": "SAVE",
    "cancel": "CANCEL",
    "ruleName": "Rule %1: %2, profile %3",
    "saveFailed": "The rules could not be saved.",
    "damaged": "The rules file could not be read. It is kept as it is until you save new rules.",
    "notWatching": "This desktop does not tell which application is active, so the rules do not switch here.",
    "source": "ACTIVE APPLICATION FROM: %1",
    "sourceGnome": "GNOME SHELL EXTENSION",
    "sourceKwin": "KWIN SCRIPT",
    "sourceX11": "X11",
    "sourceNone": "NOTHING",
    "hintGnome": "Native GNOME applications are followed once the program's extension is on: run gnome-extensions enable active-window@q7config.org, then log out and in.",
    "hintKde": "KWin did not take the program's script, so only X11 applications are followed here.",
    "hintWayland": "On this Wayland desktop only applications running under X11 are followed.",
    "switched": "%1 for %2"
}

// The language's texts over the English ones; an empty text counts as missing.
function texts(fromLanguage) {
    return Rules.merged(englishTexts, fromLanguage)
}

// "%1"… in a text, in one pass, so a name holding "%2" is shown as it is.
function format(text, args) {
    return Rules.format(text, args)
}

function profileLabel(profile) {
    return Rules.profileLabel(profile)
}

function validProfile(profile) {
    var n = Number(profile)
    return Number.isInteger(n) && n >= 1 && n <= profileCount
}

// The next profile for the row's chooser, round from P05 to P01; a profile a hand-edited file
// gave outside the range steps into it.
function stepProfile(profile, step) {
    var n = Number(profile)
    if (!validProfile(n))
        return step > 0 ? 1 : profileCount
    return (n - 1 + step + profileCount) % profileCount + 1
}

// The no-match choice steps through stay (0) and the five profiles.
function stepNoMatch(choice, step) {
    return (Number(choice) + step + profileCount + 1) % (profileCount + 1)
}

// A name the program takes: something left after trimming, no control characters, not too long.
function cleanName(text) {
    var name = String(text === undefined || text === null ? "" : text).trim()
    if (name === "" || name.length > maxNameLength || /[\u0000-\u001f\u007f-\u009f\u2028\u2029]/.test(name))
        return ""
    return name
}

// What the view gives (list-like objects, numbers as texts) as plain rules; entries that are
// not rules are left out.
function fromView(state) {
    var list = state && state.rules ? Array.from(state.rules) : []
    var rules = []
    for (var i = 0; i < list.length; ++i) {
        var r = list[i]
        if (!r || (r.match !== "class" && r.match !== "executable") || cleanName(r.name) === "")
            continue
        rules.push({ match: String(r.match), name: cleanName(r.name), profile: Number(r.profile) })
    }
    return rules
}

function noMatchFromView(state) {
    var n = state ? Number(state.noMatch) : 0
    return validProfile(n) ? n : 0
}

// The rule the "add the application used last" button makes: its window class (the instance
// name where the class is missing), else its program's name; null when none was seen.
function ruleFromApplication(app, profile) {
    if (!app)
        return null
    var windowClass = cleanName(app.windowClass) || cleanName(app.instance)
    if (windowClass !== "")
        return { match: "class", name: windowClass, profile: profile }
    var executable = cleanName(app.executable)
    return executable !== "" ? { match: "executable", name: executable, profile: profile } : null
}

function applicationName(app) {
    var rule = ruleFromApplication(app, 1)
    return rule ? rule.name : ""
}

function sameRule(a, b) {
    return a.match === b.match && a.name.toLowerCase() === b.name.toLowerCase()
}

// Adds a rule at the end. A rule for the same name already there is not doubled (it could
// never match): that one takes the profile and is selected.
function add(rules, rule) {
    if (!rule || cleanName(rule.name) === "" || !validProfile(rule.profile))
        return { rules: rules, selected: -1 }
    var added = { match: rule.match, name: cleanName(rule.name), profile: Number(rule.profile) }
    var list = rules.slice()
    for (var i = 0; i < list.length; ++i) {
        if (sameRule(list[i], added)) {
            list[i] = { match: list[i].match, name: list[i].name, profile: added.profile }
            return { rules: list, selected: i }
        }
    }
    list.push(added)
    return { rules: list, selected: list.length - 1 }
}

// Moves rule `index` by `step` places; earlier rules win, so this is how the user ranks them.
function move(rules, index, step) {
    var to = index + step
    if (index < 0 || index >= rules.length || to < 0 || to >= rules.length)
        return { rules: rules, selected: index }
    var list = rules.slice()
    var taken = list.splice(index, 1)[0]
    list.splice(to, 0, taken)
    return { rules: list, selected: to }
}

// Deletes rule `index`; the row that takes its place is selected (the last one at the end).
function remove(rules, index) {
    if (index < 0 || index >= rules.length)
        return { rules: rules, selected: index }
    var list = rules.slice()
    list.splice(index, 1)
    return { rules: list, selected: Math.min(index, list.length - 1) }
}

function setProfile(rules, index, profile) {
    if (index < 0 || index >= rules.length)
        return rules
    var list = rules.slice()
    list[index] = { match: list[index].match, name: list[index].name, profile: Number(profile) }
    return list
}

// A rule below an earlier one for the same name never matches.
function shadowed(rules, index) {
    for (var i = 0; i < index; ++i)
        if (sameRule(rules[i], rules[index]))
            return true
    return false
}

// What setFollowRules takes.
function toView(rules) {
    return rules.map(r => ({ match: r.match, name: r.name, profile: r.profile }))
}

// The text a screen reader hears for a row.
function ruleDescription(t, rules, index) {
    var r = rules[index]
    return format(t.ruleName, [index + 1, r.name + " (" + (r.match === "executable" ? t.executable : t["class"]) + ")",
                               profileLabel(r.profile)])
}

// The one-click button's label: the application's name, or that none was seen yet.
function addLastLabel(t, app) {
    var name = applicationName(app)
    return name !== "" ? format(t.addLast, [name]) : t.noLast
}

function noMatchLabel(t, choice) {
    return Number(choice) === 0 ? t.stay : profileLabel(choice)
}

// The lines above the list: what the user must know before trusting the rules.
function status(t, state, saveFailed) {
    var lines = []
    if (saveFailed)
        lines.push(t.saveFailed)
    if (state && state.damaged)
        lines.push(t.damaged)
    // The hint says why and what to do, which says more than that nothing is watched.
    if (state && state.hint && t[state.hint])
        lines.push(t[state.hint])
    else if (state && state.watching === false)
        lines.push(t.notWatching)
    return lines.join("\n")
}

// Which desktop mechanism tells the active application, in the title line.
var sourceKeys = { "gnome-shell": "sourceGnome", "kwin": "sourceKwin", "x11": "sourceX11", "none": "sourceNone" }

function sourceLine(t, state) {
    var kind = state && state.source ? state.source : "none"
    var key = sourceKeys[kind]
    return format(t.source, [key ? t[key] : kind.toUpperCase()])
}
