// The real program as a native Wayland client of weston. weston runs nested in an X server of
// the test's own (its X11 back end, pixman rendering) with its desktop shell; the program gets
// no DISPLAY, so every key and click reaches it through the compositor, which forwards the
// input XTest gives its X window. Where weston put the window comes from its scene graph
// (weston-debug), what it shows from the X server's picture of weston's output.
#include "VirtualMouse.h"
#include "XScreen.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLibraryInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <functional>
#include <memory>

// Last: Xlib's macros must not meet the Qt headers.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

constexpr int pollMs = 40;
// The desktop behind the window; no colour of the program's own.
constexpr QRgb background = 0xff3c4a5e;
const QSize outputSize(1200, 900);

bool poll(const std::function<bool()> &done, int timeoutMs = 15000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(pollMs);
    }
    return true;
}

void endProcess(QProcess &p) {
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(5000);
    }
}

// weston, its X server, and the program on it over the virtual mouse.
class Session {
public:
    struct Item {
        QRect rect; // window coordinates
        double opacity = 0;
        bool enabled = false;
    };

    explicit Session(const QString &name) : name(name) {}
    ~Session() {
        if (QTest::currentTestFailed()) {
            screenshot(QStringLiteral("failed"));
            for (const char *log : {"program.log", "weston.log"}) {
                QFile f(dir.filePath(QLatin1String(log)));
                if (f.open(QIODevice::ReadOnly))
                    qWarning("%s: %s:\n%s", qPrintable(name), log, f.readAll().right(3000).data());
            }
        }
        endProcess(program);
        if (x)
            XCloseDisplay(x);
        endProcess(weston);
        endProcess(xserver);
    }

    const char *error() const {
        return (errorBytes = (name + ": " + lastError).toUtf8()).constData();
    }
    bool fail(const QString &message) {
        lastError = message;
        return false;
    }

    bool start(const vmouse::State &mouseAtStart) {
        return dir.isValid() && QDir().mkpath(homeDir()) && copyProgram() &&
               (vmouse::saveStateFile(mouseStateFile().toStdString(), mouseAtStart) ||
                fail("cannot write the mouse's state file")) &&
               startX() && startWeston() && launch();
    }

