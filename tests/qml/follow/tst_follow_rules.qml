import QtQuick
import QtTest
import ".."
import "../../../modules/qml/Q7/follow/FollowRules.js" as Rules

// The rules list's editing on plain values: what comes from the view, what each edit gives,
// and the texts the list shows. The shell is never created; the page test case lends each().
PageTestCase {
    name: "FollowRules"

    function r(name, profile, match) {
        return { match: match || "class", name: name, profile: profile }
    }

    // The view's answer: list-like values, numbers as texts, and whatever a hand-edited file
    // left; only rules come through, with their profile as a number.
    function test_fromTheView() {
        var state = { rules: [r("Gimp", "3"), r("", 2), { match: "title", name: "x", profile: 1 },
                              r(" blender ", 4, "executable"), null, r("Old", 7)],
                      noMatch: "2" }
        compare(Rules.fromView(state), [r("Gimp", 3), r("blender", 4, "executable"), r("Old", 7)])
        compare([Rules.noMatchFromView(state), Rules.noMatchFromView({ noMatch: 9 })], [2, 0])
        compare([Rules.fromView({}), Rules.fromView(undefined)], [[], []])
    }

    // One click adds the application used last, by its class, else its instance, else its
    // program; nothing was seen, nothing to add (the button's labels are the panel test's).
    function test_ruleFromTheApplicationUsedLast() {
        compare(each([{ instance: "navigator", windowClass: "Firefox", executable: "firefox" },
                      { instance: "xterm", windowClass: "", executable: "" },
                      { instance: "", windowClass: " ", executable: "wine64" },
                      { instance: "", windowClass: "", executable: "" }, null],
                     a => Rules.ruleFromApplication(a, 2)),
                [r("Firefox", 2), r("xterm", 2), r("wine64", 2, "executable"), null, null])
    }

    // Adding never doubles a name (the second could never match): the one there takes the
    // new profile and is selected. Names that the program would refuse are not added.
    function test_addingRules() {
        var a = Rules.add([], r("Gimp", 3)), b = Rules.add(a.rules, r("blender", 2, "executable"))
        compare([a, b.selected], [{ rules: [r("Gimp", 3)], selected: 0 }, 1])
        compare(Rules.add(b.rules, r("  GIMP ", 5)), { rules: [r("Gimp", 5), r("blender", 2, "executable")], selected: 0 })
        // The same name as a program is another rule.
        compare(Rules.add(b.rules, r("gimp", 1, "executable")).rules.length, 3)
        for (var bad of [r("", 1), r("   ", 1), r("a\nb", 1), r("x".repeat(257), 1), r("ok", 0), r("ok", 6)])
            compare(Rules.add(b.rules, bad), { rules: b.rules, selected: -1 })
        compare([Rules.cleanName("x".repeat(256)).length, Rules.cleanName("tab\there")], [256, ""])
        // A later rule of the same name (any case) and kind, as a hand-edited file may hold, can
        // never match.
        var shadowing = [r("Gimp", 1), r("gimp", 2), r("gimp", 3, "executable")]
        compare(each([0, 1, 2], i => Rules.shadowed(shadowing, i)), [false, true, false])
    }

    function test_reorderDeleteAndProfiles() {
        var list = [r("A", 1), r("B", 2), r("C", 3)]
        compare(Rules.move(list, 2, -1), { rules: [r("A", 1), r("C", 3), r("B", 2)], selected: 1 })
        compare(Rules.move(list, 0, 1), { rules: [r("B", 2), r("A", 1), r("C", 3)], selected: 1 })
        // Past either end nothing moves.
        compare([Rules.move(list, 0, -1).rules, Rules.move(list, 2, 1).rules, Rules.remove(list, 5).rules],
                [list, list, list])
        compare([Rules.remove(list, 1), Rules.remove(list, 2), Rules.remove([r("A", 1)], 0)],
                [{ rules: [r("A", 1), r("C", 3)], selected: 1 }, { rules: [r("A", 1), r("B", 2)], selected: 1 },
                 { rules: [], selected: -1 }])
        compare(Rules.setProfile(list, 1, 5), [r("A", 1), r("B", 5), r("C", 3)])
        // The edits leave the list they were given as it was (CANCEL goes back to it).
        compare(list, [r("A", 1), r("B", 2), r("C", 3)])
        // A profile from a hand-edited file (7) steps into the range.
        compare(each([1, 2, 5, 7], p => Rules.stepProfile(p, 1)), [2, 3, 1, 1])
        compare(each([1, 3, 7], p => Rules.stepProfile(p, -1)), [5, 2, 5])
        compare(each([[0, 1], [4, 1], [5, 1], [0, -1]], c => Rules.stepNoMatch(c[0], c[1])), [1, 5, 0, 5])
    }


    // Texts: the language's where it has them, English elsewhere; placeholders in one pass.
    function test_texts() {
        var t = Rules.texts({ menu: "REGELN", save: "", extra: "X" })
        compare([t.menu, t.save, Rules.noMatchLabel(t, 0), Rules.noMatchLabel(t, 3)], ["REGELN", "SAVE", "STAY", "P03"])
        compare([Rules.format("%2: %1", ["P03", "%1"]), Rules.format("%1 %3", ["a"])], ["%1: P03", "a %3"])
        var english = Rules.texts(null)
        compare(Rules.ruleDescription(english, [r("A", 1), r("wine", 4, "executable")], 1),
                "Rule 2: wine (PROGRAM), profile P04")
        compare(Rules.status(english, { damaged: true, watching: false }, true).split("\n"),
                [english.saveFailed, english.damaged, english.notWatching])
        compare(Rules.status(english, { damaged: false, watching: true }, false), "")
        // A hint says why applications go unseen, which replaces the bare "not watching".
        compare(Rules.status(english, { watching: false, hint: "hintGnome" }, false), english.hintGnome)
        compare(Rules.status(english, { watching: false, hint: "unknownKey" }, false), english.notWatching)
        compare([Rules.sourceLine(english, { source: "gnome-shell" }), Rules.sourceLine(english, null),
                 Rules.sourceLine(english, { source: "later" })],
                ["ACTIVE APPLICATION FROM: GNOME SHELL EXTENSION", "ACTIVE APPLICATION FROM: NOTHING",
                 "ACTIVE APPLICATION FROM: LATER"])
        compare(Rules.toView([r("A", 2)]), [r("A", 2)])
    }
}
