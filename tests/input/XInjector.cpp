#include "XInjector.h"

#include <string>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {
// A button the XTest device lacks answers BadValue; the default handler would end the test.
int ignoreErrors(Display *, XErrorEvent *) { return 0; }
} // namespace

struct XInjector::Private {
    Display *display = nullptr; // the injector
    Display *other = nullptr;   // the other application
    Window window = 0;
    std::string displayName;
};

XInjector::XInjector(const char *displayName) : d(std::make_unique<Private>()) {
    XSetErrorHandler(ignoreErrors);
    if (displayName)
        d->displayName = displayName;
    d->display = XOpenDisplay(displayName);
    int event = 0, error = 0, major = 0, minor = 0;
    if (d->display && !XTestQueryExtension(d->display, &event, &error, &major, &minor)) {
        XCloseDisplay(d->display);
        d->display = nullptr;
    }
}

XInjector::~XInjector() {
    if (d->other)
        XCloseDisplay(d->other);
    if (d->display)
        XCloseDisplay(d->display);
}

bool XInjector::isOpen() const { return d->display != nullptr; }

void XInjector::key(unsigned keycode, bool press) {
    XTestFakeKeyEvent(d->display, keycode, press ? True : False, CurrentTime);
    sync();
}

void XInjector::tap(unsigned keycode) {
    key(keycode, true);
    key(keycode, false);
}

unsigned XInjector::keycodeFor(unsigned long keysym) {
    return XKeysymToKeycode(d->display, KeySym(keysym));
}

void XInjector::click(unsigned button) {
    XTestFakeButtonEvent(d->display, button, True, CurrentTime);
    XTestFakeButtonEvent(d->display, button, False, CurrentTime);
    sync();
}

void XInjector::button(unsigned button, bool press) {
    XTestFakeButtonEvent(d->display, button, press, CurrentTime);
    sync();
}

void XInjector::moveTo(int x, int y) {
    XTestFakeMotionEvent(d->display, -1, x, y, CurrentTime);
    sync();
}

void XInjector::sync() { XSync(d->display, False); }

bool XInjector::openFocusedWindow() {
    d->other = XOpenDisplay(d->displayName.empty() ? nullptr : d->displayName.c_str());
    if (!d->other)
        return false;
    const int screen = DefaultScreen(d->other);
    d->window =
        XCreateSimpleWindow(d->other, RootWindow(d->other, screen), 10, 10, 200, 100, 0, 0, 0);
    XSelectInput(d->other, d->window, KeyPressMask | StructureNotifyMask);
    XMapRaised(d->other, d->window);
    XEvent event;
    do
        XNextEvent(d->other, &event);
    while (event.type != MapNotify);
    focusOtherWindow();
    return true;
}

void XInjector::focusOtherWindow() {
    XSetInputFocus(d->other, d->window, RevertToParent, CurrentTime);
    XSync(d->other, False);
}

int XInjector::takeKeyPresses(unsigned keycode) {
    XSync(d->other, False);
    int n = 0;
    while (XPending(d->other) > 0) {
        XEvent event;
        XNextEvent(d->other, &event);
        n += event.type == KeyPress && event.xkey.keycode == keycode;
    }
    return n;
}
