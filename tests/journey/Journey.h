#pragma once

// Journeys of the real program: the built q7config, copied to a folder of its own, on an X
// server of its own, over the preloaded virtual mouse, driven only through XTest as a user
// would drive it.
//
//   Journey j("sensor-rate");            // name of the screenshots
//   QVERIFY2(j.start(), j.error());      // Xvfb, the program folder, the program, its window
//   QVERIFY2(j.click("sensorRateButton0"), j.error());  // by objectName, at the item's centre
//   j.type("255"); j.key(Journey::Return);
//   QVERIFY(j.waitMouse([](const vmouse::State &s) { return s.reportRate[1] == 8; }));
//   j.screenshot("after");
//   QVERIFY2(j.stop(), j.error());       // through the close button; exit code 0
//
// Controls are found by objectName through the test hook preloaded into the program
// (libq7testhook.so, listening where Q7_TEST_GEOMETRY says): click()
// waits until the item is shown, opaque, enabled, not moving, and the view is not busy.
// Effects are awaited with waitMouse()/waitFor() (polls against a deadline). The mouse is
// decoded from the virtual mouse's state file (mouse()) and traffic log (traffic(),
// commands()). restart() ends the program and starts it again over the same folder and mouse.

#include "VirtualMouse.h"

#include <QByteArray>
#include <QList>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>

class XInjector;

class Journey {
public:
    // X keysyms of the keys a journey types besides printable ASCII.
    enum Key : unsigned long {
        Return = 0xff0d,
        Tab = 0xff09,
        BackSpace = 0xff08,
        Escape = 0xff1b,
        Left = 0xff51,
        Up = 0xff52,
        Right = 0xff53,
        Down = 0xff54,
        Space = 0x20,
        ShiftL = 0xffe1,
        ControlL = 0xffe3,
        KPEnter = 0xff8d,
    };

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
        QString folder; // a file dialog's
        bool popup = false; // a list over it, as a name field's completer shows
        QList<DialogText> texts;
    };

    explicit Journey(const QString &name);
    ~Journey();
    Journey(const Journey &) = delete;
    Journey &operator=(const Journey &) = delete;

    // Runs a small window manager (openbox) on the journey's X server, so windows get frames,
    // titles, focus and stacking as on a desktop. Call before start(); start() fails when
    // none is installed.
    void useWindowManager() { windowManager = true; }
    // Starts over `mouse` (the factory mouse when empty). Animations run at the fast
    // setting unless told otherwise.
    bool start(const std::optional<vmouse::State> &mouse = std::nullopt,
               bool fastAnimations = true);
    bool restart();
    // Closes the program through its close button and expects exit code 0.
    bool stop();
    // Ends the program at once with SIGKILL, as a crash would, and starts it again over the
    // same folder and mouse (the kill soak).
    bool killProgram();
    bool relaunch() { return launch(); }
    // The virtual mouse's state file.
    QString mouseStateFile() const;
    QString error() const { return lastError; }
    const char *errorText() const;
    // Records a failure of a journey's own step for errorText(); returns false.
    bool fail(const QString &message);

    // The program's folder (a copy of the built one) and its settings files.
    QString programDir() const;
    // The journey's X display (":N"), for a test that plays the desktop's other clients.
    QString displayName() const { return display; }
    // The running program's process id (0 when none runs).
    qint64 programPid() const { return program.processId(); }
    // Runs another copy of the program with these arguments in the running one's environment
    // and waits for it; its exit code, or -1 when it did not start or end in time.
    int runProgram(const QStringList &arguments, QByteArray *output = nullptr);

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
    void moveTo(const QPoint &windowPos);
    void key(unsigned long keysym);
    void chord(unsigned long modifier, unsigned long keysym);
    // Printable ASCII only.
    void type(const QString &text);
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
    bool settle(int timeoutMs = 15000);

    // The virtual mouse.
    vmouse::State mouse() const;
    bool waitMouse(const std::function<bool(const vmouse::State &)> &done, int timeoutMs = 15000);
    // Until the mouse is exactly `expected`; the error lists what differs.
    bool waitMouse(const vmouse::State &expected, int timeoutMs = 15000);
    QList<Exchange> traffic(int from = 0) const;
    int trafficMark() const { return int(traffic().size()); }
    // Decoded command reports from the traffic log since `from` (an index into traffic()).
    QList<QByteArray> commands(int from = 0) const;

    std::optional<Dialog> dialog();
    // Until a dialog of this title is up and still.
    std::optional<Dialog> waitDialog(const QString &title, int timeoutMs = 15000);
    // The program's window on the screen.
    QRect windowRect() const { return QRect(windowOrigin, windowSize); }

    // A PNG of the window (or of a rectangle of the screen), into Q7_ARTIFACTS (or the
    // temporary folder) as <name>-<tag>.png.
    QString screenshot(const QString &tag);
    QString screenshot(const QString &tag, const QRect &screenRect);
    // What a rectangle of the screen shows once two grabs in a row agree; null on failure.
    QImage grab(const QRect &screenRect);

private:
    bool startServer();
    bool startWindowManager();
    bool copyProgram(bool fastAnimations);
    bool launch();
    QProcessEnvironment programEnvironment();
    QByteArray ask(const QByteArray &request);
    QPoint toScreen(const QPoint &windowPos);
    void press(unsigned long keysym, bool down);

    QString name;
    QTemporaryDir dir;
    QProcess xserver, program, wm;
    bool windowManager = false;
    QString display;
    QPoint windowOrigin;
    QSize windowSize;
    // Button releases and key presses sent, and handled as the window last said.
    quint64 sent = 0, handled = 0;
    std::unique_ptr<XInjector> x;
    QString lastError;
    mutable QByteArray errorBytes;
};

bool sameMouse(const vmouse::State &a, const vmouse::State &b);
// What differs from `expected` in `actual`, one "where: expected -> actual" per line.
QString mouseDifferences(const vmouse::State &expected, const vmouse::State &actual);
