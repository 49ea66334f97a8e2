#pragma once

#include "PointerSystem.h"

#include <string>

typedef struct _GSettings GSettings;

// The GNOME desktop's mouse settings through GSettings. The schema is looked up first, so a
// machine without it (another desktop, a minimal install) just reports failures instead of
// aborting as a plain g_settings_new would. GNOME has no wheel-lines setting.
class GnomePointerSystem : public PointerSystem {
public:
    static constexpr const char *defaultSchema = "org.gnome.desktop.peripherals.mouse";

    explicit GnomePointerSystem(std::string schemaId = defaultSchema);
    ~GnomePointerSystem() override;

    // Whether the schema is installed, which is how the program tells a GNOME desktop.
    static bool available(const char *schemaId = defaultSchema);

    bool supports(Setting setting) const override;
    bool setAcceleration(bool on) override;
    bool setSpeed(int speed) override;
    bool setWheelLines(int lines) override;
    bool setDoubleClickTime(int milliseconds) override;

private:
    // Null when the schema or one of its keys is missing.
    GSettings *settings();

    std::string schemaId;
    GSettings *handle = nullptr;
    bool looked = false;
};
