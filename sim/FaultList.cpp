// The fault list of VIRTUAL_MOUSE_FAULTS. It comes from whoever starts the program, so
// every number is range-checked and nothing in it can make the model misbehave beyond the
// faults it names.

#include "VirtualMouse.h"

#include <cctype>
#include <cstdint>

namespace vmouse {

namespace {

std::string trimmed(const std::string &s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

// Decimal digits only, within [low, high].
bool number(const std::string &text, long low, long high, int &out) {
    if (text.empty() || text.size() > 9)
        return false;
    long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high)
        return false;
    out = int(v);
    return true;
}

// "200", "200ms" or "2s".
bool duration(const std::string &text, int &ms) {
    constexpr long maxMs = 60000;
    auto endsWith = [&](const char *suffix, size_t n) {
        return text.size() > n && text.compare(text.size() - n, n, suffix) == 0;
    };
    if (endsWith("ms", 2))
        return number(text.substr(0, text.size() - 2), 0, maxMs, ms);
    if (endsWith("s", 1)) {
        int s = 0;
        if (!number(text.substr(0, text.size() - 1), 0, maxMs / 1000, s))
            return false;
        ms = s * 1000;
        return true;
    }
    return number(text, 0, maxMs, ms);
}

struct Flag {
    const char *name;
    bool Faults::*field;
};
constexpr Flag flags[] = {
    {"absent", &Faults::absent},       {"silent", &Faults::silent},
    {"fail-send", &Faults::failFeatureSend}, {"fail-answer", &Faults::failAnswer},
    {"fail-write", &Faults::failWrite},   {"wrong-answer", &Faults::wrongAnswer},
};

bool apply(const std::string &name, const std::string &value, bool hasValue, Faults &f) {
    if (!hasValue) {
        for (const Flag &flag : flags) {
            if (name == flag.name) {
                f.*flag.field = true;
                return true;
            }
        }
        return false;
    }
    if (name == "unplug-at")
        return number(value, 1, 100000000, f.unplugAtCall);
    if (name == "short-answer")
        return number(value, 0, layout::commandReportSize - 1, f.answerLength);
    if (name == "short-report")
        return number(value, 0, layout::dataReportSize - 1, f.inputReportLength);
    if (name == "slow")
        return duration(value, f.slowMs);
    return false;
}

} // namespace

Faults parseFaults(const std::string &text, std::vector<std::string> &problems) {
    Faults f;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        const std::string item = trimmed(text.substr(start, comma - start));
        start = comma + 1;
        if (item.empty())
            continue;
        const size_t eq = item.find('=');
        const bool hasValue = eq != std::string::npos;
        const std::string name = trimmed(item.substr(0, eq));
        const std::string value = hasValue ? trimmed(item.substr(eq + 1)) : std::string();
        Faults tried = f;
        if (apply(name, value, hasValue, tried))
            f = tried;
        else
            problems.push_back("ignored \"" + item + "\"");
    }
    return f;
}

} // namespace vmouse
