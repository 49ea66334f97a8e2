import QtQuick
import QtTest
import "qrc:/modules/qml/common"

// The key capture field and the radio button.
KeysShell {
    id: mainIten

    KeyInput_2 { id: field; x: 20; y: 20 }
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
            verify(!field.armed)
            compare([field.shownText, field.Accessible.name], ["KEY 【 \\ | 】", "KEY 【 \\ | 】"])
            field.keyEvent(true, 0x05)
            compare(args(complete), [[0x31]])
            // A click empties the field.
            mouseClick(field)
            compare(field.shownText, empty)
        }

        function test_aCodeWithoutANameIsReportedAsReceivedAndShowsEmpty() {
            mouseClick(field)
            field.keyEvent(true, 0x32)
            compare([args(complete), field.keyCode, field.shownText], [[[0x32]], 0x32, empty])
            field.setKey(0xE1)
            compare([field.shownText, field.armed], ["KEY 【 L Shift 】", false])
        }

        function test_keyboardArmsWithoutTakingItsOwnKey() {
            field.forceActiveFocus()
            keyClick(Qt.Key_Space)
            // The capture still delivers the release of the Space that armed the field.
            field.keyEvent(false, 0x2C)
            verify(field.armed)
            field.keyEvent(true, 0x04)
            compare(args(complete), [[0x04]])
            keyClick(Qt.Key_Return)
            keyClick(Qt.Key_Return)
            verify(!field.armed)
        }

        function test_radioButtonReportsItsIndexAndShowsTheSelection() {
            mouseClick(radio)
            radio.forceActiveFocus()
            keyClick(Qt.Key_Space)
            compare([args(radioClicked), radio.isSelect, radio.Accessible.name], [[[2], [2]], false, "REPEAT ON PRESSED"])
            radio.isSelect = true
            verify(radio.Accessible.checked)
        }
    }
}
