#pragma once

#include "PointerSystem.h"

#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>

class QSettings;

// The four system pointer settings kept per profile: the sensor page's slider positions are
// stored in "profile_sw/<profile>" of the profile settings file and converted to system units
// when set. The getters read the stored positions only; the system is touched by the setters.
class SystemMouseSettings {
public:
    // Stored list of a profile: acceleration, speed, scroll lines, double-click positions.
    enum Element {
        Acceleration = 0,
        CursorSpeed = 1,
        ScrollLines = 2,
        DoubleClick = 3,
        ElementCount = 4
    };

    // profileSettings stays owned by the caller and must outlive this object; curProfile
    // answers the profile the program currently addresses.
    SystemMouseSettings(QSettings *profileSettings, std::function<int()> curProfile,
                        std::unique_ptr<PointerSystem> system = createPointerSystem());
    ~SystemMouseSettings();

    void setAcceleration(bool acceleration);
    void setCursorSpeed(uint cursorSpeed);
    void setVerticalScrollLines(uint lines);
    void setDoubleClickSpeed(uint speed);
    bool getAcceleration() const;
    uint getCursorSpeed() const;
    uint getVerticalScrollLines() const;
    uint getDoubleClickSpeed() const;

    static constexpr int maxSpeed = 20;

    // Slider position -> system value.
    static int speedForPosition(uint position);
    static int linesForPosition(uint position);
    static int doubleClickMsForPosition(uint position);

    // Positions used for elements a stored list lacks: the systems' usual defaults
    // (acceleration on, speed 10, 3 lines, about 500 ms).
    static QVariantList defaultList();

private:
    QString key() const;
    QVariantList storedList() const;
    void store(Element element, const QVariant &value);

    QSettings *settings;
    std::function<int()> curProfile;
    std::unique_ptr<PointerSystem> system;
};
