// The running window on a session bus of the test's own: every method of its interface, the
// effect on the mouse and the profile file, the errors, and the signals that tell a change
// whoever made it.
#include "Journey.h"
#include "DesktopSessions.h"
#include "TestFiles.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>

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
        return std::any_of(changes.begin(), changes.end(), [&](const Change &c) {
            return c.current == current && c.profiles == profiles;
        });
    }
    bool heardProperty(const QString &name, const QVariant &value) const {
        return std::any_of(properties.begin(), properties.end(), [&](const QVariantMap &m) {
            return m.contains(name) && m.value(name) == value;
        });
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
    QVariant property(const QString &name) {
        QDBusMessage get = QDBusMessage::createMethodCall(
            service, path, QStringLiteral("org.freedesktop.DBus.Properties"), "Get");
        get << interface << name;
        return qdbus_cast<QDBusVariant>(client.call(get).arguments().value(0)).variant();
    }
    bool onTheBus() { return client.interface()->isServiceRegistered(service).value(); }

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
        QTRY_VERIFY_WITH_TIMEOUT(onTheBus(), 15000);
        Listener listener;
        QVERIFY(listener.listen(client));

        // The same status a command prints, and the properties agree with it.
        const int first = j.mouse().currentProfile;
        QByteArray out;
        QCOMPARE(j.runProgram({"status", "--json"}, &out), 0);
        const QJsonDocument status = QJsonDocument::fromJson(answer(call("Status")).toUtf8());
        QVERIFY(status.isObject());
        QCOMPARE(status, QJsonDocument::fromJson(out));
        QCOMPARE(property("CurrentProfile").toInt(), first);
        QCOMPARE(property("MouseLinked").toBool(), true);

        // A value through the bus: the mouse takes it, and the bus tells whoever listens.
        QCOMPARE(answer(call("SetValue", {"rate", "125", 0})),
                 QStringLiteral("Profile %1: report rate 125 Hz.").arg(first));
        JVERIFY(j.waitMouse([&](const vmouse::State &s) { return s.reportRate[first] == 8; }));
        QTRY_VERIFY(listener.heardChange(first, {first}));

        // A switch through the bus goes through the profile menu and into the profile file.
        const int second = first == 3 ? 2 : 3;
        QVERIFY(answer(call("SetProfile", {second})).startsWith("Switched"));
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
        QCOMPARE(answer(call("SetValue", {"rate", "250", second})),
                 QStringLiteral("Profile %1: report rate 250 Hz.").arg(second));
        const QString file = QDir::temp().filePath(QString("q7-bus-%1.pf").arg(j.programPid()));
        QVERIFY(answer(call("ExportProfile", {second, file})).startsWith("Profile"));
        QVERIFY(answer(call("ImportProfile", {first, file})).startsWith("Profile"));
        QFile::remove(file);
        JVERIFY(j.waitMouse([&](const vmouse::State &s) { return s.reportRate[first] == 4; }));
        QTRY_VERIFY(listener.heardChange(4, {first}));

        // Refused calls name the fault, reach nothing and change nothing.
        const vmouse::State before = j.mouse();
        const QString statusBefore = answer(call(QStringLiteral("Status")));
        const QString profileFile = j.programDir() + QStringLiteral("/modules/setting/p_Q7.bin");
        const QByteArray fileBefore = bytesOf(profileFile);
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
        QCOMPARE(bytesOf(profileFile), fileBefore);
        QCOMPARE(answer(call(QStringLiteral("Status"))), statusBefore);
        // The bus keeps one sender's messages in order: a change would come before this one.
        QCOMPARE(answer(call("SetProfile", {1})), QStringLiteral("Switched to profile 1."));
        QTRY_VERIFY(listener.heardChange(1, {}));
        QCOMPARE(listener.changes.size(), 1);
        JVERIFY(j.stop());
        // The program let its name go as it ended.
        QTRY_VERIFY(!onTheBus());
    }

    // Without the mouse the change waits in the profile file, marked, whether a bus call or a
    // command asked for it; each caller is told so in its own way, and MouseLinked says so.
    void unpluggedKeepsTheChangeInTheFile() {
        qputenv("VIRTUAL_MOUSE_FAULTS", "absent");
        Journey j(QStringLiteral("bus-unplugged"));
        const bool started = j.start();
        qunsetenv("VIRTUAL_MOUSE_FAULTS");
        JVERIFY(started);
        QTRY_VERIFY_WITH_TIMEOUT(onTheBus(), 15000);
        QCOMPARE(property("MouseLinked").toBool(), false);
        const QJsonObject status =
            QJsonDocument::fromJson(answer(call(QStringLiteral("Status"))).toUtf8()).object();
        QCOMPARE(status.value("mouseFound").toBool(), false);

        const vmouse::State before = j.mouse();
        const QDBusMessage reply = call(QStringLiteral("SetValue"), {"rate", "250", 3});
        QCOMPARE(reply.errorName(), QStringLiteral("org.q7config.q7config.Error.NoMouse"));
        QVERIFY2(reply.errorMessage().contains("No mouse"), qPrintable(reply.errorMessage()));
        QByteArray err;
        QCOMPARE(j.runProgram({"set", "rate", "500", "--profile", "2"}, nullptr, &err), 3);
        QVERIFY2(err.contains("No mouse"), err.constData());
        JVERIFY(j.waitFor([&] {
            const QStringList dirty = j.setting("p_Q7.bin", "other_fw/dirty").toStringList();
            return dirty.value(3) == "true" && dirty.value(2) == "true" &&
                   j.setting("p_Q7.bin", "other_fw/3").toStringList().value(1) == "4" &&
                   j.setting("p_Q7.bin", "other_fw/2").toStringList().value(1) == "2";
        }));
        QCOMPARE(j.mouse().reportRate, before.reportRate);
        JVERIFY(j.stop());
    }
};

QTEST_GUILESS_MAIN(tst_journey_bus)
#include "tst_journey_bus.moc"
