import QtQuick

// Eleven segments, positions 0..10 (the desktop's pointer settings).
SegmentSlider {
    to: 10
    baseSource: Theme.sourceSlider_11_BASE
    fillerSource0: Theme.sourceSlider_11_FILLER_0
    fillerSource1: Theme.sourceSlider_11_FILLER_1
}