    // The program as a Wayland client only: without DISPLAY it cannot reach the X server
    // weston runs in, neither for its window nor for its key capture.
    QProcessEnvironment programEnvironment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), socketName);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
        env.insert(QStringLiteral("HOME"), homeDir());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("home/.config")));
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(VIRTUALMOUSE_LIB " " TESTHOOK_LIB));
        env.insert(QStringLiteral("VIRTUAL_MOUSE_STATE"), mouseStateFile());
        env.insert(QStringLiteral("VIRTUAL_MOUSE_LOG"),
                   dir.filePath(QStringLiteral("traffic.txt")));
        env.insert(QStringLiteral("Q7_TEST_GEOMETRY"), dir.filePath(QStringLiteral("hook")));
        return env;
    }

    // Another copy of the program, as a user would start it; its exit code.
    int runProgram(const QStringList &arguments) {
        QProcess other;
        QProcessEnvironment env = programEnvironment();
        env.remove(QStringLiteral("Q7_TEST_GEOMETRY"));
        other.setProcessEnvironment(env);
        other.setProcessChannelMode(QProcess::MergedChannels);
        other.start(programDir() + QStringLiteral("/q7config"), arguments);
        if (!other.waitForFinished(30000)) {
            endProcess(other);
            return -1;
        }
        return other.exitStatus() == QProcess::NormalExit ? other.exitCode() : -1;
    }

    QString homeDir() const { return dir.filePath(QStringLiteral("home")); }
    // What the hook says of the modal dialog that is up, line by line.
    QStringList dialogLines() { return QString::fromUtf8(ask("dialog")).split(QLatin1Char('\n')); }
    QString programDir() const { return dir.filePath(QStringLiteral("program")); }
    QString mouseStateFile() const { return dir.filePath(QStringLiteral("mouse.txt")); }
    vmouse::State mouse() const {
        vmouse::State s;
        vmouse::loadStateFile(mouseStateFile().toStdString(), s);
        return s;
    }
    bool waitMouse(const std::function<bool(const vmouse::State &)> &done) {
        return (settle() && poll([&] { return done(mouse()); })) ||
               fail("the mouse did not reach the expected state");
    }

    // The hook's view of the window: its items by objectName, in window coordinates.
    QHash<QString, Item> items(bool *viewEnabled = nullptr) {
        QHash<QString, Item> out;
        for (const QByteArray &line : ask("items").split('\n')) {
            const QList<QByteArray> w = line.split(' ');
            if (w.value(0) == "window" && w.size() == 7) {
                handled = w[6].toULongLong();
                if (viewEnabled)
                    *viewEnabled = w[5] == "1";
            } else if (w.value(0) == "item" && w.size() == 8) {
                out.insert(QString::fromUtf8(w[1]),
                           {QRect(w[2].toInt(), w[3].toInt(), w[4].toInt(), w[5].toInt()),
                            w[6].toDouble(), w[7] == "1"});
            }
        }
        return out;
    }
    QString property(const QString &objectName, const QString &prop) {
        const QByteArray answer = ask("property " + objectName.toUtf8() + ' ' + prop.toUtf8());
        return answer.startsWith("value ") ? QString::fromUtf8(answer.mid(6).chopped(5))
                                           : QString();
    }
    bool waitProperty(const QString &objectName, const QString &prop, const QString &value) {
        QString seen;
        return (settle() && poll([&] { return (seen = property(objectName, prop)) == value; })) ||
               fail(QStringLiteral("%1.%2 is \"%3\", not \"%4\"")
                        .arg(objectName, prop, seen, value));
    }

    // Shown, opaque, enabled and where it was at the last look, in a view that takes input.
    bool waitShown(const QString &objectName, int timeoutMs = 15000) {
        std::optional<QRect> previous;
        const auto ready = [&] {
            bool viewEnabled = false;
            const QHash<QString, Item> shown = items(&viewEnabled);
            const auto i = shown.constFind(objectName);
            if (i == shown.cend())
                return previous.reset(), false;
            const bool still = previous == i->rect;
            previous = i->rect;
            return still && viewEnabled && i->enabled && i->opacity > 0.99;
        };
        return (settle() && poll(ready, timeoutMs)) || fail(objectName + " is not ready");
    }

    // Until the window has been handed every click and key sent so far.
    bool settle() {
        return poll([&] { return items(), handled >= sent; }) ||
               fail(QStringLiteral("the window has handled %1 of %2 clicks and keys")
                        .arg(handled)
                        .arg(sent));
    }

    // Where weston shows the program's window titled `title` (any of its windows when empty),
    // in output coordinates; empty when it shows none.
    QString sceneGraph() {
        QProcess debug;
        debug.setProcessEnvironment(programEnvironment());
        debug.start(QStringLiteral("weston-debug"), {QStringLiteral("scene-graph")});
        return debug.waitForFinished(10000) ? QString::fromUtf8(debug.readAllStandardOutput())
                                            : QString();
    }
    QRect windowOnOutput(const QString &title = QString()) {
        // "View N (role xdg_toplevel, PID P, ..., top-level window 'T' of ID, ...):" and then
        // "position: (X, Y) -> (X2, Y2)".
        static const QRegularExpression view(
            QStringLiteral("role xdg_toplevel, PID (\\d+),.*top-level window '([^']*)'.*\\n\\s*"
                           "position: \\((-?\\d+), (-?\\d+)\\) -> \\((-?\\d+), (-?\\d+)\\)"));
        const QString graph = sceneGraph();
        for (auto m = view.globalMatch(graph); m.hasNext();) {
            const QRegularExpressionMatch v = m.next();
            if (v.captured(1).toLongLong() == program.processId() &&
                (title.isEmpty() || v.captured(2) == title))
                return QRect(QPoint(v.captured(3).toInt(), v.captured(4).toInt()),
                             QPoint(v.captured(5).toInt() - 1, v.captured(6).toInt() - 1));
        }
        return {};
    }
    bool locateWindow() {
        return poll([&] { return !(window = windowOnOutput()).isEmpty(); }) ||
               fail("weston shows no window of the program");
    }
    QRect windowRect() const { return window; }

    // Input through XTest into weston's X window, at window coordinates.
    void moveTo(const QPoint &windowPos) {
        const QPoint p = output.topLeft() + window.topLeft() + windowPos;
        XTestFakeMotionEvent(x, -1, p.x(), p.y(), CurrentTime);
        XSync(x, False);
    }
    // Onto the desktop beside the window, so that no cursor or hover shows in its pictures;
    // the pointer stays on weston's output, which would lose the keys off it (the X server,
    // with no window manager, hands them to the window under the pointer).
    void moveToDesktop() {
        QPoint to = output.center();
        for (const QPoint corner : {output.bottomRight(), output.topRight(), output.bottomLeft()})
            if (!window.isEmpty() && !QRect(corner, QSize(32, 32)).intersects(window))
                to = corner - QPoint(2, 2);
        XTestFakeMotionEvent(x, -1, to.x(), to.y(), CurrentTime);
        XSync(x, False);
    }
    void button(bool down, unsigned number = 1) {
        XTestFakeButtonEvent(x, number, down, CurrentTime);
        XSync(x, False);
        sent += down ? 0 : 1;
    }
    bool click(const QString &objectName, unsigned number = 1) {
        if (!waitShown(objectName))
            return false;
        moveTo(items().value(objectName).rect.center());
        button(true, number);
        button(false, number);
        return settle();
    }
    void key(KeySym keysym) {
        const KeyCode code = XKeysymToKeycode(x, keysym);
        XTestFakeKeyEvent(x, code, True, CurrentTime);
        XTestFakeKeyEvent(x, code, False, CurrentTime);
        XSync(x, False);
        ++sent;
    }

    // The window as weston's output shows it, once two pictures in a row agree.
    QImage grab(const QRect &onOutput) {
        const QRect r = onOutput.translated(output.topLeft()).intersected(output);
        std::vector<std::uint32_t> pixels, previous;
        const QByteArray display8 = display.toLatin1();
        QDeadlineTimer deadline(3000);
        do {
            previous.swap(pixels);
            QThread::msleep(pollMs);
            if (r.isEmpty() ||
                !grabScreen(display8.constData(), r.x(), r.y(), r.width(), r.height(), pixels))
                return {};
        } while (pixels != previous && !deadline.hasExpired());
        return QImage(reinterpret_cast<const uchar *>(pixels.data()), r.width(), r.height(),
                      r.width() * 4, QImage::Format_ARGB32)
            .copy();
    }
    QString screenshot(const QString &tag) {
        if (!x)
            return {};
        const QImage image = grab(window.isEmpty() ? QRect(QPoint(), outputSize) : window);
        QString folder = qEnvironmentVariable("Q7_ARTIFACTS");
        if (folder.isEmpty())
            folder = dir.path();
        QDir().mkpath(folder);
        const QString path = QStringLiteral("%1/%2-%3.png").arg(folder, name, tag);
        return !image.isNull() && image.save(path) ? path : QString();
    }

