#pragma once

#include "PointerSystem.h"

#include <QDBusConnection>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <utility>

// KDE Plasma's mouse settings. Speed and acceleration go to KWin, which drives libinput on a
// Wayland session and offers each input device on the bus; only mice are changed, never a
// touchpad or a keyboard. Wheel lines and the double-click time are kdeglobals entries every
// KDE and Qt program reads. Everything is also written to the files Plasma reads, so System
// Settings shows it and the next login keeps it. A Plasma X11 session has no device
// interface in KWin: speed and acceleration are then not supported.
class KdePointerSystem : public PointerSystem {
public:
    explicit KdePointerSystem(QDBusConnection bus = QDBusConnection::sessionBus());

    bool supports(Setting setting) const override;
    bool setAcceleration(bool on) override;
    bool setSpeed(int speed) override;
    bool setWheelLines(int lines) override;
    bool setDoubleClickTime(int milliseconds) override;

    using Entries = QList<std::pair<QString, QString>>;
    // Sets entries of one (nested) group of a KConfig file as KConfig would write them, every
    // other line of the file kept as it is. False when the file or entry is marked immutable
    // ([$i]) or cannot be written.
    static bool writeConfig(const QString &path, const QStringList &group, const Entries &entries);
    // The user's own file of that name ($XDG_CONFIG_HOME, else ~/.config).
    static QString configPath(const QString &name);

private:
    // KWin's mice with their properties; empty where KWin offers no devices.
    QList<QVariantMap> mice() const;
    // Sets one property on every mouse that has `supported`; true if any took it.
    bool setOnMice(const char *supported, const QString &property, const QVariant &value,
                   const QString &key, const QString &fileValue);
    bool setGlobal(const QString &key, int value);

    QDBusConnection bus;
};
