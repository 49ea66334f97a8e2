// The running window on a session bus of the test's own: every method of its interface, the
// effect on the mouse and the profile file, the errors, and the signals that tell a change
// whoever made it.
#include "Journey.h"
#include "DesktopSessions.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace {
const QString service = QStringLiteral("org.q7config.q7config");
const QString path = QStringLiteral("/org/q7config/q7config");
const QString interface = QStringLiteral("org.q7config.q7config.Mouse");
const QString badArguments = QStringLiteral("org.q7config.q7config.Error.BadArguments");
// Bus calls wait while the window reads the mouse, as a command does.
constexpr int callTimeoutMs = 30000;
} // namespace

// What the program says on the bus, as another client hears it.
class Listener : public QObject {
    Q_OBJECT
public:
    struct Change {
        int current;
        QList<int> profiles;
    };
    QList<Change> changes;
    QList<QVariantMap> properties;

    bool listen(QDBusConnection &bus) {
        return bus.connect(service, path, interface, QStringLiteral("Changed"), this,
                           SLOT(changed(int, QList<int>))) &&
               bus.connect(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                           QStringLiteral("PropertiesChanged"), this,
                           SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    }
    bool heardChange(int current, const QList<int> &profiles) const {
        for (const Change &c : changes)
            if (c.current == current && c.profiles == profiles)
                return true;
        return false;
    }
    bool heardProperty(const QString &name, const QVariant &value) const {
        for (const QVariantMap &m : properties)
            if (m.contains(name) && m.value(name) == value)
                return true;
        return false;
    }

private Q_SLOTS:
    void changed(int current, const QList<int> &profiles) { changes.append({current, profiles}); }
    void propertiesChanged(const QString &name, const QVariantMap &changed, const QStringList &) {
        if (name == interface)
            properties.append(changed);
    }
};

class tst_journey_bus : public QObject {
    Q_OBJECT

    PrivateBus bus;
    QDBusConnection client{QString()};

