#include "X11Capture.h"

#include "XInputFeed.h"

#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

X11Capture::X11Capture(QObject *parent) : QObject(parent) {}

X11Capture::~X11Capture() { remove(); }

bool X11Capture::install() {
    if (display)
        return true;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    display = XOpenDisplay(nullptr);
    if (!display)
        return false;

    int event = 0, error = 0;
    // 2.1 and later deliver raw events even while another client holds a grab (menus, drags).
    int major = 2, minor = 2;
    if (!XQueryExtension(display, "XInputExtension", &xiOpcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success || major < 2 ||
        (major == 2 && minor < 1)) {
        XCloseDisplay(display);
        display = nullptr;
        return false;
    }

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask;
    // Master devices only: each slave's events would otherwise arrive a second time.
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof bits;
    mask.mask = bits;
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSync(display, False);

    notifier = new QSocketNotifier(ConnectionNumber(display), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &X11Capture::drain);
    return true;
}

void X11Capture::remove() {
    if (!display)
        return;
    delete notifier;
    notifier = nullptr;
    XCloseDisplay(display);
    display = nullptr;
}

void X11Capture::drain() {
    if (!display)
        return;
    // Xlib may have read several events into its queue already; the notifier would not fire
    // again for those, so empty the queue completely.
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie *cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != xiOpcode ||
            !XGetEventData(display, cookie))
            continue;
        const auto *raw = static_cast<const XIRawEvent *>(cookie->data);
        switch (cookie->evtype) {
        case XI_RawKeyPress:
        case XI_RawKeyRelease:
            feedXKey(unsigned(raw->detail), cookie->evtype == XI_RawKeyPress);
            break;
        case XI_RawButtonPress:
        case XI_RawButtonRelease: {
            // Raw events carry no position; the pointer is where the click happened, give or
            // take the time it took to read the event.
            Window root = 0, child = 0;
            int rootX = 0, rootY = 0, winX = 0, winY = 0;
            unsigned int buttons = 0;
            XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &winX,
                          &winY, &buttons);
            feedXButton(unsigned(raw->detail), cookie->evtype == XI_RawButtonPress, rootX, rootY);
            break;
        }
        default:
            break;
        }
        XFreeEventData(display, cookie);
    }
}
