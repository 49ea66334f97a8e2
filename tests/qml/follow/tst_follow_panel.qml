import QtQuick
import QtTest
import ".."

// The rules list in the shell against the recording view: opened from the profile menu, it
// shows the program's rules and sends exactly one save with the edited list, or nothing.
PageTestCase {
    name: "FollowPanel"

    property var panel: null

    TextMetrics { id: metrics }

    function r(name, profile, match) {
        return { match: match || "class", name: name, profile: profile }
    }

    // Through the fifth item of the profile menu's context menu, as a user opens it, with
    // these answers of the program's rules but for the given ones.
    function openRules(answers) {
        ui_View.assign({ followState: { rules: [r("Gimp", 3), r("blender", 2, "executable"), r("GIMP", 5)],
                                        noMatch: 0, damaged: false, watching: true },
                         followLast: { instance: "navigator", windowClass: "Firefox", executable: "firefox-esr" },
                         followStrings: {}, followSaveRefused: false })
        ui_View.assign(answers || {})
        openShell(3)
        var menu = child("pfContextMenu")
        mouseClick(child("pfEntry2"), 10, 10, Qt.RightButton)
        tryCompare(menu, "opacity", 1, 3000)
        mouseClick(child("pfMenuItem4"))
        panel = child("rulesPanel")
        tryVerify(() => panel.visible)
        tryCompare(menu, "opacity", 0, 3000)
    }

    // An edit rebuilds the rows; the old ones go at the next turn of the event loop and
    // would otherwise be found (and clicked) by name.
    function click(name) {
        wait(0)
        mouseClick(child(name))
    }
    function typeLine(text) {
        typeKeys(text)
        keyClick(Qt.Key_Return)
    }

    function names() {
        wait(0)
        return panel.rules.map((r, i) => child("followRuleName" + i).text + " " + child("followRuleProfile" + i).text)
    }

    // Window classes and rule names come from other programs: markup in them is shown as written
    // wherever the shell shows it (an <img> in rich text fetched its address), notices included.
    function test_markupShowsAsWritten() {
        var markup = "<img src='http://127.0.0.1:9/x.png'><b>Your mouse needs an update</b>"
        openRules({ followState: { rules: [r(markup, 3)], noMatch: 0, damaged: false, watching: true },
                    followLast: { instance: markup, windowClass: markup, executable: markup } })
        shell.showNotice(markup)
        var shown = []
        var visit = function(item) {
            if (item.textFormat !== undefined && String(item.text).indexOf("<b>") >= 0) {
                shown.push(item.objectName)
                compare(item.textFormat, Text.PlainText, item.objectName + ": " + item.text)
            }
            for (var i = 0; i < item.children.length; ++i)
                visit(item.children[i])
        }
        visit(shell)
        verify(shown.indexOf("followRuleName0") >= 0 && shown.length >= 3, shown.join())
        var name = child("followRuleName0")
        metrics.font = name.font
        metrics.text = markup
        fuzzyCompare(name.implicitWidth, metrics.advanceWidth, 2)
    }

    function test_showsTheProgramsRules() {
        openRules({ followState: { rules: [r("Gimp", 3), r("blender", 2, "executable"), r("GIMP", 5)],
                                   noMatch: "4", damaged: true, watching: false } })
        compare([ui_View.names(), names()],
                [["getFollowRules", "getFollowLastApplication"], ["Gimp P03", "blender P02", "GIMP P05"]])
        // The second Gimp rule can never match and says so.
        compare([child("followRuleName2").font.strikeout, child("followRuleName0").font.strikeout,
                 child("followNoMatch4").checked, child("followNoMatch0").checked, child("followAddLast").text],
                [true, false, true, false, "ADD Firefox"])
        var status = child("followStatus").text
        verify(status.indexOf("could not be read") >= 0 && status.indexOf("does not tell") >= 0, status)
        // Moving the first rule up and the last one down is not offered; the page underneath
        // rests while the list is up.
        verify(!child("followRuleUp0").enabled && !child("followRuleDown2").enabled && !child("_fkPage").enabled)
    }

    function test_editsSaveExactlyTheEditedList() {
        openRules()
        ui_View.clear()
        click("followAddLast")          // Firefox with the current profile, P01
        click("followRuleProfile3")     // P02
        click("followRuleProfile3")     // P03
        click("followRuleUp3")          // above GIMP
        // The moved rule's UP has the focus again, the pointer's: Space does not move it twice.
        tryVerify(() => child("followRuleUp2").activeFocus)
        keyClick(Qt.Key_Space)
        click("followRuleDelete0")      // Gimp goes
        click("followNameInput")
        typeLine("Steam")
        click("followNoMatch5")
        compare(names(), ["blender P02", "Firefox P03", "GIMP P05", "Steam P01"])
        compare(ui_View.calls, [])
        click("followSave")
        compare(ui_View.calls, [["setFollowRules", [r("blender", 2, "executable"), r("Firefox", 3),
                                                    r("GIMP", 5), r("Steam", 1)], 5]])
        verify(!panel.visible && child("_fkPage").enabled)
    }

    // Cancel and Escape leave the rules as they were; opening again shows those.
    function test_cancelWritesNothing_data() {
        return [{ tag: "CANCEL", close: () => click("followCancel") },
                { tag: "Escape", close: () => keyClick(Qt.Key_Escape) }]
    }
    function test_cancelWritesNothing(data) {
        openRules()
        click("followRuleDelete0")
        click("followNoMatch2")
        data.close()
        verify(!panel.visible)
        compare(ui_View.callsOf("setFollowRules"), [])
        panel.open()
        compare([names(), child("followNoMatch0").checked], [["Gimp P03", "blender P02", "GIMP P05"], true])
    }

    function test_aFailedSaveKeepsTheListAndTells() {
        openRules()
        ui_View.followSaveRefused = true
        click("followRuleDelete2")
        click("followSave")
        compare([panel.visible, child("followStatus").text, names()],
                [true, "The rules could not be saved.", ["Gimp P03", "blender P02"]])
        ui_View.followSaveRefused = false
        click("followSave")
        verify(!panel.visible)
        compare(ui_View.callsOf("setFollowRules").length, 2)
    }

    // The whole list by keyboard: the one-click add has the focus on opening, Tab walks the
    // rows' buttons, arrows step a profile, focus stays on a moved rule, Escape closes.
    function test_keyboardOnly() {
        openRules()
        ui_View.clear()
        verify(child("followAddLast").activeFocus)
        keyClick(Qt.Key_Space)
        compare(names()[3], "Firefox P01")
        // Back from the add button to the last row's delete, then past its DOWN (there is
        // nothing below it) to its UP.
        keyClick(Qt.Key_Tab, Qt.ShiftModifier)
        verify(child("followRuleDelete3").activeFocus)
        keyClick(Qt.Key_Tab, Qt.ShiftModifier)
        verify(child("followRuleUp3").activeFocus)
        keyClick(Qt.Key_Return)
        compare(names()[2], "Firefox P01")
        tryVerify(() => child("followRuleUp2").activeFocus)
        keyClick(Qt.Key_Tab, Qt.ShiftModifier)
        verify(child("followRuleProfile2").activeFocus)
        keyClick(Qt.Key_Left)
        compare(names()[2], "Firefox P05")
        tryVerify(() => child("followRuleProfile2").activeFocus)
        // On through the add field, the profile of new rules and the other-applications
        // choices to SAVE.
        var seen = []
        for (var i = 0; i < 30 && !child("followSave").activeFocus; ++i) {
            keyClick(Qt.Key_Tab)
            seen.push(panel.Window.activeFocusItem.objectName)
        }
        verify(child("followSave").activeFocus, seen.join(","))
        verify(seen.indexOf("followNameInput") >= 0 && seen.indexOf("followNoMatch3") >= 0, seen.join(","))
        keyClick(Qt.Key_Escape)
        verify(!panel.visible)
        compare(ui_View.callsOf("setFollowRules"), [])
    }

    // Before another application was seen: no one-click rule, the name field takes the
    // keys, and Return there adds the typed class with the profile shown beside it.
    function test_nothingSeenYet() {
        openRules({ followLast: { instance: "", windowClass: "", executable: "" },
                    followState: { rules: [], noMatch: 0, damaged: false, watching: true } })
        // The profile menu's current profile (P01) is the new rule's.
        compare([child("followAddLast").enabled, child("followAddLast").text, child("followNewProfile").text],
                [false, "NO APPLICATION SEEN YET", "P01"])
        verify(child("followEmpty").visible && child("followNameInput").activeFocus)
        typeLine("wine")
        compare([names(), child("followEmpty").visible], [["wine P01"], false])
        keyClick(Qt.Key_Escape)
        verify(!panel.visible)
    }

    // Every control the list shows carries a name for screen readers, and the texts come
    // from the language where it has them.
    function test_namesAndLanguage() {
        openRules({ followStrings: { menu: "REGELN", save: "SICHERN", ruleName: "Regel %1: %2, %3" } })
        compare([child("pfMenuItem4").children[0].text, child("followSave").text, child("followCancel").text],
                ["REGELN", "SICHERN", "CANCEL"])
        compare(child("followRuleProfile1").Accessible.name, "Regel 2: blender, P02")
        for (var name of ["followAddLast", "followNameInput", "followNewProfile", "followAdd", "followNoMatch0",
                          "followNoMatch5", "followSave", "followCancel", "followRuleUp1", "followRuleDown1",
                          "followRuleDelete1"])
            verify(child(name).Accessible.name !== "", name)
    }
}
