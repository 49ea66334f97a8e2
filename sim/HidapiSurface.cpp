// The virtual mouse's hidapi surface: hidapi's C functions over the firmware model, with the
// interfaces, faults and traffic log of the simulation.

#include "Simulation.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <thread>

// ---- hidapi's C functions ----

using namespace vmouse;

namespace {

const wchar_t *const lastError = L"virtual mouse: operation failed";

hid_device *openLocked(Sim &s, const Interface *match, const std::string &path) {
    hid_device *d = nullptr;
    const bool fail = !match || s.countCommandCall(*match);
    if (!fail) {
        d = new hid_device_;
        d->iface = *match;
        d->info.path = const_cast<char *>(d->iface.path.c_str());
        d->info.vendor_id = match->vid;
        d->info.product_id = match->pid;
        d->info.usage_page = match->usagePage;
        d->info.usage = match->usage;
        d->info.interface_number = match->interfaceNumber;
        d->info.bus_type = HID_API_BUS_USB;
        s.open.insert(d);
    }
    LogEntry &e = s.addLog(Dir::Open, path, nullptr, 0);
    e.result = d ? 1 : 0;
    s.trace(e);
    return d;
}

int readLocked(Sim &s, std::unique_lock<std::mutex> &lock, hid_device *dev, unsigned char *data,
               size_t length, int ms) {
    if (!s.known(dev))
        return -1;
    const Interface iface = dev->iface;
    if (dev->nonblocking)
        ms = 0;
    int result = -1;
    Bytes delivered;
    if (!s.countCommandCall(iface)) {
        std::deque<Bytes> &queue = iface.role == Role::Vendor ? s.vendorQueue : s.fw.dataReports;
        auto ready = [&] { return s.mouseAbsent() || !queue.empty(); };
        bool have = ready();
        if (!have && ms != 0) {
            if (ms < 0) {
                s.cv.wait(lock, ready);
                have = true;
            } else {
                have = s.cv.wait_for(lock, std::chrono::milliseconds(ms), ready);
            }
        }
        if (s.mouseAbsent() || !s.open.count(dev)) {
            result = -1;
        } else if (have && !queue.empty()) {
            const Bytes report = queue.front();
            queue.pop_front();
            const size_t n = std::min(length, report.size());
            if (data && n)
                std::memcpy(data, report.data(), n);
            delivered.assign(report.begin(), report.begin() + long(n));
            result = int(n);
        } else {
            result = 0; // timed out
        }
    }
    LogEntry &e = s.addLog(Dir::Input, iface.path, delivered.data(), delivered.size());
    e.result = result;
    e.timeoutMs = ms;
    s.trace(e);
    return result;
}

} // namespace

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void) {
    sim();
    return 0;
}

int HID_API_EXPORT HID_API_CALL hid_exit(void) { return 0; }

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                  unsigned short product_id) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    hid_device_info *head = nullptr, **tail = &head;
    int count = 0;
    if (!s.mouseAbsent()) {
        for (const Interface &i : s.ifaces) {
            if ((vendor_id && vendor_id != i.vid) || (product_id && product_id != i.pid))
                continue;
            auto *info = static_cast<hid_device_info *>(std::calloc(1, sizeof(hid_device_info)));
            info->path = strdup(i.path.c_str());
            info->vendor_id = i.vid;
            info->product_id = i.pid;
            info->serial_number = wcsdup(L"");
            info->release_number = 0x0100;
            info->manufacturer_string = wcsdup(L"Virtual");
            info->product_string = wcsdup(L"Virtual mouse");
            info->usage_page = i.usagePage;
            info->usage = i.usage;
            info->interface_number = i.interfaceNumber;
            info->bus_type = HID_API_BUS_USB;
            *tail = info;
            tail = &info->next;
            ++count;
        }
    }
    const std::uint8_t ids[4] = {std::uint8_t(vendor_id >> 8), std::uint8_t(vendor_id),
                                 std::uint8_t(product_id >> 8), std::uint8_t(product_id)};
    LogEntry &e = s.addLog(Dir::Enumerate, "", ids, 4);
    e.result = count;
    s.trace(e);
    return head;
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info *devs) {
    while (devs) {
        hid_device_info *next = devs->next;
        std::free(devs->path);
        std::free(devs->serial_number);
        std::free(devs->manufacturer_string);
        std::free(devs->product_string);
        std::free(devs);
        devs = next;
    }
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open_path(const char *path) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    const std::string p = path ? path : "";
    const Interface *match = nullptr;
    for (const Interface &i : s.ifaces)
        if (i.path == p)
            match = &i;
    return openLocked(s, match, p);
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open(unsigned short vendor_id,
                                                 unsigned short product_id,
                                                 const wchar_t * /*serial_number*/) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    const Interface *match = nullptr;
    for (const Interface &i : s.ifaces)
        if (!match && i.vid == vendor_id && i.pid == product_id)
            match = &i;
    return openLocked(s, match, match ? match->path : std::string());
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device *dev) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    if (!dev)
        return;
    if (!s.known(dev))
        return;
    s.open.erase(dev);
    LogEntry &e = s.addLog(Dir::Close, dev->iface.path, nullptr, 0);
    s.trace(e);
    s.cv.notify_all();
    delete dev;
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device *dev, int nonblock) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    if (!s.known(dev))
        return -1;
    dev->nonblocking = nonblock != 0;
    return 0;
}

