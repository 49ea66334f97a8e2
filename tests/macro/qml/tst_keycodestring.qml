import QtQuick
import QtTest

TestCase {
    name: "KeyCodeString"

    property var keys: null

    function initTestCase() {
        var component = Qt.createComponent("qrc:/modules/qml/basic/KeyCodeString.qml")
        verify(component.status === Component.Ready, component.errorString())
        keys = component.createObject(this)
        verify(keys !== null)
    }

    function test_logByte_data() {
        return [
            { tag: "none", value: 0, position: 0 },
            { tag: "bit 0", value: 0x01, position: 1 },
            { tag: "bit 7", value: 0x80, position: 8 },
            { tag: "lowest of two", value: 0x06, position: 2 },
            { tag: "above the byte", value: 0x100, position: 0 },
        ]
    }

    function test_logByte(row) {
        compare(keys.logByte(row.value), row.position)
    }

    function test_keyboardRows() {
        compare(keys.keycodeTostr(0x31), "\\ |")
        compare(keys.strTokeycode("\\ |"), 0x31)
        compare(keys.keycodeTostr(0x32), undefined)
        compare(keys.strTokeycode("KP 7 "), 0x5F)
        compare(keys.strTokeycode("KP 7"), undefined)
        compare(keys.keycodeTostr(0x4F), "\u25BA")
        compare(keys.strTokeycode("Intl'2"), 0x88)
        // Mouse rows live in their own tables.
        compare(keys.strTokeycode("MS-L"), undefined)
        compare(keys.keycodeTostr(0xF0), undefined)
    }

    function test_mouseRows() {
        compare(keys.mousecodeTostr(0xF0), "MS-L")
        compare(keys.mousecodeTostr(0xF4), "MS-B5")
        compare(keys.strTomousecode("MS-B4"), 0xF3)
        compare(keys.strTomousecode("A"), undefined)
        compare(keys.mousecodeTostr(0x04), undefined)
    }

    // The tables are plain JavaScript objects; what they inherit is not a key.
    function test_inheritedNamesAreNotKeys() {
        compare(keys.strTokeycode("constructor"), undefined)
        compare(keys.strTokeycode("toString"), undefined)
        compare(keys.strTomousecode("__proto__"), undefined)
        compare(keys.keycodeTostr("hasOwnProperty"), undefined)
    }
}
