#include "PointerSystem.h"

#include <windows.h>

namespace {
// Every change is written to the user profile and broadcast, as the control panel does.
constexpr UINT updateAndBroadcast = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;

class WinPointerSystem : public PointerSystem {
public:
    bool supports(Setting) const override { return true; }
    bool setAcceleration(bool on) override {
        int mouse[3] = {}; // two thresholds, then the acceleration flag
        if (!SystemParametersInfoW(SPI_GETMOUSE, 0, mouse, 0))
            return false;
        mouse[2] = on ? 1 : 0;
        return SystemParametersInfoW(SPI_SETMOUSE, 0, mouse, updateAndBroadcast);
    }
    bool setSpeed(int speed) override {
        // The speed travels in place of the pointer.
        return SystemParametersInfoW(SPI_SETMOUSESPEED, 0,
                                     reinterpret_cast<PVOID>(static_cast<INT_PTR>(speed)),
                                     updateAndBroadcast);
    }
    bool setWheelLines(int lines) override {
        return lines > 0 && SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, UINT(lines), nullptr,
                                                  updateAndBroadcast);
    }
    bool setDoubleClickTime(int milliseconds) override {
        return milliseconds > 0 && SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, UINT(milliseconds),
                                                         nullptr, updateAndBroadcast);
    }
};
} // namespace

std::unique_ptr<PointerSystem> createPointerSystem() {
    return std::make_unique<WinPointerSystem>();
}
