import QtQml

// Stands in for the window controller: records what the shell asks of the window.
QtObject {
    property var calls: []
    // What startSystemMove answers: whether the window system takes drags over.
    property bool systemMoves: false

    function record(name, args) {
        calls = calls.concat([[name].concat(args)])
    }
    function clear() {
        calls = []
        systemMoves = false
    }

    function onMinimize() { record("onMinimize", []) }
    function startSystemMove() { record("startSystemMove", []); return systemMoves }
    function onXChanged(x) { record("onXChanged", [x]) }
    function onYChanged(y) { record("onYChanged", [y]) }
    function setBusy(t) { record("setBusy", [t]) }
}
