#pragma once

#include "ActiveWindowSource.h"

#include <QDBusConnection>

class QDBusMessage;
class QDBusServiceWatcher;

// Follows the focused window through the shell extension this program ships for GNOME
// (packaging/gnome-shell): on Wayland only the compositor knows it. The extension may come
// and go while the program runs (disabled, shell restarted); the source waits for it, and
// tells the window focused when it comes back. Whatever arrives from the bus is untrusted.
class GnomeShellActiveWindowSource : public ActiveWindowSource {
    Q_OBJECT
public:
    explicit GnomeShellActiveWindowSource(QDBusConnection bus = QDBusConnection::sessionBus(),
                                          QObject *parent = nullptr);
    ~GnomeShellActiveWindowSource() override;

    // Whether the extension runs in this session (its name has an owner).
    static bool available(const QDBusConnection &bus);

    bool start() override;
    void stop() override;
    QString kind() const override { return QStringLiteral("gnome-shell"); }

private Q_SLOTS:
    void focusChanged(const QDBusMessage &message);

private:
    void ownerChanged(const QString &newOwner);
    void report(const QDBusMessage &message);

    QDBusConnection bus;
    QDBusServiceWatcher *watcher = nullptr;
    bool running = false;
};
