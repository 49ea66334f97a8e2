// The virtual mouse: hidapi's C functions over a model of the firmware.

#include "VirtualMouse.h"

#include <hidapi.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>

struct hid_device_ {
    vmouse::Interface iface;
    bool nonblocking = false;
    hid_device_info info{};
};

namespace vmouse {

const char *const commandPath = "virtual-mouse/0";
const char *const vendorPath = "virtual-mouse/1";

namespace {

constexpr std::array<std::uint8_t, 8> scrambleKey = {'V', 'a', 'T', 'q', 'e', 'R', 'u', 's'};
constexpr size_t logCap = 200000;

std::uint8_t checksum(const std::uint8_t *r9) {
    std::uint8_t sum = 0;
    for (int i = 1; i < 8; ++i)
        sum = std::uint8_t(sum + r9[i]);
    return std::uint8_t(~sum);
}

std::uint8_t swapNibbles(std::uint8_t x) { return std::uint8_t((x << 4) | (x >> 4)); }

// The firmware's side of the scrambler: each step of the host's, inverted, in reverse order.
void unscramble(std::uint8_t *p, const std::array<std::uint8_t, 8> &code) {
    for (int i = 0; i < 8; ++i)
        p[i] = std::uint8_t(p[i] - swapNibbles(scrambleKey[i]));
    const std::uint8_t last = p[7];
    for (int k = 7; k > 0; --k)
        p[k] = std::uint8_t((p[k] >> 3) | (p[k - 1] << 5));
    p[0] = std::uint8_t((p[0] >> 3) | (last << 5));
    for (int i = 1; i <= 6; ++i)
        p[i] ^= code[i];
    std::swap(p[0], p[5]);
    std::swap(p[1], p[4]);
    std::swap(p[2], p[7]);
    std::swap(p[3], p[6]);
}

struct PendingBlock {
    std::uint8_t cmd = 0;
    std::uint8_t id = 0;
    Bytes collected;
};

struct Sim {
    std::mutex m;
    std::condition_variable cv;

    State st;
    std::vector<Interface> ifaces;
    Faults faults;
    int commandCalls = 0;
    bool gone = false;

    std::vector<LogEntry> log;
    std::vector<Bytes> cmds;
    int undecodable = 0;
    int badHandles = 0;
    std::set<hid_device *> open;
    std::deque<Bytes> vendorQueue;
    std::deque<Bytes> inputQueue;
    std::array<std::uint8_t, 9> answer{};
    bool pendingActive = false;
    PendingBlock pending;

    std::string stateFile;
    std::FILE *trafficFile = nullptr;

    Sim() {
        resetLocked();
#ifdef VMOUSE_PRELOAD
        // Preloaded into the real program: the state lives in a file between runs.
        std::string path;
        if (const char *env = std::getenv("VIRTUAL_MOUSE_STATE"); env && *env)
            path = env;
        else if (const char *home = std::getenv("HOME"); home && *home)
            path = std::string(home) + "/.local/state/q7config/virtual-mouse.txt";
        if (!path.empty())
            attachStateFile(path);
        if (const char *env = std::getenv("VIRTUAL_MOUSE_LOG"); env && *env)
            trafficFile = std::fopen(env, "a");
#endif
    }

    void resetLocked() {
        st = factoryState();
        ifaces = mouseInterfaces(commandPath, vendorPath);
        faults = Faults{};
        commandCalls = 0;
        gone = false;
        log.clear();
        cmds.clear();
        undecodable = 0;
        badHandles = 0;
        vendorQueue.clear();
        inputQueue.clear();
        answer.fill(0);
        pendingActive = false;
        cv.notify_all();
    }

    void attachStateFile(const std::string &path) {
        stateFile = path;
        if (path.empty())
            return;
        State loaded = st;
        if (loadStateFile(path, loaded))
            st = loaded;
        else
            persist();
    }

    void persist() {
        if (stateFile.empty())
            return;
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(stateFile).parent_path(), ec);
        saveStateFile(stateFile, st);
    }

    LogEntry &addLog(Dir dir, const std::string &path, const std::uint8_t *data, size_t n) {
        if (log.size() >= logCap)
            log.erase(log.begin(), log.begin() + logCap / 2);
        LogEntry e;
        e.dir = dir;
        e.path = path;
        if (data && n)
            e.bytes.assign(data, data + n);
        e.at = std::chrono::steady_clock::now();
        log.push_back(std::move(e));
        return log.back();
    }

