// The key page in the real program: a button given a function by mouse and keyboard reaches
// the mouse's key matrix on Apply (or ALL SAVE), an open list takes the clicks over the page's
// own buttons, any key reaches it through the capture fields, which listen to the desktop only
// while armed and on their page, a macro reaches its slot the moment it is chosen, and the page
// applied untouched after a restart sends back what it read.
#include "Journey.h"
#include "XScreen.h"
#include "XInjector.h"

#include <QDir>
#include <QFile>
#include <QTest>


namespace {

constexpr int current = 1; // the factory mouse's current profile
constexpr int forward = 3; // key id of the button the page selects first ("FORWARD BUTTON")

bool openKeyPage(Journey &j) {
    if (j.item(QStringLiteral("keyFunctionMenu")))
        return j.waitShown(QStringLiteral("keyFunctionMenu"));
    return j.click(QStringLiteral("fnEntry0")) && j.waitShown(QStringLiteral("keyFunctionMenu"));
}

// Opens a drop-down list of the page and clicks one of its entries.
bool choose(Journey &j, const QString &list, int item) {
    const QString entry = list + QStringLiteral("Item%1").arg(item);
    return j.click(list) && j.waitShown(entry) && j.click(entry) && j.waitGone(list + "List");
}

// Arms a capture field with a click, presses a key on the program's window and waits until
// the field took it and stays disarmed once the window has handled the key's release.
bool capture(Journey &j, const QString &field, unsigned long keysym, int usage) {
    if (!j.click(field) || !j.waitFor([&] { return j.property(field, "armed") == "true"; }))
        return j.fail(field + QStringLiteral(" not armed"));
    j.key(keysym);
    const QString code = QString::number(usage);
    if (!j.waitFor([&] { return j.property(field, "keyCode") == code && j.property(field, "armed") == "false"; }) ||
        !j.settle() || j.property(field, "armed") != "false")
        return j.fail(field + QStringLiteral(" holds %1, armed %2")
                                  .arg(j.property(field, "keyCode"), j.property(field, "armed")));
    return true;
}

bool entryIs(const vmouse::State &s, int keyId, std::array<std::uint8_t, 4> entry) {
    for (int i = 0; i < 4; ++i) {
        if (s.matrices[current][4 * keyId + i] != entry[i])
            return false;
    }
    return true;
}

} // namespace

class tst_journey_keys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mouseFunctionThenAllSave() {
        Journey j(QStringLiteral("keys-mouse"));
        QVERIFY2(j.start(), j.errorText());
        QVERIFY2(openKeyPage(j), j.errorText());
        QVERIFY2(choose(j, "keyMouseList", 2), j.errorText()); // MIDDLE
        QVERIFY2(j.click("keyApply") && j.waitIdle(), j.errorText());
        QVERIFY2(j.waitMouse([](const vmouse::State &s) { return entryIs(s, forward, {1, 0, 0xF2, 0}); }),
                 j.errorText());

