#include "Journey.h"

#include "XInjector.h"
#include "XScreen.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QSettings>
#include <QThread>

#include <utility>

namespace {

constexpr int pollMs = 40;

QString buildBin() { return qEnvironmentVariable("Q7_BUILD_BIN"); }

// Polls until `done` holds; false once the time is up.
bool poll(const std::function<bool()> &done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(pollMs);
    }
    return true;
}

// The hook's escapes undone: a text is one line, "\\n" for its line breaks.
QString unescaped(QByteArray text) {
    return QString::fromUtf8(text.replace("\\n", "\n").replace("\\\\", "\\"));
}

// "X Y W H" from the words of a line, the first at `i`.
QRect rectAt(const QList<QByteArray> &w, int i) {
    return QRect(w[i].toInt(), w[i + 1].toInt(), w[i + 2].toInt(), w[i + 3].toInt());
}

// What differs from the expected mouse `e` in the actual `a`, one "where: expected -> actual"
// per line; empty when the two are the same mouse.
QString mouseDifferences(const vmouse::State &e, const vmouse::State &a) {
    QStringList out;
    const auto bytes = [&](const QString &what, const std::uint8_t *x, const std::uint8_t *y,
                           int n) {
        for (int i = 0; i < n; ++i)
            if (x[i] != y[i])
                out << QString::asprintf("%s[0x%02x]: %d -> %d", qPrintable(what), i, x[i], y[i]);
    };
    // Blocks numbered from `first`: profiles and matrices from 0, macro slots from 1.
    const auto blocks = [&](const char *what, const auto &x, const auto &y, int first) {
        for (int n = 0; n < int(x.size()); ++n)
            bytes(QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(first + n), x[n].data(),
                  y[n].data(), 128);
    };
    blocks("profile", e.profiles, a.profiles, 0);
    blocks("matrix", e.matrices, a.matrices, 0);
    blocks("macro", e.macros, a.macros, 1);
    bytes(QStringLiteral("report rate"), e.reportRate.data(), a.reportRate.data(), 6);
    bytes(QStringLiteral("dpi stage"), e.dpiStage.data(), a.dpiStage.data(), 6);
    bytes(QStringLiteral("current profile"), &e.currentProfile, &a.currentProfile, 1);
    bytes(QStringLiteral("function option"), &e.functionOption, &a.functionOption, 1);
    bytes(QStringLiteral("led twinkle"), &e.ledTwinkle, &a.ledTwinkle, 1);
    bytes(QStringLiteral("firmware major"), &e.fwMajor, &a.fwMajor, 1);
    bytes(QStringLiteral("firmware minor"), &e.fwMinor, &a.fwMinor, 1);
    if (e.deviceCode != a.deviceCode)
        out << QStringLiteral("device code");
    return out.join(QLatin1Char('\n'));
}

// Asked to end (or killed at once, as a crash would), then killed when it will not.
void endProcess(QProcess &p, bool gently) {
    if (p.state() == QProcess::NotRunning)
        return;
    gently ? p.terminate() : p.kill();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(5000);
    }
}

} // namespace

// Out of line: XInjector is complete only here.
Journey::Journey(const QString &n) : name(n) {}

Journey::~Journey() {
    if (program.state() != QProcess::NotRunning && QTest::currentTestFailed())
        screenshot(QStringLiteral("failed"));
    endProcess(program, false);
    for (const char *output : {"program", "weston"}) {
        QFile log(dir.filePath(QLatin1String(output) + QStringLiteral(".log")));
        if (QTest::currentTestFailed() && log.open(QIODevice::ReadOnly))
            qWarning("%s: %s output:\n%s", qPrintable(name), output,
                     log.readAll().right(4000).data());
    }
    x.reset();
    endProcess(wm, true);
    endProcess(weston, true);
    endProcess(xserver, true);
}

bool Journey::fail(const QString &message) {
    lastError = name + QStringLiteral(": ") + message;
    return false;
}

QString Journey::programDir() const { return dir.filePath(QStringLiteral("program")); }

