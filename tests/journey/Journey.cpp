#include "Journey.h"

#include "XScreen.h"
#include "XInjector.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QLocalSocket>
#include <QTest>
#include <QThread>

namespace {

constexpr int pollMs = 40;

QString buildBin() { return qEnvironmentVariable("Q7_BUILD_BIN"); }

bool copyTree(const QString &from, const QString &to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + src.mid(from.size());
        if (it.fileInfo().isDir() ? !QDir().mkpath(dst) : !QFile::copy(src, dst))
            return false;
    }
    return true;
}

// "a b c" of the traffic log's hex bytes.
QByteArray hexBytes(const QList<QByteArray> &words, qsizetype from, qsizetype to) {
    QByteArray out;
    for (qsizetype i = from; i < to; ++i)
        out += char(words[i].toUInt(nullptr, 16));
    return out;
}

} // namespace

bool sameMouse(const vmouse::State &a, const vmouse::State &b) {
    return a.profiles == b.profiles && a.matrices == b.matrices && a.macros == b.macros &&
           a.currentProfile == b.currentProfile && a.reportRate == b.reportRate &&
           a.dpiStage == b.dpiStage && a.functionOption == b.functionOption &&
           a.ledTwinkle == b.ledTwinkle && a.fwMajor == b.fwMajor && a.fwMinor == b.fwMinor &&
           a.deviceCode == b.deviceCode;
}

QString mouseDifferences(const vmouse::State &expected, const vmouse::State &actual) {
    QStringList out;
    auto bytes = [&](const QString &what, const std::uint8_t *e, const std::uint8_t *a, int n) {
        for (int i = 0; i < n; ++i)
            if (e[i] != a[i])
                out << QStringLiteral("%1[0x%2]: %3 -> %4")
                           .arg(what)
                           .arg(i, 2, 16, QLatin1Char('0'))
                           .arg(e[i])
                           .arg(a[i]);
    };
    for (int p = 0; p < 6; ++p) {
        bytes(QStringLiteral("profile %1").arg(p), expected.profiles[p].data(),
              actual.profiles[p].data(), 128);
        bytes(QStringLiteral("matrix %1").arg(p), expected.matrices[p].data(),
              actual.matrices[p].data(), 128);
    }
    for (int m = 0; m < 100; ++m)
        bytes(QStringLiteral("macro %1").arg(m + 1), expected.macros[m].data(),
              actual.macros[m].data(), 128);
    bytes(QStringLiteral("report rate"), expected.reportRate.data(), actual.reportRate.data(), 6);
    bytes(QStringLiteral("dpi stage"), expected.dpiStage.data(), actual.dpiStage.data(), 6);
    bytes(QStringLiteral("current profile"), &expected.currentProfile, &actual.currentProfile, 1);
    bytes(QStringLiteral("function option"), &expected.functionOption, &actual.functionOption, 1);
    bytes(QStringLiteral("led twinkle"), &expected.ledTwinkle, &actual.ledTwinkle, 1);
    if (expected.deviceCode != actual.deviceCode)
        out << QStringLiteral("device code");
    return out.join(QLatin1Char('\n'));
}

Journey::Journey(const QString &n) : name(n) {}

Journey::~Journey() {
    if (program.state() != QProcess::NotRunning) {
        if (QTest::currentTestFailed())
            screenshot(QStringLiteral("failed"));
        program.kill();
        program.waitForFinished(5000);
    }
    if (QTest::currentTestFailed()) {
        QFile log(dir.filePath(QStringLiteral("program.log")));
        if (log.open(QIODevice::ReadOnly))
            qWarning("%s: program output:\n%s", qPrintable(name), log.readAll().right(4000).data());
    }
    x.reset();
    if (wm.state() != QProcess::NotRunning) {
        wm.terminate();
        if (!wm.waitForFinished(5000)) {
            wm.kill();
            wm.waitForFinished(5000);
        }
    }
    if (xserver.state() != QProcess::NotRunning) {
        xserver.terminate();
        if (!xserver.waitForFinished(5000)) {
            xserver.kill();
            xserver.waitForFinished(5000);
        }
    }
}

bool Journey::fail(const QString &message) {
    lastError = name + QStringLiteral(": ") + message;
    return false;
}

const char *Journey::errorText() const {
    errorBytes = lastError.toUtf8();
    return errorBytes.constData();
}

QString Journey::programDir() const { return dir.filePath(QStringLiteral("program")); }

