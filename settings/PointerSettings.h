#pragma once

#include <QString>
#include <QVariantList>

// The desktop pointer settings the program keeps per profile, as "profile_sw/<profile>" lists
// of the profile settings file: the sensor page's slider positions. ProfileStore alone reads
// and writes them; SystemMouseSettings applies them to the desktop.
namespace pointerSettings {

enum Element { Acceleration = 0, CursorSpeed = 1, ScrollLines = 2, DoubleClick = 3, ElementCount };

inline QString group() { return QStringLiteral("profile_sw"); }

// The sensor page's sliders place the three numbers at 0..10; acceleration is true or false.
constexpr uint maxPosition = 10;

// Positions for elements neither the file nor the defaults file has: the systems' usual
// defaults (acceleration on, speed 10, 3 lines, about 500 ms).
inline QVariantList builtInDefaults() { return {true, 5u, 2u, 5u}; }

} // namespace pointerSettings
