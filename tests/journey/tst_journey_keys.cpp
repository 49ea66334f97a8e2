// The key and macro pages in the real program. A button given a function by mouse and keyboard
// reaches the mouse's key matrix on Apply (or ALL SAVE), an open list takes the clicks over the
// page's own buttons, any key reaches it through the capture fields, which listen to the desktop
// only while armed and on their page, a macro reaches its slot the moment it is chosen, and the
// page applied untouched after a restart sends back what it read. On the macro page, typed keys
// are recorded (ended by STOP or by leaving the page), a delay, a click and Space added, and a
// macro that occupies a slot of the mouse follows every edit and a rename.
#include "Journey.h"
#include "TestFiles.h"
#include "XInjector.h"
#include "XScreen.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <algorithm>

namespace {

constexpr int current = 1; // the factory mouse's current profile
constexpr int forward = 3; // key id of the button the page selects first ("FORWARD BUTTON")

bool openKeyPage(Journey &j) { return j.openPage(0, QStringLiteral("keyFunctionMenu")); }

// The selected button's entry in the current profile's key matrix, once `button` sent it.
bool applied(Journey &j, std::array<std::uint8_t, 4> entry, const char *button = "keyApply") {
    return j.sends(button) && j.waitMouse([&](const vmouse::State &s) {
        return std::equal(entry.begin(), entry.end(), &s.matrices[current][4 * forward]);
    });
}

// A key pressed on the program's window while `field` is armed: the field takes it and stays
// disarmed once the window has handled the key's release.
bool capture(Journey &j, const QString &field, unsigned long keysym, int usage) {
    if (!j.arm(field))
        return false;
    j.key(keysym);
    return j.waitProperty(field, "keyCode", QString::number(usage)) &&
           j.waitProperty(field, "armed", "false") && j.settle() &&
           (j.property(field, "armed") == "false" || j.fail(field + " armed again"));
}

QString macroFile(const Journey &j, const QString &name) {
    return j.programDir() + QStringLiteral("/modules/macro/1/") + name + QStringLiteral(".bin");
}

QStringList fileLines(const QString &path) {
    QSettings file(path, QSettings::IniFormat);
    QStringList lines;
    const int total = file.value(QStringLiteral("config/total"), -1).toInt();
    for (int i = 0; i < total; ++i)
        lines << file.value(QStringLiteral("macro/%1").arg(i)).toString();
    return lines;
}

bool waitLines(Journey &j, const QString &path, const QStringList &expected) {
    return j.waitFor([&] { return fileLines(path) == expected; }) ||
           j.fail(path + " holds [" + fileLines(path).join('|') + "], not [" + expected.join('|') +
                  ']');
}

// The block a slot holds: play count 1, the records and the end mark (hex), zeros.
factory::Block macroBlock(const char *records) {
    factory::Block block{};
    const QByteArray bytes = QByteArray::fromHex(QByteArray("0001 ") + records);
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

// The macro page with a new, empty macro; its file.
QString newMacro(Journey &j) {
    const QString path = macroFile(j, QStringLiteral("Macro. 001"));
    const bool made = j.openPage(1, QStringLiteral("macroAdd")) && j.click("macroAdd") &&
                      (j.waitFor([&] { return QFile::exists(path); }) ||
                       j.fail(QStringLiteral("no new macro file")));
    return made ? path : QString();
}

QStringList pressed(const QString &keys) {
    QStringList lines;
    for (const QChar k : keys)
        lines << k.toUpper() + QStringLiteral("    [Down]")
              << k.toUpper() + QStringLiteral("      [Up]");
    return lines;
}

} // namespace

class tst_journey_keys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The open MOUSE list lies above the page's own buttons: its last row, drawn where the
    // page's Apply button is, takes the click, and nothing goes to the mouse until Apply. A
    // function chosen in the function menu goes by ALL SAVE as well.
    void openListAbovePageButtonsThenAllSave() {
        Journey j(QStringLiteral("keys-list-over-apply"));
        JVERIFY(j.start());
        JVERIFY(openKeyPage(j));
        JVERIFY(j.click("keyMouseList") && j.waitShown("keyMouseListItem7"));
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
        JVERIFY(j.clickIn("keyMouseListItem7", overlap.center() - row->rect.topLeft()));
        JVERIFY(j.waitGone("keyMouseListList"));
        QCOMPARE(j.property("keyMouseList", "currentText"), QStringLiteral("DPI -"));
        QVERIFY2(j.settle() && j.commands(mark).isEmpty(), "the click reached Apply");
        JVERIFY(j.waitMouse(before));
        JVERIFY(applied(j, {7, 0, 2, 0}));

        JVERIFY(j.choose("keyFunctionMenu", 6)); // LED CONTROL
        JVERIFY(applied(j, {0x0C, 0, 0, 0}, "btnTotalApply"));
        JVERIFY(j.stop());
    }

