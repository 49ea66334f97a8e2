import QtQuick
import QtTest
import "qrc:/modules/qml/common"

// The four-button row and the eight DPI stages by keyboard, and the stage menu's layout.
Item {
    id: root
    width: 1000
    height: 600

    ButtonGroup_4 {
        id: rate
        objectName: "rate"
        x: 20
        y: 20
        valueForIndex: ["125 Hz", "250 Hz", "500 Hz", "1000 Hz"]
    }
    ButtonGroupPro_8 {
        id: stages
        objectName: "stages"
        x: 20
        y: 80
        valueForMenuIndex: [0, 200, 400, 600, 800, 1000, 1200, 1600, 2000, 2400, 3000, 3200, 4000,
                            4800, 5000, 6000, 7200, 7950]
    }
    SignalSpy { id: rateClicks; target: rate; signalName: "clicked" }
    SignalSpy { id: stageClicks; target: stages; signalName: "clicked" }
    SignalSpy { id: values; target: stages; signalName: "valueChanged" }

    TestCase {
        name: "ButtonGroups"
        when: windowShown

        function init() {
            rate.setCurIndex(2)
            stages.valueForIndex = [400, 800, 0, 1600, 3200, 0, 0, 0]
            stages.maxStage = 8
            stages.setCurIndex(1)
            stages.closeMenu()
            for (var spy of [rateClicks, stageClicks, values])
                spy.clear()
        }

        function test_rateArrowsStopAtTheEndsAndReportEachMove() {
            rate.forceActiveFocus()
            keyClick(Qt.Key_Right)
            keyClick(Qt.Key_Right)
            compare(rate.getCurIndex(), 3)
            keyClick(Qt.Key_Left)
            compare([rate.getCurIndex(), rateClicks.count], [2, 2])
            rate.setCurIndex(9)
            compare(rate.getCurIndex(), 2)
        }

        function test_stageArrowsSkipSwitchedOffAndHiddenStages() {
            stages.maxStage = 4
            stages.forceActiveFocus()
            keyClick(Qt.Key_Right)
            compare(stages.getCurIndex(), 3)
            // Stage 5 is on but hidden by the stage count.
            keyClick(Qt.Key_Right)
            compare(stages.getCurIndex(), 3)
            keyClick(Qt.Key_Left)
            compare([stages.getCurIndex(), stageClicks.count], [1, 2])
        }

        function test_menuByKeyboardChoosesInColumnsOfSix() {
            stages.forceActiveFocus()
            keyClick(Qt.Key_Return)
            // The highlight starts on the stage's own value (800, entry 4).
            compare([stages.menuStage, stages.menuHighlight], [1, 4])
            keyClick(Qt.Key_Right)
            compare(stages.menuHighlight, 10)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Return)
            compare(stages.menuStage, -1)
            compare(Array.from(stages.valueForIndex), [400, 3200, 0, 1600, 3200, 0, 0, 0])
            keyClick(Qt.Key_Space)
            keyClick(Qt.Key_Escape)
            compare(stages.menuStage, -1)
            compare(values.signalArguments.map(a => Array.from(a)), [[1, 3200]])
        }

        function test_menuEntriesSitInThreeColumnsBelowTheirStage() {
            // Another stage's arrow moves the menu there; the same arrow again closes it.
            mouseClick(findChild(stages, "stagesStage2Menu"))
            mouseClick(findChild(stages, "stagesStage8Menu"))
            compare(stages.menuStage, 7)
            var menu = findChild(stages, "stagesMenu")
            verify(menu.visible)
            verify(menu.mapToItem(null, 0, 0).y > findChild(stages, "stagesStage8").mapToItem(null, 0, 0).y + 30)
            // Kept inside the group at the right end.
            verify(menu.mapToItem(null, menu.width, 0).x <= stages.mapToItem(null, stages.width, 0).x)
            var first = findChild(root, "stagesMenuEntry0"), seventh = findChild(root, "stagesMenuEntry6")
            var last = findChild(root, "stagesMenuEntry17")
            verify(seventh.y === first.y && seventh.x > first.x && last.x > seventh.x && last.y > first.y)
            mouseClick(last)
            compare(Array.from(stages.valueForIndex)[7], 7950)
            verify(!menu.visible)
            mouseClick(findChild(stages, "stagesStage8Menu"))
            mouseClick(findChild(stages, "stagesStage8Menu"))
            verify(!menu.visible)
        }
    }
}
