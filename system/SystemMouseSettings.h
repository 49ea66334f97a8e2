#pragma once

#include "PointerSettings.h"
#include "PointerSystem.h"

#include <QVariantList>

#include <memory>

class ProfileStore;

// The four system pointer settings kept per profile: the sensor page's slider positions are
// kept by the profile store (pointerSettings.h) for its current profile and converted to
// system units when set. The getters read the stored positions only; the system is touched
// by the setters.
class SystemMouseSettings {
public:
    using Element = pointerSettings::Element;

    // store stays owned by the caller and must outlive this object.
    explicit SystemMouseSettings(ProfileStore *store,
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
    // Whether the desktop lets the program change the element; without a desktop, none.
    bool canChange(Element element) const;

    static constexpr int maxSpeed = 20;

    // Slider position -> system value.
    static int speedForPosition(uint position);
    static int linesForPosition(uint position);
    static int doubleClickMsForPosition(uint position);

    // Positions used for elements a stored list lacks.
    static QVariantList defaultList() { return pointerSettings::builtInDefaults(); }

private:
    QVariantList storedList() const;
    void store(Element element, const QVariant &value);

    ProfileStore *profiles;
    std::unique_ptr<PointerSystem> system;
};
