#pragma once

#include <memory>

// The operating system's own pointer settings, in the units the program converts to:
// speed 1..20 (10 the system's middle), wheel lines, double-click time in milliseconds.
// Each setter returns false when the system did not take the value.
class PointerSystem {
public:
    virtual ~PointerSystem() = default;
    // Turns pointer acceleration on or off, leaving its other parameters as they are.
    virtual bool setAcceleration(bool on) = 0;
    virtual bool setSpeed(int speed) = 0;
    virtual bool setWheelLines(int lines) = 0;
    virtual bool setDoubleClickTime(int milliseconds) = 0;
};

// Windows: SystemParametersInfo. Linux: the GNOME desktop's mouse settings.
std::unique_ptr<PointerSystem> createPointerSystem();
