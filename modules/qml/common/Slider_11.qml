import QtQuick

// Eleven segments, positions 0..10 (the desktop's pointer settings).
SegmentSlider {
    to: 10
    baseSource: mainIten.sourceSlider_11_BASE
    fillerSource0: mainIten.sourceSlider_11_FILLER_0
    fillerSource1: mainIten.sourceSlider_11_FILLER_1
}
