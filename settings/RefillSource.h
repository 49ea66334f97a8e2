#pragma once

#include "BlockLayout.h"

#include <array>
#include <cstdint>

// What the profile store's refill reads from the mouse: the current profile, each profile's
// firmware and key matrix blocks, and the values the mouse keeps outside them. The program
// implements it over the HID link; the store does not know how the values travel.
// Every read answers false when the mouse did not answer; the block or value may then hold
// part of an answer.
class RefillSource {
public:
    using Block = std::array<std::uint8_t, layout::blockSize>;

    virtual ~RefillSource() = default;

    virtual bool currentProfile(std::uint8_t &profile) = 0;
    virtual bool firmwareBlock(std::uint8_t profile, Block &block) = 0;
    virtual bool keyMatrixBlock(std::uint8_t profile, Block &block) = 0;
    virtual bool dpiStage(std::uint8_t profile, std::uint8_t &stage) = 0;
    virtual bool reportRate(std::uint8_t profile, std::uint8_t &rate) = 0;
    // Device-wide; kept with profile 0.
    virtual bool ledTwinkle(std::uint8_t &type) = 0;

    // False once an exchange found the mouse gone (unplugged, or it stopped answering):
    // every read then fails at once, and the mouse counts as unlinked until the next
    // device check finds it again.
    virtual bool reachable() const = 0;
};
