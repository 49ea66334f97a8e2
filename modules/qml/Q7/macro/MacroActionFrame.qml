import QtQuick

// The macro page's action list in its frame, with the recording controls in its header: the
// timing switch, RECORD and STOP.
MacroListFrame {
    id: frame
    // A macro is current, so a recording has somewhere to go.
    property bool canRecord: false
    property bool recording: false
    property bool recordTiming: false
    // The hover texts name the key that stops a recording.
    property string recordTip: "RECORD (PAUSE/BREAK STOPS)"
    property string stopTip: "STOP (PAUSE/BREAK)"

    signal timingToggled
    signal recordClicked
    signal stopClicked

    listWidth: 220
    listName: "actionList"

    RecordTimingSwitch {
        objectName: "macroRecordTiming"
        checked: frame.recordTiming
        enabled: !frame.recording
        onToggled: frame.timingToggled()
    }
    MacroButton {
        objectName: "macroRecord"
        source0: mainIten.sourceRecord0
        source1: mainIten.sourceRecord1
        tip: frame.recordTip
        enabled: frame.canRecord && !frame.recording
        onClicked: frame.recordClicked()
    }
    MacroButton {
        objectName: "macroStop"
        source0: mainIten.sourceStop0
        source1: mainIten.sourceStop1
        tip: frame.stopTip
        enabled: frame.recording
        onClicked: frame.stopClicked()
    }
}
