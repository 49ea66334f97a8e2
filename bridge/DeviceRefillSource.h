#pragma once

#include "RefillSource.h"

class MS_HT66FB560;

// The refill's reads over the HID link.
class DeviceRefillSource : public RefillSource {
public:
    explicit DeviceRefillSource(MS_HT66FB560 &device) : dev(device) {}

    bool currentProfile(std::uint8_t &profile) override;
    bool firmwareBlock(std::uint8_t profile, Block &block) override;
    bool keyMatrixBlock(std::uint8_t profile, Block &block) override;
    bool dpiStage(std::uint8_t profile, std::uint8_t &stage) override;
    bool reportRate(std::uint8_t profile, std::uint8_t &rate) override;
    bool ledTwinkle(std::uint8_t &type) override;
    bool reachable() const override;

private:
    MS_HT66FB560 &dev;
};
