import QtQuick
import QtTest

TestCase {
    name: "KeyCodeString"

    property var keys: Qt.createComponent("qrc:/modules/qml/basic/KeyCodeString.qml").createObject(this)

    function test_logByte_data() {
        return [{ tag: "none", value: 0, position: 0 }, { tag: "bit 0", value: 0x01, position: 1 },
                { tag: "bit 7", value: 0x80, position: 8 }, { tag: "lowest", value: 0x06, position: 2 },
                { tag: "above the byte", value: 0x100, position: 0 }]
    }

    function test_logByte(row) {
        compare(keys.logByte(row.value), row.position)
    }

    function test_lookUps() {
        compare(keys.keycodeTostr(0x31), "\\ |")
        compare(keys.keycodeTostr(0x32), undefined)
        compare(keys.strTokeycode("KP 7 "), 0x5F)
        compare(keys.strTokeycode("KP 7"), undefined)
        compare(keys.strTokeycode("MS-L"), undefined)
        compare(keys.mousecodeTostr(0xF4), "MS-B5")
        compare(keys.strTomousecode("MS-B4"), 0xF3)
        compare(keys.mousecodeTostr(0x04), undefined)
    }

    // The tables are plain JavaScript objects; what they inherit is not a key.
    function test_inheritedNamesAreNotKeys() {
        compare(keys.strTokeycode("constructor"), undefined)
        compare(keys.strTomousecode("toString"), undefined)
        compare(keys.keycodeTostr("hasOwnProperty"), undefined)
    }
}
