#include "PointerDesktop.h"

#include "KdePointerSystem.h"
#ifdef Q7_GNOME_POINTER
#include "GnomePointerSystem.h"
#endif

#include <QtGlobal>

PointerDesktop pointerDesktopFor(const QByteArray &currentDesktops, bool gnomeSchema) {
    const QList<QByteArray> desktops = currentDesktops.split(':');
    if (desktops.contains("KDE"))
        return PointerDesktop::Kde;
    // The schema comes with many desktops that never read it (Xfce, MATE, a bare window
    // manager): only those whose compositor or settings daemon applies it count.
    for (const char *gnomeLike : {"GNOME", "Unity", "Pantheon"})
        if (desktops.contains(gnomeLike))
            return gnomeSchema ? PointerDesktop::Gnome : PointerDesktop::None;
    return PointerDesktop::None;
}

std::unique_ptr<PointerSystem> createPointerSystem() {
#ifdef Q7_GNOME_POINTER
    const bool gnome = GnomePointerSystem::available();
#else
    const bool gnome = false;
#endif
    switch (pointerDesktopFor(qgetenv("XDG_CURRENT_DESKTOP"), gnome)) {
    case PointerDesktop::Kde:
        return std::make_unique<KdePointerSystem>();
#ifdef Q7_GNOME_POINTER
    case PointerDesktop::Gnome:
        return std::make_unique<GnomePointerSystem>();
#endif
    default:
        return nullptr;
    }
}