private:
    QString runtimeDir() const { return dir.filePath(QStringLiteral("runtime")); }

    bool copyProgram() {
        const QString bin = qEnvironmentVariable("Q7_BUILD_BIN"), to = programDir();
        if (!QDir().mkpath(to) ||
            QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-RL"), bin + "/modules",
                                                     bin + "/q7config", to}) != 0)
            return fail("cannot copy the program from Q7_BUILD_BIN");
        // The fast animation setting (option 3) keeps the start short.
        QFile config(to + QStringLiteral("/modules/setting/apConfig.bin"));
        const QByteArray text = config.open(QIODevice::ReadWrite) ? config.readAll() : QByteArray();
        return (text.contains("\n3=0\n") && config.resize(0) &&
                config.write(QByteArray(text).replace("\n3=0\n", "\n3=1\n")) == text.size()) ||
               fail("cannot set the fast animations");
    }

    bool startX() {
        xserver.start(QStringLiteral("Xvfb"),
                      QStringLiteral("-displayfd 1 -screen 0 1280x1024x24 -nolisten tcp -noreset")
                          .split(QLatin1Char(' ')));
        QByteArray number;
        QDeadlineTimer deadline(20000);
        while (!number.contains('\n') && !deadline.hasExpired() &&
               xserver.state() != QProcess::NotRunning) {
            xserver.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
            number += xserver.readAllStandardOutput();
        }
        if (!number.contains('\n'))
            return fail("Xvfb did not start");
        display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
        x = XOpenDisplay(display.toLatin1().constData());
        int event = 0, error = 0, major = 0, minor = 0;
        return (x && XTestQueryExtension(x, &event, &error, &major, &minor)) ||
               fail("no XTest on " + display);
    }

    bool startWeston() {
        QDir().mkpath(runtimeDir());
        QFile::setPermissions(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // A plain desktop of one colour: no panel, no animations, no screen lock.
        QFile ini(dir.filePath(QStringLiteral("weston.ini")));
        if (!ini.open(QIODevice::WriteOnly) ||
            ini.write(QStringLiteral("[core]\nidle-time=0\n[shell]\nbackground-color=0x%1\n"
                                     "panel-position=none\nlocking=false\nanimation=none\n"
                                     "close-animation=none\nstartup-animation=none\n")
                          .arg(background, 8, 16, QLatin1Char('0'))
                          .toLatin1()) < 0)
            return fail("cannot write weston.ini");
        ini.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        weston.setProcessEnvironment(env);
        weston.setProcessChannelMode(QProcess::MergedChannels);
        weston.setStandardOutputFile(dir.filePath(QStringLiteral("weston.log")));
        // --debug lets weston-debug read the scene graph.
        weston.start(QStringLiteral("weston"),
                     {QStringLiteral("--backend=x11-backend.so"), QStringLiteral("--use-pixman"),
                      QStringLiteral("--width=%1").arg(outputSize.width()),
                      QStringLiteral("--height=%1").arg(outputSize.height()),
                      QStringLiteral("--socket=") + socketName,
                      QStringLiteral("--config=") + ini.fileName(), QStringLiteral("--debug")});
        if (!weston.waitForStarted(10000))
            return fail("weston did not start");
        // Ready once its output window shows the desktop the shell puts behind the windows,
        // looked at in the corner away from the pointer, which weston starts at the top left.
        QRgb corner = 0;
        const bool ready = poll(
            [&] {
                const QImage shown = grab(QRect(output.bottomRight(), QSize(1, 1)));
                corner = shown.isNull() ? 0 : shown.pixel(0, 0);
                return corner == background || weston.state() == QProcess::NotRunning;
            },
            30000);
        // Into weston's window from outside it, so that it hears the pointer enter.
        XTestFakeMotionEvent(x, -1, output.right() + 40, output.bottom() + 40, CurrentTime);
        XTestFakeMotionEvent(x, -1, output.center().x(), output.center().y(), CurrentTime);
        XSync(x, False);
        return (ready && weston.state() != QProcess::NotRunning) ||
               fail(QStringLiteral("weston did not show its desktop (%1)")
                        .arg(corner, 8, 16, QLatin1Char('0')) +
                    sceneGraph());
    }

    bool launch() {
        program.setProcessEnvironment(programEnvironment());
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.setStandardOutputFile(dir.filePath(QStringLiteral("program.log")));
        program.start(programDir() + QStringLiteral("/q7config"), {});
        if (!program.waitForStarted(10000))
            return fail("the program did not start");
        // Up once the opening animation has brought in the function menu.
        return (waitShown(QStringLiteral("fnEntry3"), 30000) && locateWindow()) ||
               fail("the window did not come up: " + lastError);
    }

    QByteArray ask(const QByteArray &request) {
        QLocalSocket socket;
        socket.connectToServer(dir.filePath(QStringLiteral("hook")));
        if (!socket.waitForConnected(2000))
            return {};
        socket.write(request + '\n');
        QByteArray answer;
        QDeadlineTimer deadline(5000);
        while (!answer.endsWith("end\n") && !deadline.hasExpired() &&
               socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            answer += socket.readAll();
        return answer.endsWith("end\n") ? answer : QByteArray();
    }

    QString name;
    const QString socketName = QStringLiteral("q7-wayland");
    QTemporaryDir dir;
    QProcess xserver, weston, program;
    QString display;
    Display *x = nullptr;
    // weston's window on the X screen: the only one there, where the server maps it.
    const QRect output{QPoint(0, 0), outputSize};
    QRect window; // the program's window on weston's output
    quint64 sent = 0, handled = 0;
    QString lastError;
    mutable QByteArray errorBytes;
};

#define SVERIFY(step) QVERIFY2(step, s.error())

} // namespace

