import QtQuick

// The window background: the skin's picture or the user's own, with the skin's frame above it.
Item {
    width: 1000
    height: 600

    Image {
        objectName: "backgroundImage"
        anchors.fill: parent
        // A picture of the user's may be many times the window: decoded at the drawn size, it
        // holds no more memory than the skin's own.
        sourceSize.width: width
        sourceSize.height: height
        source: mainIten.isCustomBackground ? mainIten.sourceCustomBackground
                                            : mainIten.sourceBackground
    }
    Image {
        x: 0
        y: 0
        source: mainIten.sourceFrameBackground
    }
}
