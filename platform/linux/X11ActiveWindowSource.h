#pragma once

#include "ActiveWindowSource.h"

#include <cstdint>

class QSocketNotifier;
struct xcb_connection_t;

// Follows the window manager's _NET_ACTIVE_WINDOW on the root window. It runs on its own xcb
// connection (errors come back as values, a window that vanished mid-query is just skipped),
// whose socket a notifier on the GUI thread watches: nothing is polled.
class X11ActiveWindowSource : public ActiveWindowSource {
    Q_OBJECT
public:
    explicit X11ActiveWindowSource(QObject *parent = nullptr);
    ~X11ActiveWindowSource() override;

    bool start() override;
    void stop() override;
    QString kind() const override { return QStringLiteral("x11"); }

    // Reads whatever the server has sent so far (the notifier calls it).
    void drain();

private:
    void readActiveWindow();
    uint32_t atom(const char *name) const;

    xcb_connection_t *connection = nullptr;
    QSocketNotifier *notifier = nullptr;
    uint32_t root = 0;
    uint32_t activeAtom = 0;
    uint32_t pidAtom = 0;
    uint32_t lastWindow = 0;
};
