#pragma once

// The virtual mouse's firmware: it decodes command reports, runs them on its state, answers
// and collects the data reports of a block. No locking, no logging: the hidapi surface
// (VirtualMouse.cpp) calls it under its lock and records the traffic.

#include "VirtualMouse.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>

namespace vmouse {

class Firmware {
public:
    using Report = std::array<std::uint8_t, layout::commandReportSize>;

    State st;
    // The answer the next feature-report read hands back.
    Report answer{};
    // Data reports waiting for the host's reads (a block get queues its block here).
    std::deque<Bytes> dataReports;

    // Forgets a half-sent block, the answer and the queued data reports.
    void clearExchange();

    // A feature report as it came over the wire, unscrambled with the device code; false
    // when it is no command report (length, report ID, checksum).
    bool decode(const std::uint8_t *data, std::size_t length, Report &clear) const;

    // Runs one decoded command report; false when the firmware rejects it. `changed` is
    // set when the state changed.
    bool execute(const Report &c, const Faults &faults, bool &changed);

    // One output report of the block a set command announced.
    enum class Output { Stray, Partial, Complete };
    Output takeOutput(const std::uint8_t *data, std::size_t length);

private:
    struct Pending {
        Block *target = nullptr;
        Bytes collected;
    };
    Pending pending;
};

} // namespace vmouse
