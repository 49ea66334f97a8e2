// Loaded into KWin by q7config while it runs: on Wayland only the compositor knows which
// application the user is working in, so it tells the program each time that changes.
// Plasma 5 names the signal and property after clients, Plasma 6 after windows.

var service = "org.q7config.q7config";
var path = "/org/q7config/q7config/ActiveWindow";
var sinkInterface = "org.q7config.q7config.ActiveWindowSink";

function report(window) {
    // Activation moves to no window at all when the last one closes or the desktop is shown.
    if (!window)
        return;
    callDBus(service, path, sinkInterface, "WindowActivated", String(window.resourceClass || ""),
             String(window.resourceName || ""), Number(window.pid) || 0);
}

if (workspace.windowActivated) {
    workspace.windowActivated.connect(report);
    report(workspace.activeWindow);
} else {
    workspace.clientActivated.connect(report);
    report(workspace.activeClient);
}
