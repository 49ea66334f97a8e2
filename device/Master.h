#pragma once

#include "UsbTask.h"

#include <QThread>

#include <atomic>

// Carries the exchange operation and the debug flag. It derives from QThread for its
// signals' sake but is never started: exchanges run in the caller's thread.
class Master : public QThread {
    Q_OBJECT
public:
    // Data-report reads give up after this long, so a mouse that stops answering
    // cannot freeze the caller. The mouse queues a block's reports as it takes the command
    // and the reads begin only after the settle delay, so a report that has not come within
    // five settle delays (longer than any full-speed interrupt interval a mouse uses) is not
    // coming. A refill or apply over a hung mouse pays this once: the link counts as lost
    // after it.
    static constexpr int readTimeoutMs = 150;
    // The device code that puts the link into debug mode (no USB I/O at all).
    static constexpr const char *debugCode = "k-vertex";

    explicit Master(QObject *parent = nullptr);

    bool debugMode() const { return debug; }
    void setDebugMode(bool on) { debug = on; }

    // Whether an exchange found the mouse gone: it could not be opened, did not take a
    // command report or answer one, or a data report did not come within the read time-out.
    // From then on every exchange fails at once without touching the device, so that a
    // refill or an apply over a vanished mouse ends after its first failed exchange instead
    // of waiting out each of the others. A new binding (the next device check) clears it.
    bool linkLost() const { return lost; }
    void restoreLink() { lost = false; }

    // One complete exchange: open, command report (scrambled when the binding asks for
    // it), answer for get commands, settle delay, data reports, close. The answer and
    // received data stay in `ut`. True when every step succeeded. A short answer or data
    // report, or a data report the mouse refused, fails the exchange but leaves the link up.
    bool transfer(UsbTask &ut);

Q_SIGNALS:
    void onSetCompleted(bool r, UsbTask ut);
    void onGetCompleted(bool r, UsbTask ut);

private:
    bool debug = false;
    // Read by the GUI thread while a refill's exchanges run on another.
    std::atomic<bool> lost{false};
};
