#include "ActiveWindowSource.h"
#include "DesktopSessions.h"
#include "linux/KWinActiveWindowSource.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDir>
#include <QFile>
#include <QJSEngine>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <memory>

namespace {

const QString kwinService = QStringLiteral("org.kde.KWin");
const QString programService = QStringLiteral("org.q7config.q7config");
const QString sinkPath = QStringLiteral("/org/q7config/q7config/ActiveWindow");
const QString sinkInterface = QStringLiteral("org.q7config.q7config.ActiveWindowSink");

// The workspace as a script sees it, in Plasma 5.27's names (clientActivated, activeClient)
// or Plasma 6's (windowActivated, activeWindow).
const char *const workspacePrelude = R"(
var workspace = {};
var activationHandlers = [];
workspace[activatedSignal] = { connect: function (f) { activationHandlers.push(f); } };
workspace[activeProperty] = initialWindow;
function activate(w) {
    workspace[activeProperty] = w;
    activationHandlers.forEach(function (f) { f(w); });
}
)";

// One loaded script: nothing runs until run() is called on its object.
class FakeScript : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Script")
public:
    FakeScript(const QString &file, bool plasma6, const QVariantMap *active, QDBusConnection bus)
        : file(file), plasma6(plasma6), active(active), bus(std::move(bus)) {}

    void activate(const QVariantMap &window) {
        if (engine)
            engine->globalObject()
                .property(QStringLiteral("activate"))
                .call({engine->toScriptValue(window)});
    }

    // KWin's own: the arguments as the engine turns them into variants, sent from KWin's
    // connection.
    Q_INVOKABLE void callDBus(const QString &service, const QString &path, const QString &iface,
                              const QString &method, const QJSValue &a1, const QJSValue &a2,
                              const QJSValue &a3) {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, iface, method);
        message.setArguments({a1.toVariant(), a2.toVariant(), a3.toVariant()});
        bus.asyncCall(message);
    }

public Q_SLOTS:
    void run() {
        if (engine)
            return;
        QFile source(file);
        QVERIFY(source.open(QIODevice::ReadOnly));
        engine = std::make_unique<QJSEngine>();
        QJSEngine::setObjectOwnership(this, QJSEngine::CppOwnership);
        QJSValue global = engine->globalObject();
        global.setProperty("callDBus", engine->newQObject(this).property("callDBus"));
        global.setProperty("activatedSignal", plasma6 ? "windowActivated" : "clientActivated");
        global.setProperty("activeProperty", plasma6 ? "activeWindow" : "activeClient");
        global.setProperty("initialWindow", active->isEmpty() ? QJSValue(QJSValue::NullValue)
                                                              : engine->toScriptValue(*active));
        QVERIFY(!engine->evaluate(QString::fromLatin1(workspacePrelude)).isError());
        const QJSValue result = engine->evaluate(QString::fromUtf8(source.readAll()), file);
        QVERIFY2(!result.isError(), qPrintable(result.toString()));
    }

private:
    QString file;
    bool plasma6;
    const QVariantMap *active;
    QDBusConnection bus;
    std::unique_ptr<QJSEngine> engine;
};

// A stand-in for KWin's scripting interface, living in a thread of its own as KWin lives in a
// process of its own: the source's calls to it block.
class FakeKWin : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Scripting")
public:
    FakeKWin(bool plasma6, QDBusConnection bus) : plasma6(plasma6), bus(std::move(bus)) {}
    ~FakeKWin() override { qDeleteAll(scripts); }

    bool publish(bool withScripting) {
        if (withScripting && !bus.registerObject(QStringLiteral("/Scripting"), this,
                                                 QDBusConnection::ExportAllSlots))
            return false;
        return bus.registerService(kwinService);
    }

    void activate(const QString &resourceClass, const QString &resourceName, int pid) {
        active = {{"resourceClass", resourceClass}, {"resourceName", resourceName}, {"pid", pid}};
        for (FakeScript *script : std::as_const(scripts))
            script->activate(active);
    }

    const bool plasma6;
    QDBusConnection bus;
    QVariantMap active;
    QHash<QString, FakeScript *> scripts;
    bool refuseLoad = false;
    int unloads = 0;

