#pragma once

#include <QByteArray>

// Which desktop's mouse settings the program changes. Plasma comes first: GNOME's schema is
// often installed on it too, and changing GNOME's settings there would do nothing. A desktop
// the program does not know gets none, so its sliders say so instead of moving for nothing.
enum class PointerDesktop { None, Kde, Gnome };

// currentDesktops as XDG_CURRENT_DESKTOP gives it, a colon-separated list ("ubuntu:GNOME").
PointerDesktop pointerDesktopFor(const QByteArray &currentDesktops, bool gnomeSchema);
