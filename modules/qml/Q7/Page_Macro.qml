import QtQuick
import "../common"
import "../common/ControlRules.js" as Texts
import "macro"
import "macro/MacroRules.js" as Rules

// The macro library and the editor of one macro: lists, creates, deletes, renames, imports and
// exports macros, records key events from the global capture, and edits lines. Every change is
// written to the macro file at once; saving also re-uploads a macro that a button uses.
Item {
    id: page
    width: 759
    height: 396
    // A screen reader tells the page's controls apart from the shell's by this.
    Accessible.role: Accessible.Pane
    Accessible.name: title

    // The current macro's name, "" when no row of the macro list is current.
    readonly property string currentName: macroFrame.list.currentIndex >= 0
                                          && macroFrame.list.currentIndex < macroModel.count
                                          ? String(macroModel.get(macroFrame.list.currentIndex).textX) : ""
    readonly property int currentLine: actionFrame.list.currentIndex
    property bool isRecordStart: false
    property string scrapbook: ""
    property bool isUnlimitedCopy: false
    // Recording keeps the gaps between events as delay lines.
    property bool recordTiming: false
    property var recordedEvents: []
    property var linesBeforeRecording: []
    property var history: Rules.emptyHistory()
    property int renamingRow: -1
    // The stop key's press ended a recording; its release is the recording's too.
    property bool stopKeyHeld: false

    property string title: "MACRO"
    property string textMacro: "MACRO"
    property string textAction: "ACTION"
    property var textTools: ["DELETE", "CUT", "PASTE", "COPY"]
    property var textMenu: ["LOAD", "SAVE", "RENAME", "CANCEL"]

    readonly property alias macroModel: macroModel
    readonly property alias actionModel: actionModel

    function initUI() {
        reloadMacroList()
    }

    function translateStrings() {
        spoken.reload()
        var list = mainIten.globalSetting_stringList
        title = Texts.text(list, 75, "MACRO")
        textMacro = Texts.text(list, 44, "MACRO")
        textAction = Texts.text(list, 45, "ACTION")
        textTools = [Texts.text(list, 80, "DELETE"), Texts.text(list, 81, "CUT"),
                     Texts.text(list, 82, "PASTE"), Texts.text(list, 83, "COPY")]
        textMenu = [Texts.text(list, 84, "LOAD"), Texts.text(list, 85, "SAVE"),
                    Texts.text(list, 112, "RENAME"), Texts.text(list, 78, "CANCEL")]
    }

    // The row list counts its rows only once it has laid them out; the model knows at once.
    function setCurrent(list, model, index) {
        list.currentIndex = index >= 0 && index < model.count ? index : -1
    }

    // ---- the macro list ------------------------------------------------------------------
    function reloadMacroList() {
        macroModel.clear()
        for (var name of Rules.macroNames(ui_View.getMacroIniNames()))
            macroModel.append({ textX: name, textR: "" })
        setCurrent(macroFrame.list, macroModel, -1)
        reloadActions()
    }

    function addMacro() {
        var name = String(ui_View.createMacroIni() || "")
        if (name === "")
            return
        macroModel.append({ textX: name, textR: "" })
        setCurrent(macroFrame.list, macroModel, macroModel.count - 1)
        reloadActions()
    }

    function deleteMacro() {
        var row = macroFrame.list.currentIndex
        if (row < 0 || !ui_View.deleteMacroIni(currentName))
            return
        macroModel.remove(row)
        setCurrent(macroFrame.list, macroModel, -1)
        reloadActions()
    }

    function macroTexts() {
        return Array.from({ length: macroModel.count }, (unused, i) => String(macroModel.get(i).textX))
    }

    function menuChosen(action, row) {
        if (row < 0 || row >= macroModel.count || action === 3) {
            macroFrame.list.forceActiveFocus()
            return
        }
        var name = String(macroModel.get(row).textX)
        if (action === 0) {
            ui_View.loadMacroIniFromFile(name)
            if (row === macroFrame.list.currentIndex)
                reloadActions()
        } else if (action === 1) {
            ui_View.saveMacroIniToFile(name)
        } else if (action === 2) {
            renamingRow = row
            macroFrame.list.editFileName(row)
            return
        }
        macroFrame.list.forceActiveFocus()
    }

    // The row list already shows the new text; a name the library would refuse, or a rename the
    // file system did not make, puts the old one back.
    function renamed(oldName, newName) {
        var shown = macroTexts()
        // Two rows may show the new name now; the one being renamed is the one RENAME opened.
        var row = shown[renamingRow] === newName ? renamingRow : shown.indexOf(newName)
        renamingRow = -1
        var others = shown.filter((name, i) => i !== row)
        if (!Rules.acceptableName(newName, oldName, others)) {
            if (row >= 0 && newName !== oldName)
                macroModel.setProperty(row, "textX", oldName)
            return
        }
        ui_View.renameMacroIniFile(oldName, newName)
        var names = Rules.macroNames(ui_View.getMacroIniNames())
        if (names.indexOf(newName) < 0 && names.indexOf(oldName) >= 0 && row >= 0)
            macroModel.setProperty(row, "textX", oldName)
    }

    // ---- the action list -----------------------------------------------------------------
    function lines() {
        return Array.from({ length: actionModel.count }, (unused, i) => Rules.join(actionModel.get(i)))
    }

    function show(newLines, current) {
        actionModel.clear()
        for (var row of Rules.rowsOf(newLines))
            actionModel.append(row)
        setCurrent(actionFrame.list, actionModel, current === undefined ? -1 : current)
    }

    function reloadActions() {
        history = Rules.emptyHistory()
        show(currentName === "" ? [] : Array.from(ui_View.loadMacroIni(currentName)), -1)
    }

    // Writes the lines to the current macro's file; a file that is gone empties the list
    // instead of being written again.
    function save() {
        if (currentName === "")
            return false
        var ok = false
        // A macro given to a button goes to the mouse as it is saved.
        mainIten.sendToMouse(() => { ok = ui_View.saveMacroIni(currentName, lines()) })
        if (!ok) {
            actionModel.clear()
            history = Rules.emptyHistory()
        }
        return ok
    }

    // One change of the lines: shown, remembered for undo, saved.
    function change(newLines, current) {
        var before = lines()
        if (Rules.sameLines(before, newLines) && current === currentLine)
            return
        history = Rules.remember(history, before)
        show(newLines, current)
        save()
    }

    function insertLines(added) {
        if (currentName === "" || isRecordStart)
            return
        var r = Rules.insert(lines(), currentLine, added)
        change(r.lines, r.current)
    }
    function addMouse(item) {
        var name = mainIten.keyCodeString.mousecodeTostr(0xF0 + item)
        if (name !== undefined)
            insertLines(Rules.pressAndRelease(String(name)))
    }
    function addKey(usbCode) {
        var name = mainIten.keyCodeString.keycodeTostr(usbCode)
        if (name !== undefined)
            insertLines(Rules.pressAndRelease(String(name)))
    }
    function addDelay(ms) {
        insertLines([Rules.delayLine(ms)])
    }

    function deleteLine() {
        if (currentLine < 0 || isRecordStart)
            return
        var r = Rules.remove(lines(), currentLine)
        change(r.lines, r.current)
    }
    function cutLine() {
        var r = isRecordStart ? null : Rules.cut(lines(), currentLine)
        if (!r)
            return
        scrapbook = r.scrapbook
        isUnlimitedCopy = r.isUnlimitedCopy
        change(r.lines, r.current)
    }
    function copyLine() {
        var r = Rules.copy(lines(), currentLine)
        if (!r)
            return
        scrapbook = r.scrapbook
        isUnlimitedCopy = r.isUnlimitedCopy
    }
    function pasteLine() {
        if (currentName === "" || isRecordStart)
            return
        var r = Rules.paste(lines(), currentLine, scrapbook, isUnlimitedCopy)
        if (!r)
            return
        scrapbook = r.scrapbook
        change(r.lines, r.current)
    }

    // Undo and redo: a step back or forward through the remembered lines, saved.
    function undo() { travel(Rules.undo) }
    function redo() { travel(Rules.redo) }
    function travel(step) {
        var r = isRecordStart || currentName === "" ? null : step(history, lines())
        if (!r)
            return
        history = r.history
        show(r.lines, -1)
        save()
    }

    // ---- recording -----------------------------------------------------------------------
    // Record empties the list on screen only; the file keeps its lines until Stop saves.
    function startRecording() {
        if (currentName === "" || isRecordStart)
            return
        linesBeforeRecording = lines()
        recordedEvents = []
        actionModel.clear()
        isRecordStart = true
        // Typed keys must not press the page's buttons while they are being recorded.
        recordSink.forceActiveFocus()
    }

    function stopRecording() {
        if (!isRecordStart)
            return
        isRecordStart = false
        var recorded = recordTiming ? Rules.timedLines(recordedEvents) : recordedEvents.map(e => e.line)
        history = Rules.remember(history, linesBeforeRecording)
        show(recorded, -1)
        recordedEvents = []
        save()
        if (visible)
            actionFrame.list.forceActiveFocus()
    }

    function keyEvent(isDown, usbCode) {
        if (usbCode === Rules.stopKey && (isRecordStart || stopKeyHeld)) {
            stopKeyHeld = isDown
            if (isDown)
                stopRecording()
            return
        }
        editor.keyEvent(isDown, usbCode)
        if (!isRecordStart || currentName === "")
            return
        var line = Rules.recordedLine(mainIten.keyCodeString.keycodeTostr(usbCode), isDown)
        if (line === "")
            return
        recordedEvents = recordedEvents.concat([{ line: line, time: Date.now() }])
        actionModel.append(Rules.split(line))
        actionFrame.list.currentIndex = -1
    }

    Connections {
        target: mainIten
        function onMsg_KB(isDown, usbCode) { page.keyEvent(isDown, usbCode) }
        function onCaptureWithdrawn() { page.stopRecording() }
    }
    // A recording listens to the desktop only while the page can be seen; leaving the page
    // ends it as STOP does.
    InputRequest { active: page.isRecordStart }
    onVisibleChanged: if (!visible) stopRecording()

    Shortcut {
        sequences: ["Ctrl+Z"]
        enabled: page.visible && !page.isRecordStart
        onActivated: page.undo()
    }
    Shortcut {
        sequences: ["Ctrl+Shift+Z", "Ctrl+Y"]
        enabled: page.visible && !page.isRecordStart
        onActivated: page.redo()
    }

    NameTexts {
        id: spoken
    }
    ListModel {
        id: macroModel
    }
    ListModel {
        id: actionModel
    }

    Image {
        anchors.fill: parent
        source: mainIten.sourceFnCommonBackground
    }
    ShellText {
        objectName: "macroTitle"
        x: 24
        y: 16
        text: page.title
        font.bold: true
    }

    // Takes the keyboard while recording, so typed keys reach only the recorder.
    Item {
        id: recordSink
        objectName: "macroRecordSink"
        Keys.onPressed: event => { event.accepted = true }
        Keys.onReleased: event => { event.accepted = true }
    }

    MacroLibraryFrame {
        id: macroFrame
        objectName: "macroFrame"
        x: 118
        y: 52
        title: page.textMacro
        model: macroModel
        listEnabled: !page.isRecordStart
        canDelete: page.currentName !== ""
        deleteTip: page.textTools[0]
        addName: spoken.text("addMacro", "Add macro")
        deleteName: spoken.text("deleteMacro", "Delete macro")
        onRowClicked: page.reloadActions()
        onRowRightClicked: row => macroMenu.openAt(row)
        onRenamed: (oldName, newName) => page.renamed(oldName, newName)
        onAddClicked: page.addMacro()
        onDeleteClicked: page.deleteMacro()
    }

    MacroContextMenu {
        id: macroMenu
        objectName: "macroMenu"
        texts: page.textMenu
        function openAt(row) {
            x = macroFrame.x + macroFrame.width + 4
            y = Math.min(macroFrame.y + 24 + row * macroFrame.list.rowHeight - macroFrame.list.contentY,
                         page.height - height)
            open(row)
        }
        onChosen: (action, row) => page.menuChosen(action, row)
    }

    MacroActionFrame {
        id: actionFrame
        objectName: "actionFrame"
        x: 467
        y: 52
        title: page.textAction
        model: actionModel
        canRecord: page.currentName !== ""
        recording: page.isRecordStart
        recordTiming: page.recordTiming
        recordTip: spoken.text("record", "RECORD (PAUSE/BREAK STOPS)")
        stopTip: spoken.text("stop", "STOP (PAUSE/BREAK)")
        onDeletePressed: page.deleteLine()
        onTimingToggled: page.recordTiming = !page.recordTiming
        onRecordClicked: page.startRecording()
        onStopClicked: page.stopRecording()
    }

    MacroLineTools {
        id: lineTools
        objectName: "macroLineTools"
        x: 446
        y: 77
        tips: page.textTools
        deleteName: spoken.text("deleteLine", "Delete line")
        lineCurrent: page.currentLine >= 0 && !page.isRecordStart
        canPaste: page.scrapbook !== "" && page.currentName !== "" && !page.isRecordStart
        onDeleteClicked: page.deleteLine()
        onCutClicked: page.cutLine()
        onPasteClicked: page.pasteLine()
        onCopyClicked: page.copyLine()
    }

    MacroEditor {
        id: editor
        objectName: "macroEditor"
        x: 290
        y: 205
        macroCurrent: page.currentName !== "" && !page.isRecordStart
        spokenNames: spoken
        onAddMouse: item => page.addMouse(item)
        onAddKey: usbCode => page.addKey(usbCode)
        onAddDelay: ms => page.addDelay(ms)
    }
}
