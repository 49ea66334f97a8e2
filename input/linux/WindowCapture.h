#pragma once

#include "CaptureBackend.h"

#include <QObject>

class QEvent;

// Capture limited to the program's own windows, for desktops that give no access to other
// applications' input (Wayland without X). Watches the key and button events that reach the
// program's top-level windows; the native scan code of a key event there is evdev + 8, as on X.
class WindowCapture : public QObject, public CaptureBackend {
    Q_OBJECT
public:
    explicit WindowCapture(QObject *parent = nullptr);
    ~WindowCapture() override;

    bool install() override;
    void remove() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool installed = false;
};
