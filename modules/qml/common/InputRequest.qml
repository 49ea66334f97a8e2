import QtQml

// A request for the desktop's keys and buttons, open while active: "I want input" when it
// becomes active, "I'm done" when it no longer is. The view counts the requests of every
// holder and closes those of a holder that is destroyed.
QtObject {
    id: request
    property bool active: false
    onActiveChanged: {
        if (active)
            ui_View.requestCapture(request)
        else
            ui_View.releaseCapture(request)
    }
    Component.onCompleted: if (active) ui_View.requestCapture(request)
}
