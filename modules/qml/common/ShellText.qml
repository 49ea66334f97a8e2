import QtQuick

// Interface text in the global font, size and colour, so a language or look change reaches it.
Text {
    font.family: mainIten.globalSetting_fontFamily
    font.pixelSize: mainIten.globalSetting_size
    color: mainIten.globalSetting_color
}
