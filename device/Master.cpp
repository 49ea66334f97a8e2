#include "Master.h"

#include "HidReport.h"

#include <QDebug>

#include <hidapi.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace {

void pause(int ms) {
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

Master::Master(QObject *parent) : QThread(parent) {}

bool Master::transfer(UsbTask &ut) {
    if (debug) {
        qDebug() << "true";
        return false;
    }
    if (lost)
        return false;
    const bool isGet = (ut.command[1] & 0x80) != 0;

    // A block that does not fit the task, or no report size to carry it in, would walk
    // past the buffers or never end; refuse it before touching the device.
    if (ut.dataLength < 0 || ut.dataLength > UsbTask::dataCapacity ||
        (ut.dataLength > 0 && ut.reportLength <= 0))
        return false;

    const QByteArray path = ut.commandPath.toLocal8Bit();
    hid_device *dev = hid_open_path(path.constData());
    if (!dev) {
        lost = true;
        return false;
    }
    hid_set_nonblocking(dev, 0);

    if (ut.scramble)
        hidreport::scrambleBlock(ut.command.data() + 1, ut.code);

    if (hid_send_feature_report(dev, ut.command.data(), UsbTask::commandSize) < 0) {
        hid_close(dev);
        lost = true;
        return false;
    }
    if (isGet) {
        ut.answer.fill(0);
        // Report ID 0 asks for the unnumbered feature report.
        const int got = hid_get_feature_report(dev, ut.answer.data(), UsbTask::commandSize);
        // Answers that stop before bytes 2 and 3 carry no value at all.
        if (got < 4) {
            hid_close(dev);
            lost = got < 0;
            return false;
        }
    }
    pause(ut.settleDelay);

    if (ut.dataLength == 0) {
        hid_close(dev);
        return true;
    }

    bool ok = true;
    const int chunk = std::min(int(ut.reportLength), int(ut.dataLength));
    std::vector<uchar> report(size_t(ut.reportLength) + 1);
    for (int offset = 0; offset < ut.dataLength; offset += chunk) {
        // The last report carries a short tail when the block is not a whole number of reports.
        const int n = std::min(chunk, int(ut.dataLength) - offset);
        std::fill(report.begin(), report.end(), 0);
        if (isGet) {
            const int got = hid_read_timeout(dev, report.data(), report.size(), readTimeoutMs);
            // A short report leaves the block incomplete; a time-out (0) or an error means
            // the mouse has stopped sending, and waiting for the next report would only
            // hold the caller for another time-out.
            if (got <= 0) {
                ok = false;
                lost = true;
                break;
            }
            if (got < n)
                ok = false;
            std::copy_n(report.begin(), std::min(got, n), ut.data.begin() + offset);
        } else {
            std::copy_n(ut.data.begin() + offset, n, report.begin() + 1);
            if (hid_write(dev, report.data(), report.size()) < 0)
                ok = false;
            pause(ut.writeGap);
        }
    }
    hid_close(dev);
    return ok;
}