    void trace(const LogEntry &e) {
        if (!trafficFile)
            return;
        static const char *const names[] = {"enumerate", "open",   "close", "feature",
                                            "answer",    "output", "input"};
        std::fprintf(trafficFile, "%s %s %d", names[int(e.dir)], e.path.c_str(), e.result);
        for (auto b : e.bytes)
            std::fprintf(trafficFile, " %02x", b);
        if (!e.clear.empty()) {
            std::fprintf(trafficFile, " | clear");
            for (auto b : e.clear)
                std::fprintf(trafficFile, " %02x", b);
        }
        std::fputc('\n', trafficFile);
        std::fflush(trafficFile);
    }

    bool mouseAbsent() const { return faults.absent || gone; }

    // Counts a call on a command interface; true when the mouse has (just) been unplugged.
    bool countCommandCall(const Interface &i) {
        if (i.role != Role::Command)
            return mouseAbsent();
        ++commandCalls;
        if (faults.unplugAtCall > 0 && commandCalls >= faults.unplugAtCall && !gone) {
            gone = true;
            cv.notify_all();
        }
        return mouseAbsent();
    }

    bool known(hid_device *d) {
        if (d && open.count(d))
            return true;
        ++badHandles;
        return false;
    }

    void setAnswer(const std::uint8_t *c) {
        answer.fill(0);
        answer[1] = c[1];
        answer[2] = c[2];
        answer[3] = c[3];
    }

    // Runs one decoded command report; false when the firmware rejects it.
    bool execute(const std::uint8_t *c) {
        const std::uint8_t cmd = c[1], a = c[2], b = c[3];
        const bool profileOk = a < 6;
        const bool zeroTail = c[4] == 0 && c[5] == 0 && c[6] == 0 && c[7] == 0;
        pendingActive = false;
        inputQueue.clear();
        setAnswer(c);
        bool ok = true;
        bool changed = false;
        switch (cmd) {
        case 0x01:
            st.functionOption = a;
            changed = true;
            break;
        case 0x02:
            if ((ok = profileOk)) {
                st.currentProfile = a;
                changed = true;
            }
            break;
        case 0x03:
            if ((ok = profileOk)) {
                st.reportRate[a] = b;
                changed = true;
            }
            break;
        case 0x04:
            if ((ok = profileOk)) {
                st.dpiStage[a] = b;
                changed = true;
            }
            break;
        case 0x08:
            ok = a == 0xAA && b == 0xCC && c[4] == 0xEE;
            break;
        case 0x0C:
        case 0x0D:
        case 0x0F: {
            const bool idOk = cmd == 0x0F ? (a >= 1 && a <= 100) : profileOk;
            if ((ok = idOk && b == 0x80)) {
                pendingActive = true;
                pending = PendingBlock{cmd, a, {}};
            }
            break;
        }
        case 0x80:
            answer[2] = st.fwMajor;
            answer[3] = st.fwMinor;
            break;
        case 0x81:
            answer[2] = st.functionOption;
            break;
        case 0x82:
            answer[2] = st.currentProfile;
            break;
        case 0x83:
            if ((ok = profileOk))
                answer[3] = st.reportRate[a];
            break;
        case 0x84:
            if ((ok = profileOk))
                answer[3] = st.dpiStage[a];
            break;
        case 0x89:
            answer[2] = st.ledTwinkle;
            break;
        case 0x8C:
        case 0x8D:
        case 0x8F: {
            const bool idOk = cmd == 0x8F ? (a >= 1 && a <= 100) : profileOk;
            if ((ok = idOk && b == 0x80)) {
                const Block &blk = cmd == 0x8C   ? st.profiles[a]
                                   : cmd == 0x8D ? st.matrices[a]
                                                 : st.macros[a - 1];
                if (!faults.silent) {
                    for (int off = 0; off < 128; off += 64) {
                        const int n = std::clamp(faults.inputReportLength, 0, 64);
                        inputQueue.emplace_back(blk.begin() + off, blk.begin() + off + n);
                    }
                }
            }
            break;
        }
        default:
            ok = false;
            break;
        }
        if (cmd != 0x08 && !zeroTail)
            ok = false;
        answer[8] = checksum(answer.data());
        if (faults.wrongAnswer) {
            answer[1] = std::uint8_t(answer[1] ^ 0x40);
            answer[8] = std::uint8_t(~answer[8]);
        }
        if (ok)
            cmds.emplace_back(c, c + 9);
        if (changed)
            persist();
        return ok;
    }

