// Block exchanges against the virtual mouse (zero transport latency): how close the link
// comes to the protocol's own floor of fixed pauses.
//   floor per block set: 30 ms settle + 10 ms after each of the two output reports
//   floor per block get: 30 ms settle
// Printed as ratios: against that floor, and against a reference that performs only the
// same pauses in this run (what the system's sleep costs by itself).

#include "MS_HT66FB560.h"
#include "Slave.h"
#include "VirtualMouse.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <cstdio>
#include <thread>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 100;

    vmouse::reset();
    MS_HT66FB560 dev;
    DeviceBinding b;
    b.entryIndex = 1;
    b.commandPath = QString::fromLatin1(vmouse::commandPath);
    b.reportLength = 64;
    dev.bindDevice(b);

    uchar block[128];
    for (int i = 0; i < 128; ++i)
        block[i] = uchar(i);

    QElapsedTimer t;
    t.start();
    for (int i = 0; i < rounds; ++i)
        dev.hid_0CH_SetFwProfile(uchar(i % 6), block);
    const double setMs = double(t.nsecsElapsed()) / 1e6;

    t.restart();
    int failures = 0;
    for (int i = 0; i < rounds; ++i)
        failures += dev.hid_8CH_GetFwProfile(uchar(i % 6), block) ? 0 : 1;
    const double getMs = double(t.nsecsElapsed()) / 1e6;

    // The pauses alone, slept the same way.
    t.restart();
    for (int i = 0; i < rounds; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (int i = 0; i < rounds; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const double sleepMs = double(t.nsecsElapsed()) / 1e6;

    const double setFloor = rounds * 50.0, getFloor = rounds * 30.0;
    std::printf("exchange: %d block sets, %d block gets, %d failed gets\n", rounds, rounds,
                failures);
    std::printf("  sets   %9.1f ms  floor %7.0f ms  ratio %.4f\n", setMs, setFloor,
                setMs / setFloor);
    std::printf("  gets   %9.1f ms  floor %7.0f ms  ratio %.4f\n", getMs, getFloor,
                getMs / getFloor);
    std::printf("  total  %9.1f ms  floor %7.0f ms  ratio %.4f  (goal <= 1.03)\n", setMs + getMs,
                setFloor + getFloor, (setMs + getMs) / (setFloor + getFloor));
    std::printf("  pauses alone %7.1f ms; link / pauses alone ratio %.4f\n", sleepMs,
                (setMs + getMs) / sleepMs);
    return failures ? 1 : 0;
}