bool Journey::start(const std::optional<vmouse::State> &mouseAtStart, bool fastAnimations) {
    if (!dir.isValid())
        return fail(QStringLiteral("no temporary folder"));
    if (buildBin().isEmpty() || !QFile::exists(buildBin() + QStringLiteral("/q7config")))
        return fail(QStringLiteral("no built program in Q7_BUILD_BIN"));
    if (!copyProgram(fastAnimations))
        return fail(QStringLiteral("cannot copy the program folder"));
    if (mouseAtStart && !vmouse::saveStateFile(
                            dir.filePath(QStringLiteral("mouse.txt")).toStdString(), *mouseAtStart))
        return fail(QStringLiteral("cannot write the mouse's state file"));
    return startServer() && launch();
}

bool Journey::copyProgram(bool fastAnimations) {
    const QString to = programDir();
    if (!copyTree(buildBin() + QStringLiteral("/modules"), to + QStringLiteral("/modules")) ||
        !QFile::copy(buildBin() + QStringLiteral("/q7config"), to + QStringLiteral("/q7config")))
        return false;
    if (!fastAnimations)
        return true;
    // The fast animation setting (option 3 of the configuration) keeps journeys short.
    QFile config(to + QStringLiteral("/modules/setting/apConfig.bin"));
    if (!config.open(QIODevice::ReadWrite))
        return false;
    QByteArray text = config.readAll();
    if (!text.contains("\n3=0\n"))
        return false;
    text.replace("\n3=0\n", "\n3=1\n");
    config.resize(0);
    return config.write(text) == text.size();
}

bool Journey::startServer() {
    // -displayfd picks a free display number and reports it on the descriptor given.
    xserver.start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                   QStringLiteral("+extension"), QStringLiteral("GLX"),
                   QStringLiteral("+extension"), QStringLiteral("RENDER"),
                   QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
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
    return !windowManager || startWindowManager();
}

bool Journey::startWindowManager() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString home = dir.filePath(QStringLiteral("wm-home"));
    QDir().mkpath(home);
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    wm.setProcessEnvironment(env);
    wm.setProcessChannelMode(QProcess::MergedChannels);
    wm.setStandardOutputFile(dir.filePath(QStringLiteral("wm.log")));
    wm.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!wm.waitForStarted(10000))
        return fail(QStringLiteral("openbox did not start (scripts/install-deps.sh installs it)"));
    const QByteArray name8 = display.toLatin1();
    QDeadlineTimer deadline(15000);
    while (!windowManagerRunning(name8.constData())) {
        if (deadline.hasExpired() || wm.state() == QProcess::NotRunning)
            return fail(QStringLiteral("openbox did not take the screen"));
        QThread::msleep(pollMs);
    }
    return true;
}

QProcessEnvironment Journey::programEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString home = dir.filePath(QStringLiteral("home"));
    const QString runtime = dir.filePath(QStringLiteral("runtime"));
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(VIRTUALMOUSE_LIB " " TESTHOOK_LIB));
    env.insert(QStringLiteral("VIRTUAL_MOUSE_STATE"), dir.filePath(QStringLiteral("mouse.txt")));
    env.insert(QStringLiteral("VIRTUAL_MOUSE_LOG"), dir.filePath(QStringLiteral("traffic.txt")));
    env.insert(QStringLiteral("Q7_TEST_GEOMETRY"), dir.filePath(QStringLiteral("hook")));
    return env;
}

int Journey::runProgram(const QStringList &arguments, QByteArray *output) {
    QProcess other;
    QProcessEnvironment env = programEnvironment();
    // The hook's socket is the running copy's.
    env.remove(QStringLiteral("Q7_TEST_GEOMETRY"));
    other.setProcessEnvironment(env);
    other.setProcessChannelMode(QProcess::MergedChannels);
    other.start(programDir() + QStringLiteral("/q7config"), arguments);
    if (!other.waitForStarted(10000) || !other.waitForFinished(30000)) {
        other.kill();
        other.waitForFinished(5000);
        return -1;
    }
    if (output)
        *output = other.readAll();
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
    if (!waitShown(QStringLiteral("fnEntry3"), 30000))
        return fail(QStringLiteral("the window did not come up: ") + lastError);
    return true;
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
        program.kill();
        program.waitForFinished(5000);
        return fail(QStringLiteral("the program did not end after its close button"));
    }
    if (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0)
        return fail(QStringLiteral("the program ended with code %1").arg(program.exitCode()));
    return true;
}

