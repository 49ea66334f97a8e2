import QtQuick
import QtTest
import "qrc:/modules/qml/common"

// The row list and the list button: choosing and clearing rows by mouse and keyboard, the right
// click, editing a row's text, and the button's reload request before it opens.
KeysShell {
    id: mainIten

    ListModel { id: macros }
    function fill(n) {
        macros.clear()
        for (var i = 0; i < n; ++i)
            macros.append({ textX: "Macro. " + (i + 1), textR: i % 2 ? "    [Down]" : "" })
    }

    FileList { id: list; objectName: "rows"; x: 20; y: 20; model: macros }
    FileListButton {
        id: button
        objectName: "pick"
        x: 300
        y: 20
        model: macros
        onRequestToUpdateList: mainIten.fill(4)
    }
    // Under the button's open list, declared after it: the list still takes the clicks.
    Rectangle {
        id: elsewhere
        x: 300
        y: 60
        width: 210
        height: 150
        activeFocusOnTab: true
        MouseArea { id: elsewhereArea; anchors.fill: parent }
    }
    SignalSpy { id: elsewhereClicks; target: elsewhereArea; signalName: "clicked" }
    SignalSpy { id: clicked; target: list; signalName: "listElementClicked" }
    SignalSpy { id: rightClicked; target: list; signalName: "listElementRightBtnClicked" }
    SignalSpy { id: edited; target: list; signalName: "editFileName_completed" }
    SignalSpy { id: chosen; target: button; signalName: "listElementClicked" }
    SignalSpy { id: update; target: button; signalName: "requestToUpdateList" }

    TestCase {
        name: "FileList"
        when: windowShown

        function args(spy) {
            return spy.signalArguments.map(a => Array.from(a))
        }

        function init() {
            mainIten.fill(3)
            list.setCurIndex(-1)
            list.highlightIndex = -1
            list.contentY = 0
            button.close()
            button.setCurIndex(-1)
            for (var spy of [clicked, rightClicked, edited, chosen, update, elsewhereClicks])
                spy.clear()
        }

        function row(owner, name, i) {
            // A list view lays its rows out on the next frame.
            tryVerify(() => findChild(owner, name + "Row" + i), 1000, "no row " + i)
            return findChild(owner, name + "Row" + i)
        }

        // Choosing by mouse, again to clear, and the right click are the macro page's, whose
        // list this is.
        function test_keyboardMovesAndChooses() {
            list.forceActiveFocus()
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Space)
            compare(list.getCurIndex(), 1)
            keyClick(Qt.Key_End)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Return)
            compare(list.getCurIndex(), 2)
            keyClick(Qt.Key_Return)
            compare(list.getCurIndex(), -1)
            keyClick(Qt.Key_Home)
            keyClick(Qt.Key_F10, Qt.ShiftModifier)
            compare(args(clicked).map(a => a[0]), [1, 2, -1])
            compare(args(rightClicked), [[0]])
        }

        function test_longListScrolls() {
            mainIten.fill(40)
            var bar = findChild(list, "rowsScrollBar")
            tryVerify(() => bar.visible)
            mouseClick(bar, bar.width / 2, bar.height - 1)
            verify(list.contentY > 0)
            list.forceActiveFocus()
            keyClick(Qt.Key_Home)
            compare(list.contentY, 0)
        }

        function editor() {
            var e = findChild(list, "rowsEditor")
            verify(e && e.activeFocus, "no focused editor")
            return e
        }

        // Return or Enter end an edit and keep the text; Escape or an empty name (no file name)
        // restore the old one. (Leaving restores it too: the macro page's rename.)
        function test_editRowText() {
            list.editFileName(1)
            compare(editor().selectedText, "Macro. 2")
            keyClick(Qt.Key_X)
            keyClick(Qt.Key_Return)
            verify(list.activeFocus)
            list.editFileName(0)
            editor().text = "y"
            keyClick(Qt.Key_Enter)
            compare(args(edited), [["Macro. 2", "x"], ["Macro. 1", "y"]])
            compare([macros.get(0).textX, macros.get(1).textX], ["y", "x"])

            list.editFileName(2)
            editor().text = "renamed"
            keyClick(Qt.Key_Escape)
            list.editFileName(2)
            editor().text = ""
            keyClick(Qt.Key_Return)
            compare([edited.count, macros.get(2).textX, list.editingRow], [2, "Macro. 3", -1])
        }

        function test_buttonReloadsBeforeOpeningAndReportsTheRowAfterTheClick() {
            compare(button.currentText, "【 OPTIONS 】")
            mouseClick(button)
            verify(button.opened)
            compare(update.count, 1)
            // The page reloaded the rows while it was asked to.
            tryVerify(() => row(mainIten, "pickList", 3).visible)
            mouseClick(row(mainIten, "pickList", 3))
            verify(!button.opened)
            compare(button.currentText, "Macro. 4")
            mouseClick(button)
            // Reloading replaced the rows; the new ones are laid out on the next frame.
            waitForRendering(button)
            var r = row(mainIten, "pickList", 3)
            mouseClick(r)
            compare(args(chosen).map(a => a[0]), [3, -1])
            compare([button.currentText, elsewhereClicks.count], ["【 OPTIONS 】", 0])
        }

        function test_buttonByKeyboard() {
            button.forceActiveFocus()
            keyClick(Qt.Key_Space)
            verify(button.opened)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Return)
            verify(!button.opened && button.activeFocus)
            compare(args(chosen), [[1]])
            keyClick(Qt.Key_Space)
            keyClick(Qt.Key_Escape)
            verify(!button.opened)
            keyClick(Qt.Key_Space)
            elsewhere.forceActiveFocus()
            tryVerify(() => !button.opened)
            compare(chosen.count, 1)
        }
    }
}
