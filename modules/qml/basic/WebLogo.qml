import QtQuick

// The logo at the top: a link to the web site, lit while pointed at. It takes no input while
// it is still faded out.
ShellEntry {
    id: logo
    width: image.width
    height: image.height
    enabled: opacity > 0
    hovered: logoMouse.containsMouse
    hoverText: mainIten.keyTexts.webTip
    Accessible.role: Accessible.Link
    Accessible.name: mainIten.keyTexts.web
    onTriggered: Qt.openUrlExternally(mainIten.globalSetting_url)

    Image {
        id: image
        source: mainIten.skinDir + (logoMouse.containsMouse ? "frame/web_1.png" : "frame/web_0.png")
    }
    MouseArea {
        id: logoMouse
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onPressed: logo.takeFocus(false)
        onClicked: logo.triggered()
    }
}
