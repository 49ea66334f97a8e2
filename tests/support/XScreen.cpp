#include "XScreen.h"

#include <X11/Xlib.h>

#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <cstring>
#include <memory>

namespace {

// A connection of its own for each question, closed with it.
using Connection = std::unique_ptr<Display, int (*)(Display *)>;
Connection openDisplay(const char *displayName) {
    return {XOpenDisplay(displayName), XCloseDisplay};
}

bool selectionOwned(const char *displayName, const char *selection) {
    const Connection display = openDisplay(displayName);
    return display &&
           XGetSelectionOwner(display.get(), XInternAtom(display.get(), selection, False)) != None;
}

// The viewable window titled `title`: `under` itself or one below it, depth first.
Window findTitled(Display *display, Window under, const char *title) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(display, under, &a) || a.map_state != IsViewable)
        return 0;
    char *name = nullptr;
    const bool titled = XFetchName(display, under, &name) && name && !std::strcmp(name, title);
    if (name)
        XFree(name);
    Window root = 0, parent = 0, *children = nullptr, found = titled ? under : 0;
    unsigned count = 0;
    if (!found && XQueryTree(display, under, &root, &parent, &children, &count))
        for (unsigned i = 0; i < count && !found; ++i)
            found = findTitled(display, children[i], title);
    if (children)
        XFree(children);
    return found;
}

bool screenRect(Display *display, Window w, int out[4]) {
    Window root = 0, child = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    if (!XGetGeometry(display, w, &root, &x, &y, &width, &height, &border, &depth) ||
        !XTranslateCoordinates(display, w, root, 0, 0, &x, &y, &child))
        return false;
    out[0] = x, out[1] = y, out[2] = int(width), out[3] = int(height);
    return true;
}

} // namespace

bool grabScreen(const char *displayName, int x, int y, int width, int height,
                std::vector<std::uint32_t> &pixels) {
    const Connection connection = openDisplay(displayName);
    Display *display = connection.get();
    if (!display)
        return false;
    XImage *image = XGetImage(display, DefaultRootWindow(display), x, y, unsigned(width),
                              unsigned(height), AllPlanes, ZPixmap);
    if (image) {
        pixels.resize(size_t(width) * size_t(height));
        for (int row = 0; row < height; ++row)
            for (int col = 0; col < width; ++col)
                pixels[size_t(row) * size_t(width) + size_t(col)] =
                    0xff000000u | (std::uint32_t(XGetPixel(image, col, row)) & 0xffffffu);
        XDestroyImage(image);
    }
    return image != nullptr;
}

bool windowManagerRunning(const char *displayName) { return selectionOwned(displayName, "WM_S0"); }

bool compositorRunning(const char *displayName) {
    return selectionOwned(displayName, "_NET_WM_CM_S0");
}

int xConnectionsOf(const char *displayName, long pid) {
    const Connection connection = openDisplay(displayName);
    Display *display = connection.get();
    if (!display)
        return -1;
    XResClientIdSpec every{0, XRES_CLIENT_ID_PID_MASK};
    long count = 0;
    XResClientIdValue *ids = nullptr;
    int found = -1;
    if (XResQueryClientIds(display, 1, &every, &count, &ids) == Success) {
        found = 0;
        for (long i = 0; i < count; ++i)
            found += XResGetClientPid(&ids[i]) == pid;
        XResClientIdsDestroy(count, ids);
    }
    return found;
}

bool windowAndFrame(const char *displayName, const char *title, int client[4], int frame[4]) {
    const Connection connection = openDisplay(displayName);
    Display *display = connection.get();
    if (!display)
        return false;
    // The frame is the top-level window the titled one is in.
    Window root = 0, parent = 0, *tops = nullptr, w = 0, top = 0;
    unsigned count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &tops, &count))
        for (unsigned i = 0; i < count && !w; ++i)
            if ((w = findTitled(display, tops[i], title)))
                top = tops[i];
    if (tops)
        XFree(tops);
    return w && screenRect(display, w, client) && screenRect(display, top, frame);
}
