#pragma once

#include "DeviceChangeSource.h"

class QSocketNotifier;
struct udev;
struct udev_monitor;

// Watches the kernel's hidraw add/remove events through a udev monitor.
class UdevDeviceChangeSource : public DeviceChangeSource {
    Q_OBJECT
public:
    explicit UdevDeviceChangeSource(QObject *parent = nullptr);
    ~UdevDeviceChangeSource() override;

    bool isActive() const override { return notifier != nullptr; }

private:
    void drain();

    struct udev *context = nullptr;
    struct udev_monitor *monitor = nullptr;
    QSocketNotifier *notifier = nullptr;
};
