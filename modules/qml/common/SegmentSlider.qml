import QtQuick
import "ControlRules.js" as Rules

// A segmented slider, the common body of Slider (0..7) and Slider_11 (0..10). A release sets the
// position the pointer is over, the arrow keys step it; sliderClicked reports every change the
// user makes (setCurIndex, the pages' own setting, does not).
Item {
    id: slider
    property int value: 0
    // For screen readers: the caption the page shows beside the slider.
    property string accessibleName: ""
    readonly property int from: 0
    // 7 for the seven-segment slider, whose positions are segment boundaries; 10 for the
    // eleven-segment one, whose positions are the segments themselves.
    property int to: 7
    readonly property int stepSize: 1
    // The range as screen readers read a slider's.
    readonly property int minimumValue: from
    readonly property int maximumValue: to
    readonly property bool fillsOwnSegment: to === 10
    property string baseSource: Theme.sourceSlider
    property string fillerSource0: Theme.sourceSliderFiller0
    property string fillerSource1: Theme.sourceSliderFiller1

    signal sliderClicked(int index)

    implicitWidth: base.implicitWidth > 0 ? base.implicitWidth : 30 * (to + 1)
    implicitHeight: 20
    activeFocusOnTab: true
    opacity: enabled ? 1.0 : 0.3

    function setCurIndex(index) {
        value = Rules.clamp(index, from, to)
    }
    function getCurIndex() {
        return value
    }
    function choose(index) {
        setCurIndex(index)
        sliderClicked(value)
    }
    // A key at either end changes nothing and reports nothing.
    function stepTo(index) {
        if (Rules.clamp(index, from, to) !== value)
            choose(index)
    }

    Accessible.role: Accessible.Slider
    Accessible.name: accessibleName
    Accessible.description: String(value)
    // Functions rather than handlers: the slider role lists these actions once already. They
    // step as the arrow keys do, so the page hears of the change.
    function accessibleIncreaseAction() { if (enabled) stepTo(value + stepSize) }
    function accessibleDecreaseAction() { if (enabled) stepTo(value - stepSize) }

    Keys.onPressed: event => {
        if (event.key === Qt.Key_Left || event.key === Qt.Key_Down)
            stepTo(value - 1)
        else if (event.key === Qt.Key_Right || event.key === Qt.Key_Up)
            stepTo(value + 1)
        else if (event.key === Qt.Key_Home)
            stepTo(from)
        else if (event.key === Qt.Key_End)
            stepTo(to)
        else
            return
        event.accepted = true
    }

    Image {
        id: base
        anchors.verticalCenter: parent.verticalCenter
        width: parent.width
        source: slider.baseSource
    }
    Item {
        anchors.verticalCenter: parent.verticalCenter
        width: slider.fillsOwnSegment ? Rules.slider11Fill(slider.value, slider.width)
                                : Rules.sliderFill(slider.value, slider.width)
        height: base.height
        clip: true
        Image {
            width: slider.width
            source: area.containsMouse || slider.activeFocus ? slider.fillerSource1
                                                               : slider.fillerSource0
        }
    }
    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onPressed: slider.forceActiveFocus()
        onReleased: mouse => slider.choose(slider.fillsOwnSegment
                                               ? Rules.slider11Position(mouse.x, slider.width)
                                               : Rules.sliderPosition(mouse.x, slider.width))
    }
    FocusFrame {}
}
