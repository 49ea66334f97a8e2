import QtQuick

// Interface text in the global font, size and colour, so a language or look change reaches it.
// Plain text always: much of what is shown comes from elsewhere (window classes, rule, macro and
// file names), and markup in it must neither style the window nor make it fetch a picture.
Text {
    textFormat: Text.PlainText
    font.family: Theme.fontFamily
    font.pixelSize: Theme.textSize
    color: Theme.textColor
}
