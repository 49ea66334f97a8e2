import QtQuick
import QtTest
import "qrc:/modules/qml/common"

// Both sliders by mouse and keyboard: what a release or a key sets, and what is reported.
Item {
    id: root
    width: 1000
    height: 600

    Slider { id: slider7; x: 20; y: 20; width: 210 }
    Slider_11 { id: slider11; x: 20; y: 60; width: 330 }
    SignalSpy { id: spy7; target: slider7; signalName: "sliderClicked" }
    SignalSpy { id: spy11; target: slider11; signalName: "sliderClicked" }

    TestCase {
        name: "Sliders"
        when: windowShown

        function init() {
            slider7.setCurIndex(4)
            slider11.setCurIndex(5)
            spy7.clear()
            spy11.clear()
        }

        // The pixel-to-position table is ControlRules'; here the release reaches it and a drag
        // released outside is held to the ends.
        function test_releaseSetsThePositionUnderThePointer() {
            mouseClick(slider7, 209, 10)
            mouseClick(slider11, 31 * 3, 10)
            compare([slider7.value, slider11.value], [7, 3])
            mousePress(slider7, 100, 10)
            mouseMove(slider7, 400, 10)
            mouseRelease(slider7, 400, 10)
            mousePress(slider11, 100, 10)
            mouseRelease(slider11, -50, 10)
            compare([slider7.value, slider11.value], [7, 0])
            compare(spy7.signalArguments.map(a => a[0]), [7, 7])
            compare(spy11.signalArguments.map(a => a[0]), [3, 0])
        }

        // Keys step within the range and report each step; the page's own setting is held to
        // the range too but reported to no one, so showing a stored value sends nothing.
        function test_arrowsReportEachStepAndThePagesSettingNothing() {
            slider7.forceActiveFocus()
            for (var k of [Qt.Key_Right, Qt.Key_Right, Qt.Key_Right, Qt.Key_Right])
                keyClick(k)
            compare(slider7.value, 7)
            keyClick(Qt.Key_Left)
            compare(slider7.value, 6)
            keyClick(Qt.Key_Home)
            keyClick(Qt.Key_Down)
            compare(slider7.value, 0)
            // Keys at either end report nothing.
            compare(spy7.count, 5)
            keyClick(Qt.Key_Tab)
            verify(slider11.activeFocus)
            keyClick(Qt.Key_End)
            compare(slider11.value, 10)
            slider7.setCurIndex(12)
            slider11.setCurIndex(-3)
            compare([slider7.getCurIndex(), slider11.getCurIndex(), spy7.count + spy11.count], [7, 0, 6])
        }
    }
}