    void takeOutput(const std::uint8_t *data, size_t n) {
        if (!pendingActive || n < 1 || data[0] != 0) {
            ++undecodable;
            return;
        }
        const size_t want = 128 - pending.collected.size();
        const size_t take = std::min(want, n - 1);
        pending.collected.insert(pending.collected.end(), data + 1, data + 1 + take);
        if (pending.collected.size() < 128)
            return;
        Block blk{};
        std::copy(pending.collected.begin(), pending.collected.end(), blk.begin());
        if (pending.cmd == 0x0C)
            st.profiles[pending.id] = blk;
        else if (pending.cmd == 0x0D)
            st.matrices[pending.id] = blk;
        else
            st.macros[pending.id - 1] = blk;
        pendingActive = false;
        persist();
    }
};

Sim &sim() {
    static Sim *s = new Sim; // never destroyed: threads may still call in at exit
    return *s;
}

std::string hexRow(const std::uint8_t *p, size_t n) {
    std::string out;
    char buf[4];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, i ? " %02x" : "%02x", p[i]);
        out += buf;
    }
    return out;
}

void writeBlock(std::ostream &out, const char *kind, int n, const Block &b) {
    out << '[' << kind << ' ' << n << "]\n";
    for (int row = 0; row < 8; ++row)
        out << hexRow(b.data() + 16 * row, 16) << '\n';
}

} // namespace

std::vector<Interface> mouseInterfaces(const std::string &cmdPath, const std::string &vendPath) {
    Interface c;
    c.path = cmdPath;
    c.usagePage = 0xff00;
    c.usage = 0xff00;
    c.interfaceNumber = 1;
    c.role = Role::Command;
    Interface v;
    v.path = vendPath;
    v.usagePage = 0xff01;
    v.usage = 0x0001;
    v.interfaceNumber = 2;
    v.role = Role::Vendor;
    return {c, v};
}

State factoryState() {
    State s;
    for (int p = 0; p < layout::profileCount; ++p) {
        s.profiles[size_t(p)] = factory::profileBlock(p);
        s.matrices[size_t(p)] = factory::keyMatrixBlock(p);
        s.reportRate[size_t(p)] = factory::reportRateCode;
        s.dpiStage[size_t(p)] = factory::dpiStage;
    }
    for (int m = 0; m < layout::macroSlots; ++m)
        s.macros[size_t(m)] = factory::macroBlock(m + 1);
    s.currentProfile = 1; // P01, as the shipped profile file has it
    s.functionOption = factory::functionOption;
    s.ledTwinkle = factory::ledTwinkleType;
    s.fwMajor = factory::firmwareMajor;
    s.fwMinor = factory::firmwareMinor;
    return s;
}

void reset() {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    s.resetLocked();
    s.persist();
}

State state() {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    return s.st;
}

void setState(const State &st) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    s.st = st;
    s.persist();
}

void setDeviceCode(const std::string &code) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    s.st.deviceCode = code;
    s.persist();
}

std::vector<Interface> interfaces() {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    return s.ifaces;
}

void setInterfaces(const std::vector<Interface> &list) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    s.ifaces = list;
}

Faults faults() {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    return s.faults;
}

void setFaults(const Faults &f) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    s.faults = f;
    s.commandCalls = 0;
    s.gone = false;
    s.cv.notify_all();
}

bool unplugged() {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    return s.gone;
}

std::vector<LogEntry> log() {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    return s.log;
}

void clearLog() {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    s.log.clear();
    s.cmds.clear();
    s.undecodable = 0;
}

std::vector<Bytes> commands() {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    return s.cmds;
}

int undecodable() {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    return s.undecodable;
}

int badHandleCalls() {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    return s.badHandles;
}

int openHandles() {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    return int(s.open.size());
}

void queueVendorReport(const Bytes &report) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    s.vendorQueue.push_back(report);
    s.cv.notify_all();
}

void setStateFile(const std::string &path) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    s.attachStateFile(path);
}

