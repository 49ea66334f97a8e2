import QtQuick

// Seven segments, positions 0..7 (speed and brightness steps).
SegmentSlider {
    to: 7
}
