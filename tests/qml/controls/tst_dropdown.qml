import QtQuick
import QtTest
import "qrc:/modules/qml/common"
import "qrc:/modules/qml/common/ListPlacement.js" as Placement

// The drop-down list: opening and closing, choosing by mouse and keyboard, the text shown, and
// where its open list lies: above everything of its page and inside the page area.
Item {
    id: root
    width: 1000
    height: 600

    ListModel {
        id: effects
        ListElement { textX: "STATIC" }
        ListElement { textX: "BREATHING" }
        ListElement { textX: "NEON" }
    }
    ListModel {
        id: twenty
        Component.onCompleted: {
            for (var i = 0; i < 20; ++i)
                append({ textX: "Row " + i })
        }
    }
    DropdownList { id: list; objectName: "effects"; x: 20; y: 20; model: effects }
    // Declared later, so drawn above the list's field: its open list must still take the clicks.
    Rectangle {
        id: below
        x: 20
        y: 60
        width: 210
        height: 100
        activeFocusOnTab: true
        MouseArea { id: belowArea; anchors.fill: parent }
    }
    SignalSpy { id: belowClicks; target: belowArea; signalName: "clicked" }
    SignalSpy { id: coverClicks; target: coverArea; signalName: "clicked" }

    // A clipping page area with a page in it, as the shell holds its pages and the drawer.
    Flickable {
        id: area
        x: 300
        y: 20
        width: 300
        height: 200
        clip: true
        interactive: false
        Item {
            id: page
            y: 10
            width: 300
            height: 190
            // A group of controls, as pages hold them, and after it a button of the page's own.
            Item {
                // Near the bottom: only above is there room.
                DropdownList { id: low; objectName: "low"; x: 150; y: 140; model: effects }
                // Twenty rows fit neither way: shortened on the roomier side, scrolling.
                DropdownList { id: tall; objectName: "tall"; y: 70; model: twenty }
            }
            Rectangle {
                id: cover
                y: 100
                width: 300
                height: 40
                MouseArea { id: coverArea; anchors.fill: parent }
            }
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
            for (var spy of [opened, closed, chosen, belowClicks, coverClicks])
                spy.clear()
        }

        // {x, y, width, height} of an item in the window.
        function rectOf(item) {
            var r = item.mapToItem(null, 0, 0, item.width, item.height)
            return { x: r.x, y: r.y, width: r.width, height: r.height }
        }
        function inside(inner, outer) {
            return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width
                    && inner.y + inner.height <= outer.y + outer.height
        }

        // A field 26 high at `fieldY` in an area 300 x 300, lists of 24 px rows with 4 px of
        // padding and a gap of 2; y is the list's edge nearest the field.
        function test_place_data() {
            return [
                { tag: "room below", fieldY: 200, rows: 2, listX: 10, shown: { x: 10, y: 228, height: 52, rows: 2, up: false } },
                { tag: "room above only", fieldY: 200, rows: 5, listX: 10, shown: { x: 10, y: 198, height: 124, rows: 5, up: true } },
                { tag: "neither, more above", fieldY: 200, rows: 20, listX: 10, shown: { x: 10, y: 198, height: 196, rows: 8, up: true } },
                { tag: "neither, more below", fieldY: 60, rows: 20, listX: 10, shown: { x: 10, y: 88, height: 196, rows: 8, up: false } },
                { tag: "past the right edge", fieldY: 60, rows: 1, listX: 250, shown: { x: 200, y: 88, height: 28, rows: 1, up: false } },
                { tag: "past the left edge", fieldY: 60, rows: 1, listX: -30, shown: { x: 0, y: 88, height: 28, rows: 1, up: false } }
            ]
        }
        function test_place(row) {
            var field = { x: 10, y: row.fieldY, width: 100, height: 26 }
            compare(Placement.place(field, row.listX, 100, { x: 0, y: 0, width: 300, height: 300 }, row.rows, 24, 4, 2),
                    row.shown)
        }

        function test_clickOpensClickOnFieldClosesClickOnItemChooses() {
            list.setCurIndex(7) // no such row
            compare([list.getCurIndex(), list.currentText], [-1, "【 OPTIONS 】"])
            mouseClick(list)
            verify(list.opened)
            mouseClick(list)
            verify(!list.opened)
            compare([opened.count, closed.count, chosen.count], [1, 1, 0])

            mouseClick(list)
            var row = findChild(root, "effectsItem2")
            tryVerify(() => row.height > 0 && findChild(root, "effectsList").height > 70)
            // The last row lies over the control declared after the list, and takes the click.
            verify(inside(rectOf(row), rectOf(below)))
            mouseClick(row)
            verify(!list.opened)
            compare([list.getCurIndex(), list.currentText, belowClicks.count], [2, "NEON", 0])
            compare(chosen.signalArguments.map(a => a[0]), [2])
        }

        // In a clipping area the open list stays inside it: above its field where only that fits,
        // above what the page declares after the field's group, and shortened to scroll where
        // neither side fits.
        function test_openListStaysInsideTheArea() {
            mouseClick(low)
            var popup = findChild(root, "lowList")
            tryVerify(() => popup.height === 3 * 24 + 4)
            verify(inside(rectOf(popup), rectOf(area)))
            verify(rectOf(popup).y + popup.height <= rectOf(low).y)
            var last = findChild(root, "lowItem2")
            verify(inside(rectOf(last), rectOf(cover)))
            mouseClick(last)
            compare([low.currentText, coverClicks.count], ["NEON", 0])

            tall.forceActiveFocus()
            keyClick(Qt.Key_Return)
            popup = findChild(root, "tallList")
            tryVerify(() => popup.height === 3 * 24 + 4)
            verify(inside(rectOf(popup), rectOf(area)))
            verify(rectOf(popup).y >= rectOf(tall).y + tall.height)
            // The highlight walks past the rows shown; the list scrolls it into view.
            for (var i = 0; i < 12; ++i)
                keyClick(Qt.Key_Down)
            verify(inside(rectOf(findChild(root, "tallItem11")), rectOf(popup)))
            keyClick(Qt.Key_Return)
            compare(tall.currentText, "Row 11")
            // Opened again, the current row is in view at once.
            keyClick(Qt.Key_Return)
            tryVerify(() => popup.height === 3 * 24 + 4)
            verify(inside(rectOf(findChild(root, "tallItem11")), rectOf(popup)))
            // A field that goes away takes its open list with it.
            tall.visible = false
            verify(!tall.opened && !popup.visible)
            tall.visible = true
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
