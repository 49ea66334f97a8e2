#include "KWinActiveWindowSource.h"

#include "DataPaths.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace {

const QString kwinService = QStringLiteral("org.kde.KWin");
const QString scriptingPath = QStringLiteral("/Scripting");
const QString scriptingInterface = QStringLiteral("org.kde.kwin.Scripting");
const QString scriptInterface = QStringLiteral("org.kde.kwin.Script");
const QString pluginName = QStringLiteral("q7config-active-window");
// The program's own name on the bus; other parts of it may register objects under it too.
const QString programService = QStringLiteral("org.q7config.q7config");
const QString sinkPath = QStringLiteral("/org/q7config/q7config/ActiveWindow");
const QString sinkInterface = QStringLiteral("org.q7config.q7config.ActiveWindowSink");
const QString sinkMethod = QStringLiteral("WindowActivated");
// Window classes are short; anything longer is not KWin speaking.
constexpr int maxNameLength = 256;
// KWin answers at once; a compositor that does not is hung, and the program must not be.
constexpr int callTimeoutMs = 3000;

// The script hands the process id over as whatever number type its engine picked.
bool toPid(const QVariant &value, qint64 *pid) {
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
        *pid = value.toLongLong();
        return *pid >= 0;
    case QMetaType::ULongLong:
        *pid = qint64(value.toULongLong());
        return *pid >= 0 && value.toULongLong() <= quint64(std::numeric_limits<qint64>::max());
    case QMetaType::Double: {
        const double d = value.toDouble();
        if (!std::isfinite(d) || d < 0 || d > double(std::numeric_limits<int>::max()) ||
            d != std::floor(d))
            return false;
        *pid = qint64(d);
        return true;
    }
    default:
        return false;
    }
}

bool isName(const QVariant &value) {
    return value.metaType().id() == QMetaType::QString && value.toString().size() <= maxNameLength;
}

} // namespace

// The object the script calls. A virtual object sees each call whole, whatever its
// signature, so a call of the wrong shape is judged here rather than matched against a slot.
class ActiveWindowSink : public QDBusVirtualObject {
public:
    explicit ActiveWindowSink(KWinActiveWindowSource *source)
        : QDBusVirtualObject(source), source(source) {}

    QString introspect(const QString &) const override {
        return QStringLiteral("<interface name=\"%1\"><method name=\"%2\">"
                              "<arg name=\"resourceClass\" type=\"s\" direction=\"in\"/>"
                              "<arg name=\"resourceName\" type=\"s\" direction=\"in\"/>"
                              "<arg name=\"pid\" type=\"i\" direction=\"in\"/>"
                              "</method></interface>")
            .arg(sinkInterface, sinkMethod);
    }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override {
        if (message.type() != QDBusMessage::MethodCallMessage || message.member() != sinkMethod ||
            (!message.interface().isEmpty() && message.interface() != sinkInterface))
            return false;
        source->receive(message.service(), message.arguments());
        if (!message.isReplyRequired())
            return true;
        connection.send(message.createReply());
        return true;
    }

private:
    KWinActiveWindowSource *source;
};

KWinActiveWindowSource::KWinActiveWindowSource(QDBusConnection bus, QObject *parent)
    : ActiveWindowSource(parent), bus(std::move(bus)) {
    // The script would outlive the program in KWin, calling a name nobody holds; whoever owns
    // this source may well destroy it only after the application, and its bus, are gone.
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
                &KWinActiveWindowSource::stop);
}

KWinActiveWindowSource::~KWinActiveWindowSource() { stop(); }

bool KWinActiveWindowSource::available(const QDBusConnection &bus) {
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kwinService).value())
        return false;
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall(kwinService, scriptingPath,
                                       QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                       QStringLiteral("Introspect")),
        QDBus::Block, callTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().toString().contains(
               QStringLiteral("\"%1\"").arg(scriptingInterface));
}

QString KWinActiveWindowSource::scriptFile() {
    // KWin reads the file itself, from its own working folder: the path must be absolute.
    return QDir(DataPaths::current().programDir())
        .absoluteFilePath(QStringLiteral("modules/kwin/q7config-active-window.js"));
}

