#include "ActiveWindowSource.h"
#include "PrivateBus.h"
#include "linux/GnomeShellActiveWindowSource.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QXmlStreamReader>

namespace {

const QString busName = QStringLiteral("org.q7config.ActiveWindow");
const QString objectPath = QStringLiteral("/org/q7config/ActiveWindow");

QString extensionDir() {
    return qEnvironmentVariable("Q7_SOURCE_DIR") +
           QStringLiteral("/packaging/gnome-shell/active-window@q7config.org");
}

// The interface as the extension's XML file describes it: the stand-in serves exactly that.
struct Interface {
    QString name, method, signal;
    QList<QPair<QString, QString>> methodOut, signalArgs; // argument name, D-Bus type
};

Interface readInterface() {
    Interface iface;
    QFile file(extensionDir() + QStringLiteral("/org.q7config.ActiveWindow.xml"));
    if (!file.open(QIODevice::ReadOnly))
        return iface;
    QXmlStreamReader xml(&file);
    QList<QPair<QString, QString>> *args = nullptr;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("interface")) {
            iface.name = a.value(QLatin1String("name")).toString();
        } else if (xml.name() == QLatin1String("method")) {
            iface.method = a.value(QLatin1String("name")).toString();
            args = &iface.methodOut;
        } else if (xml.name() == QLatin1String("signal")) {
            iface.signal = a.value(QLatin1String("name")).toString();
            args = &iface.signalArgs;
        } else if (xml.name() == QLatin1String("arg") && args &&
                   a.value(QLatin1String("direction")) != QLatin1String("in")) {
            args->append({a.value(QLatin1String("name")).toString(),
                          a.value(QLatin1String("type")).toString()});
        }
    }
    return iface;
}

// A window as the interface's arguments name it.
using Window = QVariantMap;

QVariantList toArguments(const QList<QPair<QString, QString>> &layout, const Window &window) {
    QVariantList out;
    for (const auto &[name, type] : layout) {
        if (type == QLatin1String("u"))
            out << QVariant::fromValue(window.value(name).toUInt());
        else
            out << window.value(name).toString();
    }
    return out;
}

// Plays the extension on the private bus, in a thread of its own: the source's start()
// waits for the answer without running the event loop of the thread it is called on.
class StandIn : public QDBusVirtualObject {
public:
    enum Mode { Answer, Refuse, Hang };
    explicit StandIn(Interface iface) : iface(std::move(iface)) {}

    void set(const Window &w, Mode m = Answer) {
        QMutexLocker lock(&mutex);
        window = w;
        mode = m;
    }
    QString introspect(const QString &) const override { return {}; } // nobody asks
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override {
        if (message.interface() != iface.name || message.member() != iface.method)
            return false;
        QMutexLocker lock(&mutex);
        if (mode == Hang)
            return true;
        if (mode == Refuse)
            return connection.send(
                message.createErrorReply(QDBusError::Failed, QStringLiteral("no")));
        return connection.send(message.createReply(toArguments(iface.methodOut, window)));
    }

private:
    const Interface iface;
    QMutex mutex;
    Window window;
    Mode mode = Answer;
};

Window window(const QString &wmClass, const QString &instance = {}, const QString &appId = {},
              qint64 pid = 0) {
    return {{QStringLiteral("wm_class"), wmClass},
            {QStringLiteral("wm_class_instance"), instance},
            {QStringLiteral("app_id"), appId},
            {QStringLiteral("pid"), pid}};
}

// GNOME Shell itself, headless, on buses of its own. It needs a system bus only to find none
// of the services it asks there (logind, accounts) and carry on, hence a second private bus.
struct RealShell {
    QTemporaryDir root;
    PrivateBus systemBus, sessionBus;
    QProcess shell;
    QString display = QStringLiteral("q7shell");

