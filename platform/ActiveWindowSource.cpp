#include "ActiveWindowSource.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q7_HAVE_XCB
#include "linux/X11ActiveWindowSource.h"
#endif
#ifdef Q7_HAVE_DBUS
#include "linux/GnomeShellActiveWindowSource.h"
#include "linux/KWinActiveWindowSource.h"

#include <QDBusConnection>
#endif

namespace {

const QString gnomeKind = QStringLiteral("gnome-shell");
const QString kwinKind = QStringLiteral("kwin");
const QString x11Kind = QStringLiteral("x11");

std::unique_ptr<ActiveWindowSource> makeSource(const QString &kind, QObject *parent) {
#ifdef Q7_HAVE_DBUS
    if (kind == gnomeKind)
        return std::make_unique<GnomeShellActiveWindowSource>(QDBusConnection::sessionBus(),
                                                              parent);
    if (kind == kwinKind)
        return std::make_unique<KWinActiveWindowSource>(QDBusConnection::sessionBus(), parent);
#endif
#ifdef Q7_HAVE_XCB
    if (kind == x11Kind)
        return std::make_unique<X11ActiveWindowSource>(parent);
#endif
    Q_UNUSED(kind)
    Q_UNUSED(parent)
    return nullptr;
}

} // namespace

DesktopSession DesktopSession::current() {
    DesktopSession session;
    session.forced = qEnvironmentVariable("Q7_ACTIVE_WINDOW_SOURCE").trimmed().toLower();
    session.desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toUpper();
    session.wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                      qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
    session.x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
#ifdef Q7_HAVE_DBUS
    // Asking the bus costs a round trip; a user who turned watching off is not asked for it.
    if (session.forced != QLatin1String("none")) {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        session.gnomeExtension = GnomeShellActiveWindowSource::available(bus);
        session.kwin = KWinActiveWindowSource::available(bus);
    }
#endif
    return session;
}

QStringList DesktopSession::sourceOrder() const {
    if (!forced.isEmpty())
        return forced == gnomeKind || forced == kwinKind || forced == x11Kind ? QStringList{forced}
                                                                              : QStringList{};
    QStringList order;
    if (gnomeExtension)
        order << gnomeKind;
    if (kwin)
        order << kwinKind;
    if (x11)
        order << x11Kind;
    return order;
}

QString DesktopSession::unseenHint(const QString &chosenKind) const {
    if (chosenKind == gnomeKind || chosenKind == kwinKind || forced == QLatin1String("none"))
        return {};
    if (wayland) {
        if (desktop.contains(QLatin1String("GNOME")))
            return QStringLiteral("hintGnome");
        if (desktop.contains(QLatin1String("KDE")))
            return QStringLiteral("hintKde");
        return chosenKind == x11Kind ? QStringLiteral("hintWayland") : QString();
    }
    return {};
}

std::unique_ptr<ActiveWindowSource> ActiveWindowSource::create(QObject *parent) {
    return create(DesktopSession::current(), parent);
}

std::unique_ptr<ActiveWindowSource> ActiveWindowSource::create(const DesktopSession &session,
                                                               QObject *parent) {
    for (const QString &kind : session.sourceOrder()) {
        std::unique_ptr<ActiveWindowSource> source = makeSource(kind, parent);
        if (source && source->start())
            return source;
    }
    return std::make_unique<NoActiveWindowSource>(parent);
}

QString ActiveWindowSource::executableOf(qint64 pid) {
    const QString proc = QStringLiteral("/proc/%1/").arg(pid);
    QString target = QFile::symLinkTarget(proc + QStringLiteral("exe"));
    if (!target.isEmpty()) {
        // A program replaced on disk while it runs (an update) still names itself.
        target.remove(QStringLiteral(" (deleted)"));
        return QFileInfo(target).fileName();
    }
    QFile comm(proc + QStringLiteral("comm"));
    if (comm.open(QIODevice::ReadOnly))
        return QString::fromLocal8Bit(comm.readAll()).trimmed();
    return QString();
}
