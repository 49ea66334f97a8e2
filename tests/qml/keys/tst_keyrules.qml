import QtQuick
import QtTest
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/Q7/keys/KeyRules.js" as Rules

// The key page's entry rules without a window: how an entry is shown, what the controls write,
// and how macro slots are given and given back.
TestCase {
    name: "KeyRules"

    KeyCodeString {
        id: names
    }

    // Sixteen right buttons, but for the given key ids.
    function entries(overrides) {
        return Array.from({ length: 16 }, (_, k) => overrides[k] !== undefined ? overrides[k] : [1, 0, 0xF1, 0])
    }

    function test_show_data() {
        var Fn = Rules.Fn
        return [
            { tag: "keyboard", entry: [0, 0, 0x04, 0], shown: { fn: Fn.keyboard, key: 4 } },
            { tag: "empty is combo 0", entry: [0, 0, 0, 0], shown: { fn: Fn.combo, comboItem: 0, key1: 0, key2: 0 } },
            { tag: "combo", entry: [0, 0x20, 0x04, 0x05], shown: { fn: Fn.combo, comboItem: 6, key1: 4, key2: 5 } },
            { tag: "single key with a second", entry: [0, 0, 0x04, 0x05], shown: { fn: Fn.combo, comboItem: 0, key1: 4, key2: 5 } },
            { tag: "mouse middle", entry: [1, 0, 0xF2, 0], shown: { fn: Fn.mouse, item: 2 } },
            { tag: "mouse unknown button", entry: [1, 0, 0x05, 0], shown: { fn: Fn.mouse, item: -1 } },
            { tag: "media mail", entry: [3, 0, 0x8A, 1], shown: { fn: Fn.media, item: 8 } },
            { tag: "media unknown", entry: [3, 0, 0x8B, 1], shown: { fn: Fn.media, item: -1 } },
            { tag: "scroll down", entry: [4, 0, 2, 0], shown: { fn: Fn.mouse, item: 10 } },
            { tag: "dpi switch", entry: [7, 0, 3, 0], shown: { fn: Fn.mouse, item: 8 } },
            { tag: "dpi +", entry: [7, 0, 1, 0], shown: { fn: Fn.mouse, item: 6 } },
            { tag: "profile", entry: [8, 0, 3, 0], shown: { fn: Fn.profile } },
            { tag: "macro", entry: [9, 2, 5, 0], shown: { fn: Fn.macro, storedIndex: 4, playMode: 2 } },
            { tag: "triple click", entry: [0x0A, 0xF0, 0x21, 3], shown: { fn: Fn.mouse, item: 5 } },
            { tag: "fire mouse, interval 45", entry: [0x0A, 0xF1, 45, 7],
              shown: { fn: Fn.fire, mouseSide: true, item: 1, key: 0, speed: 6, shots: 7 } },
            { tag: "fire key, interval 255", entry: [0x0A, 0x04, 255, 0],
              shown: { fn: Fn.fire, mouseSide: false, item: -1, key: 4, speed: 0, shots: 0 } },
            { tag: "fire below 10", entry: [0x0A, 0x04, 3, 1],
              shown: { fn: Fn.fire, mouseSide: false, item: -1, key: 4, speed: 7, shots: 1 } },
            { tag: "led", entry: [0x0C, 0, 0, 0], shown: { fn: Fn.led } },
            // Bytes that fit no row, of an unknown type or of a known one, select no function and
            // show as they are; a mouse button entry names its code where it has a name.
            { tag: "type 05", entry: [5, 0, 3, 0], shown: { fn: Fn.none, raw: "0x05 0x00 0x03 0x00" } },
            { tag: "type 0B", entry: [0x0B, 0, 0, 0], shown: { fn: Fn.none, raw: "0x0B 0x00 0x00 0x00" } },
            { tag: "type FF", entry: [0xFF, 0xAB, 0x10, 1], shown: { fn: Fn.none, raw: "0xFF 0xAB 0x10 0x01" } },
            { tag: "mouse 0", entry: [1, 0, 0, 0], shown: { fn: Fn.none, raw: "0x01 0x00 0x00 0x00" } },
            { tag: "mouse byte 3", entry: [1, 0, 0xF0, 1], shown: { fn: Fn.none, raw: "0x01 0x00 0xF0 0x01 【 MS-L 】" } },
            { tag: "mouse key byte 1", entry: [1, 2, 0x04, 0], shown: { fn: Fn.none, raw: "0x01 0x02 0x04 0x00 【 A 】" } },
            { tag: "media lo 0", entry: [3, 0, 0, 2], shown: { fn: Fn.none, raw: "0x03 0x00 0x00 0x02" } },
            { tag: "scroll 3", entry: [4, 0, 3, 0], shown: { fn: Fn.none, raw: "0x04 0x00 0x03 0x00" } },
            { tag: "dpi 5", entry: [7, 0, 5, 0], shown: { fn: Fn.none, raw: "0x07 0x00 0x05 0x00" } },
            { tag: "dpi 0", entry: [7, 0, 0, 0], shown: { fn: Fn.none, raw: "0x07 0x00 0x00 0x00" } },
            { tag: "profile 2", entry: [8, 0, 2, 0], shown: { fn: Fn.none, raw: "0x08 0x00 0x02 0x00" } },
            { tag: "led 1", entry: [0x0C, 1, 0, 0], shown: { fn: Fn.none, raw: "0x0C 0x01 0x00 0x00" } }
        ]
    }
    function test_show(row) {
        compare(Rules.show(row.entry, names), row.shown)
    }

    function test_controlsWrite() {
        compare([Rules.keyboardEntry(0x32), Rules.mouseEntry(2), Rules.mouseEntry(5), Rules.mouseEntry(7),
                 Rules.mediaEntry(8, names), Rules.mediaEntry(11, names), Rules.comboEntry(1, 0, 0x05)],
                [[0, 0, 0x32, 0], [1, 0, 0xF2, 0], [0x0A, 0xF0, 0x21, 3], [7, 0, 2, 0], [3, 0, 0x8A, 1],
                 [3, 0, 0x21, 2], [0, 1, 0, 5]])
        compare([0, 1, 2, 3, 4, 5, 6, 7, 8].map(i => Rules.comboEntry(i, 4, 0)[1]), [0, 1, 2, 4, 8, 16, 32, 64, 128])
        // Every entry shown again comes back as the same function and item.
        for (var i = 0; i < 11; ++i)
            compare(Rules.show(Rules.mouseEntry(i), names).item, i)
        for (i = 0; i < 18; ++i)
            compare(Rules.show(Rules.mediaEntry(i, names), names).item, i)
    }

    function test_fireKeySpeedAndCounts() {
        compare([Rules.fireEntry(0xF0, 7, 10), Rules.fireEntry(0x04, 0, 255), Rules.fireEntry(0xF0, 7, 300)],
                [[0x0A, 0xF0, 10, 10], [0x0A, 0x04, 255, 255], [0x0A, 0xF0, 10, 255]])
        // No slider position yet: the fastest.
        compare(Rules.interval(-1), 10)
        for (var s = 0; s <= 7; ++s)
            compare(Rules.speedOf(Rules.interval(s)), s)
        compare([Rules.count("70000", 65535, 1), Rules.count("", 65535, 1), Rules.count("1a2", 255, 10),
                 Rules.count("256", 255, 10)], [65535, 1, 12, 255])
    }

    // The macro slots: a new macro takes the smallest free one (its key's own old slot is
    // free for it), one with a slot keeps and shares it; no macro, no room or no readable
    // configuration leaves the key empty.
    function test_macroSlots() {
        var r = Rules.setMacroKey(entries({ 0: [9, 0, 1, 0], 1: [9, 1, 2, 0], 4: [9, 0, 7, 1] }), 3, "m", [-1, 1], 2, 5)
        compare(r, { entry: [9, 2, 3, 0], calls: [["setMacroIniConfig", "m", [2, 5]], ["q7_0FH_SetMacroKey", 3, "m"]] })
        compare(Rules.setMacroKey(entries({ 3: [9, 0, 1, 0] }), 3, "m", [-1, 1], 0, 1).entry, [9, 0, 1, 0])
        r = Rules.setMacroKey(entries({ 0: [9, 0, 5, 0] }), 2, "m", [4, 3], 1, 3)
        compare(r, { entry: [9, 1, 5, 0], calls: [["setMacroIniConfig", "m", [4, 3]], ["q7_0FH_SetMacroKey", 5, "m"]] })

        var full = Array.from({ length: 16 }, (_, k) => [9, 0, k + 1, 0])
        var none = { entry: [0, 0, 0, 0], calls: [] }
        compare(Rules.setMacroKey(full, 0, "m", [-1, 1], 0, 1).entry, [9, 0, 1, 0])
        var saved = Rules.freeIndex
        Rules.freeIndex = () => -1
        compare(Rules.setMacroKey(full, 0, "m", [-1, 1], 0, 1), none)
        Rules.freeIndex = saved
        compare([Rules.setMacroKey(full, 0, "m", [], 0, 1), Rules.setMacroKey(full, 0, "", [3, 1], 0, 1)], [none, none])
        // The first and the last slot are slots: a macro already there keeps it (taken for none,
        // it would be uploaded again into a new slot and the key would keep the old copy); one
        // past the last is no slot.
        compare([Rules.setMacroKey(entries({ 1: [9, 0, 1, 0] }), 3, "m", [0, 2], 0, 2),
                 Rules.setMacroKey(entries({}), 3, "m", [99, 2], 0, 2).entry,
                 Rules.setMacroKey(entries({}), 3, "m", [100, 2], 0, 2).entry,
                 Rules.setMacroKey(entries({}), 3, "m", [250, 1], 0, 1).entry],
                [{ entry: [9, 0, 1, 0], calls: [["setMacroIniConfig", "m", [0, 2]], ["q7_0FH_SetMacroKey", 1, "m"]] },
                 [9, 0, 100, 0], [9, 0, 1, 0], [9, 0, 1, 0]])
        // Sixteen keys cannot hold 100 slots, so the last free one is looked for in a longer list.
        var many = Array.from({ length: 100 }, (_, i) => [9, 0, i + 1, 0])
        compare(Rules.freeIndex(many), -1)
        many[57] = [9, 0, 58, 1]
        compare(Rules.freeIndex(many), 57)
    }

    function test_tidyingGivesBackUnusedSlotsOnly() {
        var macros = [{ name: "used", index: 2 }, { name: "stale", index: 6 }, { name: "none", index: -1 }]
        compare(Rules.tidyCalls(entries({ 2: [9, 0, 3, 0] }), macros),
                [["setMacroIniConfig", "stale", [-1, 1]], ["setMacroIniConfig", "none", [-1, 1]]])
        compare([Rules.macroRowOf([{ index: 2 }, { index: 4 }, { index: 2 }], 2), Rules.macroRowOf([{ index: 2 }], 3)],
                [2, -1])
    }

    // The sixty-four numbers Apply sends in key id order are the page test's; here the button
    // menu skips keys without a name, and falls back to the built-in keys without any.
    function test_buttonMenu() {
        var menu = Rules.buttonMenu(["L", "R", "", "F", "", "", "", "", "", "", "", "", "", "", "Up", ""])
        compare([menu.keyIds, menu.texts, menu.loaded], [[0, 1, 3, 14], ["L", "R", "F", "Up"], true])
        menu = Rules.buttonMenu(new Array(16).fill(""))
        compare([menu.keyIds, menu.texts[1], menu.loaded], [[0, 1, 2, 3, 4, 5, 6, 14, 15], "KEY ２", false])
    }

    function test_lastLeftButton() {
        var e = entries({ 0: [1, 0, 0xF0, 0], 3: [1, 0, 0xF0, 0] })
        // Key 3 not listed, key 0 is the last left button the user can reach.
        compare([Rules.isLastLeftButton(e, [0, 1, 3], 0), Rules.isLastLeftButton(e, [0, 1, 2], 0),
                 Rules.isLastLeftButton(e, [0, 1, 2], 1)], [false, true, false])
    }
}
