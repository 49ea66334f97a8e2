pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import "follow"
import "../basic/ShellKeys.js" as ShellKeys

// The product's part of the window: function menu, profile menu and the sliding page area.
Item {
    id: mainItem_Q7
    width: 1000
    height: 600

    // True while the global settings drawer is open; everything here then rests dimmed.
    property bool drawerOpen: false
    onDrawerOpenChanged: if (drawerOpen) mainIten.withdrawCapture()

    property int lastPressKeyCode: 0
    // Product constants; the built-in values stand in until the configuration is read.
    property int colorMaxStage: 8
    property var effectEnable: []
    property int dpiBase: 50
    property var dpiValue: []
    property var _ProductLayoutStringList: []

    signal msg_KB(bool isDown, int usbCode)

    // The shell's shortcuts wait while something takes every key and while the drawer is open.
    readonly property bool shortcutsFree: ShellKeys.shortcutsFree(mainIten.armedField !== null,
                                                                  _Page_Macro.isRecordStart, drawerOpen)
    // A page chosen from the keyboard (or by a screen reader) takes the focus once it shows.
    property bool focusFollows: false

    // A shortcut shows its page, and on the page already shown goes into it; it never closes one.
    function openPage(index) {
        if (fnItem.currentIndex === index) {
            focusFollows = true
            followFocus()
        } else {
            fnItem.select(index, true)
        }
    }

    // The focus goes to the first control Tab reaches on the page, once the page shows.
    function followFocus() {
        var page = [_Page_Keydefine, _Page_Macro, _Page_Color, _Page_Sensor][_fkPage.curID]
        if (!focusFollows || !page || !page.visible || _fkPage.curID !== fnItem.currentIndex)
            return
        focusFollows = false
        var first = page.nextItemInFocusChain(true)
        if (first && ShellKeys.inside(first, page))
            first.forceActiveFocus()
        else
            fnItem.focusEntry(_fkPage.curID, true)
    }

    // Around the offered profiles; a focus in the column moves with the choice.
    function stepProfile(step) {
        var focusInColumn = ShellKeys.inside(mainItem_Q7.Window.activeFocusItem, pfItem)
        pfItem.select(ShellKeys.stepProfile(pfItem.currentIndex, step))
        if (focusInColumn)
            pfItem.focusEntry(pfItem.currentIndex, true)
    }

    function relayKey(isDown, usbCode) {
        if (isDown)
            lastPressKeyCode = usbCode
        msg_KB(isDown, usbCode)
    }

    function initUI() {
        loadQ7Apconfig()
        pfItem.initUI()
        _Page_Keydefine.initUI()
        _Page_Macro.initUI()
        _Page_Color.initUI()
        _Page_Sensor.initUI()
    }

    // The pages that show the current profile read it again.
    function reloadPages() {
        pfItem.initUI()
        _Page_Keydefine.initUI()
        _Page_Color.refreshUI()
        _Page_Sensor.initUI()
    }

    // A missing or broken constant keeps the built-in value: a DPI step or stage count of 0
    // would make the pages divide by zero or show nothing.
    function loadQ7Apconfig() {
        if (typeof ui_View.q7_getApConfig !== "function")
            return
        var stages = parseInt(ui_View.q7_getApConfig("colorMaxStage"))
        if (stages > 0)
            colorMaxStage = stages
        effectEnable = asList(ui_View.q7_getApConfig("effectEnable"))
        var base = parseInt(ui_View.q7_getApConfig("dpiBase"))
        if (base > 0)
            dpiBase = base
        dpiValue = asList(ui_View.q7_getApConfig("dpiValue")).map(v => parseInt(v) || 0)
    }

    // A one-element list comes back from the settings file as a bare value, an absent one as 0;
    // a longer one as a list-like object rather than a script array.
    function asList(value) {
        if (value === undefined || value === null || value === 0 || value === "")
            return []
        if (typeof value === "object" && typeof value.length === "number")
            return Array.from(value)
        return [value]
    }

    function playOnPowerOn() {
        pfItem.visible = true
        fnItem.visible = true
        _fkPage.visible = true
        _fkPage.curID = fnItem.currentIndex
        script_PowerOn.restart()
    }

    function setSkin() {
        fnItem.setSkin()
    }

    function translateStrings(code) {
        if (typeof ui_View.q7_getProductLayoutStrings === "function")
            _ProductLayoutStringList = ui_View.q7_getProductLayoutStrings(code)
        _Page_Keydefine.translateStrings()
        _Page_Macro.translateStrings()
        _Page_Color.translateStrings()
        _Page_Sensor.translateStrings()
        fnItem.translateStrings()
        pfItem.translateStrings()
        rulesPanel.translateStrings()
    }

    // Declared before the page area so that Tab runs menu, page, profile column; the two do
    // not overlap, so the order does not show.
    Menu_Func {
        id: fnItem
        objectName: "fnItem"
        x: 8
        y: 180
        visible: false
        enabled: !mainItem_Q7.drawerOpen && !rulesPanel.visible
        opacity: 0.2 + 0.8 * enabled
        onIndexChanged_btn: currentIndex => {
            mainIten.withdrawCapture()
            mainItem_Q7.focusFollows = chosenByKeyboard && currentIndex >= 0
            _fkPage.show(currentIndex)
            Qt.callLater(mainItem_Q7.followFocus)
        }
    }

    Flickable {
        id: _fkPage
        objectName: "_fkPage"
        x: 171
        y: 96
        width: 759
        height: 442
        z: _Page_Sensor.z
        clip: true
        interactive: false
        visible: false
        // Under the rules list the page rests too, so Tab stays in the list.
        enabled: !mainItem_Q7.drawerOpen && !rulesPanel.visible
        opacity: 0.2 + 0.8 * enabled
        contentWidth: width
        contentHeight: height
        contentX: -2 * width

        property int curID: 0
        // After the pages' own bindings have made the new one visible.
        onCurIDChanged: focusAfterChange.restart()
        Timer {
            id: focusAfterChange
            interval: 0
            onTriggered: mainItem_Q7.followFocus()
        }

        // The five steps keep a click during a slide from jumping back: the running slide is
        // finished at once and the new choice carries on from its end state.
        function show(index) {
            if (paBack_X.running) {
                paBack_X.tmpIndex = index
                paBack_X.complete()
            } else if (pa_X.running) {
                curID = index
                pa_X.complete()
            } else if (index < 0) {
                paBack_X.tmpIndex = index
                paBack_X.restart()
            } else if (paBack_X.tmpIndex < 0) {
                paBack_X.tmpIndex = index
                curID = index
                pa_X.restart()
            } else {
                paBack_X.tmpIndex = index
                paBack_X.restart()
            }
        }

        Page_Keydefine {
            id: _Page_Keydefine
            objectName: "_Page_Keydefine"
            y: 46
            visible: _fkPage.curID === 0
        }
        Page_Macro {
            id: _Page_Macro
            objectName: "_Page_Macro"
            y: 46
            visible: _fkPage.curID === 1
        }
        Page_Color {
            id: _Page_Color
            objectName: "_Page_Color"
            y: 46
            colorMaxStage: mainItem_Q7.colorMaxStage
            effectEnable: mainItem_Q7.effectEnable
            visible: _fkPage.curID === 2
        }
        Page_Sensor {
            id: _Page_Sensor
            objectName: "_Page_Sensor"
            y: 46
            dpiBase: mainItem_Q7.dpiBase
            dpiValue: mainItem_Q7.dpiValue
            visible: _fkPage.curID === 3
        }

        NumberAnimation {
            id: pa_X
            objectName: "pa_X"
            target: _fkPage
            property: "contentX"
            from: -2 * _fkPage.width
            to: 0
            duration: 0.5 * mainIten.animation_speed
            easing.type: Easing.OutCubic
        }
        NumberAnimation {
            id: paBack_X
            objectName: "paBack_X"
            // The page to show once the current one is out; -1 leaves the area empty.
            property int tmpIndex: -1
            target: _fkPage
            property: "contentX"
            from: 0
            to: -2 * _fkPage.width
            duration: 0.5 * mainIten.animation_speed
            easing.type: Easing.InCubic
            onFinished: {
                _fkPage.curID = tmpIndex
                if (tmpIndex >= 0)
                    pa_X.restart()
            }
        }
    }

    FollowRulesPanel {
        id: rulesPanel
        objectName: "rulesPanel"
        x: _fkPage.x
        y: _fkPage.y
        z: _fkPage.z + 1
        enabled: !mainItem_Q7.drawerOpen
        defaultProfile: pfItem.currentIndex
    }

    // Switches asked for elsewhere wait while the menu takes no click.
    Binding {
        target: ui_View
        property: "profileMenuReady"
        value: pfItem.visible && pfItem.enabled
    }
    Menu_Prof {
        id: pfItem
        objectName: "pfItem"
        x: 1000 - width - 8
        y: 95
        visible: false
        enabled: !mainItem_Q7.drawerOpen && _fkPage.curID !== 1
        opacity: 0.2 + 0.8 * enabled
        rulesLabel: rulesPanel.texts.menu
        onRulesRequested: rulesPanel.open()
        onMenuOpened: mainIten.withdrawCapture()
        onIndexChanged_btn: currentIndex => {
            mainIten.withdrawCapture()
            mainIten.sendToMouse(() => ui_View.q7_02H_SetCurrentProfile(currentIndex))
            mainItem_Q7.reloadPages()
        }
    }

    Instantiator {
        model: ShellKeys.pageKeys
        delegate: Shortcut {
            required property int index
            required property string modelData
            sequences: [modelData]
            enabled: mainItem_Q7.shortcutsFree && fnItem.visible && fnItem.enabled
            onActivated: mainItem_Q7.openPage(index)
        }
    }
    Shortcut {
        sequences: [ShellKeys.previousProfileKey]
        enabled: mainItem_Q7.shortcutsFree && pfItem.visible && pfItem.enabled
        onActivated: mainItem_Q7.stepProfile(-1)
    }
    Shortcut {
        sequences: [ShellKeys.nextProfileKey]
        enabled: mainItem_Q7.shortcutsFree && pfItem.visible && pfItem.enabled
        onActivated: mainItem_Q7.stepProfile(1)
    }

    ParallelAnimation {
        id: script_PowerOn
        onStarted: {
            pfItem.x = 1000
            fnItem.x = -150
            pfItem.visible = true
            fnItem.visible = true
        }
        NumberAnimation {
            target: pfItem; property: "x"; from: 1000; to: 1000 - pfItem.width - 8
            duration: mainIten.animation_speed; easing.type: Easing.OutElastic
        }
        NumberAnimation {
            target: fnItem; property: "x"; from: -150; to: 8
            duration: mainIten.animation_speed; easing.type: Easing.OutElastic
        }
        onFinished: {
            _fkPage.visible = true
            _fkPage.curID = fnItem.currentIndex
            pa_X.restart()
        }
    }
}
