#include "ActiveWindowSource.h"
#include "DesktopSessions.h"
#include "linux/GnomeShellActiveWindowSource.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>
#include <QMutex>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QXmlStreamReader>

namespace {

const QString busName = QStringLiteral("org.q7config.ActiveWindow");
const QString objectPath = QStringLiteral("/org/q7config/ActiveWindow");

// A window as the extension sends it, in the order its interface file declares.
QVariantList window(const QString &wmClass, const QString &instance = {},
                    const QString &appId = {}, qint64 pid = 0) {
    return {wmClass, instance, appId, QVariant::fromValue(uint(pid))};
}

// Plays the extension on the private bus, in a thread of its own: the source's start()
// waits for the answer without running the event loop of the thread it is called on.
class StandIn : public QDBusVirtualObject {
public:
    enum Mode { Answer, Refuse, Hang };

    void set(const QVariantList &w, Mode m = Answer) {
        QMutexLocker lock(&mutex);
        focused = w;
        mode = m;
    }
    QString introspect(const QString &) const override { return {}; } // nobody asks
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override {
        if (message.interface() != busName || message.member() != "GetFocusedWindow")
            return false;
        QMutexLocker lock(&mutex);
        if (mode == Hang)
            return true;
        if (mode == Refuse)
            return connection.send(
                message.createErrorReply(QDBusError::Failed, QStringLiteral("no")));
        return connection.send(message.createReply(focused));
    }

private:
    QMutex mutex;
    QVariantList focused;
    Mode mode = Answer;
};

} // namespace

class GnomeShellTest : public QObject {
    Q_OBJECT
private:
    PrivateBus bus;
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
    // From the extension's connection unless another one is named.
    void emitFocus(const QVariantList &args, const QString &from = {}) {
        QDBusMessage signal = QDBusMessage::createSignal(objectPath, busName, "FocusChanged");
        signal.setArguments(args);
        QVERIFY(QDBusConnection(from.isEmpty() ? serviceConnection : from).send(signal));
    }
    // Returns once the client has received all that the sender sent before: a connection's
    // messages keep their order, and the ping's answer is the last of them.
    void flush(QDBusConnection from) {
        const QDBusMessage reply = client().call(QDBusMessage::createMethodCall(
            from.baseService(), QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.Peer"),
            QStringLiteral("Ping")));
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    }

    // The next report; anything skipped before it would be in the spy ahead of it.
    static ActiveWindowInfo next(QSignalSpy &spy, int timeoutMs = 5000) {
        if (spy.isEmpty() && !spy.wait(timeoutMs))
            return {};
        return spy.takeFirst().at(0).value<ActiveWindowInfo>();
    }

private Q_SLOTS:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("needs dbus-daemon (package dbus-daemon)");
        QVERIFY(bus.start());
        QVERIFY(QDBusConnection::connectToBus(bus.address, QStringLiteral("client")).isConnected());
        standIn = std::make_unique<StandIn>();
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

