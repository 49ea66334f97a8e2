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
    DropdownList { id: list; objectName: "effects"; x: 20; y: 20; model: effects }
    Rectangle {
        id: below
        x: 20
        y: 60
        width: 210
        height: 100
        activeFocusOnTab: true
        MouseArea { anchors.fill: parent }
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
            for (var spy of [opened, closed, chosen])
                spy.clear()
        }

        function test_clickOpensClickOnFieldClosesClickOnItemChooses() {
            list.setCurIndex(7) // no such row
            compare([list.getCurIndex(), list.currentText], [-1, "【 OPTIONS 】"])
            mouseClick(list)
            verify(list.opened)
            // The open list lies above the controls below it.
            verify(list.z > below.z)
            mouseClick(list)
            verify(!list.opened)
            compare([opened.count, closed.count, chosen.count], [1, 1, 0])

            mouseClick(list)
            var row = findChild(list, "effectsItem2")
            tryVerify(() => row.height > 0 && findChild(list, "effectsList").height > 70)
            mouseClick(row)
            verify(!list.opened)
            compare([list.getCurIndex(), list.currentText], [2, "NEON"])
            compare(chosen.signalArguments.map(a => a[0]), [2])
        }

        // Opening and choosing by keys is the lighting page's; here the ends and the ways out.
        function test_keyboardStopsAtTheEndAndLeavingCloses() {
            list.forceActiveFocus()
            list.setCurIndex(1)
            // Closed, the arrows step through the items directly and say so.
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Down)
            compare([list.getCurIndex(), chosen.count], [2, 1])
            keyClick(Qt.Key_Return)
            keyClick(Qt.Key_Escape)
            verify(!list.opened)
            compare(list.getCurIndex(), 2)
            // Leaving the open list closes it.
            keyClick(Qt.Key_Return)
            keyClick(Qt.Key_Tab)
            verify(below.activeFocus && !list.opened)
        }
    }
}
