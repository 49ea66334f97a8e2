import QtQuick
import QtTest
import ".."

// What the user sees when changes do not reach the mouse: one notice per operation, in the
// text the view gives, whatever the number of exchanges; nothing when they arrive.
PageTestCase {
    name: "SendNotice"

    function cleanup() {
        ui_View.sendsFail = false
    }

    // Each operation on the page it is offered on; ALL SAVE sends from the sensor, lighting
    // and key pages and still owes one notice.
    function test_aFailedOperationIsToldOnce_data() {
        return [
            { tag: "sensor Apply", page: 3, act: () => mouseClick(child("sensorApply")) },
            { tag: "lighting Apply", page: 2, act: () => mouseClick(child("colorApply")) },
            { tag: "key Apply", page: 0, act: () => mouseClick(child("keyApply")) },
            { tag: "ALL SAVE", page: 3, act: () => mouseClick(child("btnTotalApply")),
              sends: ["q7_0DH_SetKeyMatrix", "q7_0CH_SetRGBLedEffect", "q7_0CH_SetDpi8Stage"] },
            { tag: "profile switch", page: 3, act: () => mouseClick(child("pfEntry3")) },
        ]
    }
    function test_aFailedOperationIsToldOnce(data) {
        openShell(data.page)
        ui_View.sendsFail = true
        data.act()
        var notice = child("sendNotice")
        tryVerify(() => notice.showing, 2000)
        compare(notice.text, "NOT ON THE MOUSE")
        // One look before the operation, one after it, one notice owed.
        compare(ui_View.notices, ["", "NOT ON THE MOUSE"])
        verify(ui_View.calls.filter(c => /^(q7_0|q7_SetLED)/.test(c[0])).length >= 1)
        for (var name of data.sends || [])
            compare(ui_View.callsOf(name).length, 1, name)
    }

    // A change that arrives shows nothing, also when a send outside any operation failed
    // before it.
    function test_deliveredChangesShowNothing() {
        openShell(3)
        ui_View.sendsFail = true
        ui_View.q7_03H_SetReportRate(1)
        ui_View.sendsFail = false
        mouseClick(child("sensorApply"))
        waitUnlocked()
        verify(!child("sendNotice").showing)
        // The earlier failure was dropped at the start; the Apply itself owes nothing.
        compare(ui_View.notices, ["NOT ON THE MOUSE", ""])
    }
}