    // Every key can be given through the capture fields, those the field itself answers to
    // included: the key taken neither re-arms the field nor is lost to it.
    void everyKeyCaptured() {
        Journey j(QStringLiteral("keys-every-key"));
        JVERIFY(j.start());
        JVERIFY(openKeyPage(j) && j.choose("keyFunctionMenu", 0)); // KEYBOARD
        const struct {
            unsigned long keysym;
            std::uint8_t usage;
        } keys[] = {{'a', 0x04}, {XK_space, 0x2C}, {XK_Return, 0x28}, {XK_KP_Enter, 0x58}};
        for (const auto &k : keys) {
            JVERIFY(capture(j, "keyKeyboard", k.keysym, k.usage));
            JVERIFY(applied(j, {0, 0, k.usage, 0}));
        }

        JVERIFY(j.choose("keyFunctionMenu", 3) && j.choose("keyComboModifier", 1));
        JVERIFY(capture(j, "keyComboKey1", XK_space, 0x2C));
        JVERIFY(applied(j, {0, 0x01, 0x2C, 0})); // L Ctrl + Space

        JVERIFY(j.choose("keyFunctionMenu", 5) && j.click("keyFireKeySide"));
        JVERIFY(capture(j, "keyFireKey", XK_space, 0x2C));
        JVERIFY(j.sends("keyApply") && j.waitMouse([](const vmouse::State &s) {
            return s.matrices[current][4 * forward] == 0x0A &&
                   s.matrices[current][4 * forward + 1] == 0x2C;
        }));
        JVERIFY(j.stop());
    }

    // A field armed on a page the user left takes nothing typed meanwhile, and shows again
    // what it showed before. Keys typed into another application reach the program only while
    // a field waits for one: before and after, the program holds no connection that could see
    // them, and nothing reaches its pages.
    void fieldsListenOnlyWhileArmedAndShown() {
        Journey j(QStringLiteral("keys-on-demand"));
        JVERIFY(j.start());
        JVERIFY(openKeyPage(j) && j.choose("keyFunctionMenu", 0) && j.arm("keyKeyboard"));
        const vmouse::State before = j.mouse();
        JVERIFY(j.click("fnEntry3") && j.waitShown("sensorRateButton0"));
        j.type(QStringLiteral("b"));
        JVERIFY(j.click("fnEntry0") && j.waitShown("keyKeyboard"));
        QCOMPARE(j.property("keyKeyboard", "armed"), QStringLiteral("false"));
        QCOMPARE(j.property("keyKeyboard", "keyCode"), QStringLiteral("0"));
        JVERIFY(j.sends("keyApply") && j.waitMouse(before));

        XInjector other(j.displayName().toLatin1().constData());
        QVERIFY(other.isOpen() && other.openFocusedWindow());
        // The capture is a connection of its own to the X server: the server counts whether
        // the program holds it beside its others (the window's, the active window's watch).
        const QByteArray display = j.displayName().toLatin1();
        const auto connections = [&] {
            return xConnectionsOf(display.constData(), long(j.programPid()));
        };
        const int idle = connections();
        QVERIFY(idle > 0);
        const auto typeElsewhere = [&](unsigned long keysym) {
            other.focusOtherWindow();
            const unsigned code = other.keycodeFor(keysym);
            other.tap(code);
            return other.takeKeyPresses(code) == 1;
        };
        const QString lastKey = j.property("main_Q7", "lastPressKeyCode");
        QVERIFY(typeElsewhere('q'));
        JVERIFY(j.click("keyKeyboard"));
        QVERIFY2(j.waitFor([&] { return connections() == idle + 1; }), "no capture while asked");
        QCOMPARE(j.property("main_Q7", "lastPressKeyCode"), lastKey);
        QVERIFY(typeElsewhere('c'));
        JVERIFY(j.waitProperty("keyKeyboard", "keyCode", "6"));
        QVERIFY2(j.waitFor([&] { return connections() == idle; }), "the capture stays");
        QVERIFY(typeElsewhere('d'));
        QCOMPARE(j.property("main_Q7", "lastPressKeyCode"), QStringLiteral("6"));
        JVERIFY(j.stop());
    }

