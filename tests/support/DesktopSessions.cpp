#include "DesktopSessions.h"

#include "linux/GnomeShellActiveWindowSource.h"
#include "linux/KWinActiveWindowSource.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <functional>

namespace {

// Polls with the event loop running: the tests' own D-Bus connections live on it.
bool waitUntil(const std::function<bool()> &done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return true;
}

void end(QProcess &p) {
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(10000))
        p.kill();
    p.waitForFinished();
}

QString sourceDir() { return qEnvironmentVariable("Q7_SOURCE_DIR"); }

bool installed(const char *program) {
    return !QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty();
}

// GNOME Shell itself, headless. It needs a system bus only to find none of the services it
// asks there (logind, accounts) and carry on, hence a second private bus.
class RealGnomeShell : public RealDesktop {
public:
    // Before its system bus goes.
    ~RealGnomeShell() override { stop(); }

    QString missing() const override {
        for (const char *program : {"dbus-daemon", "gnome-shell", "gjs"}) {
            if (!installed(program))
                return QStringLiteral("needs %1 (scripts/install-deps.sh)")
                    .arg(QLatin1String(program));
        }
        if (QProcess::execute(
                QStringLiteral("gjs"),
                {QStringLiteral("-c"),
                 QStringLiteral("imports.gi.versions.Gtk = '4.0'; imports.gi.Gtk;")}) != 0)
            return QStringLiteral("needs GTK 4 for gjs (package gir1.2-gtk-4.0)");
        return {};
    }

    QProcessEnvironment clientEnvironment() const override {
        // Folders of its own even when a test is run by hand, outside the isolated run.
        const QList<std::pair<const char *, QString>> values = {
            {"HOME", path("home")},
            {"XDG_RUNTIME_DIR", root.path()},
            {"XDG_CONFIG_HOME", path("config")},
            {"XDG_DATA_HOME", path("data")},
            {"XDG_CACHE_HOME", path("cache")},
            {"DBUS_SESSION_BUS_ADDRESS", sessionBus.address},
            {"DBUS_SYSTEM_BUS_ADDRESS", systemBus.address},
            {"GSETTINGS_BACKEND", "keyfile"},
            {"WAYLAND_DISPLAY", display},
            {"GDK_BACKEND", "wayland"},
            {"GSK_RENDERER", "cairo"}}; // GTK draws without the GPU the headless shell lacks
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const auto &[name, value] : values)
            env.insert(QLatin1String(name), value);
        env.remove(QStringLiteral("DISPLAY"));
        return env;
    }

    bool start() override {
        if (!root.isValid() || !systemBus.start() || !sessionBus.start() || !install())
            return false;
        if (!launch("gnome-shell",
                    {"--headless", "--wayland", "--no-x11", "--virtual-monitor", "1280x800",
                     "--wayland-display", display},
                    clientEnvironment()))
            return false;
        QDBusConnection bus = sessionBus.connect();
        if (!waitUntil([&] { return !running() || GnomeShellActiveWindowSource::available(bus); },
                       60000) ||
            !running())
            return false;
        // A session starts in the overview, which holds the keyboard focus until it closes.
        return waitUntil([&] { return overviewShown(bus); }, 30000) &&
               bus.call(shellCall(properties, QStringLiteral("Set"),
                                  {QStringLiteral("org.gnome.Shell"),
                                   QStringLiteral("OverviewActive"),
                                   QVariant::fromValue(QDBusVariant(false))}))
                       .type() == QDBusMessage::ReplyMessage &&
               waitUntil([&] { return !overviewShown(bus); }, 30000);
    }

    QStringList clients() const override {
        return {QStringLiteral("org.q7test.First"), QStringLiteral("org.q7test.Second")};
    }
    // Mutter gives a native window's app id as its class.
    QString windowClass(const QString &client) const override { return client; }

protected:
    void startClient(QProcess &process, const QString &client) override {
        process.start(QStringLiteral("gjs"),
                      {sourceDir() + QStringLiteral("/tests/platform/gnomeshell_window.js"),
                       client});
    }

private:
    const QString display = QStringLiteral("q7shell");
    const QString properties = QStringLiteral("org.freedesktop.DBus.Properties");
    PrivateBus systemBus;

    QString path(const char *sub) const { return root.filePath(QLatin1String(sub)); }

    bool overviewShown(QDBusConnection &bus) const {
        const QDBusMessage r = bus.call(shellCall(
            properties, QStringLiteral("Get"),
            {QStringLiteral("org.gnome.Shell"), QStringLiteral("OverviewActive")}));
        return r.type() == QDBusMessage::ReplyMessage &&
               r.arguments().constFirst().value<QDBusVariant>().variant().toBool();
    }

    // The extension installed for this user and enabled in the settings the shell reads.
    bool install() const {
        const QString uuid = QStringLiteral("active-window@q7config.org");
        const QString from = sourceDir() + QStringLiteral("/packaging/gnome-shell/") + uuid;
        const QString to = path("data/gnome-shell/extensions/") + uuid;
        QDir().mkpath(to);
        QDir().mkpath(path("config/glib-2.0/settings"));
        for (const QString &f : QDir(from).entryList(QDir::Files))
            QFile::copy(from + QLatin1Char('/') + f, to + QLatin1Char('/') + f);
        QFile keyfile(path("config/glib-2.0/settings/keyfile"));
        return keyfile.open(QIODevice::WriteOnly) &&
               keyfile.write("[org/gnome/shell]\nenabled-extensions=['" + uuid.toUtf8() +
                             "']\n") > 0;
    }
};