    QString path(const char *sub) const {
        return root.path() + QLatin1Char('/') + QLatin1String(sub);
    }
    QProcessEnvironment environment() const {
        // Folders of its own even when the test is run by hand, outside the isolated run.
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
    // The extension installed for this user and enabled in the settings the shell reads.
    bool start() {
        if (!root.isValid() || !systemBus.start() || !sessionBus.start())
            return false;
        const QString uuid = QStringLiteral("active-window@q7config.org");
        const QString installed = path("data/gnome-shell/extensions/") + uuid;
        QDir().mkpath(installed);
        QDir().mkpath(path("config/glib-2.0/settings"));
        for (const QString &f : QDir(extensionDir()).entryList(QDir::Files))
            QFile::copy(extensionDir() + QLatin1Char('/') + f, installed + QLatin1Char('/') + f);
        QFile keyfile(path("config/glib-2.0/settings/keyfile"));
        if (!keyfile.open(QIODevice::WriteOnly))
            return false;
        keyfile.write("[org/gnome/shell]\nenabled-extensions=['" + uuid.toUtf8() + "']\n");
        keyfile.close();
        shell.setProcessEnvironment(environment());
        shell.setProcessChannelMode(QProcess::MergedChannels);
        shell.setStandardOutputFile(path("shell.log"));
        shell.start(QStringLiteral("gnome-shell"),
                    {QStringLiteral("--headless"), QStringLiteral("--wayland"),
                     QStringLiteral("--no-x11"), QStringLiteral("--virtual-monitor"),
                     QStringLiteral("1280x800"), QStringLiteral("--wayland-display"), display});
        return shell.waitForStarted();
    }
    QByteArray log() const {
        QFile f(path("shell.log"));
        return f.open(QIODevice::ReadOnly) ? f.readAll().right(4000) : QByteArray();
    }
    ~RealShell() {
        shell.terminate();
        if (!shell.waitForFinished(10000))
            shell.kill();
        shell.waitForFinished();
    }
};

QDBusMessage shellCall(const QString &interface, const QString &method, const QVariantList &args) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.Shell"), QStringLiteral("/org/gnome/Shell"), interface, method);
    call.setArguments(args);
    return call;
}

} // namespace

class GnomeShellTest : public QObject {
    Q_OBJECT
private:
    PrivateBus bus;
    Interface iface;
    QThread serviceThread;
    std::unique_ptr<StandIn> standIn;
    int generation = 0;
    QString serviceConnection;

    QDBusConnection client() { return QDBusConnection(QStringLiteral("client")); }
    QDBusConnection service() { return QDBusConnection(serviceConnection); }

    // Brings the stand-in up on a fresh connection, as a shell (re)starting does.
    bool serve() {
        serviceConnection = QStringLiteral("service%1").arg(++generation);
        QDBusConnection c = QDBusConnection::connectToBus(bus.address, serviceConnection);
        return c.registerVirtualObject(objectPath, standIn.get()) && c.registerService(busName);
    }
    void unserve() {
        service().unregisterObject(objectPath);
        QDBusConnection::disconnectFromBus(serviceConnection);
    }
    void emitFocus(const QVariantList &args, QDBusConnection from) {
        QDBusMessage signal = QDBusMessage::createSignal(objectPath, iface.name, iface.signal);
        signal.setArguments(args);
        QVERIFY(from.send(signal));
    }
    void emitFocus(const Window &w) { emitFocus(toArguments(iface.signalArgs, w), service()); }
    // Returns once the client has received all that the sender sent before: a connection's
    // messages keep their order, and the ping's answer is the last of them.
    void flush(QDBusConnection from) {
        const QDBusMessage reply = client().call(QDBusMessage::createMethodCall(
            from.baseService(), QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.Peer"),
            QStringLiteral("Ping")));
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    }

