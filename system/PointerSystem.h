#pragma once

#include <algorithm>
#include <memory>

// The operating system's own pointer settings, in the units the program converts to:
// speed 1..20 (10 the system's middle), wheel lines, double-click time in milliseconds.
// Each setter returns false when the system did not take the value.
class PointerSystem {
public:
    enum Setting { Acceleration, Speed, WheelLines, DoubleClickTime };

    virtual ~PointerSystem() = default;
    // Whether the desktop lets the program change the setting at all; the page shows the
    // others as not available rather than letting them move without effect.
    virtual bool supports(Setting setting) const = 0;
    // Turns pointer acceleration on or off, leaving its other parameters as they are.
    virtual bool setAcceleration(bool on) = 0;
    virtual bool setSpeed(int speed) = 0;
    virtual bool setWheelLines(int lines) = 0;
    virtual bool setDoubleClickTime(int milliseconds) = 0;

    // libinput's speed (−1..1, 0 its default), which GNOME and KWin both hand on, for the
    // 1..20 scale whose middle 10 is 0.
    static double libinputSpeed(int speed) {
        const int s = std::clamp(speed, 1, 20);
        return s <= 10 ? (s - 10) / 9.0 : (s - 10) / 10.0;
    }
};

// Windows: SystemParametersInfo. Linux: KDE Plasma's or GNOME's mouse settings, whichever
// desktop runs; none elsewhere.
std::unique_ptr<PointerSystem> createPointerSystem();
