#include "GnomeShellActiveWindowSource.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>

namespace {

const QString serviceName = QStringLiteral("org.q7config.ActiveWindow");
const QString objectPath = QStringLiteral("/org/q7config/ActiveWindow");
const QString interfaceName = QStringLiteral("org.q7config.ActiveWindow");
// Long enough for a shell busy drawing, short enough that a hung one never stalls the GUI
// noticeably at start.
constexpr int callTimeoutMs = 500;
// No class or application id is this long; anything longer is not what the extension sends.
constexpr int maxFieldLength = 256;

QDBusMessage focusedWindowCall() {
    QDBusMessage call = QDBusMessage::createMethodCall(serviceName, objectPath, interfaceName,
                                                       QStringLiteral("GetFocusedWindow"));
    // Nothing should start on the program's behalf; the shell loads the extension or not.
    call.setAutoStartService(false);
    return call;
}

} // namespace

GnomeShellActiveWindowSource::GnomeShellActiveWindowSource(QDBusConnection bus, QObject *parent)
    : ActiveWindowSource(parent), bus(std::move(bus)) {}

GnomeShellActiveWindowSource::~GnomeShellActiveWindowSource() { stop(); }

bool GnomeShellActiveWindowSource::available(const QDBusConnection &bus) {
    if (!bus.isConnected())
        return false;
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    ask << serviceName;
    const QDBusMessage reply = bus.call(ask, QDBus::Block, callTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && reply.signature() == QLatin1String("b") &&
           reply.arguments().constFirst().toBool();
}

bool GnomeShellActiveWindowSource::start() {
    if (running)
        return true;
    if (!bus.isConnected())
        return false;
    // Listening before asking: a change between the answer and the subscription is not lost.
    // Naming the service makes the bus library pass on only its current owner's signals.
    if (!bus.connect(serviceName, objectPath, interfaceName, QStringLiteral("FocusChanged"), this,
                     SLOT(focusChanged(QDBusMessage))))
        return false;
    const QDBusMessage reply = bus.call(focusedWindowCall(), QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        bus.disconnect(serviceName, objectPath, interfaceName, QStringLiteral("FocusChanged"), this,
                       SLOT(focusChanged(QDBusMessage)));
        return false;
    }
    running = true;
    watcher =
        new QDBusServiceWatcher(serviceName, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &newOwner) {
                ownerChanged(newOwner);
            });
    report(reply);
    return true;
}

void GnomeShellActiveWindowSource::stop() {
    if (!running)
        return;
    running = false;
    delete watcher;
    watcher = nullptr;
    bus.disconnect(serviceName, objectPath, interfaceName, QStringLiteral("FocusChanged"), this,
                   SLOT(focusChanged(QDBusMessage)));
}

void GnomeShellActiveWindowSource::ownerChanged(const QString &newOwner) {
    // Gone: the last report stands until the extension is back.
    if (newOwner.isEmpty())
        return;
    // Back (enabled again, or a new shell): what has the focus now is news.
    auto *pending =
        new QDBusPendingCallWatcher(bus.asyncCall(focusedWindowCall(), callTimeoutMs), watcher);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                if (running && !call->isError())
                    report(call->reply());
            });
}

void GnomeShellActiveWindowSource::focusChanged(const QDBusMessage &message) {
    if (running)
        report(message);
}

void GnomeShellActiveWindowSource::report(const QDBusMessage &message) {
    // WM class, its instance, application id, process id.
    if (message.signature() != QLatin1String("sssu"))
        return;
    const QList<QVariant> args = message.arguments();
    const QString wmClass = args.at(0).toString();
    const QString instance = args.at(1).toString();
    QString appId = args.at(2).toString();
    const qint64 pid = args.at(3).toUInt();
    if (wmClass.size() > maxFieldLength || instance.size() > maxFieldLength ||
        appId.size() > maxFieldLength)
        return;
    if (pid == QCoreApplication::applicationPid())
        return;

    ActiveWindowInfo info;
    info.instance = instance;
    // Native Wayland windows carry their app id as the class. A window that set none may
    // still be known to the shell by its desktop file, which is the better name than none.
    if (appId.endsWith(QLatin1String(".desktop")))
        appId.chop(8);
    info.windowClass = wmClass.isEmpty() ? appId : wmClass;
    info.pid = pid;
    if (pid > 0)
        info.executable = ActiveWindowSource::executableOf(pid);
    if (!info.isNull())
        emit activeWindowChanged(info);
}