int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device *dev, const unsigned char *data,
                                                        size_t length) {
    Sim &s = sim();
    std::unique_lock<std::mutex> lock(s.m);
    if (!s.known(dev))
        return -1;
    const Interface &iface = dev->iface;
    LogEntry &e = s.addLog(Dir::FeatureOut, iface.path, data, length);
    int result = int(length);
    if (s.countCommandCall(iface) || s.faults.failFeatureSend || iface.role != Role::Command ||
        !data) {
        result = -1;
    } else {
        Firmware::Report c;
        bool changed = false;
        if (!s.fw.decode(data, length, c)) {
            ++s.undecodable;
        } else {
            e.clear.assign(c.begin(), c.end());
            if (s.fw.execute(c, s.faults, changed))
                s.cmds.emplace_back(c.begin(), c.end());
            else
                ++s.undecodable;
        }
        if (changed)
            s.persist();
    }
    e.result = result;
    s.trace(e);
    // A slow mouse holds the caller, not the other interface: wait outside the lock.
    const int slowMs = s.faults.slowMs;
    lock.unlock();
    if (slowMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(slowMs));
    return result;
}

int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device *dev, unsigned char *data,
                                                       size_t length) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    if (!s.known(dev))
        return -1;
    const Interface &iface = dev->iface;
    int result = -1;
    size_t n = 0;
    if (!s.countCommandCall(iface) && !s.faults.failAnswer && iface.role == Role::Command && data) {
        const size_t full = s.fw.answer.size();
        n = std::min({length, size_t(std::clamp(s.faults.answerLength, 0, int(full))), full});
        std::memcpy(data, s.fw.answer.data(), n);
        result = int(n);
    }
    LogEntry &e = s.addLog(Dir::Answer, iface.path, result > 0 ? data : nullptr, n);
    e.result = result;
    s.trace(e);
    return result;
}

int HID_API_EXPORT HID_API_CALL hid_get_input_report(hid_device *dev, unsigned char *, size_t) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    s.known(dev);
    return -1;
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device *dev, const unsigned char *data,
                                          size_t length) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    if (!s.known(dev))
        return -1;
    const Interface &iface = dev->iface;
    LogEntry &e = s.addLog(Dir::Output, iface.path, data, length);
    int result = int(length);
    if (s.countCommandCall(iface) || s.faults.failWrite || iface.role != Role::Command || !data)
        result = -1;
    else if (const auto taken = s.fw.takeOutput(data, length); taken == Firmware::Output::Stray)
        ++s.undecodable;
    else if (taken == Firmware::Output::Complete)
        s.persist();
    e.result = result;
    s.trace(e);
    return result;
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device *dev, unsigned char *data,
                                                 size_t length, int milliseconds) {
    Sim &s = sim();
    std::unique_lock<std::mutex> lock(s.m);
    return readLocked(s, lock, dev, data, length, milliseconds);
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device *dev, unsigned char *data, size_t length) {
    Sim &s = sim();
    std::unique_lock<std::mutex> lock(s.m);
    return readLocked(s, lock, dev, data, length, -1);
}

int HID_API_EXPORT_CALL hid_get_manufacturer_string(hid_device *dev, wchar_t *string,
                                                    size_t maxlen) {
    if (!dev || !string || !maxlen)
        return -1;
    std::wcsncpy(string, L"Virtual", maxlen);
    string[maxlen - 1] = 0;
    return 0;
}

int HID_API_EXPORT_CALL hid_get_product_string(hid_device *dev, wchar_t *string, size_t maxlen) {
    if (!dev || !string || !maxlen)
        return -1;
    std::wcsncpy(string, L"Virtual mouse", maxlen);
    string[maxlen - 1] = 0;
    return 0;
}

int HID_API_EXPORT_CALL hid_get_serial_number_string(hid_device *dev, wchar_t *string,
                                                     size_t maxlen) {
    if (!dev || !string || !maxlen)
        return -1;
    string[0] = 0;
    return 0;
}

int HID_API_EXPORT_CALL hid_get_indexed_string(hid_device *, int, wchar_t *, size_t) { return -1; }

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_get_device_info(hid_device *dev) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    return s.known(dev) ? &dev->info : nullptr;
}

HID_API_EXPORT const wchar_t *HID_API_CALL hid_error(hid_device *) { return lastError; }

HID_API_EXPORT const struct hid_api_version *HID_API_CALL hid_version(void) {
    static const hid_api_version v = {HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR,
                                      HID_API_VERSION_PATCH};
    return &v;
}

HID_API_EXPORT const char *HID_API_CALL hid_version_str(void) { return HID_API_VERSION_STR; }

} // extern "C"
