#pragma once

#include <cstdint>
#include <vector>

// A rectangle of an X server's screen as 0xAARRGGBB pixels (alpha 0xff). Kept apart from the
// tests so Xlib's macros stay out of Qt code.
bool grabScreen(const char *displayName, int x, int y, int width, int height,
                std::vector<std::uint32_t> &pixels);

// True once a window manager has announced itself on the screen (_NET_SUPPORTING_WM_CHECK).
bool windowManagerRunning(const char *displayName);

// True once a compositing manager owns the screen's _NET_WM_CM_S0 selection.
bool compositorRunning(const char *displayName);

// How many connections the process `pid` has open to the X server, as the server counts them
// (X-Resource); -1 when it cannot say.
int xConnectionsOf(const char *displayName, long pid);
