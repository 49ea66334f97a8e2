// The operations as the running window uses them, in-process and without a window: what
// reaches its host (the profile menu's switch, the pages' refresh) and what does not.
#include "ApConfig.h"
#include "DesktopSessions.h"
#include "ProfileRules.h"
#include "ScriptBus.h"
#include "ScriptOperations.h"
#include "StoreRig.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QStandardPaths>
#include <QTest>

class TestScriptOperations : public QObject {
    Q_OBJECT

    std::unique_ptr<StoreRig> rig;
    std::unique_ptr<ApConfig> config;
    std::unique_ptr<ProfileRules> rules;
    std::unique_ptr<ScriptOperations> ops;
    QList<int> switched;
    int refreshed = 0;

private Q_SLOTS:
    void init() {
        vmouse::reset();
        rig = std::make_unique<StoreRig>();
        QVERIFY(rig->files.ready());
        QVERIFY(rig->plugIn());
        rig->store.syncFromDevice();
        const QString settings = qEnvironmentVariable("Q7_BUILD_BIN") + "/modules/setting/";
        config = std::make_unique<ApConfig>(settings, settings);
        rules = std::make_unique<ProfileRules>(*config);
        switched.clear();
        refreshed = 0;
        ops = std::make_unique<ScriptOperations>(
            rig->store, rig->link, rig->bridge, *rules,
            ScriptOperations::Host{[this](int p) {
                                       switched.append(p);
                                       return true;
                                   },
                                   [this] { ++refreshed; }});
    }

    // The pages' own rules answer: the sensor page's four rates, the stage menus' values
    // without the empty entry, the effects the product lists.
    void rulesAreThePages() {
        QVERIFY(rules->loaded());
        QCOMPARE(rules->rates(), QList<int>({125, 250, 500, 1000}));
        QVERIFY(!rules->dpiOffered().contains(0) && rules->dpiOffered().contains(7950));
        const QList<int> effects = rules->effectCodes();
        QVERIFY(effects.contains(3) && !effects.contains(2) && !effects.contains(10));
        QCOMPARE(rules->brightnessSteps(), 7);
    }

    // The window switches through its menu, so the pages follow; the bridge is left alone.
    void profileGoesToTheHost() {
        vmouse::clearLog();
        QCOMPARE(ops->setProfile(3).code, int(ScriptResult::Done));
        QCOMPARE(switched, QList<int>({3}));
        QVERIFY(sentCodes().isEmpty());
        QCOMPARE(ops->setProfile(6).code, int(ScriptResult::BadArguments));
        QCOMPARE(switched.size(), 1);
    }

    // A change has the pages read the store again; a refused one changes nothing to show.
    void onlyAChangeRefreshesThePages() {
        QCOMPARE(ops->setValue(ScriptOperations::Setting::Rate, "500").code, int(ScriptResult::Done));
        QCOMPARE(refreshed, 1);
        QCOMPARE(ops->setValue(ScriptOperations::Setting::Rate, "333").code,
                 int(ScriptResult::BadArguments));
        QCOMPARE(ops->importProfile(2, rig->files.working() + ".none").code,
                 int(ScriptResult::BadArguments));
        QCOMPARE(refreshed, 1);
    }

    // The window's notice for its next operation is not owed for a script's send.
    void aScriptsFailureIsNotTheWindowsNotice() {
        vmouse::Faults f;
        f.failWrite = true;
        vmouse::setFaults(f);
        QCOMPARE(ops->setValue(ScriptOperations::Setting::Brightness, "2").code,
                 int(ScriptResult::Refused));
        QCOMPARE(rig->link.takeNotice(), SendOutcome::Nothing);
    }

    // The program's bus name is shared with its other objects on the same connection (the
    // KWin script's sink): taken only when not held, taken again when the holder lets it go,
    // let go only when nothing else of the program answers under it; never another's.
    void busNameIsShared() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("dbus-daemon is not installed (package dbus-daemon)");
        PrivateBus bus;
        QVERIFY(bus.start());
        QDBusConnection program = bus.connect(), other = bus.connect();
        const QString name = ScriptBus::serviceName;
        const auto owner = [&] { return other.interface()->serviceOwner(name).value(); };
        const auto take = [&name](QDBusConnection &c) {
            return c.interface()->registerService(name).value() ==
                   QDBusConnectionInterface::ServiceRegistered;
        };

        // Another process holds it: this one stays off the bus.
        QVERIFY(take(other));
        {
            ScriptBus scripts(*ops, rig->store, {}, program);
            QVERIFY(!scripts.start());
            QVERIFY(!program.objectRegisteredAt(ScriptBus::objectPath));
        }
        QCOMPARE(owner(), other.baseService());
        QVERIFY(other.interface()->unregisterService(name).value());

        // The sink took it first and lets it go while the scripts' object still answers.
        QVERIFY(take(program));
        {
            ScriptBus scripts(*ops, rig->store, {}, program);
            QVERIFY(scripts.start());
            QVERIFY(program.interface()->unregisterService(name).value());
            QTRY_COMPARE(owner(), program.baseService());
        }
        QTRY_COMPARE(owner(), QString());

        // Taken here first, it stays while the sink is registered.
        QObject sink;
        ScriptBus scripts(*ops, rig->store, {}, program);
        QVERIFY(scripts.start());
        QVERIFY(program.registerObject(QStringLiteral("/org/q7config/q7config/ActiveWindow"),
                                       &sink));
        scripts.stop();
        QCOMPARE(owner(), program.baseService());
    }

    // A call made while the window is busy is answered once it is ready, not refused.
    void aCallWaitsForTheWindow() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("dbus-daemon is not installed (package dbus-daemon)");
        PrivateBus bus;
        QVERIFY(bus.start());
        QDBusConnection program = bus.connect(), client = bus.connect();
        bool ready = false;
        int asked = 0;
        ScriptBus scripts(*ops, rig->store, [&] {
            ++asked;
            return ready;
        }, program);
        QVERIFY(scripts.start());
        QDBusMessage m =
            QDBusMessage::createMethodCall(ScriptBus::serviceName, ScriptBus::objectPath,
                                           ScriptBus::interfaceName, QStringLiteral("SetProfile"));
        m << 3;
        QDBusPendingCall call = client.asyncCall(m);
        // It has arrived and been put off at least once.
        QTRY_VERIFY(asked >= 2);
        QVERIFY(!call.isFinished() && switched.isEmpty());
        ready = true;
        QTRY_VERIFY(call.isFinished());
        QVERIFY(!call.isError());
        QCOMPARE(switched, QList<int>({3}));
    }
};

QTEST_GUILESS_MAIN(TestScriptOperations)
#include "tst_script_operations.moc"