QVariant Journey::setting(const QString &file, const QString &key) const {
    return QSettings(programDir() + QStringLiteral("/modules/setting/") + file,
                     QSettings::IniFormat)
        .value(key);
}

bool Journey::start(const std::optional<vmouse::State> &mouseAtStart) {
    if (!dir.isValid())
        return fail(QStringLiteral("no temporary folder"));
    if (buildBin().isEmpty() || !QFile::exists(buildBin() + QStringLiteral("/q7config")))
        return fail(QStringLiteral("no built program in Q7_BUILD_BIN"));
    if (!copyProgram())
        return fail(QStringLiteral("cannot copy the program folder"));
    if (mouseAtStart && !vmouse::saveStateFile(mouseStateFile().toStdString(), *mouseAtStart))
        return fail(QStringLiteral("cannot write the mouse's state file"));
    return startServer() && launch();
}

bool Journey::copyProgram() {
    const QString to = programDir();
    // Links followed: the program writes into its copy, never through a link into the build.
    if (!QDir().mkpath(to) ||
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-RL"), buildBin() + "/modules",
                                                 buildBin() + "/q7config", to}) != 0)
        return false;
    // The fast animation setting (option 3 of the configuration) keeps journeys short.
    QFile config(to + QStringLiteral("/modules/setting/apConfig.bin"));
    const QByteArray text = config.open(QIODevice::ReadWrite) ? config.readAll() : QByteArray();
    return text.contains("\n3=0\n") && config.resize(0) &&
           config.write(QByteArray(text).replace("\n3=0\n", "\n3=1\n")) == text.size();
}

bool Journey::startServer() {
    // -displayfd picks a free display number and reports it on the descriptor given.
    xserver.start(QStringLiteral("Xvfb"), QStringLiteral("-displayfd 1 -screen 0 1280x1024x24 "
                                                         "+extension GLX +extension RENDER "
                                                         "-nolisten tcp -noreset")
                                              .split(QLatin1Char(' ')));
    QByteArray number;
    QDeadlineTimer deadline(20000);
    while (!number.contains('\n') && !deadline.hasExpired() &&
           xserver.state() != QProcess::NotRunning) {
        xserver.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        number += xserver.readAllStandardOutput();
    }
    if (!number.contains('\n'))
        return fail(QStringLiteral("Xvfb did not start: ") +
                    QString::fromLocal8Bit(xserver.readAllStandardError().right(500)));
    display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    x = std::make_unique<XInjector>(display.toLatin1().constData());
    if (!x->isOpen())
        return fail(QStringLiteral("no XTest on ") + display);
    return (!windowManager || startWindowManager()) && (!onWeston || startWeston());
}

// The journey's display and a home of the journey's own, apart from the user's.
QProcessEnvironment Journey::desktopEnvironment(const QString &homeName) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString home = dir.filePath(homeName);
    QDir().mkpath(home);
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    return env;
}

bool Journey::startWindowManager() {
    wm.setProcessEnvironment(desktopEnvironment(QStringLiteral("wm-home")));
    wm.setProcessChannelMode(QProcess::MergedChannels);
    wm.setStandardOutputFile(dir.filePath(QStringLiteral("wm.log")));
    wm.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!wm.waitForStarted(10000))
        return fail(QStringLiteral("openbox did not start (scripts/install-deps.sh installs it)"));
    const QByteArray name8 = display.toLatin1();
    const auto gone = [&] { return wm.state() == QProcess::NotRunning; };
    const bool taken =
        poll([&] { return gone() || windowManagerRunning(name8.constData()); }, 15000) && !gone();
    return taken || fail(QStringLiteral("openbox did not take the screen"));
}