        QVERIFY2(choose(j, "keyFunctionMenu", 6), j.errorText()); // LED CONTROL
        QVERIFY2(j.click("btnTotalApply") && j.waitIdle(), j.errorText());
        QVERIFY2(j.waitMouse([](const vmouse::State &s) { return entryIs(s, forward, {0x0C, 0, 0, 0}); }),
                 j.errorText());
        QVERIFY2(j.stop(), j.errorText());
    }

    // The open MOUSE list lies above the page's own buttons: its last row, drawn where the
    // page's Apply button is, takes the click, and nothing goes to the mouse until Apply.
    void openListAbovePageButtons() {
        Journey j(QStringLiteral("keys-list-over-apply"));
        QVERIFY2(j.start(), j.errorText());
        QVERIFY2(openKeyPage(j), j.errorText());
        QVERIFY2(j.click("keyMouseList") && j.waitShown("keyMouseListItem7"), j.errorText());
        const auto row = j.item(QStringLiteral("keyMouseListItem7"));
        const auto apply = j.item(QStringLiteral("keyApply"));
        const auto list = j.item(QStringLiteral("keyMouseList"));
        QVERIFY(row && apply && list);
        const QRect overlap = row->rect & apply->rect;
        QVERIFY2(!overlap.isEmpty(), "the row does not lie over Apply: nothing to prove");
        // The list is whole: eight rows from its field down, the last one on screen in full.
        QCOMPARE(row->rect.height(), 24);
        QVERIFY(row->rect.top() > list->rect.bottom());
        j.screenshot(QStringLiteral("open"));

        const vmouse::State before = j.mouse();
        const int mark = j.trafficMark();
        QVERIFY2(j.clickIn("keyMouseListItem7", overlap.center() - row->rect.topLeft()), j.errorText());
        QVERIFY2(j.waitGone("keyMouseListList"), j.errorText());
        QCOMPARE(j.property("keyMouseList", "currentText"), QStringLiteral("DPI -"));
        QVERIFY2(j.settle() && j.commands(mark).isEmpty(), "the click reached Apply");
        QVERIFY2(sameMouse(j.mouse(), before), qPrintable(mouseDifferences(before, j.mouse())));

        QVERIFY2(j.click("keyApply") && j.waitIdle(), j.errorText());
        QVERIFY2(j.waitMouse([](const vmouse::State &s) { return entryIs(s, forward, {7, 0, 2, 0}); }),
                 j.errorText());
        QVERIFY2(j.stop(), j.errorText());
    }

    // Every key can be given through the capture fields, those the field itself answers to
    // included: the key taken neither re-arms the field nor is lost to it.
    void everyKeyCaptured() {
        Journey j(QStringLiteral("keys-every-key"));
        QVERIFY2(j.start(), j.errorText());
        QVERIFY2(openKeyPage(j), j.errorText());
        QVERIFY2(choose(j, "keyFunctionMenu", 0), j.errorText()); // KEYBOARD
        const struct {
            unsigned long keysym;
            std::uint8_t usage;
        } keys[] = {{'a', 0x04}, {Journey::Space, 0x2C}, {Journey::Return, 0x28}, {Journey::KPEnter, 0x58}};
        for (const auto &k : keys) {
            QVERIFY2(capture(j, "keyKeyboard", k.keysym, k.usage), j.errorText());
            QVERIFY2(j.click("keyApply") && j.waitIdle(), j.errorText());
            QVERIFY2(j.waitMouse([&](const vmouse::State &s) { return entryIs(s, forward, {0, 0, k.usage, 0}); }),
                     j.errorText());
        }

        QVERIFY2(choose(j, "keyFunctionMenu", 3) && choose(j, "keyComboModifier", 1), j.errorText());
        QVERIFY2(capture(j, "keyComboKey1", Journey::Space, 0x2C), j.errorText());
        QVERIFY2(j.click("keyApply") && j.waitIdle(), j.errorText());
        QVERIFY2(j.waitMouse([](const vmouse::State &s) { return entryIs(s, forward, {0, 0x01, 0x2C, 0}); }),
                 j.errorText()); // L Ctrl + Space

        QVERIFY2(choose(j, "keyFunctionMenu", 5) && j.click("keyFireKeySide"), j.errorText());
        QVERIFY2(capture(j, "keyFireKey", Journey::Space, 0x2C), j.errorText());
        QVERIFY2(j.click("keyApply") && j.waitIdle(), j.errorText());
        QVERIFY2(j.waitMouse([](const vmouse::State &s) {
                     return s.matrices[current][4 * forward] == 0x0A && s.matrices[current][4 * forward + 1] == 0x2C;
                 }),
                 j.errorText());
        QVERIFY2(j.stop(), j.errorText());
    }

    // A field armed on a page the user left takes nothing typed meanwhile, and shows again
    // what it showed before.
    void armedFieldLeftBehindTakesNothing() {
        Journey j(QStringLiteral("keys-left-armed"));
        QVERIFY2(j.start(), j.errorText());
        QVERIFY2(openKeyPage(j), j.errorText());
        QVERIFY2(choose(j, "keyFunctionMenu", 0) && j.click("keyKeyboard"), j.errorText());
        QVERIFY2(j.waitFor([&] { return j.property("keyKeyboard", "armed") == "true"; }), j.errorText());
        const vmouse::State before = j.mouse();
        QVERIFY2(j.click("fnEntry3") && j.waitShown("sensorRateButton0"), j.errorText());
        j.type(QStringLiteral("b"));
        QVERIFY2(j.click("fnEntry0") && j.waitShown("keyKeyboard"), j.errorText());
        QCOMPARE(j.property("keyKeyboard", "armed"), QStringLiteral("false"));
        QCOMPARE(j.property("keyKeyboard", "keyCode"), QStringLiteral("0"));
        const int mark = j.trafficMark();
        QVERIFY2(j.click("keyApply") && j.waitIdle(), j.errorText());
        QVERIFY2(j.waitFor([&] { return !j.commands(mark).isEmpty(); }), "Apply sent nothing");
        QVERIFY2(sameMouse(j.mouse(), before), qPrintable(mouseDifferences(before, j.mouse())));
        QVERIFY2(j.stop(), j.errorText());
    }

    // Keys typed into another application reach the program only while a field waits for one:
    // before and after, the program holds no connection that could see them, and nothing
    // reaches its pages.
    void otherApplicationsKeysOnlyWhileAsked() {
        Journey j(QStringLiteral("keys-on-demand"));
        QVERIFY2(j.start(), j.errorText());
        QVERIFY2(openKeyPage(j), j.errorText());
        QVERIFY2(choose(j, "keyFunctionMenu", 0), j.errorText());
        XInjector other(j.displayName().toLatin1().constData());
        QVERIFY(other.isOpen() && other.openFocusedWindow());
        // The capture is a connection of its own to the X server: the server counts whether
        // the program holds it beside its others (the window's, the active window's watch).
        const QByteArray display = j.displayName().toLatin1();
        const auto connections = [&] { return xConnectionsOf(display.constData(), long(j.programPid())); };
        const int idle = connections();
        QVERIFY(idle > 0);
        const auto typeElsewhere = [&](unsigned long keysym) {
            other.focusOtherWindow();
            const unsigned code = other.keycodeFor(keysym);
            other.tap(code);
            return other.takeKeyPresses(code) == 1;
        };

        QVERIFY(typeElsewhere('q'));
        QVERIFY2(j.click("keyKeyboard"), j.errorText());
        QVERIFY2(j.waitFor([&] { return connections() == idle + 1; }), "no capture while asked");
        QCOMPARE(j.property("main_Q7", "lastPressKeyCode"), QStringLiteral("0"));
        QVERIFY(typeElsewhere('c'));
        QVERIFY2(j.waitFor([&] { return j.property("keyKeyboard", "keyCode") == "6"; }), j.errorText());
        QVERIFY2(j.waitFor([&] { return connections() == idle; }), "the capture stays");

        QVERIFY(typeElsewhere('d'));
        QCOMPARE(j.property("main_Q7", "lastPressKeyCode"), QStringLiteral("6"));
        QVERIFY2(j.stop(), j.errorText());
    }

    // A macro chosen for a button is uploaded to its slot at once; Apply sends the key entry.
    // Started again, the page applied untouched leaves the key matrix and the slots as they were.
    void macroThenUntouchedAfterRestart() {
        Journey j(QStringLiteral("keys-macro"));
        QVERIFY2(j.start(), j.errorText());
        const QString library = j.programDir() + QStringLiteral("/modules/macro/1");
        QVERIFY(QDir().mkpath(library));
        QFile file(library + QStringLiteral("/Press A.bin"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[config]\nindex=-1\ntotal=2\nrepeat=1\n\n[macro]\n0=A    [Down]\n1=A      [Up]\n");
        file.close();

        QVERIFY2(openKeyPage(j), j.errorText());
        QVERIFY2(choose(j, "keyFunctionMenu", 4), j.errorText());
        QVERIFY2(j.click("keyMacroList") && j.waitShown("keyMacroListListRow0"), j.errorText());
        QVERIFY2(j.click("keyMacroListListRow0"), j.errorText());
        QVERIFY2(j.waitMouse([](const vmouse::State &s) {
                     const auto &m = s.macros[0];
                     return m[0] == 0 && m[1] == 1 && m[2] == 0x01 && m[3] == 0x04 && m[4] == 0x81 &&
                            m[5] == 0x04 && m[6] == 0 && m[7] == 0;
                 }),
                 j.errorText());
        QVERIFY2(j.click("keyPlayMode2"), j.errorText());
        j.screenshot(QStringLiteral("macro"));
        QVERIFY2(j.click("keyApply") && j.waitIdle(), j.errorText());
        QVERIFY2(j.waitMouse([](const vmouse::State &s) { return entryIs(s, forward, {9, 2, 1, 0}); }),
                 j.errorText());

        const vmouse::State before = j.mouse();
        QVERIFY2(j.restart(), j.errorText());
        QVERIFY2(openKeyPage(j), j.errorText());
        QCOMPARE(j.property("keyMacroList", "currentText"), QStringLiteral("Press A"));
        const int mark = j.trafficMark();
        QVERIFY2(j.click("keyApply") && j.waitIdle(), j.errorText());
        QVERIFY2(j.waitFor([&] { return !j.commands(mark).isEmpty(); }), "Apply sent nothing");
        QVERIFY2(sameMouse(j.mouse(), before), qPrintable(mouseDifferences(before, j.mouse())));
        QVERIFY2(j.stop(), j.errorText());
    }
};

QTEST_GUILESS_MAIN(tst_journey_keys)
#include "tst_journey_keys.moc"
