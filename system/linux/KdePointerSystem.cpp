#include "KdePointerSystem.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <vector>

namespace {
const QString kwin = QStringLiteral("org.kde.KWin");
const QString devicesPath = QStringLiteral("/org/kde/KWin/InputDevice");
const QString deviceInterface = QStringLiteral("org.kde.KWin.InputDevice");
// KWin answers at once; a compositor that hangs must not take the page with it for long.
constexpr int timeoutMs = 2000;

QDBusMessage callProperties(const QString &path, const QString &method, const QVariantList &args,
                            const QDBusConnection &bus) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        kwin, path, QStringLiteral("org.freedesktop.DBus.Properties"), method);
    call.setArguments(args);
    return bus.call(call, QDBus::Block, timeoutMs);
}

bool answered(const QDBusMessage &reply) {
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
}

// A group name's part with KConfig's escapes: brackets would end the name, control
// characters the line.
QByteArray escapedPart(const QString &part) {
    QByteArray out;
    for (const char c : part.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (c == '[' || c == ']' || u < 32)
            out += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
        else
            out += c;
    }
    return out;
}
} // namespace

KdePointerSystem::KdePointerSystem(QDBusConnection bus) : bus(std::move(bus)) {}

QList<QVariantMap> KdePointerSystem::mice() const {
    const QDBusMessage list = callProperties(
        devicesPath, QStringLiteral("Get"),
        {QStringLiteral("org.kde.KWin.InputDeviceManager"), QStringLiteral("devicesSysNames")},
        bus);
    if (!answered(list))
        return {};
    QList<QVariantMap> found;
    const QStringList names =
        list.arguments().first().value<QDBusVariant>().variant().toStringList();
    for (const QString &name : names) {
        const QString path = devicesPath + QLatin1Char('/') + name;
        const QDBusMessage reply =
            callProperties(path, QStringLiteral("GetAll"), {deviceInterface}, bus);
        if (!answered(reply))
            continue;
        QVariantMap device = qdbus_cast<QVariantMap>(reply.arguments().first());
        // A touchpad is a pointer too, but not the mouse this program sets up.
        if (device.value(QStringLiteral("pointer")).toBool() &&
            !device.value(QStringLiteral("touchpad")).toBool()) {
            device.insert(QStringLiteral("path"), path);
            found.append(device);
        }
    }
    return found;
}

bool KdePointerSystem::supports(Setting setting) const {
    if (setting == WheelLines || setting == DoubleClickTime)
        return true;
    for (const QVariantMap &mouse : mice()) {
        const bool can =
            setting == Speed
                ? mouse.value(QStringLiteral("supportsPointerAcceleration")).toBool()
                : mouse.value(QStringLiteral("supportsPointerAccelerationProfileFlat")).toBool() ||
                      mouse.value(QStringLiteral("supportsPointerAccelerationProfileAdaptive"))
                          .toBool();
        if (can)
            return true;
    }
    return false;
}

bool KdePointerSystem::setOnMice(const char *supported, const QString &property,
                                 const QVariant &value, const QString &key,
                                 const QString &fileValue) {
    bool took = false, kept = true;
    for (const QVariantMap &mouse : mice()) {
        if (!mouse.value(QLatin1String(supported)).toBool())
            continue;
        const QDBusMessage reply = callProperties(
            mouse.value(QStringLiteral("path")).toString(), QStringLiteral("Set"),
            {deviceInterface, property, QVariant::fromValue(QDBusVariant(value))}, bus);
        if (reply.type() != QDBusMessage::ReplyMessage)
            continue;
        took = true;
        // KWin reads a device's settings at login from this group; it writes them there on a
        // Wayland session itself, but not in every version, and the file is what lasts.
        const QStringList group{QStringLiteral("Libinput"),
                                QString::number(mouse.value(QStringLiteral("vendor")).toUInt()),
                                QString::number(mouse.value(QStringLiteral("product")).toUInt()),
                                mouse.value(QStringLiteral("name")).toString()};
        kept = writeConfig(configPath(QStringLiteral("kcminputrc")), group, {{key, fileValue}}) &&
               kept;
    }
    return took && kept;
}

