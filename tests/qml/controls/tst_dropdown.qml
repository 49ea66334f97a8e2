import QtQuick
import QtTest
import "qrc:/modules/qml/common"

// The drop-down list: opening and closing, choosing by mouse and keyboard, the text shown.
FakeShell {
    id: mainIten

    ListModel {
        id: effects
        ListElement { textX: "STATIC" }
        ListElement { textX: "BREATHING" }
        ListElement { textX: "NEON" }
    }
    DropdownList {
        id: list
        objectName: "effects"
        x: 20
        y: 20
        model: effects
    }
    Rectangle {
        id: below
        x: 20
        y: 60
        width: 210
        height: 100
        activeFocusOnTab: true
        MouseArea {
            anchors.fill: parent
        }
    }
    SignalSpy { id: opened; target: list; signalName: "listOpened" }
    SignalSpy { id: closed; target: list; signalName: "listClosed" }
    SignalSpy { id: chosen; target: list; signalName: "listElementClicked" }

    TestCase {
        name: "DropdownList"
        when: windowShown

        function init() {
            list.close()
            list.setCurIndex(-1)
            mainIten.globalSetting_stringList = ["DejaVu Sans", "OPTIONS"]
            opened.clear()
            closed.clear()
            chosen.clear()
        }

        function item(i) {
            var row = findChild(list, "effectsItem" + i)
            verify(row, "no row " + i)
            return row
        }

        function test_nothingCurrentShowsTheBracketedOptionsText() {
            compare(list.currentText, "【 OPTIONS 】")
            mainIten.globalSetting_stringList = ["DejaVu Sans", "OPTIONEN"]
            compare(list.currentText, "【 OPTIONEN 】")
            list.setCurIndex(7)
            compare(list.getCurIndex(), -1)
        }

        function test_clickOpensClickOnFieldClosesClickOnItemChooses() {
            mouseClick(list)
            verify(list.opened)
            compare(opened.count, 1)
            // The open list lies above the controls below it.
            verify(list.z > below.z)
            mouseClick(list)
            verify(!list.opened)
            compare(closed.count, 1)
            compare(chosen.count, 0)

            mouseClick(list)
            tryVerify(() => item(2).height > 0 && findChild(list, "effectsList").height > 70)
            mouseClick(item(2))
            verify(!list.opened)
            compare(list.getCurIndex(), 2)
            compare(list.currentText, "NEON")
            compare(chosen.count, 1)
            compare(chosen.signalArguments[0][0], 2)
        }

        function test_keyboardOpensMovesAndChooses() {
            list.forceActiveFocus()
            keyClick(Qt.Key_Space)
            verify(list.opened)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Return)
            verify(!list.opened)
            compare(list.getCurIndex(), 1)
            // Closed, the arrows step through the items directly and say so.
            keyClick(Qt.Key_Down)
            compare(list.getCurIndex(), 2)
            keyClick(Qt.Key_Down)
            compare(list.getCurIndex(), 2)
            compare(chosen.count, 2)
            keyClick(Qt.Key_Return)
            keyClick(Qt.Key_Escape)
            verify(!list.opened)
            compare(list.getCurIndex(), 2)
            compare(list.Accessible.name, "NEON")
        }

        function test_leavingTheListClosesIt() {
            list.forceActiveFocus()
            keyClick(Qt.Key_Return)
            verify(list.opened)
            keyClick(Qt.Key_Tab)
            verify(below.activeFocus)
            verify(!list.opened)
        }

        function test_editedRowTextReachesTheField() {
            list.setCurIndex(0)
            effects.setProperty(0, "textX", "STATISCH")
            compare(list.currentText, "STATISCH")
            effects.setProperty(0, "textX", "STATIC")
        }

        function test_defaultIndexIsCurrentFromTheStart() {
            var other = createTemporaryQmlObject(
                "import QtQuick; import \"qrc:/modules/qml/common\"; DropdownList { defaultIndex: 1 }",
                mainIten)
            other.model = effects
            compare(other.getCurIndex(), 1)
            compare(other.currentText, "BREATHING")
        }
    }
}