class tst_wayland_weston : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        for (const char *tool : {"weston", "weston-debug", "Xvfb"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/install-deps.sh "
                                                "installs it)")
                                     .arg(QLatin1String(tool))));
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                           QStringLiteral("/platforms/libqwayland-generic.so")))
            QSKIP("Qt's Wayland platform is not installed (qt6-wayland; scripts/install-deps.sh)");
    }

    // Started over a mouse on its third profile, the program reads it and shows it; a profile
    // chosen by a click through the compositor reaches the mouse, and so does one handed over
    // by a second start. The window is drawn with its colours, its translucent parts showing
    // the desktop through.
    void startsReadsTheMouseAndDraws() {
        Session s(QStringLiteral("weston-start"));
        vmouse::State mouse = vmouse::factoryState();
        mouse.currentProfile = 3;
        SVERIFY(s.start(mouse));
        SVERIFY(s.waitProperty("pfItem", "currentIndex", "3"));
        SVERIFY(s.click("pfEntry2") &&
                s.waitMouse([](const vmouse::State &m) { return m.currentProfile == 2; }));
        QCOMPARE(s.runProgram({QStringLiteral("--profile"), QStringLiteral("4")}), 0);
        SVERIFY(s.waitMouse([](const vmouse::State &m) { return m.currentProfile == 4; }) &&
                s.waitProperty("pfItem", "currentIndex", "4"));

        s.moveToDesktop();
        const QImage shown = s.grab(s.windowRect());
        QVERIFY(!shown.isNull());
        // The skin's cyan (captions, frame lines, the current profile) among many colours.
        QSet<QRgb> colours;
        qint64 desktop = 0, cyan = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb p = shown.pixel(x, y);
                colours.insert(p);
                desktop += p == background;
                cyan += qRed(p) < 90 && qGreen(p) > 170 && qBlue(p) > 200;
            }
        QVERIFY2(colours.size() > 200 && cyan > 500,
                 qPrintable(QStringLiteral("%1 colours, %2 cyan").arg(colours.size()).arg(cyan)));
        QVERIFY2(desktop > 0 && desktop < shown.width() * shown.height() / 4,
                 qPrintable(QString::number(desktop)));
        QVERIFY(!s.screenshot(QStringLiteral("window")).isEmpty());
    }

    // Keys typed into the Wayland window are recorded into the new macro's file.
    void macroRecordedFromKeysTheCompositorDelivers() {
        Session s(QStringLiteral("weston-macro"));
        SVERIFY(s.start(vmouse::factoryState()));
        const QString path = s.programDir() + QStringLiteral("/modules/macro/1/Macro. 001.bin");
        SVERIFY(s.click("fnEntry1") && s.click("macroAdd"));
        SVERIFY(poll([&] { return QFile::exists(path); }) || s.fail("no new macro file"));
        SVERIFY(s.click("macroRecord"));
        s.key(XK_a);
        s.key(XK_b);
        SVERIFY(s.click("macroStop"));
        const QStringList expected{"A    [Down]", "A      [Up]", "B    [Down]", "B      [Up]"};
        QStringList lines;
        const auto recorded = [&] {
            QSettings file(path, QSettings::IniFormat);
            lines.clear();
            for (int i = 0; i < file.value(QStringLiteral("config/total")).toInt(); ++i)
                lines << file.value(QStringLiteral("macro/%1").arg(i)).toString();
            return lines == expected;
        };
        QVERIFY2(poll(recorded), qPrintable(lines.join(QLatin1Char('|'))));
    }

    // The export dialog is a window of its own on weston, modal and tied to the program's
    // window; a name typed into it through the compositor saves the profile there.
    void exportDialogSavesThroughTheCompositor() {
        Session s(QStringLiteral("weston-export"));
        SVERIFY(s.start(vmouse::factoryState()));
        SVERIFY(s.click("pfEntry2", 3) && s.click("pfMenuItem1")); // SAVE
        QRect dialog;
        SVERIFY(poll([&] { return !(dialog = s.windowOnOutput("Save File")).isEmpty(); }) ||
                s.fail("weston shows no Save File window"));
        // "dialog FRAME CLIENT MODAL TRANSIENT" first, its texts after.
        const QStringList seen = s.dialogLines();
        QVERIFY2(seen.value(0).endsWith(QStringLiteral(" 1 1")), qPrintable(seen.join('\n')));
        QVERIFY(
            seen.filter(QRegularExpression(QStringLiteral("^text field .* P02\\.pf$"))).size() ==
            1);
        QSet<QRgb> colours;
        const QImage shown = s.grab(dialog);
        for (int y = 0; y < shown.height(); y += 2)
            for (int x = 0; x < shown.width(); x += 2)
                colours.insert(shown.pixel(x, y));
        QVERIFY2(colours.size() > 20, "the dialog is not drawn");
        const QString saved = s.homeDir() + QStringLiteral("/weston.pf");
        for (const KeySym k : {XK_w, XK_e, XK_s, XK_t, XK_o, XK_n})
            s.key(k);
        const auto nameShown = [&] {
            return !s.dialogLines().filter(QRegularExpression("^text field .* weston$")).isEmpty();
        };
        SVERIFY((s.settle() && poll(nameShown)) ||
                s.fail("the name field does not show weston: " +
                       s.dialogLines().filter(QStringLiteral("text field")).join('|')));
        s.key(XK_Return);
        SVERIFY(poll([&] { return QFile::exists(saved); }) || s.fail("nothing saved as " + saved));
        SVERIFY(poll([&] { return s.windowOnOutput("Save File").isEmpty(); }) ||
                s.fail("the dialog stays up"));
    }

    // A press on the window where no control is hands the drag to weston, which moves the
    // window with the pointer until the button is released.
    void dragMovesTheWindow() {
        Session s(QStringLiteral("weston-drag"));
        SVERIFY(s.start(vmouse::factoryState()));
        const QRect before = s.windowRect();
        // In the title bar, clear of the buttons and the logo; towards the output's middle.
        const QPoint press(300, 22);
        const QPoint by(before.x() > 100 ? -60 : 60, before.y() > 150 ? -45 : 45);
        s.moveTo(press);
        s.button(true);
        // The move starts when the program asks weston for it; every motion after that
        // places the window by the pointer's offset from the press.
        QRect now;
        const bool moved = poll([&] {
            s.moveTo(press + by + QPoint(1, 0));
            s.moveTo(press + by);
            now = s.windowOnOutput();
            return now.topLeft() == before.topLeft() + by;
        });
        // Whether the press reached the drag area and the program handed the drag to weston.
        const QString state =
            QStringLiteral(" (pressed %1, by weston %2)")
                .arg(s.property("dragArea", "pressed"), s.property("dragArea", "systemMove"));
        s.button(false);
        QVERIFY2(moved, qPrintable(QString::asprintf("from %d,%d to %d,%d", before.x(), before.y(),
                                                     now.x(), now.y()) +
                                   state));
        QCOMPARE(now.size(), before.size());
    }
};

QTEST_GUILESS_MAIN(tst_wayland_weston)
#include "tst_wayland_weston.moc"