public Q_SLOTS:
    int loadScript(const QString &filePath, const QString &pluginName) {
        if (refuseLoad || scripts.contains(pluginName))
            return -1;
        const int id = nextId++;
        auto *script = new FakeScript(filePath, plasma6, &active, bus);
        script->setObjectName(plasma6 ? QStringLiteral("/Scripting/Script%1").arg(id)
                                      : QStringLiteral("/%1").arg(id));
        bus.registerObject(script->objectName(), script, QDBusConnection::ExportAllSlots);
        scripts.insert(pluginName, script);
        return id;
    }
    bool isScriptLoaded(const QString &pluginName) { return scripts.contains(pluginName); }
    bool unloadScript(const QString &pluginName) {
        FakeScript *script = scripts.take(pluginName);
        if (!script)
            return false;
        bus.unregisterObject(script->objectName());
        delete script;
        ++unloads;
        return true;
    }

private:
    int nextId = 0;
};

// The stand-in KWin, its bus and the program's connection to it.
class Rig {
public:
    // Runs f where the stand-in lives and waits for it.
    template <typename F> auto inKWin(F f) {
        if constexpr (std::is_void_v<decltype(f())>) {
            QMetaObject::invokeMethod(kwin, f, Qt::BlockingQueuedConnection);
        } else {
            decltype(f()) result{};
            QMetaObject::invokeMethod(kwin, f, Qt::BlockingQueuedConnection, &result);
            return result;
        }
    }
    // What the bus offers as KWin.
    enum Offer { Nothing, NoScripting, RefusingScripts, Scripting };
    bool up(bool plasma6, Offer offer = Scripting) {
        if (!bus.start())
            return false;
        thread.start();
        kwin = new FakeKWin(plasma6, bus.connect());
        kwin->refuseLoad = offer == RefusingScripts;
        kwin->moveToThread(&thread);
        program = bus.connect();
        return offer == Nothing || inKWin([&] { return kwin->publish(offer != NoScripting); });
    }
    ~Rig() {
        if (kwin)
            inKWin([&] { delete kwin; });
        thread.quit();
        thread.wait();
    }
    void activate(const QString &resourceClass, const QString &resourceName, int pid) {
        inKWin([&] { kwin->activate(resourceClass, resourceName, pid); });
    }
    bool loaded() {
        return inKWin(
            [&] { return kwin->scripts.contains(QStringLiteral("q7config-active-window")); });
    }
    QString nameOwner(const QString &name) {
        return program.interface()->serviceOwner(name).value();
    }

    PrivateBus bus;
    QThread thread;
    FakeKWin *kwin = nullptr;
    QDBusConnection program{QString()};
};

ActiveWindowInfo lastReport(const QSignalSpy &spy) {
    return spy.last().first().value<ActiveWindowInfo>();
}

} // namespace

class KWinSourceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("dbus-daemon is not installed (package dbus-daemon)");
        // The source finds its script beside the program, as the installed program does.
        QVERIFY(QDir::setCurrent(qEnvironmentVariable("Q7_BUILD_BIN")));
        QVERIFY2(QFile::exists(KWinActiveWindowSource::scriptFile()),
                 qPrintable(KWinActiveWindowSource::scriptFile()));
    }

    // Activations in both Plasmas' names, and the calls that are not KWin's refused.
    void reportsActivations_data() {
        QTest::addColumn<bool>("plasma6");
        QTest::newRow("Plasma 5.27") << false;
        QTest::newRow("Plasma 6") << true;
    }
    void reportsActivations() {
        QFETCH(bool, plasma6);
        Rig rig;
        QVERIFY(rig.up(plasma6));
        rig.activate("org.kde.kate", "kate", int(rig.bus.pid()));

        KWinActiveWindowSource source(rig.program);
        QVERIFY(KWinActiveWindowSource::available(rig.program));
        QSignalSpy spy(&source, &ActiveWindowSource::activeWindowChanged);
        QVERIFY(source.start());
        // The window that was active when the script started.
        QTRY_COMPARE(spy.size(), 1);
        const ActiveWindowInfo info = lastReport(spy);
        QCOMPARE(info.windowClass, QStringLiteral("org.kde.kate"));
        QCOMPARE(info.instance, QStringLiteral("kate"));
        QCOMPARE(info.pid, rig.bus.pid());
        QCOMPARE(info.executable, QStringLiteral("dbus-daemon"));

        rig.activate("firefox", "Navigator", 0);
        QTRY_COMPARE(spy.size(), 2);
        QCOMPARE(lastReport(spy).instance, QStringLiteral("Navigator"));

        // The program's own window and one naming nothing leave the last report standing; the
        // bus keeps one sender's calls in order, so a report of them would come before this.
        rig.activate("q7config", "q7config", int(QCoreApplication::applicationPid()));
        rig.activate("", "", 0);
        rig.activate("org.gnome.Terminal", "gnome-terminal-server", 0);
        QTRY_COMPARE(spy.size(), 3);
        QCOMPARE(lastReport(spy).windowClass, QStringLiteral("org.gnome.Terminal"));

        // Anyone on the session bus can call the program's path: only KWin's owner is heard,
        // and even from it only the call's own shape.
        QDBusConnection stranger = rig.bus.connect();
        const auto sinkCall = [](const QVariantList &arguments) {
            QDBusMessage m = QDBusMessage::createMethodCall(programService, sinkPath, sinkInterface,
                                                            QStringLiteral("WindowActivated"));
            m.setArguments(arguments);
            return m;
        };
        // Answered only once judged.
        const QDBusPendingCall strangers =
            stranger.asyncCall(sinkCall({QStringLiteral("evil"), QStringLiteral("evil"), 0}));
        QTRY_VERIFY(strangers.isFinished());
        QCOMPARE(spy.size(), 3);

        const QString tooLong(257, QLatin1Char('x'));
        const QList<QVariantList> malformed = {
            {QStringLiteral("a"), QStringLiteral("b")},
            {QStringLiteral("a"), QStringLiteral("b"), 0, 0},
            {42, QStringLiteral("b"), 0},
            {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("12")},
            {QStringLiteral("a"), QStringLiteral("b"), -5},
            {QStringLiteral("a"), QStringLiteral("b"), 1.5},
            {tooLong, QStringLiteral("b"), 0},
            {QStringLiteral("a"), tooLong, 0},
        };
        rig.inKWin([&] {
            for (const QVariantList &arguments : malformed)
                rig.kwin->bus.asyncCall(sinkCall(arguments));
        });
        // Calls of one sender arrive in order: once this one is in, the others were judged.
        const QString longest(256, QLatin1Char('y'));
        rig.activate(longest, "app", 0);
        QTRY_COMPARE(spy.size(), 4);
        QCOMPARE(lastReport(spy).windowClass, longest);

        // A whole number that came as a double is a process id all the same.
        rig.inKWin([&] {
            rig.kwin->bus.asyncCall(
                sinkCall({QStringLiteral("c"), QStringLiteral("d"), double(rig.bus.pid())}));
        });
        QTRY_COMPARE(spy.size(), 5);
        QCOMPARE(lastReport(spy).executable, QStringLiteral("dbus-daemon"));
    }

    void unloadsWhenDone() {
        Rig rig;
        QVERIFY(rig.up(false));
        // What a crashed run left in KWin is replaced rather than refusing the start.
        rig.inKWin([&] {
            return rig.kwin->loadScript(KWinActiveWindowSource::scriptFile(),
                                        QStringLiteral("q7config-active-window"));
        });
        auto source = std::make_unique<KWinActiveWindowSource>(rig.program);
        QSignalSpy spy(source.get(), &ActiveWindowSource::activeWindowChanged);
        QVERIFY(source->start());
        QCOMPARE(rig.inKWin([&] { return rig.kwin->unloads; }), 1);
        QVERIFY(rig.loaded());
        QCOMPARE(rig.nameOwner(programService), rig.program.baseService());

        source->stop();
        QVERIFY(!rig.loaded());
        QVERIFY(rig.nameOwner(programService).isEmpty());
        rig.activate("org.kde.dolphin", "dolphin", 0);

        QVERIFY(source->start());
        QTRY_COMPARE(spy.size(), 1);
        QCOMPARE(lastReport(spy).instance, QStringLiteral("dolphin"));
        source.reset();
        QVERIFY(!rig.loaded());
        QVERIFY(rig.nameOwner(programService).isEmpty());

        // Another part of the program may hold the name already: the source keeps it to that part.
        QVERIFY(rig.program.registerService(programService));
        KWinActiveWindowSource sharing(rig.program);
        QVERIFY(sharing.start());
        sharing.stop();
        QCOMPARE(rig.nameOwner(programService), rig.program.baseService());
    }

    // Whatever fails, nothing taken on the way is kept.
    void startFails_data() {
        QTest::addColumn<int>("offer");
        QTest::addColumn<bool>("nameTaken"); // by another copy of the program
        QTest::newRow("no KWin") << int(Rig::Nothing) << false;
        QTest::newRow("KWin without scripting") << int(Rig::NoScripting) << false;
        QTest::newRow("KWin refuses the script") << int(Rig::RefusingScripts) << false;
        QTest::newRow("another copy holds the name") << int(Rig::Scripting) << true;
    }
    void startFails() {
        QFETCH(int, offer);
        QFETCH(bool, nameTaken);
        Rig rig;
        QVERIFY(rig.up(true, Rig::Offer(offer)));
        QDBusConnection other = rig.bus.connect();
        QVERIFY(!nameTaken || other.registerService(programService));
        QCOMPARE(KWinActiveWindowSource::available(rig.program), offer >= Rig::RefusingScripts);
        KWinActiveWindowSource source(rig.program);
        QCOMPARE(failedStartKeepsNothing(source, rig.program), QString());
        QVERIFY(!rig.loaded());
        QVERIFY(!rig.program.objectRegisteredAt(sinkPath));
    }

    // The real thing: Plasma 5.27's compositor without a screen, a Wayland client in it.
    void realKWin() {
        const std::unique_ptr<RealDesktop> real = RealDesktop::create(QStringLiteral("kwin"));
        if (const QString why = real->missing(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY2(real->start(), real->log().constData());
        QDBusConnection program = real->bus().connect();
        KWinActiveWindowSource source(program);
        QSignalSpy spy(&source, &ActiveWindowSource::activeWindowChanged);
        QVERIFY2(source.start(), real->log().constData());

        // Its focus moving on between windows is the follow journey's.
        const QString client = real->clients()[0];
        const QProcess *process = real->open(client);
        const auto reported = [&] {
            const ActiveWindowInfo info = spy.isEmpty() ? ActiveWindowInfo() : lastReport(spy);
            return info.instance == client && info.executable == client &&
                   info.pid == process->processId() && info.windowClass == real->windowClass(client);
        };
        QTRY_VERIFY2_WITH_TIMEOUT(reported(), real->log().constData(), 20000);

        source.stop();
        QDBusMessage query = QDBusMessage::createMethodCall(kwinService, "/Scripting",
                                                            "org.kde.kwin.Scripting", "isScriptLoaded");
        query << QStringLiteral("q7config-active-window");
        QCOMPARE(program.call(query).arguments(), QVariantList{false});
    }
};

QTEST_GUILESS_MAIN(KWinSourceTest)
#include "tst_platform_kwin.moc"
