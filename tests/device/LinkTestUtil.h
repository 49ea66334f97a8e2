#pragma once

// Helpers for the device-link tests: binding to the virtual mouse and reading its log.

#include "MS_HT66FB560.h"
#include "Master.h"
#include "Slave.h"
#include "VirtualMouse.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <vector>

namespace linktest {

template <typename Bytes> QByteArray hex(const Bytes &b) {
    return QByteArray(reinterpret_cast<const char *>(b.data()), int(b.size())).toHex(' ');
}

// What discovery would bind for the default virtual mouse. Without a vendor path the
// polling thread ends at once and leaves the log to the command interface.
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

inline std::vector<vmouse::LogEntry> traffic(vmouse::Dir dir, const char *path = nullptr) {
    std::vector<vmouse::LogEntry> out;
    for (const auto &e : vmouse::log())
        if (e.dir == dir && (!path || e.path == path))
            out.push_back(e);
    return out;
}

// What went over the wire, in order (no open, close or enumeration).
inline std::vector<vmouse::LogEntry> wire() {
    std::vector<vmouse::LogEntry> out;
    for (const auto &e : vmouse::log())
        if (e.dir >= vmouse::Dir::FeatureOut)
            out.push_back(e);
    return out;
}

// Switches on the faults a list names as VIRTUAL_MOUSE_FAULTS does ("silent,unplug-at=5").
inline void injectFaults(const QString &list) {
    std::vector<std::string> problems;
    vmouse::setFaults(vmouse::parseFaults(list.toStdString(), problems));
    if (!problems.empty())
        qFatal("bad fault list: %s", qPrintable(list));
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

inline DevInfoEntry virtualEntry(const QString &sCode = QString()) {
    return {0x04d9, 0xa1b7, 0xff00, 0xff00, 0xff01, 0x0001, QStringLiteral("Q7"), 64, sCode};
}

} // namespace linktest