bool Journey::killProgram() {
    if (program.state() == QProcess::NotRunning)
        return fail(QStringLiteral("the program is not running"));
    program.kill(); // SIGKILL
    if (!program.waitForFinished(10000))
        return fail(QStringLiteral("the program did not end after SIGKILL"));
    return true;
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
            windowOrigin = QPoint(w[1].toInt(), w[2].toInt());
            handled = w[6].toULongLong();
            windowSize = QSize(w[3].toInt(), w[4].toInt());
            if (viewEnabled)
                *viewEnabled = w[5] == "1";
        } else if (w.value(0) == "item" && w.size() == 8) {
            out.append({QString::fromUtf8(w[1]),
                        QRect(w[2].toInt(), w[3].toInt(), w[4].toInt(), w[5].toInt()),
                        w[6].toDouble(), w[7] == "1"});
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
    const QByteArray answer =
        ask("property " + objectName.toUtf8() + ' ' + prop.toUtf8()).chopped(4);
    if (!answer.startsWith("value "))
        return {};
    QByteArray text = answer.mid(6).chopped(1);
    text.replace("\\n", "\n").replace("\\\\", "\\");
    return QString::fromUtf8(text);
}

bool Journey::settle(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        items();
        if (handled >= sent)
            return true;
        if (deadline.hasExpired())
            return fail(QStringLiteral("the window has handled %1 of %2 clicks and keys")
                            .arg(handled)
                            .arg(sent));
        QThread::msleep(pollMs);
    }
}

bool Journey::waitFor(const std::function<bool()> &done, int timeoutMs) {
    if (!settle())
        return false;
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (done())
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(pollMs);
    }
}

bool Journey::waitShown(const QString &objectName, int timeoutMs) {
    std::optional<QRect> previous;
    QString seen = QStringLiteral("not shown");
    const bool ok = waitFor(
        [&] {
            bool viewEnabled = false;
            const QList<Item> all = items(&viewEnabled);
            for (const Item &i : all) {
                if (i.name != objectName)
                    continue;
                seen = QStringLiteral("at %1,%2 %3x%4 opacity %5 %6 %7")
                           .arg(i.rect.x())
                           .arg(i.rect.y())
                           .arg(i.rect.width())
                           .arg(i.rect.height())
                           .arg(i.opacity)
                           .arg(i.enabled ? "enabled" : "disabled")
                           .arg(viewEnabled ? "" : "(view busy)");
                const bool still = previous == i.rect;
                previous = i.rect;
                return still && viewEnabled && i.enabled && i.opacity > 0.99;
            }
            previous.reset();
            return false;
        },
        timeoutMs);
    if (!ok)
        fail(objectName + QStringLiteral(" is not ready: ") + seen);
    return ok;
}

bool Journey::waitGone(const QString &objectName, int timeoutMs) {
    return waitFor([&] { return !item(objectName); }, timeoutMs) ||
           fail(objectName + QStringLiteral(" is still shown"));
}

bool Journey::waitIdle(int timeoutMs) {
    return waitFor(
               [&] {
                   bool viewEnabled = false;
                   items(&viewEnabled);
                   return viewEnabled;
               },
               timeoutMs) ||
           fail(QStringLiteral("the view stays busy"));
}

QPoint Journey::toScreen(const QPoint &windowPos) { return windowOrigin + windowPos; }

void Journey::moveTo(const QPoint &windowPos) {
    const QPoint p = toScreen(windowPos);
    x->moveTo(p.x(), p.y());
}

void Journey::clickAt(const QPoint &windowPos, unsigned button) {
    moveTo(windowPos);
    x->click(button);
    ++sent;
}

bool Journey::click(const QString &objectName, double fx, double fy) {
    if (!waitShown(objectName))
        return false;
    const std::optional<Item> i = item(objectName);
    if (!i)
        return fail(objectName + QStringLiteral(" went away"));
    clickAt(QPoint(i->rect.x() + qBound(0, int(fx * i->rect.width()), i->rect.width() - 1),
                   i->rect.y() + qBound(0, int(fy * i->rect.height()), i->rect.height() - 1)));
    return settle();
}

bool Journey::clickIn(const QString &objectName, const QPoint &offset) {
    if (!waitShown(objectName))
        return false;
    const std::optional<Item> i = item(objectName);
    if (!i)
        return fail(objectName + QStringLiteral(" went away"));
    clickAt(i->rect.topLeft() + offset);
    return settle();
}

bool Journey::enter(const QString &objectName, const QString &text) {
    if (!click(objectName))
        return false;
    chord(ControlL, 'a');
    if (text.isEmpty())
        key(BackSpace);
    type(text);
    key(Return);
    return true;
}

