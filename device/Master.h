#pragma once

#include "UsbTask.h"

#include <QThread>

// Carries the exchange operation and the debug flag. It derives from QThread for its
// signals' sake but is never started: exchanges run in the caller's thread.
class Master : public QThread {
    Q_OBJECT
public:
    // Data-report reads give up after this long, so a mouse that stops answering
    // cannot freeze the caller.
    static constexpr int readTimeoutMs = 1000;
    // The device code that puts the link into debug mode (no USB I/O at all).
    static constexpr const char *debugCode = "k-vertex";

    explicit Master(QObject *parent = nullptr);

    bool debugMode() const { return debug; }
    void setDebugMode(bool on) { debug = on; }

    // One complete exchange: open, command report (scrambled when the binding asks for
    // it), answer for get commands, settle delay, data reports, close. The answer and
    // received data stay in `ut`. True when every step succeeded.
    bool transfer(UsbTask &ut);

Q_SIGNALS:
    void onSetCompleted(bool r, UsbTask ut);
    void onGetCompleted(bool r, UsbTask ut);

private:
    bool debug = false;
};
