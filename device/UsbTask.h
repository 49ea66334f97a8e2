#pragma once

#include "BlockLayout.h"

#include <QMetaType>
#include <QString>

#include <array>
#include <cstdint>

// The mouse as discovery found it: which table entry, where its two HID interfaces live,
// and the material the command reports are scrambled with.
struct DeviceBinding {
    qint32 entryIndex = 0;
    QString productName;
    QString commandPath; // empty: not found
    QString vendorPath;  // empty: not found
    qint32 reportLength = 0;
    bool scramble = false;
    std::array<uchar, 8> code{}; // bytes 1-6 are the device code's characters; 0 and 7 unused
};

// One HID exchange: the binding it goes to, the command report, what came back and the
// block that travels in data reports after it.
struct UsbTask : DeviceBinding {
    static constexpr int commandSize = layout::commandReportSize;
    static constexpr int dataCapacity = 512;

    qint32 featureLength = commandSize;
    qint32 dataLength = 0;
    std::array<uchar, commandSize> command{};
    std::array<uchar, commandSize> answer{};
    std::array<uchar, dataCapacity> data{};
    qint32 settleDelay = 30; // ms after the feature exchange
    qint32 writeGap = 10;    // ms after each output data report

    void setBinding(const DeviceBinding &b) { static_cast<DeviceBinding &>(*this) = b; }
    const DeviceBinding &binding() const { return *this; }
};

Q_DECLARE_METATYPE(UsbTask)