    QDBusMessage call(const QString &method, const QVariantList &arguments = {}) {
        QDBusMessage m = QDBusMessage::createMethodCall(service, path, interface, method);
        m.setArguments(arguments);
        return client.call(m, QDBus::Block, callTimeoutMs);
    }
    QString answer(const QDBusMessage &reply) {
        return reply.type() == QDBusMessage::ReplyMessage
                   ? reply.arguments().value(0).toString()
                   : QStringLiteral("error: ") + reply.errorName() + ' ' + reply.errorMessage();
    }

private Q_SLOTS:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("dbus-daemon is not installed (package dbus-daemon)");
        QVERIFY(bus.start());
        // The program and the commands the journey runs join this bus, never the user's.
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address.toUtf8());
        client = bus.connect();
        QVERIFY(client.isConnected());
    }

    void methodsReachTheMouseAndSignalEveryChange() {
        Journey j(QStringLiteral("bus-methods"));
        JVERIFY(j.start());
        QTRY_VERIFY_WITH_TIMEOUT(client.interface()->isServiceRegistered(service).value(), 15000);
        Listener listener;
        QVERIFY(listener.listen(client));

        // The same status a command prints, and the properties agree with it.
        const int first = j.mouse().currentProfile;
        const QDBusMessage status = call(QStringLiteral("Status"));
        QCOMPARE(status.type(), QDBusMessage::ReplyMessage);
        QByteArray out;
        QCOMPARE(j.runProgram({"status", "--json"}, &out), 0);
        QCOMPARE(QJsonDocument::fromJson(status.arguments().value(0).toString().toUtf8()),
                 QJsonDocument::fromJson(out));
        QDBusMessage get = QDBusMessage::createMethodCall(
            service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("GetAll"));
        get << interface;
        const QVariantMap properties =
            qdbus_cast<QVariantMap>(client.call(get).arguments().value(0));
        QCOMPARE(properties.value(QStringLiteral("CurrentProfile")).toInt(), first);
        QCOMPARE(properties.value(QStringLiteral("MouseLinked")).toBool(), true);

        // A value through the bus: the mouse takes it, and the bus tells whoever listens.
        QCOMPARE(answer(call(QStringLiteral("SetValue"), {"rate", "125", 0})),
                 QStringLiteral("Profile %1: report rate 125 Hz.").arg(first));
        JVERIFY(j.waitMouse([&](const vmouse::State &s) { return s.reportRate[first] == 8; }));
        QTRY_VERIFY(listener.heardChange(first, {first}));

        // A switch through the bus goes through the profile menu and into the profile file.
        const int second = first == 3 ? 2 : 3;
        QVERIFY(answer(call(QStringLiteral("SetProfile"), {second})).startsWith("Switched"));
        JVERIFY(j.waitProfile(second) &&
                j.waitProperty("pfItem", "currentIndex", QString::number(second)));
        JVERIFY(j.waitFor(
            [&] { return j.setting("p_Q7.bin", "common/curProfile").toInt() == second; }));
        QTRY_VERIFY(listener.heardChange(second, {}));
        QTRY_VERIFY(listener.heardProperty(QStringLiteral("CurrentProfile"), second));

        // A command's change is told on the bus as well as the bus's own.
        listener.changes.clear();
        QCOMPARE(j.runProgram({"profile", "4"}), 0);
        QTRY_VERIFY(listener.heardChange(4, {}));
        QTRY_VERIFY(listener.heardProperty(QStringLiteral("CurrentProfile"), 4));
        QCOMPARE(j.runProgram({"set", "brightness", "2"}), 0);
        QTRY_VERIFY(listener.heardChange(4, {4}));

        // Export and import copy a profile's values, as the mouse holds them, onto the mouse.
        QCOMPARE(answer(call(QStringLiteral("SetValue"), {"rate", "250", second})),
                 QStringLiteral("Profile %1: report rate 250 Hz.").arg(second));
        const QString file =
            QDir::temp().filePath(QStringLiteral("q7-bus-%1.pf").arg(j.programPid()));
        QVERIFY(
            answer(call(QStringLiteral("ExportProfile"), {second, file})).startsWith("Profile"));
        QVERIFY(QFile::exists(file));
        QVERIFY(answer(call(QStringLiteral("ImportProfile"), {first, file})).startsWith("Profile"));
        QFile::remove(file);
        JVERIFY(j.waitMouse([&](const vmouse::State &s) { return s.reportRate[first] == 4; }));
        QTRY_VERIFY(listener.heardChange(4, {first}));

        // Refused calls name the fault, reach nothing and change nothing.
        const vmouse::State before = j.mouse();
        const QString statusBefore = answer(call(QStringLiteral("Status")));
        QFile profileFile(j.programDir() + QStringLiteral("/modules/setting/p_Q7.bin"));
        QVERIFY(profileFile.open(QIODevice::ReadOnly));
        const QByteArray fileBefore = profileFile.readAll();
        profileFile.close();
        const int mark = j.trafficMark();
        listener.changes.clear();
        const QList<std::pair<QString, QVariantList>> refused = {
            {"SetValue", {"rate", "333", 0}},
            {"SetValue", {"stage", "9", 0}},
            {"SetValue", {"speed", "3", 0}},
            {"SetValue", {"dpi", "800", 7}},
            {"SetProfile", {0}},
            {"SetProfile", {6}},
            {"ExportProfile", {2, "relative.pf"}},
            {"ImportProfile", {2, "/nonexistent.pf"}},
        };
        for (const auto &[method, arguments] : refused) {
            const QDBusMessage reply = call(method, arguments);
            QVERIFY2(reply.type() == QDBusMessage::ErrorMessage &&
                         reply.errorName() == badArguments,
                     qPrintable(method + ": " + answer(reply)));
            QVERIFY(!reply.errorMessage().isEmpty());
        }
        QVERIFY(!QFile::exists(QDir(j.programDir()).filePath(QStringLiteral("relative.pf"))));
        QVERIFY(j.commands(mark).isEmpty());
        QCOMPARE(j.mouse().reportRate, before.reportRate);
        QVERIFY(profileFile.open(QIODevice::ReadOnly));
        QCOMPARE(profileFile.readAll(), fileBefore);
        QCOMPARE(answer(call(QStringLiteral("Status"))), statusBefore);
        // The bus keeps one sender's messages in order: a change would come before this one.
        QCOMPARE(answer(call(QStringLiteral("SetProfile"), {1})),
                 QStringLiteral("Switched to profile 1."));
        QTRY_VERIFY(listener.heardChange(1, {}));
        QCOMPARE(listener.changes.size(), 1);
        JVERIFY(j.stop());
        // The program let its name go as it ended.
        QTRY_VERIFY(!client.interface()->isServiceRegistered(service).value());
    }

    // Without the mouse the change waits in the profile file, marked; the caller is told so
    // with its own error, and MouseLinked says so.
    void unpluggedKeepsTheChangeInTheFile() {
        qputenv("VIRTUAL_MOUSE_FAULTS", "absent");
        Journey j(QStringLiteral("bus-unplugged"));
        const bool started = j.start();
        qunsetenv("VIRTUAL_MOUSE_FAULTS");
        JVERIFY(started);
        QTRY_VERIFY_WITH_TIMEOUT(client.interface()->isServiceRegistered(service).value(), 15000);
        QDBusMessage get = QDBusMessage::createMethodCall(
            service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
        get << interface << QStringLiteral("MouseLinked");
        QCOMPARE(qdbus_cast<QDBusVariant>(client.call(get).arguments().value(0)).variant().toBool(),
                 false);
        const QJsonObject status =
            QJsonDocument::fromJson(answer(call(QStringLiteral("Status"))).toUtf8()).object();
        QCOMPARE(status.value("mouseFound").toBool(), false);

        const vmouse::State before = j.mouse();
        const QDBusMessage reply = call(QStringLiteral("SetValue"), {"rate", "250", 3});
        QCOMPARE(reply.errorName(), QStringLiteral("org.q7config.q7config.Error.NoMouse"));
        QVERIFY2(reply.errorMessage().contains("No mouse"), qPrintable(reply.errorMessage()));
        JVERIFY(j.waitFor([&] {
            return j.setting("p_Q7.bin", "other_fw/dirty").toStringList().value(3) == "true" &&
                   j.setting("p_Q7.bin", "other_fw/3").toStringList().value(1) == "4";
        }));
        QCOMPARE(j.mouse().reportRate, before.reportRate);
        JVERIFY(j.stop());
    }
};

QTEST_GUILESS_MAIN(tst_journey_bus)
#include "tst_journey_bus.moc"
