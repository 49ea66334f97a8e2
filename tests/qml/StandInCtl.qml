import QtQml

// Stands in for the window controller: records what the shell asks of the window.
QtObject {
    property var calls: []

    function record(name, args) {
        calls = calls.concat([[name].concat(args)])
    }
    function clear() {
        calls = []
    }

    function onMinimize() { record("onMinimize", []) }
    function onXChanged(x) { record("onXChanged", [x]) }
    function onYChanged(y) { record("onYChanged", [y]) }
    function setBusy(t) { record("setBusy", [t]) }
}
