#pragma once

// Journeys of the real program: the built q7config, copied to a folder of its own, on an X
// server of its own, over the preloaded virtual mouse, driven only through XTest as a user
// would drive it.
//
//   Journey j("sensor-rate");            // name of the screenshots
//   JVERIFY(j.start());                  // Xvfb, the program folder, the program, its window
//   JVERIFY(j.click("sensorRateButton0")); // by objectName, at the item's centre
//   j.type("255"); j.key(XK_Return);
//   JVERIFY(j.waitMouse([](const vmouse::State &s) { return s.reportRate[1] == 8; }));
//   j.screenshot("after");
//   JVERIFY(j.stop());                   // through the close button; exit code 0
//
// Controls are found by objectName through the test hook preloaded into the program
// (libq7testhook.so, listening where Q7_TEST_GEOMETRY says): click()
// waits until the item is shown, opaque, enabled, not moving, and the view is not busy.
// Effects are awaited with waitMouse()/waitFor()/waitProperty() (polls against a deadline),
// never for a fixed time. The mouse is decoded from the virtual mouse's state file (mouse())
// and traffic log (traffic(), commands()). restart() ends the program and starts it again over
// the same folder and mouse.

#include "VirtualMouse.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

// Keys are X keysyms: printable ASCII as itself, the others by their names (XK_Return).
#include <X11/keysym.h>

class XInjector;

// A journey's step, checked: on failure the test names what the harness saw. Every journey
// calls its Journey `j`.
#define JVERIFY(step) QVERIFY2(step, j.errorText())

class Journey {
public:
    struct Item {
        QString name;
        QRect rect; // window coordinates, clipped to what is on screen
        double opacity = 0;
        bool enabled = false;
    };

    struct Exchange {
        QString kind; // enumerate, open, close, feature, answer, output, input
        QString path;
        int result = 0;
        QByteArray bytes; // as on the wire
        QByteArray clear; // feature: the command as the mouse decoded it
    };

    // The modal dialog that is up, as the program reports it; screen coordinates.
    struct DialogText {
        QString kind; // label, button, field
        QRect rect;
        QString text;
    };
    struct Dialog {
        QRect frame;  // with the window manager's frame
        QRect client; // the dialog's own window
        bool modal = false;
        bool transient = false; // the window system knows it belongs to the program's window
        QString title;
        QString folder;     // a file dialog's
        bool popup = false; // a list over it, as a name field's completer shows
        QList<DialogText> texts;
    };

    explicit Journey(const QString &name);
    ~Journey();

    // Runs a small window manager (openbox) on the journey's X server, so windows get frames,
    // titles, focus and stacking as on a desktop. Call before start(); start() fails when
    // none is installed.
    void useWindowManager() { windowManager = true; }
    // Runs weston nested in the X server instead (its window at the screen's top left, of
    // westonOutput's size) and the program as its Wayland client, with no DISPLAY: clicks and
    // keys reach it only through weston, and windowRect() is where weston's scene graph puts
    // the window. Keys go to the X window under the pointer: keep the pointer on the output.
    void useWeston() { onWeston = true; }
    static constexpr QSize westonOutput{1200, 900};
    // The desktop weston shows behind the windows; no colour of the program's own.
    static constexpr QRgb westonDesktop = 0xff3c4a5e;
    // Where weston shows the program's toplevel titled `title` (any when empty); empty if none.
    QRect westonWindow(const QString &title = QString());
    // Set in the program's environment from its next start on (a session bus, the desktop's
    // name), over what the journey's own desktop gives it.
    void setProgramEnvironment(const QString &name, const QString &value) {
        extraEnvironment.insert(name, value);
    }
    // Starts over `mouse` (the factory mouse when empty), animations at the fast setting.
    bool start(const std::optional<vmouse::State> &mouse = std::nullopt);
    bool restart();
    // Closes the program through its close button and expects exit code 0.
    bool stop();
    // Ends the program at once with SIGKILL, as a crash would (the kill soak); relaunch()
    // starts it again over the same folder and mouse.
    bool killProgram();
    bool relaunch() { return launch(); }
    // The virtual mouse's state file.
    QString mouseStateFile() const;
    QString error() const { return lastError; }
    const char *errorText() const { return (errorBytes = lastError.toUtf8()).constData(); }
    // Records a failure of a journey's own step for errorText(); returns false.
    bool fail(const QString &message);

    // The program's folder (a copy of the built one) and its settings files.
    QString programDir() const;
    QString homeDir() const { return dir.filePath(QStringLiteral("home")); }
    // A value of one of the program's settings files (modules/setting/<file>, an INI file).
    QVariant setting(const QString &file, const QString &key) const;
    // The journey's X display (":N"), for a test that plays the desktop's other clients.
    QString displayName() const { return display; }
    // The running program's process id (0 when none runs).
    qint64 programPid() const { return program.processId(); }
    // Runs another copy of the program with these arguments in the running one's environment
    // and waits for it; its exit code, or -1 when it did not start or end in time. `output`:
    // what it wrote on standard output, and on standard error into `errors`.
    int runProgram(const QStringList &arguments, QByteArray *output = nullptr,
                   QByteArray *errors = nullptr);

