#pragma once

// Small helpers for the device-link tests: binding the device object to the virtual mouse
// and picking traffic out of its log.

#include "MS_HT66FB560.h"
#include "Master.h"
#include "Slave.h"
#include "VirtualMouse.h"

#include <QByteArray>
#include <QList>

#include <chrono>
#include <vector>

namespace linktest {

inline QByteArray hex(const vmouse::Bytes &b) {
    return QByteArray(reinterpret_cast<const char *>(b.data()), int(b.size())).toHex(' ');
}

template <size_t N>
inline QByteArray hex(const std::array<uchar, N> &b) {
    return QByteArray(reinterpret_cast<const char *>(b.data()), int(N)).toHex(' ');
}

// The binding discovery would produce for the default virtual mouse. Without a vendor
// path the polling thread ends at once and leaves the log to the command interface.
inline DeviceBinding virtualBinding(bool withVendor = false) {
    DeviceBinding b;
    b.entryIndex = 1;
    b.commandPath = QString::fromLatin1(vmouse::commandPath);
    if (withVendor)
        b.vendorPath = QString::fromLatin1(vmouse::vendorPath);
    b.reportLength = 64;
    return b;
}

// Binds, then forgets the greeting so a test sees only its own traffic.
inline void bindQuietly(MS_HT66FB560 &dev, const DeviceBinding &b = virtualBinding()) {
    dev.bindDevice(b);
    vmouse::clearLog();
}

inline std::vector<vmouse::LogEntry> traffic(vmouse::Dir dir) {
    std::vector<vmouse::LogEntry> out;
    for (const auto &e : vmouse::log())
        if (e.dir == dir)
            out.push_back(e);
    return out;
}

inline std::vector<vmouse::LogEntry> trafficOn(const char *path) {
    std::vector<vmouse::LogEntry> out;
    for (const auto &e : vmouse::log())
        if (e.path == path)
            out.push_back(e);
    return out;
}

// The log without open/close/enumerate: what went over the wire, in order.
inline std::vector<vmouse::LogEntry> wire() {
    std::vector<vmouse::LogEntry> out;
    for (const auto &e : vmouse::log())
        if (e.dir == vmouse::Dir::FeatureOut || e.dir == vmouse::Dir::Answer
            || e.dir == vmouse::Dir::Output || e.dir == vmouse::Dir::Input)
            out.push_back(e);
    return out;
}

inline double gapMs(const vmouse::LogEntry &a, const vmouse::LogEntry &b) {
    return std::chrono::duration<double, std::milli>(b.at - a.at).count();
}

inline vmouse::Block pattern(uchar seed) {
    vmouse::Block b{};
    for (size_t i = 0; i < b.size(); ++i)
        b[i] = uchar(seed + i * 7);
    return b;
}

}  // namespace linktest