bool KdePointerSystem::setAcceleration(bool on) {
    // libinput's profile numbers, as KWin keeps them: 1 flat, 2 adaptive.
    const QString profile = QStringLiteral("PointerAccelerationProfile");
    return on ? setOnMice("supportsPointerAccelerationProfileAdaptive",
                          QStringLiteral("pointerAccelerationProfileAdaptive"), true, profile,
                          QStringLiteral("2"))
              : setOnMice("supportsPointerAccelerationProfileFlat",
                          QStringLiteral("pointerAccelerationProfileFlat"), true, profile,
                          QStringLiteral("1"));
}

bool KdePointerSystem::setSpeed(int speed) {
    if (speed < 1 || speed > 20)
        return false;
    const double value = libinputSpeed(speed);
    return setOnMice("supportsPointerAcceleration", QStringLiteral("pointerAcceleration"), value,
                     QStringLiteral("PointerAcceleration"), QString::number(value, 'f', 3));
}

bool KdePointerSystem::setGlobal(const QString &key, int value) {
    if (value <= 0 || !writeConfig(configPath(QStringLiteral("kdeglobals")),
                                   {QStringLiteral("KDE")}, {{key, QString::number(value)}}))
        return false;
    // Running KDE and Qt programs (through Plasma's Qt platform theme) read the file again on
    // this: KGlobalSettings' SettingsChanged (3) for its mouse category (0).
    QDBusMessage changed = QDBusMessage::createSignal(QStringLiteral("/KGlobalSettings"),
                                                      QStringLiteral("org.kde.KGlobalSettings"),
                                                      QStringLiteral("notifyChange"));
    changed << 3 << 0;
    bus.send(changed);
    return true;
}

bool KdePointerSystem::setWheelLines(int lines) {
    return setGlobal(QStringLiteral("WheelScrollLines"), lines);
}

bool KdePointerSystem::setDoubleClickTime(int milliseconds) {
    return setGlobal(QStringLiteral("DoubleClickInterval"), milliseconds);
}

QString KdePointerSystem::configPath(const QString &name) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + name;
}

bool KdePointerSystem::writeConfig(const QString &path, const QStringList &group,
                                   const Entries &entries) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    // KConfig holds this lock while it rewrites a file; KWin may be writing kcminputrc now.
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(3000))
        return false;
    QByteArrayList lines;
    QFile in(path);
    if (in.exists()) {
        if (!in.open(QIODevice::ReadOnly))
            return false;
        lines = in.readAll().split('\n');
        if (lines.last().isEmpty())
            lines.removeLast();
    }

    QByteArray header;
    for (const QString &part : group)
        header += '[' + escapedPart(part) + ']';
    // Keys and values here are plain names and numbers, which need no escapes.
    std::vector<bool> written(entries.size(), false);
    bool inGroup = false, seenGroup = false;
    qsizetype groupEnd = -1; // after the last entry of the group's last appearance
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.startsWith('[')) {
            // "[$i]" before any group locks the whole file; after a group's name, the group.
            if ((line == "[$i]" && !seenGroup) || line == header + "[$i]")
                return false;
            seenGroup = true;
            inGroup = line == header;
            if (inGroup)
                groupEnd = i + 1;
            continue;
        }
        if (!inGroup || line.isEmpty() || line.startsWith('#'))
            continue;
        groupEnd = i + 1;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = line.left(equals).trimmed();
        for (size_t k = 0; k < written.size(); ++k) {
            const QByteArray name = entries[qsizetype(k)].first.toUtf8();
            if (key == name) {
                lines[i] = name + '=' + entries[qsizetype(k)].second.toUtf8();
                written[k] = true;
            } else if (key.startsWith(name + '[') && key.contains("$i")) {
                return false;
            }
        }
    }

    QByteArrayList added;
    for (size_t k = 0; k < written.size(); ++k) {
        if (!written[k])
            added << entries[qsizetype(k)].first.toUtf8() + '=' +
                         entries[qsizetype(k)].second.toUtf8();
    }
    if (groupEnd < 0 && !added.isEmpty()) {
        // A new group goes last, after an empty line as KConfig separates groups.
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QByteArray();
        lines << header;
        groupEnd = lines.size();
    }
    for (qsizetype k = 0; k < added.size(); ++k)
        lines.insert(groupEnd + k, added[k]);

    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(lines.join('\n') + '\n') >= 0 &&
           out.commit();
}