    // A macro chosen for a button is uploaded to its slot at once; Apply sends the key entry.
    // Started again, the page applied untouched leaves the key matrix and the slots as they were.
    void macroThenUntouchedAfterRestart() {
        Journey j(QStringLiteral("keys-macro"));
        JVERIFY(j.start());
        const QString library = j.programDir() + QStringLiteral("/modules/macro/1");
        const QByteArray pressA = "[config]\nindex=-1\ntotal=2\nrepeat=1\n\n"
                                  "[macro]\n0=A    [Down]\n1=A      [Up]\n";
        QVERIFY(QDir().mkpath(library) && writeFile(library + "/Press A.bin", pressA));

        JVERIFY(openKeyPage(j) && j.choose("keyFunctionMenu", 4));
        JVERIFY(j.click("keyMacroList") && j.click("keyMacroListListRow0"));
        const factory::Block uploaded = macroBlock("0104 8104 0000");
        JVERIFY(j.waitMouse([&](const vmouse::State &s) { return s.macros[0] == uploaded; }));
        JVERIFY(j.click("keyPlayMode2"));
        j.screenshot(QStringLiteral("macro"));
        JVERIFY(applied(j, {9, 2, 1, 0}));

        const vmouse::State before = j.mouse();
        JVERIFY(j.restart() && openKeyPage(j));
        QCOMPARE(j.property("keyMacroList", "currentText"), QStringLiteral("Press A"));
        JVERIFY(j.sends("keyApply") && j.waitMouse(before));
        JVERIFY(j.stop());
    }

    // A recording ends with STOP, or when the page is left, its lines saved either way; the
    // editor's field takes Space like any other key.
    void recordedWordsAndAddedEventsReachTheFile() {
        Journey j(QStringLiteral("macro"));
        JVERIFY(j.start());
        const QString path = newMacro(j);
        JVERIFY(!path.isEmpty() && waitLines(j, path, {}));
        JVERIFY(j.click("macroRecord"));
        j.type(QStringLiteral("ab"));
        JVERIFY(j.click("macroStop") && waitLines(j, path, pressed("ab")));

        JVERIFY(j.click("macroRecord"));
        j.type(QStringLiteral("cd"));
        JVERIFY(j.openPage(0, "keyFunctionMenu") && waitLines(j, path, pressed("cd")));
        QCOMPARE(j.property("_Page_Macro", "isRecordStart"), QStringLiteral("false"));

        // A delay of 5 shows as 10 and is added as 10; then a left click and Space.
        JVERIFY(j.openPage(1, "macroAdd") && j.enter("macroDelayInput", QStringLiteral("5")));
        JVERIFY(j.waitProperty("macroDelayInput", "text", "10") && j.click("macroAddDelay"));
        JVERIFY(j.click("macroAddMouse") && j.arm("macroKeyInput"));
        j.key(XK_space);
        JVERIFY(j.waitProperty("macroKeyInput", "keyCode", "44") && j.click("macroAddKey"));
        JVERIFY(waitLines(j, path,
                          pressed("cd") + QStringList{"10   [Delay]", "MS-L    [Down]",
                                                      "MS-L      [Up]", "Space    [Down]",
                                                      "Space      [Up]"}));

        JVERIFY(j.click("actionListRow4"));
        j.screenshot(QStringLiteral("page"));
        JVERIFY(j.rightClick("macroListRow0") && j.waitShown("macroMenuRename"));
        j.screenshot(QStringLiteral("menu"));
        JVERIFY(j.click("macroMenuCancel"));
        JVERIFY(j.stop());
    }

    void macroInASlotFollowsEveryEditAndARename() {
        Journey j(QStringLiteral("macro-slot"));
        JVERIFY(j.start());
        const QString path = newMacro(j);
        JVERIFY(!path.isEmpty());
        // What the key page writes when a button is given this macro: stored index 4, slot 5.
        QSettings(path, QSettings::IniFormat).setValue(QStringLiteral("config/index"), 4);

        JVERIFY(j.click("macroKeyInput"));
        j.type(QStringLiteral("a"));
        JVERIFY(j.click("macroAddKey"));
        vmouse::State expected = j.mouse();
        expected.macros[4] = macroBlock("0104 8104 0000");
        JVERIFY(j.waitMouse(expected));

        // Deleting a line re-uploads at once.
        JVERIFY(j.click("actionListRow0") && j.click("macroLineDelete"));
        expected.macros[4] = macroBlock("8104 0000");
        JVERIFY(j.waitMouse(expected));

        // Renamed by typing and Return, the macro keeps its slot.
        JVERIFY(j.rightClick("macroListRow0") && j.click("macroMenuRename"));
        JVERIFY(j.waitShown("macroListEditor"));
        j.chord(XK_Control_L, 'a');
        j.type(QStringLiteral("jump"));
        j.key(XK_Return);
        const QString renamed = macroFile(j, QStringLiteral("jump"));
        QVERIFY2(j.waitFor([&] { return QFile::exists(renamed) && !QFile::exists(path); }),
                 "not renamed");
        QCOMPARE(fileLines(renamed), QStringList{"A      [Up]"});
        // The line after the deleted one became current.
        QCOMPARE(j.property("actionList", "currentIndex"), QStringLiteral("0"));
        JVERIFY(j.click("macroLineDelete"));
        expected.macros[4] = macroBlock("0000");
        JVERIFY(j.waitMouse(expected));
        JVERIFY(j.stop());
    }
};

QTEST_GUILESS_MAIN(tst_journey_keys)
#include "tst_journey_keys.moc"
