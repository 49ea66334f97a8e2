.pragma library

// A stored option list as the settings file hands it back: every entry a text.
function stored(overrides) {
    var list = ["2", "0", "0", "1", "0", "false", "", "0",
                "0", "255", "255", "255", "200", "150", "255", "180", "0", "200", "200", "100",
                "200", "170", "255", "255", "180", "180", "160", "190", "160",
                "0", "7", "https://example.org/q7"]
    for (var key in overrides)
        list[Number(key)] = overrides[key]
    return list
}

// A language's string list: font family, then strings 1..118, each tagged with the language.
function strings(tag, family) {
    var list = [family]
    for (var i = 1; i <= 118; ++i)
        list.push(tag + i)
    return list
}
