// The virtual mouse's state file: the firmware state as readable hex, so that a journey test
// (or a person) can set the mouse up before a run and read what the program wrote.

#include "VirtualMouse.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vmouse {

namespace {

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

bool saveStateFile(const std::string &path, const State &s) {
    std::ostringstream out;
    out << "# Virtual mouse state. Hex bytes; edit while the program is not running.\n";
    out << "current_profile=" << int(s.currentProfile) << '\n';
    out << "report_rate=" << hexRow(s.reportRate.data(), s.reportRate.size()) << '\n';
    out << "dpi_stage=" << hexRow(s.dpiStage.data(), s.dpiStage.size()) << '\n';
    out << "function_option=" << hexRow(&s.functionOption, 1) << '\n';
    out << "led_twinkle=" << hexRow(&s.ledTwinkle, 1) << '\n';
    const std::uint8_t fw[2] = {s.fwMajor, s.fwMinor};
    out << "firmware=" << hexRow(fw, 2) << '\n';
    out << "device_code=" << s.deviceCode << '\n';
    for (int p = 0; p < layout::profileCount; ++p)
        writeBlock(out, "profile", p, s.profiles[size_t(p)]);
    for (int p = 0; p < layout::profileCount; ++p)
        writeBlock(out, "matrix", p, s.matrices[size_t(p)]);
    // Empty macro slots are left out; a slot missing from the file is empty.
    for (int m = 0; m < layout::macroSlots; ++m) {
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
        // Every carriage return at the end goes: an editor that doubled them would otherwise
        // leave one in the value, and the state would change with each save and load.
        while (!line.empty() && line.back() == '\r')
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
