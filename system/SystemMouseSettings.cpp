#include "SystemMouseSettings.h"

#include "ProfileStore.h"

#include <QtDebug>

#include <algorithm>
#include <limits>

SystemMouseSettings::SystemMouseSettings(ProfileStore *store, std::unique_ptr<PointerSystem> system)
    : profiles(store), system(std::move(system)) {}

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

QVariantList SystemMouseSettings::storedList() const {
    return profiles ? profiles->pointerSettings(profiles->curProfile()) : defaultList();
}

void SystemMouseSettings::store(Element element, const QVariant &value) {
    if (profiles)
        profiles->setPointerSetting(profiles->curProfile(), element, value);
}

void SystemMouseSettings::setAcceleration(bool acceleration) {
    if (!system || !system->setAcceleration(acceleration))
        qDebug("setAcceleration Failed");
    store(pointerSettings::Acceleration, acceleration);
}

void SystemMouseSettings::setCursorSpeed(uint cursorSpeed) {
    // Speeds beyond the system's 1..20 are refused rather than handed on.
    const int speed = speedForPosition(cursorSpeed);
    if (!system || speed > maxSpeed || !system->setSpeed(speed))
        qDebug("setCursorSpeed Failed");
    store(pointerSettings::CursorSpeed, cursorSpeed);
}

void SystemMouseSettings::setVerticalScrollLines(uint lines) {
    if (!system || !system->setWheelLines(linesForPosition(lines)))
        qDebug("setVerticalScrollLines Failed");
    store(pointerSettings::ScrollLines, lines);
}

void SystemMouseSettings::setDoubleClickSpeed(uint speed) {
    // Positions above 12 give a time of zero or less, which no system can take.
    const int milliseconds = doubleClickMsForPosition(speed);
    if (!system || milliseconds <= 0 || !system->setDoubleClickTime(milliseconds))
        qDebug("setDoubleClickSpeed Failed");
    store(pointerSettings::DoubleClick, speed);
}

bool SystemMouseSettings::getAcceleration() const {
    return storedList()[pointerSettings::Acceleration].toBool();
}

uint SystemMouseSettings::getCursorSpeed() const {
    return storedList()[pointerSettings::CursorSpeed].toUInt();
}

uint SystemMouseSettings::getVerticalScrollLines() const {
    return storedList()[pointerSettings::ScrollLines].toUInt();
}

uint SystemMouseSettings::getDoubleClickSpeed() const {
    return storedList()[pointerSettings::DoubleClick].toUInt();
}

bool SystemMouseSettings::canChange(Element element) const {
    if (!system)
        return false;
    switch (element) {
    case pointerSettings::Acceleration:
        return system->supports(PointerSystem::Acceleration);
    case pointerSettings::CursorSpeed:
        return system->supports(PointerSystem::Speed);
    case pointerSettings::ScrollLines:
        return system->supports(PointerSystem::WheelLines);
    case pointerSettings::DoubleClick:
        return system->supports(PointerSystem::DoubleClickTime);
    default:
        return false;
    }
}