bool saveStateFile(const std::string &path, const State &s) {
    std::ostringstream out;
    out << "# Virtual mouse state. Hex bytes; edit while the program is not running.\n";
    out << "current_profile=" << int(s.currentProfile) << '\n';
    out << "report_rate=" << hexRow(s.reportRate.data(), 6) << '\n';
    out << "dpi_stage=" << hexRow(s.dpiStage.data(), 6) << '\n';
    out << "function_option=" << hexRow(&s.functionOption, 1) << '\n';
    out << "led_twinkle=" << hexRow(&s.ledTwinkle, 1) << '\n';
    const std::uint8_t fw[2] = {s.fwMajor, s.fwMinor};
    out << "firmware=" << hexRow(fw, 2) << '\n';
    out << "device_code=" << s.deviceCode << '\n';
    for (int p = 0; p < 6; ++p)
        writeBlock(out, "profile", p, s.profiles[size_t(p)]);
    for (int p = 0; p < 6; ++p)
        writeBlock(out, "matrix", p, s.matrices[size_t(p)]);
    // Empty macro slots are left out; a slot missing from the file is empty.
    for (int m = 0; m < 100; ++m) {
        const Block &b = s.macros[size_t(m)];
        if (std::any_of(b.begin(), b.end(), [](std::uint8_t v) { return v != 0; }))
            writeBlock(out, "macro", m + 1, b);
    }
    // Written beside and renamed, so a reader never sees half a file.
    const std::string tmp = path + ".tmp";
    {
        std::ofstream f(tmp, std::ios::trunc);
        if (!f)
            return false;
        f << out.str();
        if (!f.flush())
            return false;
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    return !ec;
}

bool loadStateFile(const std::string &path, State &out) {
    std::ifstream f(path);
    if (!f)
        return false;
    State s = factoryState();
    for (auto &m : s.macros)
        m.fill(0);
    Block *target = nullptr;
    size_t filled = 0;
    auto parseHex = [](const std::string &text, std::uint8_t *dst, size_t max) {
        std::istringstream in(text);
        std::string tok;
        size_t n = 0;
        while (n < max && in >> tok)
            dst[n++] = std::uint8_t(std::strtoul(tok.c_str(), nullptr, 16));
        return n;
    };
    std::string line;
    while (std::getline(f, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            char kind[16] = {};
            int n = -1;
            target = nullptr;
            filled = 0;
            if (std::sscanf(line.c_str(), "[%15s %d]", kind, &n) == 2) {
                const std::string k = kind;
                if (k == "profile" && n >= 0 && n < 6)
                    target = &s.profiles[size_t(n)];
                else if (k == "matrix" && n >= 0 && n < 6)
                    target = &s.matrices[size_t(n)];
                else if (k == "macro" && n >= 1 && n <= 100)
                    target = &s.macros[size_t(n - 1)];
            }
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            if (target && filled < 128)
                filled += parseHex(line, target->data() + filled, 128 - filled);
            continue;
        }
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "current_profile")
            s.currentProfile =
                std::uint8_t(std::min(5ul, std::strtoul(value.c_str(), nullptr, 10)));
        else if (key == "report_rate")
            parseHex(value, s.reportRate.data(), 6);
        else if (key == "dpi_stage")
            parseHex(value, s.dpiStage.data(), 6);
        else if (key == "function_option")
            parseHex(value, &s.functionOption, 1);
        else if (key == "led_twinkle")
            parseHex(value, &s.ledTwinkle, 1);
        else if (key == "firmware") {
            std::uint8_t fw[2] = {s.fwMajor, s.fwMinor};
            parseHex(value, fw, 2);
            s.fwMajor = fw[0];
            s.fwMinor = fw[1];
        } else if (key == "device_code")
            s.deviceCode = value;
    }
    out = s;
    return true;
}

} // namespace vmouse

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
        std::deque<Bytes> &queue = iface.role == Role::Vendor ? s.vendorQueue : s.inputQueue;
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
    std::lock_guard<std::mutex> lock(s.m);
    if (!s.known(dev))
        return -1;
    const Interface &iface = dev->iface;
    LogEntry &e = s.addLog(Dir::FeatureOut, iface.path, data, length);
    int result = int(length);
    if (s.countCommandCall(iface) || s.faults.failFeatureSend || iface.role != Role::Command ||
        !data) {
        result = -1;
    } else {
        bool decoded = false;
        if (length == 9 && data[0] == 0) {
            std::uint8_t c[9];
            std::memcpy(c, data, 9);
            if (!s.st.deviceCode.empty()) {
                std::array<std::uint8_t, 8> code{};
                if (s.st.deviceCode.size() == 6)
                    for (int i = 0; i < 6; ++i)
                        code[size_t(i + 1)] = std::uint8_t(s.st.deviceCode[size_t(i)]);
                unscramble(c + 1, code);
            }
            if (checksum(c) == c[8]) {
                decoded = true;
                e.clear.assign(c, c + 9);
                if (!s.execute(c))
                    ++s.undecodable;
            }
        }
        if (!decoded)
            ++s.undecodable;
    }
    e.result = result;
    s.trace(e);
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
        n = std::min({length, size_t(std::clamp(s.faults.answerLength, 0, 9)), size_t(9)});
        std::memcpy(data, s.answer.data(), n);
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
    else
        s.takeOutput(data, length);
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
