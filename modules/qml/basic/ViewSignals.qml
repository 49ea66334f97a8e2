import QtQuick

// What the view tells the shell: each signal of ui_View calls the shell's function of that
// name, so the C++ side never looks a QML function up by its name.
Connections {
    target: ui_View
    function onUiInitRequested() { mainIten.initUI() }
    function onUiRunRequested() { mainIten.run() }
    function onViewLockRequested(interval) { mainIten.setProtectUI(interval) }
    function onStoreRefilled() { mainIten.storeRefilled() }
    function onOfflineEditsSettled(reload, notice) { mainIten.offlineEditsSettled(reload, notice) }
    function onKeyboardCaptured(isDown, usbCode) { mainIten.detectKeyboard(isDown, usbCode) }
    function onMouseCaptured(isDown, mouseCode, x, y) { mainIten.detectMouse(isDown, mouseCode, x, y) }
    function onCaptureWithdrawRequested() { mainIten.withdrawCapture() }
    function onNoticeRequested(text) { mainIten.showNotice(text) }
}
