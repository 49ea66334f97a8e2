#include "ScriptBus.h"

#include "ProfileStore.h"
#include "ScriptCommand.h"
#include "mouseadaptor.h"

#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QFileInfo>
#include <QTimer>
#include <QVariantMap>

const QString ScriptBus::serviceName = QStringLiteral("org.q7config.q7config");
const QString ScriptBus::objectPath = QStringLiteral("/org/q7config/q7config");
const QString ScriptBus::interfaceName = QStringLiteral("org.q7config.q7config.Mouse");

namespace {
// What else of the program answers under its bus name (platform/linux/KWinActiveWindowSource):
// while one of them is registered the name stays.
const QStringList siblingPaths = {QStringLiteral("/org/q7config/q7config/ActiveWindow")};

// How often a waiting call looks again whether the window is ready; a refill takes seconds.
constexpr int readyPollMs = 100;

bool sameValues(const ScriptProfileStatus &a, const ScriptProfileStatus &b) {
    return a.reportRateHz == b.reportRateHz && a.dpiStages == b.dpiStages &&
           a.currentStage == b.currentStage && a.effect == b.effect && a.brightness == b.brightness;
}

ScriptResult needsAbsolute(const QString &path) {
    return {ScriptResult::BadArguments,
            QStringLiteral("%1 is not an absolute path; the program does not know the caller's "
                           "working folder.")
                .arg(path)};
}
} // namespace

ScriptBus::ScriptBus(ScriptOperations &ops, ProfileStore &s, std::function<bool()> isReady,
                     QDBusConnection connection, QObject *parent)
    : QObject(parent), operations(ops), store(s), ready(std::move(isReady)),
      bus(std::move(connection)) {
    new MouseAdaptor(this);
}

ScriptBus::~ScriptBus() { stop(); }

QString ScriptBus::errorName(int code) {
    switch (code) {
    case ScriptResult::BadArguments:
        return QStringLiteral("org.q7config.q7config.Error.BadArguments");
    case ScriptResult::NoMouse:
        return QStringLiteral("org.q7config.q7config.Error.NoMouse");
    default:
        return QStringLiteral("org.q7config.q7config.Error.Refused");
    }
}

bool ScriptBus::start() {
    if (registered)
        return true;
    if (!bus.isConnected() ||
        !bus.registerObject(objectPath, this, QDBusConnection::ExportAdaptors))
        return false;
    registered = true;
    last = operations.storedStatus();
    store.setChangeListener([this] { storeTouched(); });
    // Whoever held the name for the program may let it go while this object still answers.
    watcher = new QDBusServiceWatcher(serviceName, bus, QDBusServiceWatcher::WatchForUnregistration,
                                      this);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] { claimName(); });
    claimName();
    if (bus.interface()->serviceOwner(serviceName).value() != bus.baseService()) {
        stop();
        return false;
    }
    return true;
}

void ScriptBus::claimName() {
    QDBusConnectionInterface *names = bus.interface();
    if (!registered || names->serviceOwner(serviceName).value() == bus.baseService())
        return;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        names->registerService(serviceName, QDBusConnectionInterface::DontQueueService,
                               QDBusConnectionInterface::DontAllowReplacement);
    ownsName = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

void ScriptBus::stop() {
    if (!registered)
        return;
    registered = false;
    store.setChangeListener({});
    delete watcher;
    watcher = nullptr;
    bus.unregisterObject(objectPath);
    bool othersAnswer = false;
    for (const QString &path : siblingPaths)
        othersAnswer = othersAnswer || bus.objectRegisteredAt(path);
    if (ownsName && !othersAnswer)
        bus.interface()->unregisterService(serviceName);
    ownsName = false;
}

QString ScriptBus::Status() {
    return answerLater([this] {
        return ScriptResult{ScriptResult::Done,
                            QString::fromUtf8(ScriptCommand::statusJson(operations.status()))};
    });
}

QString ScriptBus::SetProfile(int profile) {
    return answerLater([this, profile] { return operations.setProfile(profile); });
}

QString ScriptBus::ExportProfile(int profile, const QString &path) {
    return answerLater([this, profile, path] {
        return QFileInfo(path).isAbsolute() ? operations.exportProfile(profile, path)
                                            : needsAbsolute(path);
    });
}

QString ScriptBus::ImportProfile(int profile, const QString &path) {
    return answerLater([this, profile, path] {
        return QFileInfo(path).isAbsolute() ? operations.importProfile(profile, path)
                                            : needsAbsolute(path);
    });
}

QString ScriptBus::SetValue(const QString &setting, const QString &value, int profile) {
    return answerLater([this, setting, value, profile] {
        ScriptOperations::Setting which;
        if (!ScriptOperations::settingFromName(setting, which))
            return ScriptResult{
                ScriptResult::BadArguments,
                QStringLiteral("setting takes one of: %1.")
                    .arg(ScriptOperations::settingNames().join(QStringLiteral(", ")))};
        return operations.setValue(which, value, profile);
    });
}

QString ScriptBus::answerLater(std::function<ScriptResult()> operation) {
    // Only the bus calls these slots; the reply goes out when the operation has run.
    setDelayedReply(true);
    answerWhenReady(message(), operation);
    return QString();
}

void ScriptBus::answerWhenReady(const QDBusMessage &call,
                                const std::function<ScriptResult()> &operation) {
    if (ready && !ready()) {
        QTimer::singleShot(readyPollMs, this,
                           [this, call, operation] { answerWhenReady(call, operation); });
        return;
    }
    const ScriptResult result = operation();
    bus.send(result.ok() ? call.createReply(result.message)
                         : call.createErrorReply(errorName(result.code), result.message));
}

void ScriptBus::storeTouched() {
    if (comparePending)
        return;
    comparePending = true;
    QTimer::singleShot(0, this, [this] {
        comparePending = false;
        compare();
    });
}

void ScriptBus::compare() {
    const ScriptStatus now = operations.storedStatus();
    QList<int> changedProfiles;
    for (int i = 0; i < now.profiles.size(); ++i)
        if (i >= last.profiles.size() || !sameValues(now.profiles[i], last.profiles[i]))
            changedProfiles.append(now.profiles[i].number);
    QVariantMap properties;
    if (now.currentProfile != last.currentProfile)
        properties.insert(QStringLiteral("CurrentProfile"), now.currentProfile);
    if (now.mouseFound != last.mouseFound)
        properties.insert(QStringLiteral("MouseLinked"), now.mouseFound);
    last = now;
    if (!properties.isEmpty()) {
        QDBusMessage signal = QDBusMessage::createSignal(
            objectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("PropertiesChanged"));
        signal << interfaceName << properties << QStringList();
        bus.send(signal);
    }
    if (!changedProfiles.isEmpty() || properties.contains(QStringLiteral("CurrentProfile")))
        emit Changed(now.currentProfile, changedProfiles);
}