    // Input, only through XTest. click(), clickIn() and rightClick() return once the window
    // has handled the click, so what follows (keys the program's own capture also sees, a
    // look at the mouse) comes after its effect; clickAt() and the keys do not wait.
    bool click(const QString &objectName, double fx = 0.5, double fy = 0.5);
    // At a point inside the item, from its top-left corner.
    bool clickIn(const QString &objectName, const QPoint &offset);
    bool rightClick(const QString &objectName);
    // Into a text field: click it, select everything, type `text` (may be empty), Return.
    bool enter(const QString &objectName, const QString &text);
    void clickAt(const QPoint &windowPos, unsigned button = 1);
    // A button held (a drag) or released; a release counts as a click the window handles.
    void button(bool down, unsigned number = 1);
    void moveTo(const QPoint &windowPos);
    void key(unsigned long keysym);
    void chord(unsigned long modifier, unsigned long keysym);
    // Printable ASCII only.
    void type(const QString &text);
    // Steps every page has. openPage() clicks function menu entry `entry` unless its page
    // shows `control` already (a click on the current entry would close its page), then waits
    // for `control`. choose() opens drop-down `list` and clicks its entry `item`. arm() clicks
    // a capture field and waits until it listens.
    bool openPage(int entry, const QString &control);
    bool choose(const QString &list, int item);
    bool arm(const QString &field);
    // A key the program takes as a shortcut (with `modifier` held, unless 0): the shortcut
    // takes it before the window sees its press, so that press is not waited for.
    void shortcut(unsigned long keysym, unsigned long modifier = 0);

    // The window as the hook sees it.
    QList<Item> items(bool *viewEnabled = nullptr);
    std::optional<Item> item(const QString &objectName);
    QString property(const QString &objectName, const QString &prop);
    // Shown, opaque, enabled, not moving, and the view takes input.
    bool waitShown(const QString &objectName, int timeoutMs = 15000);
    bool waitGone(const QString &objectName, int timeoutMs = 15000);
    // The busy lock is over.
    bool waitIdle(int timeoutMs = 15000);
    // Every wait first lets the window handle all clicks and keys sent so far (settle()).
    bool waitFor(const std::function<bool()> &done, int timeoutMs = 15000);
    // Until the property reads `value`; the error says what it read last.
    bool waitProperty(const QString &objectName, const QString &prop, const QString &value);
    bool settle(int timeoutMs = 15000);

    // The virtual mouse.
    vmouse::State mouse() const;
    bool waitMouse(const std::function<bool(const vmouse::State &)> &done, int timeoutMs = 15000);
    // Until the mouse is exactly `expected`; the error lists what differs.
    bool waitMouse(const vmouse::State &expected, int timeoutMs = 15000);
    bool waitProfile(int profile);
    QList<Exchange> traffic(int from = 0) const;
    int trafficMark() const { return int(traffic().size()); }
    // Decoded command reports from the traffic log since `from` (an index into traffic()).
    QList<QByteArray> commands(int from = 0) const;
    // Click `button` and wait until its busy lock is over: sends() until it has sent the mouse
    // a command (an Apply, even of nothing changed), sendsNothing() failing on any (a Reset).
    bool sends(const QString &button);
    bool sendsNothing(const QString &button);

    std::optional<Dialog> dialog();
    // Until a dialog of this title is up and still.
    std::optional<Dialog> waitDialog(const QString &title, int timeoutMs = 15000);
    // The program's window on the screen.
    QRect windowRect() const { return window; }

    // A PNG of the window (or of a rectangle of the screen), into Q7_ARTIFACTS (or the
    // temporary folder) as <name>-<tag>.png.
    QString screenshot(const QString &tag);
    QString screenshot(const QString &tag, const QRect &screenRect);
    // What a rectangle of the screen shows once two grabs in a row agree; null on failure.
    QImage grab(const QRect &screenRect);

private:
    bool startServer();
    bool startWindowManager();
    bool startWeston();
    bool copyProgram();
    bool launch();
    QProcessEnvironment desktopEnvironment(const QString &homeName);
    QProcessEnvironment programEnvironment();
    QByteArray ask(const QByteArray &request);
    void press(unsigned long keysym, bool down);
    bool clickItem(const QString &objectName, unsigned button,
                   const std::function<QPoint(const QRect &)> &where);

    QString name;
    QTemporaryDir dir;
    QProcess xserver, program, wm, weston;
    bool windowManager = false, onWeston = false;
    QProcessEnvironment extraEnvironment;
    QString display;
    QRect window;
    // Button releases and key presses sent, and handled as the window last said.
    quint64 sent = 0, handled = 0;
    std::unique_ptr<XInjector> x;
    QString lastError;
    mutable QByteArray errorBytes;
};
