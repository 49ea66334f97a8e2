import QtQuick

// The drawer that slides the settings page in over the left of the window. show() and close()
// finish a slide that is still running before they start their own, so a second press of the
// settings button never jumps back.
Flickable {
    id: drawer
    property alias page: _Page_Globalsetting
    // Shown while selected (the settings button lit), closed otherwise.
    property bool selected: false
    // Escape, or the page's APPLY; the shell unselects the drawer.
    signal closeRequested(bool byKeyboard)

    onSelectedChanged: selected ? show() : close()

    width: 340
    height: 420
    clip: true
    interactive: false
    visible: false
    contentWidth: width
    contentHeight: height
    contentX: width
    Accessible.role: Accessible.Pane
    Accessible.name: mainIten.keyTexts.settings

    function show() {
        if (paGlobalsettingBack_X.running) {
            paGlobalsettingBack_X.complete()
            show()
        } else if (paGlobalsetting_X.running) {
            paGlobalsetting_X.complete()
        } else {
            if (!panel)
                panel = panelComponent.createObject(_Page_Globalsetting, { page: _Page_Globalsetting }) as SettingsPanel
            visible = true
            paGlobalsetting_X.restart()
        }
    }

    function close() {
        if (paGlobalsettingBack_X.running) {
            paGlobalsettingBack_X.complete()
        } else if (paGlobalsetting_X.running) {
            paGlobalsetting_X.complete()
            close()
        } else {
            paGlobalsettingBack_X.restart()
        }
    }

    Page_Globalsetting {
        id: _Page_Globalsetting
        objectName: "_Page_Globalsetting"
        onCloseRequested: byKeyboard => drawer.closeRequested(byKeyboard)
    }
    // The page's controls, made the first time the drawer opens: most runs never open it, and
    // the window's look needs only the page's values.
    property SettingsPanel panel: null
    Component {
        id: panelComponent
        SettingsPanel {}
    }

    Shortcut {
        sequences: ["Escape"]
        enabled: drawer.selected
        onActivated: drawer.closeRequested(true)
    }

    NumberAnimation {
        id: paGlobalsetting_X
        target: drawer
        property: "contentX"
        from: drawer.width
        to: 0
        duration: 0.8 * mainIten.animation_speed
        easing.type: Easing.OutCubic
    }
    NumberAnimation {
        id: paGlobalsettingBack_X
        target: drawer
        property: "contentX"
        from: 0
        to: drawer.width
        duration: 0.8 * mainIten.animation_speed
        easing.type: Easing.OutCubic
        onFinished: drawer.visible = false
    }
}