bool Journey::rightClick(const QString &objectName) {
    if (!waitShown(objectName))
        return false;
    const std::optional<Item> i = item(objectName);
    if (!i)
        return fail(objectName + QStringLiteral(" went away"));
    clickAt(i->rect.center(), 3);
    return settle();
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
            chord(ShiftL, ascii + 32);
        else if (QByteArray("!@#$%^&*()_+{}|:\"<>?~").contains(ascii))
            chord(ShiftL, ascii);
        else
            key(ascii);
    }
}

vmouse::State Journey::mouse() const {
    vmouse::State s;
    vmouse::loadStateFile(dir.filePath(QStringLiteral("mouse.txt")).toStdString(), s);
    return s;
}

bool Journey::waitMouse(const std::function<bool(const vmouse::State &)> &done, int timeoutMs) {
    return waitFor([&] { return done(mouse()); }, timeoutMs) ||
           fail(QStringLiteral("the mouse did not reach the expected state"));
}

bool Journey::waitMouse(const vmouse::State &expected, int timeoutMs) {
    return waitFor([&] { return sameMouse(mouse(), expected); }, timeoutMs) ||
           fail(QStringLiteral("the mouse differs from the expected state:\n") +
                mouseDifferences(expected, mouse()));
}

QList<Journey::Exchange> Journey::traffic(int from) const {
    QFile f(dir.filePath(QStringLiteral("traffic.txt")));
    QList<Exchange> out;
    if (!f.open(QIODevice::ReadOnly))
        return out;
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> w = line.split(' ');
        if (w.size() < 3)
            continue;
        Exchange e;
        e.kind = QString::fromLatin1(w[0]);
        e.path = QString::fromLatin1(w[1]);
        e.result = w[2].toInt();
        const qsizetype bar = w.indexOf("|");
        e.bytes = hexBytes(w, 3, bar < 0 ? w.size() : bar);
        if (bar >= 0 && w.value(bar + 1) == "clear")
            e.clear = hexBytes(w, bar + 2, w.size());
        out.append(e);
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

QString Journey::screenshot(const QString &tag) {
    return screenshot(tag, windowRect());
}

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
    const QString path =
        folder + QLatin1Char('/') + name + QLatin1Char('-') + tag + QStringLiteral(".png");
    return !image.isNull() && image.save(path) ? path : QString();
}

std::optional<Journey::Dialog> Journey::dialog() {
    const QByteArray answer = ask("dialog");
    if (!answer.startsWith("dialog "))
        return std::nullopt;
    auto unescape = [](QByteArray text) {
        return QString::fromUtf8(text.replace("\\n", "\n").replace("\\\\", "\\"));
    };
    auto rectAt = [](const QList<QByteArray> &w, int i) {
        return QRect(w[i].toInt(), w[i + 1].toInt(), w[i + 2].toInt(), w[i + 3].toInt());
    };
    Dialog d;
    for (const QByteArray &line : answer.split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (w[0] == "dialog" && w.size() == 11) {
            d.frame = rectAt(w, 1);
            d.client = rectAt(w, 5);
            d.modal = w[9] == "1";
            d.transient = w[10] == "1";
        } else if (w[0] == "title") {
            d.title = unescape(line.mid(6));
        } else if (w[0] == "folder") {
            d.folder = unescape(line.mid(7));
        } else if (w[0] == "popup") {
            d.popup = true;
        } else if (w[0] == "text" && w.size() >= 6) {
            // The text is what follows the sixth space, spaces and all.
            qsizetype space = -1;
            for (int k = 0; k < 6 && (k == 0 || space >= 0); ++k)
                space = line.indexOf(' ', space + 1);
            d.texts.append({QString::fromUtf8(w[1]), rectAt(w, 2),
                            space < 0 ? QString() : unescape(line.mid(space + 1))});
        }
    }
    return d;
}

std::optional<Journey::Dialog> Journey::waitDialog(const QString &title, int timeoutMs) {
    std::optional<Dialog> found, previous;
    const bool ok = waitFor(
        [&] {
            previous = found;
            found = dialog();
            return found && found->title == title && previous &&
                   previous->frame == found->frame && !found->frame.isEmpty();
        },
        timeoutMs);
    if (!ok) {
        fail(QStringLiteral("no dialog \"%1\" came up (%2)")
                 .arg(title, found ? QStringLiteral("\"") + found->title + QLatin1Char('"')
                                   : QStringLiteral("none")));
        return std::nullopt;
    }
    return found;
}

void Journey::shortcut(unsigned long keysym, unsigned long modifier) {
    if (modifier != 0)
        press(modifier, true);
    key(keysym);
    if (modifier != 0)
        press(modifier, false);
    --sent;
}