QProcessEnvironment Journey::programEnvironment() {
    QProcessEnvironment env = desktopEnvironment(QStringLiteral("home"));
    const QString runtime = dir.filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QLatin1String(onWeston ? "wayland" : "xcb"));
    if (onWeston) {
        // Without DISPLAY neither its window nor its key capture can reach the X server.
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("q7-wayland"));
    }
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(VIRTUALMOUSE_LIB " " TESTHOOK_LIB));
    env.insert(QStringLiteral("VIRTUAL_MOUSE_STATE"), mouseStateFile());
    env.insert(QStringLiteral("VIRTUAL_MOUSE_LOG"), dir.filePath(QStringLiteral("traffic.txt")));
    env.insert(QStringLiteral("Q7_TEST_GEOMETRY"), dir.filePath(QStringLiteral("hook")));
    env.insert(extraEnvironment);
    return env;
}

int Journey::runProgram(const QStringList &arguments, QByteArray *output, QByteArray *errors) {
    QProcess other;
    QProcessEnvironment env = programEnvironment();
    // The hook's socket is the running copy's.
    env.remove(QStringLiteral("Q7_TEST_GEOMETRY"));
    other.setProcessEnvironment(env);
    other.setProcessChannelMode(output || errors ? QProcess::SeparateChannels
                                                 : QProcess::MergedChannels);
    other.start(programDir() + QStringLiteral("/q7config"), arguments);
    if (!other.waitForStarted(10000) || !other.waitForFinished(30000)) {
        endProcess(other, false);
        return -1;
    }
    if (output)
        *output = other.readAllStandardOutput();
    if (errors)
        *errors = other.readAllStandardError();
    return other.exitStatus() == QProcess::NormalExit ? other.exitCode() : -1;
}

bool Journey::launch() {
    program.setProcessEnvironment(programEnvironment());
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.setStandardOutputFile(dir.filePath(QStringLiteral("program.log")), QIODevice::Append);
    sent = handled = 0;
    program.start(programDir() + QStringLiteral("/q7config"), {});
    if (!program.waitForStarted(10000))
        return fail(QStringLiteral("the program did not start"));
    // Ready once the opening animation has brought in the function menu.
    return (waitShown(QStringLiteral("fnEntry3"), 30000) &&
            (!onWeston || poll([&] { return !(window = westonWindow()).isEmpty(); }, 15000))) ||
           fail(QStringLiteral("the window did not come up: ") + lastError);
}