bool KWinActiveWindowSource::start() {
    if (sink)
        return true;
    if (!bus.isConnected() || !QFileInfo(scriptFile()).isFile())
        return false;
    QDBusConnectionInterface *names = bus.interface();
    // A KWin that replaces this one later starts without the script, so no other owner's
    // calls are ever expected.
    kwinOwner = names->serviceOwner(kwinService).value();
    if (kwinOwner.isEmpty())
        return false;

    // The object and the name come first: the script reports the active window as it starts.
    sink = new ActiveWindowSink(this);
    if (!bus.registerVirtualObject(sinkPath, sink, QDBusConnection::SingleNode)) {
        release();
        return false;
    }
    if (names->serviceOwner(programService).value() != bus.baseService()) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
            names->registerService(programService, QDBusConnectionInterface::DontQueueService,
                                   QDBusConnectionInterface::DontAllowReplacement);
        if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
            release();
            return false;
        }
        ownsName = true;
    }
    if (!loadScript()) {
        release();
        return false;
    }
    return true;
}

void KWinActiveWindowSource::stop() {
    if (!sink)
        return;
    unloadScript();
    release();
}

bool KWinActiveWindowSource::loadScript() {
    const auto call = [this](const QString &path, const QString &interface, const QString &method,
                             const QVariantList &arguments) {
        QDBusMessage message = QDBusMessage::createMethodCall(kwinService, path, interface, method);
        message.setArguments(arguments);
        return bus.call(message, QDBus::Block, callTimeoutMs);
    };
    // A run that ended without stopping (a crash) left its script in KWin, which refuses a
    // second one under the same name.
    const QDBusMessage loaded =
        call(scriptingPath, scriptingInterface, QStringLiteral("isScriptLoaded"), {pluginName});
    if (loaded.type() == QDBusMessage::ReplyMessage && !loaded.arguments().isEmpty() &&
        loaded.arguments().constFirst().toBool())
        call(scriptingPath, scriptingInterface, QStringLiteral("unloadScript"), {pluginName});

    const QDBusMessage reply = call(scriptingPath, scriptingInterface, QStringLiteral("loadScript"),
                                    {scriptFile(), pluginName});
    bool ok = false;
    const int id = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                       ? reply.arguments().constFirst().toInt(&ok)
                       : -1;
    if (!ok || id < 0)
        return false;
    // A loaded script waits for its own run(). Plasma 6 puts the script's object below
    // /Scripting, Plasma 5 at the root.
    for (const QString &path : {QStringLiteral("/Scripting/Script%1"), QStringLiteral("/%1")}) {
        if (call(path.arg(id), scriptInterface, QStringLiteral("run"), {}).type() ==
            QDBusMessage::ReplyMessage)
            return true;
    }
    unloadScript();
    return false;
}

void KWinActiveWindowSource::unloadScript() {
    if (kwinOwner.isEmpty())
        return;
    QDBusMessage message = QDBusMessage::createMethodCall(
        kwinService, scriptingPath, scriptingInterface, QStringLiteral("unloadScript"));
    message.setArguments({pluginName});
    // Blocking: at exit the message must be out before the connection closes.
    bus.call(message, QDBus::Block, callTimeoutMs);
}

void KWinActiveWindowSource::release() {
    if (sink) {
        bus.unregisterObject(sinkPath);
        delete sink;
        sink = nullptr;
    }
    if (ownsName)
        bus.interface()->unregisterService(programService);
    ownsName = false;
    kwinOwner.clear();
}

void KWinActiveWindowSource::receive(const QString &sender, const QVariantList &arguments) {
    // Anyone on the session bus can call the sink; only KWin knows the active window.
    if (!sink || kwinOwner.isEmpty() || sender != kwinOwner)
        return;
    qint64 pid = 0;
    if (arguments.size() != 3 || !isName(arguments.at(0)) || !isName(arguments.at(1)) ||
        !toPid(arguments.at(2), &pid))
        return;
    if (pid == QCoreApplication::applicationPid())
        return;
    ActiveWindowInfo info;
    info.windowClass = arguments.at(0).toString();
    info.instance = arguments.at(1).toString();
    info.pid = pid;
    if (pid > 0)
        info.executable = ActiveWindowSource::executableOf(pid);
    if (!info.isNull())
        emit activeWindowChanged(info);
}
