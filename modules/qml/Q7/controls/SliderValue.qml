import QtQuick
import "../../common"

// A slider's position, shown at its right end.
ShellText {
    property SegmentSlider slider
    x: slider.x + slider.width + 12
    y: slider.y + (slider.height - height) / 2
    text: String(slider.value)
    color: mainIten.accentColor
    font.bold: true
    opacity: slider.enabled ? 1.0 : 0.3
}
