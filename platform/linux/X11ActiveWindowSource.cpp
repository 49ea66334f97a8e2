#include "X11ActiveWindowSource.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QSysInfo>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {

// Owns one xcb reply; xcb hands them out from malloc.
template <typename T> struct Reply {
    T *p;
    explicit Reply(T *r) : p(r) {}
    ~Reply() { std::free(p); }
    Reply(const Reply &) = delete;
    Reply &operator=(const Reply &) = delete;
    T *operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

} // namespace

X11ActiveWindowSource::X11ActiveWindowSource(QObject *parent) : ActiveWindowSource(parent) {}

X11ActiveWindowSource::~X11ActiveWindowSource() { stop(); }

uint32_t X11ActiveWindowSource::atom(const char *name) const {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : uint32_t(XCB_ATOM_NONE);
}

bool X11ActiveWindowSource::start() {
    if (connection)
        return true;
    int screenNumber = 0;
    connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        connection = nullptr;
        return false;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem) {
        stop();
        return false;
    }
    root = it.data->root;
    activeAtom = atom("_NET_ACTIVE_WINDOW");
    pidAtom = atom("_NET_WM_PID");

    // This connection's own event mask on the root; other clients' masks are untouched.
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    notifier = new QSocketNotifier(xcb_get_file_descriptor(connection), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &X11ActiveWindowSource::drain);
    readActiveWindow();
    return true;
}

void X11ActiveWindowSource::stop() {
    delete notifier;
    notifier = nullptr;
    if (connection)
        xcb_disconnect(connection);
    connection = nullptr;
    lastWindow = 0;
}

void X11ActiveWindowSource::drain() {
    if (!connection)
        return;
    // Replies waited for while handling one event can pull later events into xcb's queue,
    // where the notifier would not see them: keep polling until the queue is empty.
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
        if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
            const auto *notify = reinterpret_cast<xcb_property_notify_event_t *>(event);
            if (notify->window == root && notify->atom == activeAtom)
                readActiveWindow();
        }
        std::free(event);
    }
    if (xcb_connection_has_error(connection)) {
        // The display went away; there is nothing left to watch.
        delete notifier;
        notifier = nullptr;
    }
}

void X11ActiveWindowSource::readActiveWindow() {
    Reply<xcb_get_property_reply_t> active(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, activeAtom, XCB_ATOM_WINDOW, 0, 1), nullptr));
    uint32_t window = 0;
    if (active && active->format == 32 && xcb_get_property_value_length(active.p) >= 4)
        std::memcpy(&window, xcb_get_property_value(active.p), 4);
    // Window managers rewrite the property on every focus event, often to the same window.
    if (window == lastWindow)
        return;
    lastWindow = window;
    if (window == XCB_WINDOW_NONE)
        return;

    const auto classCookie = xcb_get_property(connection, 0, window, XCB_ATOM_WM_CLASS,
                                              XCB_ATOM_STRING, 0, 256);
    const auto pidCookie = xcb_get_property(connection, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1);
    const auto machineCookie = xcb_get_property(connection, 0, window, XCB_ATOM_WM_CLIENT_MACHINE,
                                                XCB_ATOM_STRING, 0, 64);
    Reply<xcb_get_property_reply_t> wmClass(xcb_get_property_reply(connection, classCookie, nullptr));
    Reply<xcb_get_property_reply_t> wmPid(xcb_get_property_reply(connection, pidCookie, nullptr));
    Reply<xcb_get_property_reply_t> machine(xcb_get_property_reply(connection, machineCookie, nullptr));

    // A client shown from another machine (ssh -X) names a process id of that machine.
    bool local = true;
    if (machine && machine->format == 8 && xcb_get_property_value_length(machine.p) > 0) {
        const QByteArray host(static_cast<const char *>(xcb_get_property_value(machine.p)),
                              xcb_get_property_value_length(machine.p));
        local = QString::fromLocal8Bit(host.constData()) == QSysInfo::machineHostName();
    }

    ActiveWindowInfo info;
    if (local && wmPid && wmPid->format == 32 && xcb_get_property_value_length(wmPid.p) >= 4) {
        uint32_t pid = 0;
        std::memcpy(&pid, xcb_get_property_value(wmPid.p), 4);
        info.pid = pid;
    }
    if (info.pid == QCoreApplication::applicationPid())
        return;
    if (wmClass && wmClass->format == 8) {
        // Two NUL-terminated strings, instance then class; a client may leave out the last NUL.
        const char *data = static_cast<const char *>(xcb_get_property_value(wmClass.p));
        const int length = xcb_get_property_value_length(wmClass.p);
        const QByteArray bytes(data, length);
        const QList<QByteArray> parts = bytes.split('\0');
        if (!parts.isEmpty())
            info.instance = QString::fromLocal8Bit(parts.at(0));
        if (parts.size() > 1)
            info.windowClass = QString::fromLocal8Bit(parts.at(1));
    }
    if (info.pid > 0)
        info.executable = ActiveWindowSource::executableOf(info.pid);
    if (!info.isNull())
        emit activeWindowChanged(info);
}
