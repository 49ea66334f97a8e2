#include "Firmware.h"

#include <algorithm>

namespace vmouse {

namespace {

namespace cmd = layout::command;

constexpr std::array<std::uint8_t, 8> scrambleKey = {'V', 'a', 'T', 'q', 'e', 'R', 'u', 's'};

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

// What the first argument of a command names, and so which values it may take.
enum class Id { None, Profile, MacroSlot };

bool validId(Id id, std::uint8_t a) {
    switch (id) {
    case Id::None:
        return true;
    case Id::Profile:
        return a < layout::profileCount;
    case Id::MacroSlot:
        return a >= 1 && a <= layout::macroSlots;
    }
    return false;
}

enum class Kind { SetValue, GetValue, SetBlock, GetBlock, StopMacro, GetVersion };

using ValueOf = std::uint8_t &(*)(State &, std::uint8_t id);
using BlockOf = Block &(*)(State &, std::uint8_t id);

struct Row {
    std::uint8_t code;
    Id id;
    Kind kind;
    int valueArg; // SetValue: the report byte that carries the value (2 or 3)
    ValueOf value;
    BlockOf block;
};

std::uint8_t &functionOption(State &s, std::uint8_t) { return s.functionOption; }
std::uint8_t &currentProfile(State &s, std::uint8_t) { return s.currentProfile; }
std::uint8_t &reportRate(State &s, std::uint8_t p) { return s.reportRate[p]; }
std::uint8_t &dpiStage(State &s, std::uint8_t p) { return s.dpiStage[p]; }
std::uint8_t &ledTwinkle(State &s, std::uint8_t) { return s.ledTwinkle; }
Block &profileBlock(State &s, std::uint8_t p) { return s.profiles[p]; }
Block &keyMatrix(State &s, std::uint8_t p) { return s.matrices[p]; }
Block &macroSlot(State &s, std::uint8_t slot) { return s.macros[slot - 1u]; }

// clang-format off
constexpr Row commands[] = {
    {cmd::setFunctionOption, Id::None,      Kind::SetValue,   2, functionOption, nullptr},
    {cmd::setCurrentProfile, Id::Profile,   Kind::SetValue,   2, currentProfile, nullptr},
    {cmd::setReportRate,     Id::Profile,   Kind::SetValue,   3, reportRate,     nullptr},
    {cmd::setDpiStage,       Id::Profile,   Kind::SetValue,   3, dpiStage,       nullptr},
    {cmd::stopMacroSending,  Id::None,      Kind::StopMacro,  0, nullptr,        nullptr},
    {cmd::setFwProfile,      Id::Profile,   Kind::SetBlock,   0, nullptr,        profileBlock},
    {cmd::setKeyMatrix,      Id::Profile,   Kind::SetBlock,   0, nullptr,        keyMatrix},
    {cmd::setMacro,          Id::MacroSlot, Kind::SetBlock,   0, nullptr,        macroSlot},
    {cmd::getFwVersion,      Id::None,      Kind::GetVersion, 0, nullptr,        nullptr},
    {cmd::getFunctionOption, Id::None,      Kind::GetValue,   0, functionOption, nullptr},
    {cmd::getCurrentProfile, Id::None,      Kind::GetValue,   0, currentProfile, nullptr},
    {cmd::getReportRate,     Id::Profile,   Kind::GetValue,   0, reportRate,     nullptr},
    {cmd::getDpiStage,       Id::Profile,   Kind::GetValue,   0, dpiStage,       nullptr},
    {cmd::getLedTwinkle,     Id::None,      Kind::GetValue,   0, ledTwinkle,     nullptr},
    {cmd::getFwProfile,      Id::Profile,   Kind::GetBlock,   0, nullptr,        profileBlock},
    {cmd::getKeyMatrix,      Id::Profile,   Kind::GetBlock,   0, nullptr,        keyMatrix},
    {cmd::getMacro,          Id::MacroSlot, Kind::GetBlock,   0, nullptr,        macroSlot},
};
// clang-format on

const Row *rowOf(std::uint8_t code) {
    for (const Row &r : commands)
        if (r.code == code)
            return &r;
    return nullptr;
}

} // namespace

void Firmware::clearExchange() {
    pending = Pending{};
    dataReports.clear();
    answer.fill(0);
}

bool Firmware::decode(const std::uint8_t *data, std::size_t length, Report &c) const {
    if (!data || length != c.size() || data[0] != 0)
        return false;
    std::copy(data, data + c.size(), c.begin());
    if (!st.deviceCode.empty()) {
        std::array<std::uint8_t, 8> code{};
        if (st.deviceCode.size() == 6)
            for (int i = 0; i < 6; ++i)
                code[size_t(i + 1)] = std::uint8_t(st.deviceCode[size_t(i)]);
        unscramble(c.data() + 1, code);
    }
    return checksum(c.data()) == c[8];
}

bool Firmware::execute(const Report &c, const Faults &faults, bool &changed) {
    const std::uint8_t code = c[1], a = c[2], b = c[3];
    const bool zeroTail = c[4] == 0 && c[5] == 0 && c[6] == 0 && c[7] == 0;
    changed = false;
    clearExchange();
    // The answer echoes the command and its arguments; a get fills in its value.
    answer[1] = code;
    answer[2] = a;
    answer[3] = b;

    const Row *row = rowOf(code);
    bool ok = row && validId(row->id, a);
    if (ok && row->kind == Kind::StopMacro)
        ok = a == cmd::stopMacroArg1 && b == cmd::stopMacroArg2 && c[4] == cmd::stopMacroMarker;
    else if (!zeroTail)
        ok = false; // bytes 4-7 of every other command are zero
    if ((row && (row->kind == Kind::SetBlock || row->kind == Kind::GetBlock)) &&
        b != layout::blockLengthArg)
        ok = false;

    if (ok) {
        switch (row->kind) {
        case Kind::SetValue:
            row->value(st, a) = c[size_t(row->valueArg)];
            changed = true;
            break;
        case Kind::GetValue:
            answer[size_t(cmd::answerByteOf(code))] = row->value(st, a);
            break;
        case Kind::SetBlock:
            pending = Pending{&row->block(st, a), {}};
            break;
        case Kind::GetBlock:
            if (!faults.silent) {
                const Block &blk = row->block(st, a);
                const int n = std::clamp(faults.inputReportLength, 0, layout::dataReportSize);
                for (int off = 0; off < layout::blockSize; off += layout::dataReportSize)
                    dataReports.emplace_back(blk.begin() + off, blk.begin() + off + n);
            }
            break;
        case Kind::GetVersion:
            answer[2] = st.fwMajor;
            answer[3] = st.fwMinor;
            break;
        case Kind::StopMacro:
            break;
        }
    }
    answer[8] = checksum(answer.data());
    if (faults.wrongAnswer) {
        answer[1] = std::uint8_t(answer[1] ^ 0x40);
        answer[8] = std::uint8_t(~answer[8]);
    }
    return ok;
}

Firmware::Output Firmware::takeOutput(const std::uint8_t *data, std::size_t n) {
    if (!pending.target || n < 1 || data[0] != 0)
        return Output::Stray;
    const size_t want = size_t(layout::blockSize) - pending.collected.size();
    const size_t take = std::min(want, n - 1);
    pending.collected.insert(pending.collected.end(), data + 1, data + 1 + take);
    if (pending.collected.size() < size_t(layout::blockSize))
        return Output::Partial;
    std::copy(pending.collected.begin(), pending.collected.end(), pending.target->begin());
    pending = Pending{};
    return Output::Complete;
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

} // namespace vmouse
