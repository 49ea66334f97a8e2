#pragma once

#include "RefillSource.h"

#include <array>

// Everything one refill reads from the mouse, read in one go and answered from memory later.
// The reads run off the GUI thread (a slow mouse must not freeze the window), while the store
// is only ever touched on it: the snapshot carries the answers across.
class RefillSnapshot : public RefillSource {
public:
    // Reads in the order the store asks, so the mouse sees the same exchanges either way and
    // a mouse found gone ends them after the first failure, as a refill read directly does.
    static RefillSnapshot readFrom(RefillSource &live);

    bool currentProfile(std::uint8_t &profile) override { return answer(current, profile); }
    bool firmwareBlock(std::uint8_t profile, Block &block) override;
    bool keyMatrixBlock(std::uint8_t profile, Block &block) override;
    bool dpiStage(std::uint8_t profile, std::uint8_t &stage) override;
    bool reportRate(std::uint8_t profile, std::uint8_t &rate) override;
    bool ledTwinkle(std::uint8_t &type) override { return answer(twinkle, type); }
    bool reachable() const override { return reached; }

private:
    template <typename T> struct Answer {
        bool read = false;
        T value{};
    };
    template <typename T> static bool answer(const Answer<T> &a, T &out) {
        if (a.read)
            out = a.value;
        return a.read;
    }
    template <typename T>
    static bool answer(const std::array<Answer<T>, layout::profileCount> &all, std::uint8_t profile,
                       T &out) {
        return profile < all.size() && answer(all[profile], out);
    }

    Answer<std::uint8_t> current, twinkle;
    std::array<Answer<Block>, layout::profileCount> firmware{}, matrix{};
    std::array<Answer<std::uint8_t>, layout::profileCount> stage{}, rate{};
    bool reached = false;
};
