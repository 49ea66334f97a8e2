import QtQuick

// The window background: the skin's picture or the user's own, with the skin's frame above it.
// Both are read off the interface thread: the opening fades them in well after the first
// frame, which need not wait for two window-sized pictures to be decoded.
Item {
    id: environment
    width: 1000
    height: 600

    Image {
        objectName: "backgroundImage"
        anchors.fill: parent
        asynchronous: true
        // A picture of the user's may be many times the window: decoded at the drawn size, it
        // holds no more memory than the skin's own. The size is the window's from the start:
        // following the fill as it settles would decode the picture once per step.
        sourceSize.width: environment.width
        sourceSize.height: environment.height
        source: mainIten.isCustomBackground ? mainIten.sourceCustomBackground
                                            : mainIten.sourceBackground
    }
    Image {
        x: 0
        y: 0
        asynchronous: true
        source: mainIten.sourceFrameBackground
    }
}
