#pragma once

#include <cstdint>
#include <vector>

// A rectangle of an X server's screen as 0xAARRGGBB pixels (alpha 0xff). Kept apart from the
// tests so Xlib's macros stay out of Qt code.
bool grabScreen(const char *displayName, int x, int y, int width, int height,
                std::vector<std::uint32_t> &pixels);

// True once a window manager has taken the screen (it owns the WM_S0 selection).
bool windowManagerRunning(const char *displayName);

// True once a compositing manager owns the screen's _NET_WM_CM_S0 selection.
bool compositorRunning(const char *displayName);

// Where the viewable window titled `title` is, and the top-level window around it (the window
// manager's frame, or the window itself when nobody framed it), in screen coordinates as
// {x, y, width, height}; false when no such window is shown. Asked of the server, not of the
// toolkit, which may keep an old idea of its frame.
bool windowAndFrame(const char *displayName, const char *title, int client[4], int frame[4]);

// How many connections the process `pid` has open to the X server, as the server counts them
// (X-Resource); -1 when it cannot say.
int xConnectionsOf(const char *displayName, long pid);
