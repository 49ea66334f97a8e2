#include "UdevDeviceChangeSource.h"

#include <QDebug>
#include <QSocketNotifier>

#include <libudev.h>

UdevDeviceChangeSource::UdevDeviceChangeSource(QObject *parent) : DeviceChangeSource(parent) {
    context = udev_new();
    if (!context) {
        qWarning("udev is not available; plugging the mouse in will not be noticed");
        return;
    }
    monitor = udev_monitor_new_from_netlink(context, "udev");
    if (!monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        qWarning("cannot monitor udev; plugging the mouse in will not be noticed");
        return;
    }
    const int fd = udev_monitor_get_fd(monitor);
    if (fd < 0)
        return;
    notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &UdevDeviceChangeSource::drain);
}

UdevDeviceChangeSource::~UdevDeviceChangeSource() {
    delete notifier;
    if (monitor)
        udev_monitor_unref(monitor);
    if (context)
        udev_unref(context);
}

void UdevDeviceChangeSource::drain() {
    // One socket wake-up may carry several events; each one counts as a broadcast.
    while (struct udev_device *dev = udev_monitor_receive_device(monitor)) {
        udev_device_unref(dev);
        Q_EMIT deviceChanged();
    }
}
