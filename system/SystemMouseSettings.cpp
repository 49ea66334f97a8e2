#include "SystemMouseSettings.h"

#include <QSettings>
#include <QtDebug>

#include <algorithm>
#include <limits>

SystemMouseSettings::SystemMouseSettings(QSettings *profileSettings,
                                         std::function<int()> curProfile,
                                         std::unique_ptr<PointerSystem> system)
    : settings(profileSettings), curProfile(std::move(curProfile)), system(std::move(system)) {}

SystemMouseSettings::~SystemMouseSettings() = default;

namespace {
// Positions come straight from QML; far-out ones must not overflow on the way.
int toInt(qint64 value) {
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}
} // namespace

int SystemMouseSettings::speedForPosition(uint position) {
    return position == 0 ? 1 : toInt(2 * qint64(position));
}

int SystemMouseSettings::linesForPosition(uint position) { return toInt(qint64(position) + 1); }

int SystemMouseSettings::doubleClickMsForPosition(uint position) {
    return toInt(900 - 70 * qint64(position));
}

QVariantList SystemMouseSettings::defaultList() { return {true, 5u, 2u, 5u}; }

QString SystemMouseSettings::key() const {
    return QStringLiteral("profile_sw/") + QString::number(curProfile ? curProfile() : 0);
}

QVariantList SystemMouseSettings::storedList() const {
    QVariantList list;
    if (settings) {
        const QVariant value = settings->value(key());
        // A list of one element reads back from the file as a plain text.
        if (value.userType() == QMetaType::QString)
            list.append(value);
        else
            list = value.toList();
    }
    // Short or missing lists (an old or hand-edited file) are completed rather than indexed
    // past their end.
    const QVariantList defaults = defaultList();
    while (list.size() < ElementCount)
        list.append(defaults[list.size()]);
    return list;
}

void SystemMouseSettings::store(Element element, const QVariant &value) {
    if (!settings)
        return;
    QVariantList list = storedList();
    list[element] = value;
    settings->setValue(key(), list);
}

void SystemMouseSettings::setAcceleration(bool acceleration) {
    if (!system || !system->setAcceleration(acceleration))
        qDebug("setAcceleration Failed");
    store(Acceleration, acceleration);
}

void SystemMouseSettings::setCursorSpeed(uint cursorSpeed) {
    // Speeds beyond the system's 1..20 are refused rather than handed on.
    const int speed = speedForPosition(cursorSpeed);
    if (!system || speed > maxSpeed || !system->setSpeed(speed))
        qDebug("setCursorSpeed Failed");
    store(CursorSpeed, cursorSpeed);
}

void SystemMouseSettings::setVerticalScrollLines(uint lines) {
    if (!system || !system->setWheelLines(linesForPosition(lines)))
        qDebug("setVerticalScrollLines Failed");
    store(ScrollLines, lines);
}

void SystemMouseSettings::setDoubleClickSpeed(uint speed) {
    // Positions above 12 give a time of zero or less, which no system can take.
    const int milliseconds = doubleClickMsForPosition(speed);
    if (!system || milliseconds <= 0 || !system->setDoubleClickTime(milliseconds))
        qDebug("setDoubleClickSpeed Failed");
    store(DoubleClick, speed);
}

bool SystemMouseSettings::getAcceleration() const { return storedList()[Acceleration].toBool(); }

uint SystemMouseSettings::getCursorSpeed() const { return storedList()[CursorSpeed].toUInt(); }

uint SystemMouseSettings::getVerticalScrollLines() const {
    return storedList()[ScrollLines].toUInt();
}

uint SystemMouseSettings::getDoubleClickSpeed() const { return storedList()[DoubleClick].toUInt(); }