bool Journey::startWeston() {
    // A plain desktop of one colour: no panel, no animations, no screen lock.
    QFile ini(dir.filePath(QStringLiteral("weston.ini")));
    if (!ini.open(QIODevice::WriteOnly) ||
        ini.write(QStringLiteral("[core]\nidle-time=0\n[shell]\nbackground-color=0x%1\n"
                                 "panel-position=none\nlocking=false\nanimation=none\n"
                                 "close-animation=none\nstartup-animation=none\n")
                      .arg(westonDesktop, 8, 16, QLatin1Char('0'))
                      .toLatin1()) < 0)
        return fail(QStringLiteral("cannot write weston.ini"));
    ini.close();
    QProcessEnvironment env = desktopEnvironment(QStringLiteral("weston-home"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"),
               programEnvironment().value(QStringLiteral("XDG_RUNTIME_DIR")));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    weston.setProcessEnvironment(env);
    weston.setProcessChannelMode(QProcess::MergedChannels);
    weston.setStandardOutputFile(dir.filePath(QStringLiteral("weston.log")));
    // --debug lets weston-debug read the scene graph.
    weston.start(QStringLiteral("weston"),
                 {QStringLiteral("--backend=x11-backend.so"), QStringLiteral("--use-pixman"),
                  QStringLiteral("--width=%1").arg(westonOutput.width()),
                  QStringLiteral("--height=%1").arg(westonOutput.height()),
                  QStringLiteral("--socket=q7-wayland"),
                  QStringLiteral("--config=") + ini.fileName(), QStringLiteral("--debug")});
    if (!weston.waitForStarted(10000))
        return fail(QStringLiteral("weston did not start"));
    // Ready once its output shows the desktop, looked at in the corner away from the pointer,
    // which weston starts at the top left.
    const QRect corner(QPoint(westonOutput.width() - 1, westonOutput.height() - 1), QSize(1, 1));
    QRgb seen = 0;
    const bool ready = poll(
        [&] {
            const QImage shown = grab(corner);
            seen = shown.isNull() ? 0 : shown.pixel(0, 0);
            return seen == westonDesktop || weston.state() == QProcess::NotRunning;
        },
        30000);
    // weston forwards the pointer only once it has seen it enter its window: from outside.
    x->moveTo(westonOutput.width() + 40, westonOutput.height() + 40);
    x->moveTo(westonOutput.width() / 2, westonOutput.height() / 2);
    return (ready && weston.state() != QProcess::NotRunning) ||
           fail(QStringLiteral("weston did not show its desktop (%1)")
                    .arg(seen, 8, 16, QLatin1Char('0')));
}

QRect Journey::westonWindow(const QString &title) {
    QProcess debug;
    debug.setProcessEnvironment(programEnvironment());
    debug.start(QStringLiteral("weston-debug"), {QStringLiteral("scene-graph")});
    const QString graph =
        debug.waitForFinished(10000) ? QString::fromUtf8(debug.readAllStandardOutput()) : QString();
    // "View N (role xdg_toplevel, PID P, ..., top-level window 'T' of ID, ...):" and then
    // "position: (X, Y) -> (X2, Y2)"; weston's output is at the screen's top left.
    static const QRegularExpression view(
        QStringLiteral("role xdg_toplevel, PID (\\d+),.*top-level window '([^']*)'.*\\n\\s*"
                       "position: \\((-?\\d+), (-?\\d+)\\) -> \\((-?\\d+), (-?\\d+)\\)"));
    for (auto m = view.globalMatch(graph); m.hasNext();) {
        const QRegularExpressionMatch v = m.next();
        if (v.captured(1).toLongLong() == program.processId() &&
            (title.isEmpty() || v.captured(2) == title))
            return QRect(QPoint(v.captured(3).toInt(), v.captured(4).toInt()),
                         QPoint(v.captured(5).toInt() - 1, v.captured(6).toInt() - 1));
    }
    return {};
}

bool Journey::restart() { return stop() && launch(); }

bool Journey::stop() {
    if (program.state() == QProcess::NotRunning)
        return fail(QStringLiteral("the program is not running"));
    // Not click(): the program may be gone before it could say it handled the click.
    const std::optional<Item> close =
        waitShown(QStringLiteral("btnClose")) ? item(QStringLiteral("btnClose")) : std::nullopt;
    if (!close)
        return false;
    clickAt(close->rect.center());
    if (!program.waitForFinished(15000)) {
        endProcess(program, false);
        return fail(QStringLiteral("the program did not end after its close button"));
    }
    return (program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0) ||
           fail(QStringLiteral("the program ended with code %1").arg(program.exitCode()));
}

bool Journey::killProgram() {
    if (program.state() == QProcess::NotRunning)
        return fail(QStringLiteral("the program is not running"));
    program.kill(); // SIGKILL
    return program.waitForFinished(10000) ||
           fail(QStringLiteral("the program did not end after SIGKILL"));
}

QString Journey::mouseStateFile() const { return dir.filePath(QStringLiteral("mouse.txt")); }

QByteArray Journey::ask(const QByteArray &request) {
    QLocalSocket socket;
    socket.connectToServer(dir.filePath(QStringLiteral("hook")));
    if (!socket.waitForConnected(2000))
        return {};
    socket.write(request + '\n');
    QByteArray answer;
    QDeadlineTimer deadline(5000);
    while (!answer.endsWith("end\n") && !deadline.hasExpired()) {
        if (!socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        answer += socket.readAll();
    }
    return answer.endsWith("end\n") ? answer : QByteArray();
}

QList<Journey::Item> Journey::items(bool *viewEnabled) {
    QList<Item> out;
    if (viewEnabled)
        *viewEnabled = false;
    for (const QByteArray &line : ask("items").split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (w.value(0) == "window" && w.size() == 7) {
            // Under weston the program cannot know where its window is; the scene graph does.
            if (!onWeston)
                window = rectAt(w, 1);
            handled = w[6].toULongLong();
            if (viewEnabled)
                *viewEnabled = w[5] == "1";
        } else if (w.value(0) == "item" && w.size() == 8) {
            out.append({QString::fromUtf8(w[1]), rectAt(w, 2), w[6].toDouble(), w[7] == "1"});
        }
    }
    return out;
}

std::optional<Journey::Item> Journey::item(const QString &objectName) {
    for (const Item &i : items())
        if (i.name == objectName)
            return i;
    return std::nullopt;
}

QString Journey::property(const QString &objectName, const QString &prop) {
    // "value TEXT\nend\n", or "none\nend\n" when there is no such object.
    const QByteArray answer = ask("property " + objectName.toUtf8() + ' ' + prop.toUtf8());
    return answer.startsWith("value ") ? unescaped(answer.mid(6).chopped(5)) : QString();
}

bool Journey::settle(int timeoutMs) {
    // items() brings the count of clicks and keys the window has handled.
    return poll([&] { return items(), handled >= sent; }, timeoutMs) ||
           fail(QStringLiteral("the window has handled %1 of %2 clicks and keys")
                    .arg(handled)
                    .arg(sent));
}

bool Journey::waitFor(const std::function<bool()> &done, int timeoutMs) {
    return settle() && poll(done, timeoutMs);
}

bool Journey::waitShown(const QString &objectName, int timeoutMs) {
    std::optional<QRect> previous;
    QString seen = QStringLiteral("not shown");
    // Shown, opaque and enabled in a view that takes input, where it was at the last look.
    const auto ready = [&] {
        bool viewEnabled = false;
        for (const Item &i : items(&viewEnabled)) {
            if (i.name != objectName)
                continue;
            seen = QString::asprintf("at %d,%d %dx%d opacity %g %s %s", i.rect.x(), i.rect.y(),
                                     i.rect.width(), i.rect.height(), i.opacity,
                                     i.enabled ? "enabled" : "disabled",
                                     viewEnabled ? "" : "(view busy)");
            const bool still = previous == i.rect;
            previous = i.rect;
            return still && viewEnabled && i.enabled && i.opacity > 0.99;
        }
        previous.reset();
        return false;
    };
    return waitFor(ready, timeoutMs) || fail(objectName + QStringLiteral(" is not ready: ") + seen);
}

bool Journey::waitGone(const QString &objectName, int timeoutMs) {
    return waitFor([&] { return !item(objectName); }, timeoutMs) ||
           fail(objectName + QStringLiteral(" is still shown"));
}

bool Journey::waitIdle(int timeoutMs) {
    bool viewEnabled = false;
    return waitFor([&] { return items(&viewEnabled), viewEnabled; }, timeoutMs) ||
           fail(QStringLiteral("the view stays busy"));
}

bool Journey::waitProperty(const QString &objectName, const QString &prop, const QString &value) {
    QString seen;
    return waitFor([&] { return (seen = property(objectName, prop)) == value; }) ||
           fail(QStringLiteral("%1.%2 is \"%3\", not \"%4\"").arg(objectName, prop, seen, value));
}

void Journey::moveTo(const QPoint &windowPos) {
    const QPoint p = window.topLeft() + windowPos;
    x->moveTo(p.x(), p.y());
}

void Journey::clickAt(const QPoint &windowPos, unsigned button) {
    moveTo(windowPos);
    x->click(button);
    ++sent;
}

void Journey::button(bool down, unsigned number) {
    x->button(number, down);
    sent += down ? 0 : 1;
}

bool Journey::clickItem(const QString &objectName, unsigned button,
                        const std::function<QPoint(const QRect &)> &where) {
    if (!waitShown(objectName))
        return false;
    const std::optional<Item> i = item(objectName);
    if (!i)
        return fail(objectName + QStringLiteral(" went away"));
    clickAt(where(i->rect), button);
    return settle();
}

bool Journey::click(const QString &objectName, double fx, double fy) {
    return clickItem(objectName, 1, [&](const QRect &r) {
        return QPoint(r.x() + qBound(0, int(fx * r.width()), r.width() - 1),
                      r.y() + qBound(0, int(fy * r.height()), r.height() - 1));
    });
}

bool Journey::clickIn(const QString &objectName, const QPoint &offset) {
    return clickItem(objectName, 1, [&](const QRect &r) { return r.topLeft() + offset; });
}

bool Journey::rightClick(const QString &objectName) {
    return clickItem(objectName, 3, [](const QRect &r) { return r.center(); });
}

bool Journey::enter(const QString &objectName, const QString &text) {
    if (!click(objectName))
        return false;
    chord(XK_Control_L, 'a');
    if (text.isEmpty())
        key(XK_BackSpace);
    type(text);
    key(XK_Return);
    return true;
}

bool Journey::openPage(int entry, const QString &control) {
    return (item(control) || click(QStringLiteral("fnEntry%1").arg(entry))) && waitShown(control);
}

bool Journey::choose(const QString &list, int item) {
    const QString entry = list + QStringLiteral("Item%1").arg(item);
    return click(list) && waitShown(entry) && click(entry) &&
           waitGone(list + QStringLiteral("List"));
}

bool Journey::arm(const QString &field) {
    return click(field) && waitProperty(field, QStringLiteral("armed"), QStringLiteral("true"));
}

void Journey::press(unsigned long keysym, bool down) {
    const unsigned code = x->keycodeFor(keysym);
    if (code == 0) {
        fail(QStringLiteral("no key types keysym 0x%1").arg(keysym, 0, 16));
        return;
    }
    x->key(code, down);
    sent += down ? 1 : 0;
}

void Journey::key(unsigned long keysym) {
    press(keysym, true);
    press(keysym, false);
}

void Journey::chord(unsigned long modifier, unsigned long keysym) {
    press(modifier, true);
    key(keysym);
    press(modifier, false);
}

void Journey::type(const QString &text) {
    for (const QChar c : text) {
        const char ascii = c.toLatin1();
        if (ascii >= 'A' && ascii <= 'Z')
            chord(XK_Shift_L, ascii + 32);
        else if (QByteArray("!@#$%^&*()_+{}|:\"<>?~").contains(ascii))
            chord(XK_Shift_L, ascii);
        else
            key(ascii);
    }
}

vmouse::State Journey::mouse() const {
    vmouse::State s;
    vmouse::loadStateFile(mouseStateFile().toStdString(), s);
    return s;
}

bool Journey::waitMouse(const std::function<bool(const vmouse::State &)> &done, int timeoutMs) {
    return waitFor([&] { return done(mouse()); }, timeoutMs) ||
           fail(QStringLiteral("the mouse did not reach the expected state"));
}

bool Journey::waitMouse(const vmouse::State &expected, int timeoutMs) {
    return waitFor([&] { return mouseDifferences(expected, mouse()).isEmpty(); }, timeoutMs) ||
           fail(QStringLiteral("the mouse differs from the expected state:\n") +
                mouseDifferences(expected, mouse()));
}

bool Journey::waitProfile(int profile) {
    return waitMouse([&](const vmouse::State &s) { return s.currentProfile == profile; }) ||
           fail(QString::asprintf("the mouse is on profile %d, not %d", mouse().currentProfile,
                                  profile));
}

QList<Journey::Exchange> Journey::traffic(int from) const {
    QFile f(dir.filePath(QStringLiteral("traffic.txt")));
    QList<Exchange> out;
    if (!f.open(QIODevice::ReadOnly))
        return out;
    // "kind path result b0 b1 ... [| clear c0 c1 ...]", each byte two hex digits.
    for (const QByteArray &line : f.readAll().split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        const qsizetype bar = w.indexOf("|");
        if (w.size() >= 3)
            out.append({QString::fromLatin1(w[0]), QString::fromLatin1(w[1]), w[2].toInt(),
                        QByteArray::fromHex(w.mid(3, bar < 0 ? -1 : bar - 3).join()),
                        QByteArray::fromHex(bar < 0 ? QByteArray() : w.mid(bar + 2).join())});
    }
    return out.mid(from);
}

QList<QByteArray> Journey::commands(int from) const {
    QList<QByteArray> out;
    for (const Exchange &e : traffic(from))
        if (e.kind == QLatin1String("feature") && !e.clear.isEmpty())
            out.append(e.clear);
    return out;
}

bool Journey::sends(const QString &button) {
    const int mark = trafficMark();
    return click(button) && waitIdle() &&
           (waitFor([&] { return !commands(mark).isEmpty(); }) ||
            fail(button + QStringLiteral(" sent nothing")));
}

bool Journey::sendsNothing(const QString &button) {
    const int mark = trafficMark();
    return click(button) && waitIdle() &&
           (commands(mark).isEmpty() ||
            fail(button + QStringLiteral(" sent %1 commands").arg(commands(mark).size())));
}

QString Journey::screenshot(const QString &tag) { return screenshot(tag, windowRect()); }

QImage Journey::grab(const QRect &r) {
    settle(5000);
    // The last frame may still be on its way to the screen: take the picture once two grabs
    // in a row agree (a blinking text cursor may keep them apart; then the last).
    std::vector<std::uint32_t> pixels, previous;
    const QByteArray name8 = display.toLatin1();
    QDeadlineTimer deadline(3000);
    do {
        previous.swap(pixels);
        QThread::msleep(pollMs);
        if (!grabScreen(name8.constData(), r.x(), r.y(), r.width(), r.height(), pixels))
            return {};
    } while (pixels != previous && !deadline.hasExpired());
    return QImage(reinterpret_cast<const uchar *>(pixels.data()), r.width(), r.height(),
                  r.width() * 4, QImage::Format_ARGB32)
        .copy();
}

QString Journey::screenshot(const QString &tag, const QRect &screenRect) {
    QString folder = qEnvironmentVariable("Q7_ARTIFACTS");
    if (folder.isEmpty())
        folder = dir.path();
    QDir().mkpath(folder);
    const QImage image = grab(screenRect);
    const QString path = QStringLiteral("%1/%2-%3.png").arg(folder, name, tag);
    return !image.isNull() && image.save(path) ? path : QString();
}

std::optional<Journey::Dialog> Journey::dialog() {
    const QByteArray answer = ask("dialog");
    if (!answer.startsWith("dialog "))
        return std::nullopt;
    Dialog d;
    for (const QByteArray &line : answer.split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (w[0] == "dialog" && w.size() == 11) {
            d.frame = rectAt(w, 1);
            d.client = rectAt(w, 5);
            d.modal = w[9] == "1";
            d.transient = w[10] == "1";
        } else if (w[0] == "title") {
            d.title = unescaped(line.mid(6));
        } else if (w[0] == "folder") {
            d.folder = unescaped(line.mid(7));
        } else if (w[0] == "popup") {
            d.popup = true;
        } else if (w[0] == "text" && w.size() >= 6) {
            // The text is all that follows the sixth space, spaces and all.
            d.texts.append({QString::fromUtf8(w[1]), rectAt(w, 2), unescaped(w.mid(6).join(' '))});
        }
    }
    return d;
}

std::optional<Journey::Dialog> Journey::waitDialog(const QString &title, int timeoutMs) {
    std::optional<Dialog> found, previous;
    // Up with this title, framed, and where it was at the last look.
    const auto still = [&] {
        previous = std::exchange(found, dialog());
        return found && found->title == title && previous && previous->frame == found->frame &&
               !found->frame.isEmpty();
    };
    if (waitFor(still, timeoutMs))
        return found;
    fail(QStringLiteral("no dialog \"%1\" came up (%2)").arg(title, found ? found->title : "none"));
    return std::nullopt;
}

void Journey::shortcut(unsigned long keysym, unsigned long modifier) {
    modifier != 0 ? chord(modifier, keysym) : key(keysym);
    --sent;
}
