import QtQuick
import "basic"
import "common"
import "Q7"
import "basic/ShellKeys.js" as ShellKeys

// The shell: the window's whole surface. Native code drives it by function name (initUI, run,
// setProtectUI, detectKeyboard, detectMouse); every page reads the global look from here.
SkinImages {
    id: mainIten
    objectName: "mainIten"
    width: 1000
    height: 600
    visible: false

    // Start-up steps as they ran, in order; native tests read it.
    property var startupSteps: []

    // The global look, owned by the settings page in the drawer. The shared controls read it
    // from Theme, which knows nothing of the page, so it is written into Theme here, where the
    // page is; the root's names, which the pages and tests read, come back from Theme, so a
    // control and a page cannot show two looks. The skin's accent and image paths come with
    // the root's type, generated from the list the skin images are painted from.
    readonly property Page_Globalsetting _Page_Globalsetting: _fkGlobalsetting.page
    Binding { target: Theme; property: "textSize"; value: mainIten._Page_Globalsetting._Size }
    Binding { target: Theme; property: "textColor"; value: mainIten._Page_Globalsetting._Color }
    Binding { target: Theme; property: "fontFamily"; value: mainIten._Page_Globalsetting._FontFamily }
    Binding { target: Theme; property: "animationSpeed"; value: mainIten._Page_Globalsetting._AnimationSpeed }
    Binding { target: Theme; property: "skin_No"; value: mainIten._Page_Globalsetting.skin_No }
    Binding { target: Shell; property: "strings"; value: mainIten._Page_Globalsetting._StringList }
    Binding { target: Shell; property: "hoverTip"; value: hoverTipItem }
    readonly property int globalSetting_size: Theme.textSize
    readonly property color globalSetting_color: Theme.textColor
    property color globalSetting_color_enable: _Page_Globalsetting._ColorEnable
    property color globalSetting_color_disable: _Page_Globalsetting._ColorDisable
    readonly property int animation_speed: Theme.animationSpeed
    readonly property var globalSetting_stringList: Shell.strings
    readonly property string globalSetting_fontFamily: Theme.fontFamily
    property string globalSetting_url: _Page_Globalsetting._Url
    skin_No: Theme.skin_No
    property bool isCustomBackground: _Page_Globalsetting.isCustomBackground
    property url sourceCustomBackground: _Page_Globalsetting.sourceCustomBackground

    // The bottom bar, whose whole-program reset and apply the pages answer.
    readonly property Item bottomBar: downItem
    // The one key-name table of the interface, and the product's button names (key id order).
    readonly property var keyCodeString: _KeyCodeString
    readonly property var productLayoutStrings: main_Q7._ProductLayoutStringList

    // The shell's names and hover texts in the current language (its [keyboard] texts), and
    // the window's one hover text.
    property var keyTexts: ShellKeys.texts(null)
    readonly property var hoverTip: hoverTipItem

    signal msg_KB(bool isDown, int usbCode)
    onMsg_KB: (isDown, usbCode) => main_Q7.relayKey(isDown, usbCode)

    // The language strings must be loaded before the product pages read them.
    function initUI() {
        startupSteps = startupSteps.concat(["initUI"])
        _Page_Globalsetting.initUI()
        main_Q7.initUI()
    }

    function run() {
        startupSteps = startupSteps.concat(["run"])
        script0.restart()
    }

    // Locks the view for interval ms. A repeated call with the same interval lets the running
    // count go on; another interval restarts it. setProtectUI(0) locks and unlocks at once.
    function setProtectUI(interval) {
        protectUIItem.setBusy(true)
        ui_View.setEnabled(false)
        tmrProtectUI.interval = interval
        tmrProtectUI.start()
    }

    // Every operation that sends changes to the mouse (a page's Apply, ALL SAVE, a profile
    // switch, a macro upload) runs through here: however many exchanges it makes, a change
    // that did not reach the mouse is told once, when the outermost operation ends.
    property int sendDepth: 0
    function sendToMouse(operation) {
        // What sends outside any operation left behind is not this operation's to tell.
        if (sendDepth === 0)
            ui_View.takeSendNotice()
        ++sendDepth
        try {
            operation()
        } finally {
            --sendDepth
        }
        if (sendDepth > 0)
            return
        var text = ui_View.takeSendNotice()
        if (text !== "")
            sendNotice.show(text)
    }

    // A short message in the window, such as a rule's profile switch.
    function showNotice(text) {
        sendNotice.show(text)
    }

    // A refill that changed the store: the profile menu and the pages show what it now holds.
    function storeRefilled() {
        main_Q7.reloadPages()
    }

    // After edits made without the mouse were settled: the pages read what the store now
    // holds, and what did not reach the mouse is told.
    function offlineEditsSettled(reload, notice) {
        if (reload)
            storeRefilled()
        if (notice !== "")
            sendNotice.show(notice)
    }

    function detectKeyboard(isDown, usbCode) {
        msg_KB(isDown, usbCode)
    }

    // The capture field waiting for a key (the controls keep it in Shell).
    readonly property Item armedField: Shell.armedField
    // What waits for input can no longer be seen (another page, the drawer, the profile menu,
    // a profile switch, the window minimised): armed fields disarm, a recording stops.
    signal captureWithdrawn
    function withdrawCapture() {
        Shell.armedField = null
        captureWithdrawn()
    }

    // Mouse buttons are not delivered to the pages.
    function detectMouse(isDown, mouseCode, x, y) {
    }

    // Opened from the keyboard, the drawer takes the focus; closed, it hands it back to the
    // settings button when the focus was inside (a click elsewhere keeps its own).
    function selectDrawer(open, byKeyboard) {
        var focusInside = ShellKeys.inside(Window.activeFocusItem, _fkGlobalsetting)
        upItem.isGlobalSettingSelect = open
        if (open && byKeyboard)
            _fkGlobalsetting.nextItemInFocusChain(true).forceActiveFocus()
        else if (!open && (focusInside || byKeyboard))
            upItem.settingsButton.takeFocus(byKeyboard)
    }

    function setSkin() {
        downItem.setSkin()
        main_Q7.setSkin()
    }

    function translateStrings(code) {
        keyTexts = ShellKeys.texts(ui_View.getSectionStrings("keyboard"))
        _Page_Globalsetting.translateStrings()
        main_Q7.translateStrings(code)
    }

    // The frameless window is dragged by any press that no control above takes: by the
    // window system where it takes the drag over, else by the pointer's offset from the press.
    // Asked once the pointer moves, not at the press: a window manager handed a mere click
    // would wait for a release that has already gone by.
    MouseArea {
        id: dragArea
        objectName: "dragArea"
        anchors.fill: parent
        property point pressPoint
        property bool moving: false
        property bool systemMove: false
        onPressed: mouse => {
            pressPoint = Qt.point(mouse.x, mouse.y)
            moving = false
        }
        onPositionChanged: mouse => {
            if (!pressed)
                return
            if (!moving) {
                moving = true
                systemMove = ui_Ctl.startSystemMove()
            }
            if (systemMove)
                return
            ui_Ctl.onXChanged(mouse.x - pressPoint.x)
            ui_Ctl.onYChanged(mouse.y - pressPoint.y)
        }
    }

    BusyIndicator {
        id: protectUIItem
        objectName: "protectUIItem"
        z: 99
        anchors.centerIn: parent
    }

    Timer {
        id: tmrProtectUI
        objectName: "tmrProtectUI"
        interval: 1000
        repeat: false
        onRunningChanged: {
            if (!running) {
                ui_View.setEnabled(true)
                // Disabled, the view lost the keyboard; given back, the control that had the
                // focus has it again instead of Tab starting over from the first.
                ui_View.setFocus()
                protectUIItem.setBusy(false)
            }
        }
    }

    Environment {
        id: envItem
        objectName: "envItem"
        opacity: 0
    }

    // Declared in the order Tab takes them (top bar, drawer, function menu, page, profile
    // column, bottom bar); z keeps the bars, logo, notice and drawer above the rest.
    Menu_Up {
        id: upItem
        objectName: "upItem"
        x: (mainIten.width - width) / 2
        y: -600
        z: 1
        onBtnClicked: btnIndex => {
            if (btnIndex === 0)
                mainIten.selectDrawer(!isGlobalSettingSelect, settingsButton.keyboardFocus)
            else if (btnIndex === 1)
                scriptEnd.restart()
        }
    }

    WebLogo {
        id: logoWeb_img
        objectName: "logoWeb_img"
        z: 1
        x: (mainIten.width - width) / 2
        y: 270
        opacity: 0
    }

    ViewSignals {
    }

    Notice {
        id: sendNotice
        objectName: "sendNotice"
        // In the free band above the page, clear of every page's buttons.
        anchors.horizontalCenter: parent.horizontalCenter
        y: 92
        z: 1
    }

    SettingsDrawer {
        id: _fkGlobalsetting
        objectName: "_fkGlobalsetting"
        z: 1
        x: 5
        y: 27
        selected: upItem.isGlobalSettingSelect
        onCloseRequested: byKeyboard => mainIten.selectDrawer(false, byKeyboard)
    }

    Main_Q7 {
        id: main_Q7
        objectName: "main_Q7"
        drawerOpen: upItem.isGlobalSettingSelect
    }

    Environment_Decoration {
        id: envDecorationItem
        objectName: "envDecorationItem"
        opacity: 0
    }

    Menu_Down {
        id: downItem
        objectName: "downItem"
        x: (mainIten.width - width) / 2
        y: 600
        enabled: !upItem.isGlobalSettingSelect
        opacity: 0.2 + 0.8 * enabled
        shortcutsFree: main_Q7.shortcutsFree
    }

    HoverTip {
        id: hoverTipItem
        objectName: "hoverTip"
        z: 98
    }

    // Key names for the pages, generated at build time from the program's own key table.
    KeyCodeString {
        id: _KeyCodeString
        objectName: "_KeyCodeString"
    }

    SequentialAnimation {
        id: script0
        ScriptAction { script: mainIten.visible = true }
        NumberAnimation {
            target: logoWeb_img; property: "opacity"; from: 0; to: 1
            duration: mainIten.animation_speed; easing.type: Easing.InCirc
        }
        NumberAnimation {
            target: logoWeb_img; property: "y"; from: 270; to: 4
            duration: 1.5 * mainIten.animation_speed; easing.type: Easing.OutExpo
        }
        ParallelAnimation {
            NumberAnimation {
                target: envItem; property: "opacity"; from: 0; to: 1
                duration: mainIten.animation_speed; easing.type: Easing.OutCirc
            }
            NumberAnimation {
                target: envDecorationItem; property: "opacity"; from: 0; to: 1
                duration: mainIten.animation_speed; easing.type: Easing.OutCirc
            }
        }
        onFinished: {
            script1.restart()
            main_Q7.playOnPowerOn()
        }
    }

    ParallelAnimation {
        id: script1
        onFinished: ui_View.openingPlayed()
        NumberAnimation {
            target: upItem; property: "y"; from: -600; to: 0
            duration: mainIten.animation_speed; easing.type: Easing.OutElastic
        }
        NumberAnimation {
            target: downItem; property: "y"; from: 600; to: 600 - downItem.height
            duration: mainIten.animation_speed; easing.type: Easing.OutElastic
        }
    }

    NumberAnimation {
        id: scriptEnd
        target: mainIten
        property: "height"
        from: 600
        to: 0
        duration: mainIten.animation_speed
        easing.type: Easing.InOutCubic
        onFinished: ui_Ctl.onMinimize()
    }
}
