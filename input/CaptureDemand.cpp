#include "CaptureDemand.h"

CaptureDemand::CaptureDemand(Switch listen, QObject *parent)
    : QObject(parent), listenSwitch(std::move(listen)) {}

void CaptureDemand::request(QObject *holder) {
    if (!holder)
        return;
    int &count = held[holder];
    if (count == 0)
        connect(holder, &QObject::destroyed, this, [this, holder] { releaseAll(holder); });
    ++count;
    changeBy(1);
}

void CaptureDemand::release(QObject *holder) {
    const auto it = held.find(holder);
    if (it == held.end())
        return;
    if (--it.value() == 0) {
        disconnect(holder, &QObject::destroyed, this, nullptr);
        held.erase(it);
    }
    changeBy(-1);
}

void CaptureDemand::releaseAll(QObject *holder) {
    const auto it = held.find(holder);
    if (it == held.end())
        return;
    const int count = it.value();
    // From the destroyed signal the holder is half gone; disconnecting it is still sound.
    disconnect(holder, &QObject::destroyed, this, nullptr);
    held.erase(it);
    changeBy(-count);
}

void CaptureDemand::changeBy(int delta) {
    const bool before = open > 0;
    open += delta;
    const bool now = open > 0;
    if (before != now && listenSwitch)
        listenSwitch(now);
}