    // The extension exports its interface file as it is: the method answers what the signal
    // says, both in the order the stand-in sends and the source reads.
    void theInterfaceFileDeclaresWhatTheStandInSends() {
        QFile file(qEnvironmentVariable("Q7_SOURCE_DIR") +
                   "/packaging/gnome-shell/active-window@q7config.org/org.q7config.ActiveWindow.xml");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QStringList declared;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() != QLatin1String("node"))
                declared << QStringLiteral("%1 %2 %3")
                                .arg(xml.name(), xml.attributes().value("name"),
                                     xml.attributes().value("type"))
                                .trimmed();
        }
        const QStringList window = {"arg wm_class s", "arg wm_class_instance s", "arg app_id s",
                                    "arg pid u"};
        const QStringList expected = QStringList{"interface " + busName, "method GetFocusedWindow"} +
                                     window + QStringList{"signal FocusChanged"} + window;
        QCOMPARE(declared, expected);
    }

    // From the start on, through the extension turned off and on, the shell restarting, and
    // others sending what the extension would not.
    void reportsTheFocusedWindowAtStartAndEachChange() {
        standIn->set(window(QStringLiteral("Gedit"), QStringLiteral("gedit"),
                            QStringLiteral("org.gnome.gedit.desktop"), bus.pid()));
        QVERIFY(!GnomeShellActiveWindowSource::available(client()));
        QVERIFY(serve());
        QVERIFY(GnomeShellActiveWindowSource::available(client()));

        GnomeShellActiveWindowSource source(client());
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
        QCOMPARE(next(spy).windowClass, QStringLiteral("org.example.Tool"));
        QCOMPARE(spy.count(), 0);

        // Stopped, it reports nothing more; started again, the focused window at once.
        source.stop();
        emitFocus(window(QStringLiteral("Late")));
        flush(service());
        QVERIFY(source.start());
        QCOMPARE(next(spy).windowClass, QStringLiteral("Gedit"));
        emitFocus(window(QStringLiteral("Marker")));
        QCOMPARE(next(spy).windowClass, QStringLiteral("Marker"));

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

        // Anything on the bus may send; only the extension's exact arguments from the name's
        // owner are believed.
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
            emitFocus(args);
        // Another client sending the extension's signal from the extension's path.
        QDBusConnection intruder =
            QDBusConnection::connectToBus(bus.address, QStringLiteral("intruder"));
        emitFocus(QVariantList{s, s, s, 5u}, QStringLiteral("intruder"));
        flush(intruder);
        QDBusConnection::disconnectFromBus(QStringLiteral("intruder"));

        const QString longest(256, QLatin1Char('y'));
        emitFocus(window(longest));
        QCOMPARE(next(spy).windowClass, longest);
        QCOMPARE(spy.count(), 0);
    }

    // No extension, one that refuses or never answers, no bus at all.
    void startFails_data() {
        QTest::addColumn<int>("mode"); // the stand-in's; -1: not on the bus
        QTest::addColumn<bool>("connected");
        QTest::newRow("absent") << -1 << true;
        QTest::newRow("refusing") << int(StandIn::Refuse) << true;
        QTest::newRow("hung") << int(StandIn::Hang) << true;
        QTest::newRow("no bus") << -1 << false;
    }
    void startFails() {
        QFETCH(int, mode);
        QFETCH(bool, connected);
        if (mode >= 0) {
            standIn->set(window(QStringLiteral("X")), StandIn::Mode(mode));
            QVERIFY(serve());
        }
        const QDBusConnection program = connected ? client() : QDBusConnection("none");
        GnomeShellActiveWindowSource source(program);
        QCOMPARE(failedStartKeepsNothing(source, program), QString());
    }

    // The extension in the shell it was written for: the window a user focuses is the one
    // reported, and again once the extension is turned off and on.
    void followsTheRealShell() {
        const std::unique_ptr<RealDesktop> real = RealDesktop::create(QStringLiteral("gnome-shell"));
        if (const QString why = real->missing(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY2(real->start(), real->log().constData());
        QDBusConnection shellBus = real->bus().connect();

        GnomeShellActiveWindowSource source(shellBus);
        QSignalSpy spy(&source, &ActiveWindowSource::activeWindowChanged);
        QVERIFY(source.start());
        QCOMPARE(spy.count(), 0); // no window yet

        // Its focus moving on between windows is the follow journey's.
        const QString first = real->clients()[0];
        const qint64 firstPid = real->open(first)->processId();
        const ActiveWindowInfo info = next(spy, 30000);
        QCOMPARE(info.windowClass, first);
        QCOMPARE(info.pid, firstPid);
        QCOMPARE(info.executable, ActiveWindowSource::executableOf(firstPid));
        QVERIFY(!info.executable.isEmpty());

        // Turned off, the extension lets its name go; turned on, the source hears from it again.
        const auto extension = [&](const char *method) {
            return shellBus.call(shellCall("org.gnome.Shell.Extensions", method,
                                           {"active-window@q7config.org"}))
                       .type() == QDBusMessage::ReplyMessage;
        };
        QVERIFY(extension("DisableExtension"));
        QTRY_VERIFY_WITH_TIMEOUT(!GnomeShellActiveWindowSource::available(shellBus), 10000);
        QVERIFY(extension("EnableExtension"));
        QCOMPARE(next(spy, 30000).windowClass, first); // the shell takes its time
    }
};

QTEST_GUILESS_MAIN(GnomeShellTest)
#include "tst_platform_gnomeshell.moc"
