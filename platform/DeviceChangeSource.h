#pragma once

#include <QObject>

// Tells the host window that HID devices came or went. On Windows the window's own
// WM_DEVICECHANGE broadcasts feed it; on Linux a udev monitor does.
class DeviceChangeSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Whether notifications can arrive at all (a machine without udev has none).
    virtual bool isActive() const { return true; }

Q_SIGNALS:
    void deviceChanged();
};

// The platform's source, or a silent one where the platform has none.
DeviceChangeSource *createDeviceChangeSource(QObject *parent);