// Plasma 5.27's compositor without a screen.
class RealKWin : public RealDesktop {
public:
    QString missing() const override {
        if (!installed("dbus-daemon"))
            return QStringLiteral("needs dbus-daemon (package dbus-daemon)");
        if (!installed("kwin_wayland"))
            return QStringLiteral("kwin_wayland is not installed (package kwin-wayland)");
        if (!installed("weston-simple-shm") || !installed("weston-flower"))
            return QStringLiteral("the Wayland demo clients are not installed (package weston)");
        return {};
    }

    QProcessEnvironment clientEnvironment() const override {
        QProcessEnvironment env = compositorEnvironment();
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), socket);
        return env;
    }

    bool start() override {
        if (!root.isValid() || !sessionBus.start())
            return false;
        // The installed program carries a file capability that a container may refuse to
        // run; a copy has none. KWin's built-in platform plugin starts only in a program
        // named so.
        const QString copy = root.filePath(QStringLiteral("kwin_wayland"));
        if (!QFile::copy(QStandardPaths::findExecutable(QStringLiteral("kwin_wayland")), copy))
            return false;
        if (!launch(copy,
                    {"--virtual", "--socket", socket, "--no-lockscreen", "--no-global-shortcuts",
                     "--no-kactivities"},
                    compositorEnvironment()))
            return false;
        QDBusConnection bus = sessionBus.connect();
        return waitUntil([&] { return !running() || KWinActiveWindowSource::available(bus); },
                         30000) &&
               running();
    }

    QStringList clients() const override {
        return {QStringLiteral("weston-simple-shm"), QStringLiteral("weston-flower")};
    }
    // The demo clients name themselves org.freedesktop.weston.<program without "weston-">.
    QString windowClass(const QString &client) const override {
        return QStringLiteral("org.freedesktop.weston.") + client.mid(7);
    }

protected:
    void startClient(QProcess &process, const QString &client) override {
        process.start(QStandardPaths::findExecutable(client), QStringList());
    }

private:
    const QString socket = QStringLiteral("q7-kwin-%1").arg(QCoreApplication::applicationPid());

    QProcessEnvironment compositorEnvironment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), sessionBus.address);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.path());
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
        return env;
    }
};

} // namespace

QDBusMessage shellCall(const QString &interface, const QString &method, const QVariantList &args) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.Shell"), QStringLiteral("/org/gnome/Shell"), interface, method);
    call.setArguments(args);
    return call;
}

QString failedStartKeepsNothing(ActiveWindowSource &source, const QDBusConnection &program) {
    int reports = 0;
    QObject::connect(&source, &ActiveWindowSource::activeWindowChanged, [&] { ++reports; });
    QElapsedTimer clock;
    clock.start();
    if (source.start())
        return QStringLiteral("started");
    if (clock.elapsed() > 3000)
        return QStringLiteral("took %1 ms to fail").arg(clock.elapsed());
    QCoreApplication::processEvents();
    if (reports > 0)
        return QStringLiteral("reported a window");
    const QStringList names =
        program.isConnected() ? program.interface()->registeredServiceNames().value() : QStringList();
    for (const QString &name : names) {
        if (!name.startsWith(QLatin1Char(':')) &&
            program.interface()->serviceOwner(name).value() == program.baseService())
            return QStringLiteral("kept the name ") + name;
    }
    return {};
}

PrivateBus::~PrivateBus() {
    for (const QString &name : std::as_const(names))
        QDBusConnection::disconnectFromBus(name);
    daemon.kill();
    daemon.waitForFinished();
}

bool PrivateBus::start() {
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--nofork"),
                  QStringLiteral("--print-address")});
    if (!daemon.waitForStarted())
        return false;
    while (!daemon.canReadLine() && daemon.waitForReadyRead(10000)) {
    }
    address = QString::fromUtf8(daemon.readLine()).trimmed();
    return !address.isEmpty();
}

QDBusConnection PrivateBus::connect() {
    static int serial = 0;
    names << QStringLiteral("q7-private-bus-%1").arg(++serial);
    return QDBusConnection::connectToBus(address, names.last());
}

std::unique_ptr<RealDesktop> RealDesktop::create(const QString &kind) {
    if (kind == QLatin1String("gnome-shell"))
        return std::make_unique<RealGnomeShell>();
    if (kind == QLatin1String("kwin"))
        return std::make_unique<RealKWin>();
    return nullptr;
}

RealDesktop::~RealDesktop() { stop(); }

void RealDesktop::stop() {
    for (auto &[name, client] : clientProcesses) {
        client->kill();
        client->waitForFinished();
    }
    clientProcesses.clear();
    end(compositor);
}

bool RealDesktop::launch(const QString &program, const QStringList &arguments,
                         const QProcessEnvironment &environment) {
    compositor.setProcessEnvironment(environment);
    compositor.setProcessChannelMode(QProcess::MergedChannels);
    compositor.setStandardOutputFile(logFile());
    compositor.start(program, arguments);
    return compositor.waitForStarted();
}

QByteArray RealDesktop::log() const {
    QFile f(logFile());
    return f.open(QIODevice::ReadOnly) ? f.readAll().right(4000) : QByteArray();
}

QProcess *RealDesktop::open(const QString &client) {
    auto &process = clientProcesses[client];
    process = std::make_unique<QProcess>();
    process->setProcessEnvironment(clientEnvironment());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    startClient(*process, client);
    process->waitForStarted();
    return process.get();
}

void RealDesktop::close(const QString &client) {
    const auto it = clientProcesses.find(client);
    if (it == clientProcesses.end())
        return;
    it->second->kill();
    it->second->waitForFinished();
    clientProcesses.erase(it);
}
