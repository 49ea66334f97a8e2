pragma ComponentBehavior: Bound
import QtQuick
import "../common"
import "follow"
import "follow/FollowRules.js" as Rules
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
                                                                  _Page_Macro !== null && _Page_Macro.isRecordStart,
                                                                  drawerOpen)
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
        var loader = pageLoaders[_fkPage.curID]
        var page = loader ? loader.item : null
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

    // The rules list is made the first time it is opened: most runs never open it, and it is
    // the costliest part of the window to make. Its texts are read with the shell's, since the
    // profile menu names it from the start.
    readonly property FollowRulesPanel rulesPanel: rulesHolder.item as FollowRulesPanel
    readonly property bool rulesOpen: rulesPanel !== null && rulesPanel.visible
    property var rulesTexts: Rules.texts(null)
    function openRules() {
        rulesHolder.active = true
        rulesPanel.open()
    }

    // A page is made when it is first needed: when it is first chosen (while the slide runs)
    // or when ALL SAVE or ALL RESET needs it. Until then nothing can show it, so its values are read
    // when it is made, and a page never chosen holds no memory.
    readonly property Page_Keydefine _Page_Keydefine: keysLoader.item as Page_Keydefine
    readonly property Page_Macro _Page_Macro: macroLoader.item as Page_Macro
    readonly property Page_Color _Page_Color: colorLoader.item as Page_Color
    readonly property Page_Sensor _Page_Sensor: sensorLoader.item as Page_Sensor
    readonly property var pageLoaders: [keysLoader, macroLoader, colorLoader, sensorLoader]
    // Set by initUI: a page made after it reads its texts and values as it is made.
    property bool uiInitialized: false

    // The page at index, made now if it was not yet (null for no page).
    function pageAt(index) {
        var loader = pageLoaders[index]
        if (!loader)
            return null
        // Switching an incubating loader to synchronous finishes it at once.
        loader.asynchronous = false
        loader.active = true
        return loader.item
    }

    // Starts making the page at index between frames, so that the frames of a slide running
    // meanwhile keep their pace; pageAt() finishes it when it must be there.
    function preparePage(index) {
        var loader = pageLoaders[index]
        if (loader)
            loader.active = true
    }

    function pageLoaded(page) {
        if (uiInitialized) {
            page.translateStrings()
            page.initUI()
        }
        // A page chosen from the keyboard while it was being made takes the focus now.
        focusAfterChange.restart()
    }

    function initUI() {
        loadQ7Apconfig()
        pfItem.initUI()
        uiInitialized = true
        for (var i = 0; i < pageLoaders.length; ++i) {
            if (pageLoaders[i].item)
                pageLoaders[i].item.initUI()
        }
    }

    // The pages that show the current profile read it again; one not made yet reads it when
    // it is made.
    function reloadPages() {
        pfItem.initUI()
        if (_Page_Keydefine)
            _Page_Keydefine.initUI()
        if (_Page_Color)
            _Page_Color.refreshUI()
        if (_Page_Sensor)
            _Page_Sensor.initUI()
    }

    // ALL SAVE and ALL RESET reach every page in one fixed order, whichever page was made
    // first. A page not made yet is made (reading the store) before any page sends, so the
    // sends follow one another as they would with every page made at start.
    Connections {
        target: mainIten.bottomBar
        function onBtnTotalApplyClicked() {
            mainItem_Q7.makeAllPages()
            mainItem_Q7._Page_Keydefine.send()
            mainItem_Q7._Page_Color.pageApply()
            mainItem_Q7._Page_Sensor.pageApply()
        }
        function onBtnTotalResetClicked() {
            mainItem_Q7.makeAllPages()
            mainItem_Q7._Page_Keydefine.resetAll()
            mainItem_Q7._Page_Color.pageReset()
            mainItem_Q7._Page_Sensor.pageReset()
        }
    }
    function makeAllPages() {
        for (var i = 0; i < pageLoaders.length; ++i)
            pageAt(i)
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
        for (var i = 0; i < pageLoaders.length; ++i) {
            if (pageLoaders[i].item)
                pageLoaders[i].item.translateStrings()
        }
        fnItem.translateStrings()
        pfItem.translateStrings()
        if (typeof ui_View.getFollowStrings === "function")
            rulesTexts = Rules.texts(ui_View.getFollowStrings())
    }

    // Declared before the page area so that Tab runs menu, page, profile column; the two do
    // not overlap, so the order does not show.
    Menu_Func {
        id: fnItem
        objectName: "fnItem"
        x: 8
        y: 180
        visible: false
        enabled: !mainItem_Q7.drawerOpen && !mainItem_Q7.rulesOpen
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
        clip: true
        interactive: false
        visible: false
        // Under the rules list the page rests too, so Tab stays in the list.
        enabled: !mainItem_Q7.drawerOpen && !mainItem_Q7.rulesOpen
        opacity: 0.2 + 0.8 * enabled
        contentWidth: width
        contentHeight: height
        contentX: -2 * width

        property int curID: 0
        // After the pages' own bindings have made the new one visible.
        onCurIDChanged: {
            finishShownPage()
            focusAfterChange.restart()
        }
        Timer {
            id: focusAfterChange
            interval: 0
            onTriggered: mainItem_Q7.followFocus()
        }

        // The five steps keep a click during a slide from jumping back: the running slide is
        // finished at once and the new choice carries on from its end state.
        function show(index) {
            mainItem_Q7.preparePage(index)
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
        // A page still being made as it slides in is finished before it comes into view: a
        // slide starts two widths off, so the first frames of it give the making their time.
        onContentXChanged: finishShownPage()
        function finishShownPage() {
            if (curID >= 0 && contentX > -width)
                mainItem_Q7.pageAt(curID)
        }

        LazyPage {
            id: keysLoader
            y: 46
            active: false
            asynchronous: true
            visible: _fkPage.curID === 0
            source: "Page_Keydefine.qml"
            onLoaded: {
                item.objectName = "_Page_Keydefine"
                mainItem_Q7.pageLoaded(item)
            }
        }
        LazyPage {
            id: macroLoader
            y: 46
            active: false
            asynchronous: true
            visible: _fkPage.curID === 1
            source: "Page_Macro.qml"
            onLoaded: {
                item.objectName = "_Page_Macro"
                mainItem_Q7.pageLoaded(item)
            }
        }
        LazyPage {
            id: colorLoader
            y: 46
            active: false
            asynchronous: true
            visible: _fkPage.curID === 2
            source: "Page_Color.qml"
            onLoaded: {
                const page = item as Page_Color
                page.objectName = "_Page_Color"
                page.colorMaxStage = Qt.binding(() => mainItem_Q7.colorMaxStage)
                page.effectEnable = Qt.binding(() => mainItem_Q7.effectEnable)
                mainItem_Q7.pageLoaded(page)
            }
        }
        LazyPage {
            id: sensorLoader
            y: 46
            active: false
            asynchronous: true
            visible: _fkPage.curID === 3
            source: "Page_Sensor.qml"
            onLoaded: {
                const page = item as Page_Sensor
                page.objectName = "_Page_Sensor"
                page.dpiBase = Qt.binding(() => mainItem_Q7.dpiBase)
                page.dpiValue = Qt.binding(() => mainItem_Q7.dpiValue)
                mainItem_Q7.pageLoaded(page)
            }
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

    LazyPage {
        id: rulesHolder
        x: _fkPage.x
        y: _fkPage.y
        z: _fkPage.z + 1
        asynchronous: false
        source: "follow/FollowRulesPanel.qml"
        onLoaded: {
            const panel = item as FollowRulesPanel
            panel.objectName = "rulesPanel"
            panel.enabled = Qt.binding(() => !mainItem_Q7.drawerOpen)
            panel.defaultProfile = Qt.binding(() => pfItem.currentIndex)
            panel.texts = Qt.binding(() => mainItem_Q7.rulesTexts)
        }
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
        rulesLabel: mainItem_Q7.rulesTexts.menu
        onRulesRequested: mainItem_Q7.openRules()
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
