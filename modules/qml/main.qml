import QtQuick
import "basic"
import "common"
import "Q7"
import "basic/ShellKeys.js" as ShellKeys

// The shell: the window's whole surface. Native code drives it by function name (initUI, run,
// setProtectUI, detectKeyboard, detectMouse); every page reads the global look from here.
Item {
    id: mainIten
    objectName: "mainIten"
    width: 1000
    height: 600
    visible: false

    // Start-up steps as they ran, in order; native tests read it.
    property var startupSteps: []

    // The global look, owned by the settings page in the drawer.
    readonly property Page_Globalsetting _Page_Globalsetting: _fkGlobalsetting.page
    property int globalSetting_size: _Page_Globalsetting._Size
    property color globalSetting_color: _Page_Globalsetting._Color
    property color globalSetting_color_enable: _Page_Globalsetting._ColorEnable
    property color globalSetting_color_disable: _Page_Globalsetting._ColorDisable
    property int animation_speed: _Page_Globalsetting._AnimationSpeed
    property var globalSetting_stringList: _Page_Globalsetting._StringList
    property string globalSetting_fontFamily: _Page_Globalsetting._FontFamily
    property string globalSetting_url: _Page_Globalsetting._Url
    property int skin_No: _Page_Globalsetting.skin_No
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

    // The skin's own accent, for the few shell details the images do not carry.
    readonly property color accentColor: skin_No === 2 ? "#ff8a2a" : "#1ec8e6"

    // Every skin image lives below one folder per skin, so changing skin_No switches all at once.
    readonly property string skinDir: "file:modules/img/skin" + skin_No + "/"
    property string sourceBackground: skinDir + "background.png"

    property string sourceDecoration1: skinDir + "frame/decoration1.png"
    property string sourceDecoration2: skinDir + "frame/decoration2.png"
    property string sourceFrameBackground: skinDir + "frame/frameBackground.png"

    property string sourceAdd0: skinDir + "common/add_0.png"
    property string sourceAdd1: skinDir + "common/add_1.png"
    property string sourceApply0: skinDir + "common/apply_0.png"
    property string sourceApply1: skinDir + "common/apply_1.png"
    property string sourceBtnFileListFrame: skinDir + "common/btnFileListFrame.png"
    property string sourceBtnFrame: skinDir + "common/btnFrame.png"
    property string sourceBtnGroup2_FILLER_0: skinDir + "common/btnGroup2_FILLER_0.png"
    property string sourceBtnGroup2_FILLER_1: skinDir + "common/btnGroup2_FILLER_1.png"
    property string sourceBtnGroup_4_BASE: skinDir + "common/btnGroup_4_BASE.png"
    property string sourceBtnGroup_8_BASE: skinDir + "common/btnGroup_8_BASE.png"
    property string sourceBtnGroup_FILLER_0: skinDir + "common/btnGroup_FILLER_0.png"
    property string sourceBtnGroup_FILLER_1: skinDir + "common/btnGroup_FILLER_1.png"
    property string sourceCHK0: skinDir + "common/checkbox_0.png"
    property string sourceCHK1: skinDir + "common/checkbox_1.png"
    property string sourceDelete0: skinDir + "common/delete_0.png"
    property string sourceDelete1: skinDir + "common/delete_1.png"
    property string sourceInputValue: skinDir + "common/draw_inputValue.png"
    property string sourceLine: skinDir + "common/draw_line.png"
    property string sourcePalette: skinDir + "common/draw_palette.png"
    property string sourcePaletteIndex: skinDir + "common/draw_paletteIndex.png"
    property string sourceFilelist: skinDir + "common/filelist_BASE.png"
    property string sourceFram2btn: skinDir + "common/fram_2btn.png"
    property string sourceRecord0: skinDir + "common/record_0.png"
    property string sourceRecord1: skinDir + "common/record_1.png"
    property string sourceReset0: skinDir + "common/reset_0.png"
    property string sourceReset1: skinDir + "common/reset_1.png"
    property string sourceSlider_11_BASE: skinDir + "common/slider_11_BASE.png"
    property string sourceSlider_11_FILLER_0: skinDir + "common/slider_11_FILLER_0.png"
    property string sourceSlider_11_FILLER_1: skinDir + "common/slider_11_FILLER_1.png"
    property string sourceSlider: skinDir + "common/slider_BASE.png"
    property string sourceSliderFiller0: skinDir + "common/slider_FILLER_0.png"
    property string sourceSliderFiller1: skinDir + "common/slider_FILLER_1.png"
    property string sourceSolidCopy0: skinDir + "common/solid-copy_0.png"
    property string sourceSolidCopy1: skinDir + "common/solid-copy_1.png"
    property string sourceSolidCut0: skinDir + "common/solid-cut_0.png"
    property string sourceSolidCut1: skinDir + "common/solid-cut_1.png"
    property string sourceSolidDelete0: skinDir + "common/solid-delete_0.png"
    property string sourceSolidDelete1: skinDir + "common/solid-delete_1.png"
    property string sourceSolidPaste0: skinDir + "common/solid-paste_0.png"
    property string sourceSolidPaste1: skinDir + "common/solid-paste_1.png"
    property string sourceStop0: skinDir + "common/stop_0.png"
    property string sourceStop1: skinDir + "common/stop_1.png"

    property string sourceFnColorBackground: skinDir + "list_center/fnColorBackground.png"
    property string sourceFnCommonBackground: skinDir + "list_center/fnCommonBackground.png"
    property string sourceFnKeydefineBackground: skinDir + "list_center/fnKeydefineBackground.png"
    property string sourceFnMacroBackground: skinDir + "list_center/fnMacroBackground.png"
    property string sourceGlobalsettingBackground: skinDir + "list_center/globalsettingBackground.png"

    property string sourceListDnContainer: skinDir + "list_dn/listDnContainer.png"

    property string sourceListFnBtn_0: skinDir + "list_fn/listFnBtn_0.png"
    property string sourceListFnBtn_1: skinDir + "list_fn/listFnBtn_1.png"

    property string sourceListPfContainer: skinDir + "list_pf/listPfContainer.png"
    property string sourceFW0: skinDir + "list_pf/profileFW_0.png"
    property string sourceFW1: skinDir + "list_pf/profileFW_1.png"

    property string sourceAM0: skinDir + "list_up/applicationMinimize_0.png"
    property string sourceAM1: skinDir + "list_up/applicationMinimize_1.png"
    property string sourceAS0: skinDir + "list_up/applicationSetting_0.png"
    property string sourceAS1: skinDir + "list_up/applicationSetting_1.png"
    property string sourceListUpContainer: skinDir + "list_up/listUpContainer.png"

    property string sourceModel_Q7_Color: skinDir + "model_ms/model_Q7_Color.png"
    property string sourceModel_Q7_KeyDefine: skinDir + "model_ms/model_Q7_KeyDefine.png"

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

    // The capture field waiting for a key: one at a time, so arming another disarms it.
    property Item armedField: null
    // What waits for input can no longer be seen (another page, the drawer, the profile menu,
    // a profile switch, the window minimised): armed fields disarm, a recording stops.
    signal captureWithdrawn
    function withdrawCapture() {
        armedField = null
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

    // The frameless window is dragged by any press that no control above takes.
    MouseArea {
        id: dragArea
        objectName: "dragArea"
        anchors.fill: parent
        property point pressPoint
        onPressed: mouse => pressPoint = Qt.point(mouse.x, mouse.y)
        onPositionChanged: mouse => {
            if (!pressed)
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
