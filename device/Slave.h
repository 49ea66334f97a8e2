#pragma once

#include "UsbTask.h"

#include <QList>
#include <QMutex>
#include <QThread>

// Guards Slave's binding copy, input length and running flag; never held across a HID call.
extern QMutex linkMutex;

// Polls the vendor interface for short input reports and hands each one on as onVendor.
class Slave : public QThread {
    Q_OBJECT
public:
    static constexpr int readTimeoutMs = 500;

    explicit Slave(QObject *parent = nullptr);
    ~Slave() override;

    // (Re)starts polling with a new binding; a running loop is stopped first. Returns once
    // the new thread has been started.
    void startPolling(const DeviceBinding &binding, int inputLength);
    // Ends polling; returns only after the thread has finished.
    void stopPolling();

Q_SIGNALS:
    void onVendor(QList<uchar> vCmd);

protected:
    void run() override;

private:
    DeviceBinding binding;
    int inputLength = 4;
    bool running = false;
};
