// GLib's headers first: Qt's keyword macros would clash with them.
#include <gio/gio.h>

#include "GnomePointerSystem.h"

GnomePointerSystem::GnomePointerSystem(std::string schemaId) : schemaId(std::move(schemaId)) {}

GnomePointerSystem::~GnomePointerSystem() {
    if (handle)
        g_object_unref(handle);
}

GSettings *GnomePointerSystem::settings() {
    if (looked)
        return handle;
    looked = true;
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    if (!source)
        return nullptr;
    GSettingsSchema *schema = g_settings_schema_source_lookup(source, schemaId.c_str(), TRUE);
    if (!schema)
        return nullptr;
    // Setting a key the schema lacks is fatal in GLib; an older or trimmed schema is not.
    const bool complete = g_settings_schema_has_key(schema, "speed") &&
                          g_settings_schema_has_key(schema, "accel-profile") &&
                          g_settings_schema_has_key(schema, "double-click");
    if (complete)
        handle = g_settings_new_full(schema, nullptr, nullptr);
    g_settings_schema_unref(schema);
    return handle;
}

bool GnomePointerSystem::available(const char *schemaId) {
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    GSettingsSchema *schema =
        source ? g_settings_schema_source_lookup(source, schemaId, TRUE) : nullptr;
    if (schema)
        g_settings_schema_unref(schema);
    return schema != nullptr;
}

bool GnomePointerSystem::supports(Setting setting) const { return setting != WheelLines; }

bool GnomePointerSystem::setAcceleration(bool on) {
    GSettings *s = settings();
    if (!s)
        return false;
    const bool ok = g_settings_set_string(s, "accel-profile", on ? "adaptive" : "flat");
    g_settings_sync();
    return ok;
}

bool GnomePointerSystem::setSpeed(int speed) {
    GSettings *s = settings();
    if (!s || speed < 1 || speed > 20)
        return false;
    const bool ok = g_settings_set_double(s, "speed", libinputSpeed(speed));
    g_settings_sync();
    return ok;
}

bool GnomePointerSystem::setWheelLines(int) { return false; }

bool GnomePointerSystem::setDoubleClickTime(int milliseconds) {
    GSettings *s = settings();
    if (!s || milliseconds <= 0)
        return false;
    const bool ok = g_settings_set_int(s, "double-click", milliseconds);
    g_settings_sync();
    return ok;
}
