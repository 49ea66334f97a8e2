#include "XScreen.h"

#include <X11/Xlib.h>

#include <cstring>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>

bool grabScreen(const char *displayName, int x, int y, int width, int height,
                std::vector<std::uint32_t> &pixels) {
    Display *display = XOpenDisplay(displayName);
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
    XCloseDisplay(display);
    return image != nullptr;
}

bool windowManagerRunning(const char *displayName) {
    Display *display = XOpenDisplay(displayName);
    if (!display)
        return false;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    bool running = false;
    if (check != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                               AnyPropertyType, &type, &format, &count, &after,
                               &data) == Success) {
            running = type != None && count == 1;
            if (data)
                XFree(data);
        }
    }
    XCloseDisplay(display);
    return running;
}

bool compositorRunning(const char *displayName) {
    Display *display = XOpenDisplay(displayName);
    if (!display)
        return false;
    const Atom selection = XInternAtom(display, "_NET_WM_CM_S0", False);
    const bool running = XGetSelectionOwner(display, selection) != None;
    XCloseDisplay(display);
    return running;
}

int xConnectionsOf(const char *displayName, long pid) {
    Display *display = XOpenDisplay(displayName);
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
    XCloseDisplay(display);
    return found;
}

namespace {

Window findTitled(Display *display, Window under, const char *title) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, under, &root, &parent, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable)
            continue;
        char *name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            if (std::strcmp(name, title) == 0)
                found = children[i];
            XFree(name);
        }
        if (!found)
            found = findTitled(display, children[i], title);
    }
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

bool windowAndFrame(const char *displayName, const char *title, int client[4], int frame[4]) {
    Display *display = XOpenDisplay(displayName);
    if (!display)
        return false;
    const Window rootWindow = DefaultRootWindow(display);
    const Window w = findTitled(display, rootWindow, title);
    Window top = w;
    for (;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!top || !XQueryTree(display, top, &root, &parent, &children, &count))
            break;
        if (children)
            XFree(children);
        if (parent == rootWindow || !parent)
            break;
        top = parent;
    }
    const bool ok = w && screenRect(display, w, client) && screenRect(display, top, frame);
    XCloseDisplay(display);
    return ok;
}
