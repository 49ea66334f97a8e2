import QtQuick
import QtTest
import "qrc:/modules/qml/common"

// The key capture field and the radio button.
KeysShell {
    id: mainIten

    KeyInput_2 { id: field; x: 20; y: 20 }
    KeyInput_2 { id: other; x: 200; y: 20 }
    RadioButton { id: radio; x: 20; y: 80; index: 2; chkStr: "REPEAT ON PRESSED" }
    SignalSpy { id: complete; target: field; signalName: "inputComplete" }
    SignalSpy { id: radioClicked; target: radio; signalName: "clicked" }

    TestCase {
        name: "KeyInput_2"
        when: windowShown

        function args(spy) {
            return spy.signalArguments.map(a => Array.from(a))
        }

        function init() {
            field.setKey(0)
            other.setKey(0)
            field.visible = true
            complete.clear()
            radioClicked.clear()
        }

        readonly property string empty: "KEY【 PRESS ANY 】"

        function test_clicksArmAndDisarmAndTheNextEventIsTaken() {
            field.keyEvent(true, 0x04)
            mouseClick(field)
            verify(field.armed)
            mouseClick(field)
            verify(!field.armed)
            field.keyEvent(true, 0x04)
            compare([complete.count, field.shownText], [0, empty])

            mouseClick(field)
            // A release is taken as well as a press.
            field.keyEvent(false, 0x31)
            compare([field.armed, field.shownText, field.Accessible.name], [false, "KEY 【 \\ | 】", "KEY 【 \\ | 】"])
            field.keyEvent(true, 0x05)
            compare(args(complete), [[0x31]])
            // Armed, the field shows no key; disarmed without one, the key it showed.
            mouseClick(field)
            compare(field.shownText, empty)
            mouseClick(field)
            compare(field.shownText, "KEY 【 \\ | 】")
        }

        function test_aCodeWithoutANameIsReportedAsReceivedAndShowsEmpty() {
            mouseClick(field)
            field.keyEvent(true, 0x32)
            compare([args(complete), field.keyCode, field.shownText], [[[0x32]], 0x32, empty])
            field.setKey(0xE1)
            compare([field.shownText, field.armed], ["KEY 【 L Shift 】", false])
        }

        // The capture's report and the field's own key events come in either order; the key
        // the field answers to is taken like any other and re-arms nothing, and Tab and Escape
        // neither move the focus nor disarm.
        function test_everyKeyIsTakenWhicheverReportComesFirst() {
            var keys = [[Qt.Key_Space, 0x2C], [Qt.Key_Return, 0x28], [Qt.Key_Enter, 0x58],
                        [Qt.Key_Tab, 0x2B], [Qt.Key_Escape, 0x29]]
            for (var captureFirst of [true, false]) {
                for (var k of keys) {
                    mouseClick(field)
                    if (captureFirst)
                        field.keyEvent(true, k[1])
                    keyPress(k[0])
                    if (!captureFirst)
                        field.keyEvent(true, k[1])
                    keyRelease(k[0])
                    field.keyEvent(false, k[1])
                    compare([field.armed, field.keyCode, field.activeFocus], [false, k[1], true], k)
                }
            }
            compare(complete.count, 10)
            compare(ui_View.captureRequests, 0)
        }

        function test_keyboardArmsWithoutTakingItsOwnKey() {
            field.forceActiveFocus()
            keyClick(Qt.Key_Space)
            verify(field.armed)
            // A capture that was already listening reports the release of the arming Space.
            field.keyEvent(false, 0x2C)
            verify(field.armed)
            keyPress(Qt.Key_Return)
            field.keyEvent(true, 0x28)
            keyRelease(Qt.Key_Return)
            compare([args(complete), field.armed], [[[0x28]], false])
            keyClick(Qt.Key_Return)
            verify(field.armed)
        }

        // One field waits at a time, and only while it can be seen; the shell can end the wait.
        // A disarmed field shows its key again and asks the capture for nothing.
        function test_aFieldDisarmsWhenAnotherArmsOrItCannotBeSeen() {
            field.setKey(0x04)
            mouseClick(field)
            compare(ui_View.captureRequests, 1)
            mouseClick(other)
            compare([field.armed, field.shownText, other.armed, ui_View.captureRequests],
                    [false, "KEY 【 A 】", true, 1])
            Shell.armedField = null
            verify(!other.armed)
            mouseClick(field)
            field.visible = false
            compare([field.armed, other.armed, field.keyCode, ui_View.captureRequests], [false, false, 0x04, 0])
            compare(complete.count, 0)
        }

        // A click and Space report the index; what is selected is the page's to say.
        function test_radioButtonReportsItsIndex() {
            mouseClick(radio)
            radio.forceActiveFocus()
            keyClick(Qt.Key_Space)
            compare([args(radioClicked), radio.isSelect], [[[2], [2]], false])
        }
    }
}
