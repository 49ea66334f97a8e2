#include "Slave.h"

#include <QMutexLocker>

#include <hidapi.h>

#include <vector>

QMutex linkMutex;

Slave::Slave(QObject *parent) : QThread(parent) {}

Slave::~Slave() { stopPolling(); }

void Slave::startPolling(const DeviceBinding &b, int length) {
    {
        QMutexLocker lock(&linkMutex);
        binding = b;
        running = false;
    }
    // The old loop sees running == false after its current read (at most one read
    // time-out) and ends; the new one starts only after that.
    wait();
    {
        QMutexLocker lock(&linkMutex);
        running = true;
        inputLength = length;
    }
    start(QThread::InheritPriority);
}

void Slave::stopPolling() {
    {
        QMutexLocker lock(&linkMutex);
        running = false;
    }
    wait();
}

void Slave::run() {
    // The path is converted under the lock into bytes of our own: a copy of the binding
    // would share its strings with the one startPolling replaces from the GUI thread.
    QByteArray path;
    int length;
    bool keepGoing;
    {
        QMutexLocker lock(&linkMutex);
        path = binding.vendorPath.toLocal8Bit();
        length = inputLength;
        keepGoing = running;
    }
    if (length <= 0)
        return;
    std::vector<uchar> buffer(size_t(length) + 1);
    while (keepGoing) {
        // An empty or vanished path ends the loop: that is how unplugging stops it.
        hid_device *dev = path.isEmpty() ? nullptr : hid_open_path(path.constData());
        if (!dev)
            return;
        hid_set_nonblocking(dev, 0);
        buffer[0] = 0;
        const int got = hid_read_timeout(dev, buffer.data(), size_t(length), readTimeoutMs);
        if (got == length)
            Q_EMIT onVendor(QList<uchar>(buffer.begin(), buffer.begin() + length));
        hid_close(dev);
        QMutexLocker lock(&linkMutex);
        keepGoing = running;
    }
}
