import QtQuick

// The part of the shell's global look the controls read; a test's root is one of these with the
// id mainIten, as the controls expect of the real shell.
Item {
    width: 1000
    height: 600
    property int globalSetting_size: 11
    property color globalSetting_color: "#ffffff"
    property string globalSetting_fontFamily: "DejaVu Sans"
    property var globalSetting_stringList: ["DejaVu Sans", "OPTIONS"]
    property int animation_speed: 10
    readonly property color accentColor: "#1ec8e6"
    // The shell's one armed capture field, and its withdrawal of capture.
    property Item armedField: null
    signal captureWithdrawn
    readonly property string skinDir: "file:modules/img/skin1/"
    property string sourceBtnFrame: skinDir + "common/btnFrame.png"
    property string sourceBtnGroup2_FILLER_0: skinDir + "common/btnGroup2_FILLER_0.png"
    property string sourceBtnGroup2_FILLER_1: skinDir + "common/btnGroup2_FILLER_1.png"
    property string sourceBtnGroup_4_BASE: skinDir + "common/btnGroup_4_BASE.png"
    property string sourceBtnGroup_8_BASE: skinDir + "common/btnGroup_8_BASE.png"
    property string sourceBtnGroup_FILLER_0: skinDir + "common/btnGroup_FILLER_0.png"
    property string sourceBtnGroup_FILLER_1: skinDir + "common/btnGroup_FILLER_1.png"
    property string sourceInputValue: skinDir + "common/draw_inputValue.png"
    property string sourcePalette: skinDir + "common/draw_palette.png"
    property string sourcePaletteIndex: skinDir + "common/draw_paletteIndex.png"
    property string sourceSlider_11_BASE: skinDir + "common/slider_11_BASE.png"
    property string sourceSlider_11_FILLER_0: skinDir + "common/slider_11_FILLER_0.png"
    property string sourceSlider_11_FILLER_1: skinDir + "common/slider_11_FILLER_1.png"
    property string sourceSlider: skinDir + "common/slider_BASE.png"
    property string sourceSliderFiller0: skinDir + "common/slider_FILLER_0.png"
    property string sourceSliderFiller1: skinDir + "common/slider_FILLER_1.png"
}