    // The next report; anything skipped before it would be in the spy ahead of it.
    static ActiveWindowInfo next(QSignalSpy &spy) {
        if (spy.isEmpty() && !spy.wait(5000))
            return {};
        return spy.takeFirst().at(0).value<ActiveWindowInfo>();
    }

private Q_SLOTS:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("needs dbus-daemon (package dbus-daemon)");
        QVERIFY(bus.start());
        QVERIFY(QDBusConnection::connectToBus(bus.address, QStringLiteral("client")).isConnected());
        iface = readInterface();
        QCOMPARE(iface.name, busName);
        standIn = std::make_unique<StandIn>(iface);
        standIn->moveToThread(&serviceThread);
        serviceThread.start();
    }

    void cleanupTestCase() {
        serviceThread.quit();
        serviceThread.wait();
    }

    void cleanup() {
        if (!serviceConnection.isEmpty())
            unserve();
        serviceConnection.clear();
    }

    // The method answers what the signal says, in the same order: the source reads both alike.
    void theInterfaceAnswersAndSignalsTheSameWindow() {
        QCOMPARE(iface.methodOut, iface.signalArgs);
        QStringList types;
        for (const auto &arg : iface.signalArgs)
            types << arg.second;
        QCOMPARE(types.join(QString()), QStringLiteral("sssu"));
        QVERIFY(!iface.method.isEmpty() && !iface.signal.isEmpty());
    }

    void reportsTheFocusedWindowAtStartAndEachChange() {
        standIn->set(window(QStringLiteral("Gedit"), QStringLiteral("gedit"),
                            QStringLiteral("org.gnome.gedit.desktop"), bus.pid()));
        QVERIFY(!GnomeShellActiveWindowSource::available(client()));
        QVERIFY(serve());
        QVERIFY(GnomeShellActiveWindowSource::available(client()));

        GnomeShellActiveWindowSource source(client());
        QCOMPARE(source.kind(), QStringLiteral("gnome-shell"));
        QSignalSpy spy(&source, &ActiveWindowSource::activeWindowChanged);
        QVERIFY(source.start());
        QCOMPARE(spy.count(), 1);
        ActiveWindowInfo info = next(spy);
        QCOMPARE(info.windowClass, QStringLiteral("Gedit"));
        QCOMPARE(info.instance, QStringLiteral("gedit"));
        QCOMPARE(info.executable, QStringLiteral("dbus-daemon")); // a process of known name
        QCOMPARE(info.pid, bus.pid());

        // A native Wayland window: mutter gives its app id as the class, with no pid known.
        emitFocus(window(QStringLiteral("org.mozilla.firefox")));
        info = next(spy);
        QCOMPARE(info.windowClass, QStringLiteral("org.mozilla.firefox"));
        QVERIFY(info.executable.isEmpty());

        // This program's own window and one naming nothing are skipped: the next report is
        // the one after them.
        emitFocus(window(QStringLiteral("q7config"), QStringLiteral("q7config"), QString(),
                         QCoreApplication::applicationPid()));
        emitFocus(window(QString()));
        // A window that set no class is still known by its desktop file.
        emitFocus(window(QString(), QString(), QStringLiteral("org.example.Tool.desktop")));
        info = next(spy);
        QCOMPARE(info.windowClass, QStringLiteral("org.example.Tool"));
        QCOMPARE(spy.count(), 0);

        // Stopped, it reports nothing more; started again, the focused window at once.
        source.stop();
        emitFocus(window(QStringLiteral("Late")));
        flush(service());
        QVERIFY(source.start());
        QCOMPARE(next(spy).windowClass, QStringLiteral("Gedit"));
        emitFocus(window(QStringLiteral("Marker")));
        QCOMPARE(next(spy).windowClass, QStringLiteral("Marker"));
        QCOMPARE(spy.count(), 0);
    }

    // Anything on the bus may send; only the extension's exact arguments from the name's
    // owner are believed.
    void ignoresWhatTheExtensionWouldNotSend() {
        standIn->set(window(QString()));
        QVERIFY(serve());
        GnomeShellActiveWindowSource source(client());
        QSignalSpy spy(&source, &ActiveWindowSource::activeWindowChanged);
        QVERIFY(source.start());

        const QString s = QStringLiteral("Wrong");
        const QString tooLong(257, QLatin1Char('x'));
        const QList<QVariantList> malformed = {{},
                                               {s, s, s},
                                               {s, s, s, 5u, s},
                                               {s, s, s, s},
                                               {s, s, s, 5},
                                               {s, s, s, qlonglong(5)},
                                               {5u, s, s, 5u},
                                               {QVariant::fromValue(QStringList{s}), s, s, 5u},
                                               {tooLong, s, s, 5u},
                                               {s, tooLong, s, 5u},
                                               {s, s, tooLong, 5u}};
        for (const QVariantList &args : malformed)
            emitFocus(args, service());
        // Another client sending the extension's signal from the extension's path.
        QDBusConnection intruder =
            QDBusConnection::connectToBus(bus.address, QStringLiteral("intruder"));
        emitFocus(QVariantList{s, s, s, 5u}, intruder);
        flush(intruder);
        QDBusConnection::disconnectFromBus(QStringLiteral("intruder"));

        const QString longest(256, QLatin1Char('y'));
        emitFocus(window(longest));
        QCOMPARE(next(spy).windowClass, longest);
        QCOMPARE(spy.count(), 0);
    }

    void followsTheExtensionAwayAndBack() {
        standIn->set(window(QStringLiteral("First")));
        QVERIFY(serve());
        GnomeShellActiveWindowSource source(client());
        QSignalSpy spy(&source, &ActiveWindowSource::activeWindowChanged);
        QVERIFY(source.start());
        QCOMPARE(next(spy).windowClass, QStringLiteral("First"));

        // Disabled: the name goes, the object stays on a connection that no longer owns it.
        QVERIFY(service().unregisterService(busName));
        QTRY_VERIFY(!GnomeShellActiveWindowSource::available(client()));
        emitFocus(window(QStringLiteral("Orphan")));
        flush(service());
        // Enabled again: the window focused by then is reported without waiting for a change.
        standIn->set(window(QStringLiteral("Second")));
        QVERIFY(service().registerService(busName));
        QCOMPARE(next(spy).windowClass, QStringLiteral("Second"));
        QCOMPARE(spy.count(), 0);

        // The shell restarted: a new connection owns the name; its signals are the ones heard.
        unserve();
        standIn->set(window(QStringLiteral("Third")));
        QVERIFY(serve());
        QCOMPARE(next(spy).windowClass, QStringLiteral("Third"));
        emitFocus(window(QStringLiteral("Fourth")));
        QCOMPARE(next(spy).windowClass, QStringLiteral("Fourth"));
    }

    void startFailsWithoutAWorkingExtension() {
        GnomeShellActiveWindowSource absent(client());
        QVERIFY(!absent.start());

        QVERIFY(serve());
        standIn->set(window(QStringLiteral("X")), StandIn::Refuse);
        GnomeShellActiveWindowSource refused(client());
        QVERIFY(!refused.start());

        // A shell that does not answer costs the caller a moment, not the call's default 25 s.
        standIn->set(window(QStringLiteral("X")), StandIn::Hang);
        GnomeShellActiveWindowSource hung(client());
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!hung.start());
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));

        QVERIFY(!GnomeShellActiveWindowSource(QDBusConnection(QStringLiteral("none"))).start());
    }

    // The extension in the shell it was written for: the window a user focuses is the one
    // reported, through focus changes, closing, and the extension turned off and on.
    void followsTheRealShell() {
        for (const char *program : {"gnome-shell", "gjs"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("needs %1 (scripts/install-deps.sh)")
                                     .arg(QLatin1String(program))));
        }
        if (QProcess::execute(
                QStringLiteral("gjs"),
                {QStringLiteral("-c"),
                 QStringLiteral("imports.gi.versions.Gtk = '4.0'; imports.gi.Gtk;")}) != 0)
            QSKIP("needs GTK 4 for gjs (package gir1.2-gtk-4.0)");

        RealShell real;
        QVERIFY(real.start());
        QDBusConnection shellBus =
            QDBusConnection::connectToBus(real.sessionBus.address, QStringLiteral("shell"));
        QTRY_VERIFY2_WITH_TIMEOUT(GnomeShellActiveWindowSource::available(shellBus) ||
                                      real.shell.state() == QProcess::NotRunning,
                                  real.log().constData(), 60000);
        QVERIFY2(real.shell.state() == QProcess::Running, real.log().constData());

        // A session starts in the overview, which holds the keyboard focus until it closes.
        const QString props = QStringLiteral("org.freedesktop.DBus.Properties");
        const auto overviewShown = [&] {
            const QDBusMessage r = shellBus.call(
                shellCall(props, QStringLiteral("Get"),
                          {QStringLiteral("org.gnome.Shell"), QStringLiteral("OverviewActive")}));
            return r.type() == QDBusMessage::ReplyMessage &&
                   r.arguments().constFirst().value<QDBusVariant>().variant().toBool();
        };
        QTRY_VERIFY_WITH_TIMEOUT(overviewShown(), 30000);
        shellBus.call(
            shellCall(props, QStringLiteral("Set"),
                      {QStringLiteral("org.gnome.Shell"), QStringLiteral("OverviewActive"),
                       QVariant::fromValue(QDBusVariant(false))}));
        QTRY_VERIFY_WITH_TIMEOUT(!overviewShown(), 30000);

        GnomeShellActiveWindowSource source(shellBus);
        QSignalSpy spy(&source, &ActiveWindowSource::activeWindowChanged);
        QVERIFY(source.start());
        QCOMPARE(spy.count(), 0); // no window yet
        const auto nextClass = [&] { return next(spy).windowClass; };

        const QString script = qEnvironmentVariable("Q7_SOURCE_DIR") +
                               QStringLiteral("/tests/platform/gnomeshell_window.js");
        QProcess first, second;
        for (QProcess *client : {&first, &second}) {
            client->setProcessEnvironment(real.environment());
            client->setProcessChannelMode(QProcess::ForwardedChannels);
        }
        first.start(QStringLiteral("gjs"), {script, QStringLiteral("org.q7test.First")});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!spy.isEmpty(), 30000);
        const ActiveWindowInfo info = next(spy);
        QCOMPARE(info.windowClass, QStringLiteral("org.q7test.First"));
        QCOMPARE(info.pid, first.processId());
        QCOMPARE(info.executable, ActiveWindowSource::executableOf(first.processId()));
        QVERIFY(!info.executable.isEmpty());

        second.start(QStringLiteral("gjs"), {script, QStringLiteral("org.q7test.Second")});
        QVERIFY(second.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!spy.isEmpty(), 30000);
        QCOMPARE(nextClass(), QStringLiteral("org.q7test.Second"));
        // Closing the newer window gives the focus back to the older one.
        second.kill();
        second.waitForFinished();
        QTRY_VERIFY_WITH_TIMEOUT(!spy.isEmpty(), 30000);
        QCOMPARE(nextClass(), QStringLiteral("org.q7test.First"));

        // Turned off, the extension lets its name go; turned on, the source hears from it again.
        const QString extensions = QStringLiteral("org.gnome.Shell.Extensions");
        const QString uuid = QStringLiteral("active-window@q7config.org");
        QCOMPARE(
            shellBus.call(shellCall(extensions, QStringLiteral("DisableExtension"), {uuid})).type(),
            QDBusMessage::ReplyMessage);
        QTRY_VERIFY_WITH_TIMEOUT(!GnomeShellActiveWindowSource::available(shellBus), 10000);
        QCOMPARE(
            shellBus.call(shellCall(extensions, QStringLiteral("EnableExtension"), {uuid})).type(),
            QDBusMessage::ReplyMessage);
        QTRY_VERIFY_WITH_TIMEOUT(!spy.isEmpty(), 10000);
        QCOMPARE(nextClass(), QStringLiteral("org.q7test.First"));

        first.kill();
        first.waitForFinished();
        source.stop();
        QDBusConnection::disconnectFromBus(QStringLiteral("shell"));
    }
};

QTEST_GUILESS_MAIN(GnomeShellTest)
#include "tst_platform_gnomeshell.moc"
