#pragma once

#include "CaptureBackend.h"

#include <QObject>

class QSocketNotifier;
typedef struct _XDisplay Display;

// Sees every key and button of the X desktop through XInput2 raw events selected on the root
// window. Raw events are copies: the application with the focus still gets its input.
// Runs on its own X connection, watched by a socket notifier on the GUI thread.
class X11Capture : public QObject, public CaptureBackend {
    Q_OBJECT
public:
    explicit X11Capture(QObject *parent = nullptr);
    ~X11Capture() override;

    bool install() override;
    void remove() override;

    // Reads whatever the server has sent so far; the notifier calls it, and tests call it
    // after XSync to see their injected events without waiting for the event loop.
    void drain();

private:
    Display *display = nullptr;
    QSocketNotifier *notifier = nullptr;
    int xiOpcode = 0;
};
