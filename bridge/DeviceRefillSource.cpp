#include "DeviceRefillSource.h"

#include "MS_HT66FB560.h"

bool DeviceRefillSource::currentProfile(std::uint8_t &profile) {
    return dev.hid_82H_GetCurrentProfile(profile);
}

bool DeviceRefillSource::firmwareBlock(std::uint8_t profile, Block &block) {
    return dev.hid_8CH_GetFwProfile(profile, block.data());
}

bool DeviceRefillSource::keyMatrixBlock(std::uint8_t profile, Block &block) {
    return dev.hid_8DH_GetKeyMatrix(profile, block.data());
}

bool DeviceRefillSource::dpiStage(std::uint8_t profile, std::uint8_t &stage) {
    return dev.hid_84H_GetDPIStage(stage, profile);
}

bool DeviceRefillSource::reportRate(std::uint8_t profile, std::uint8_t &rate) {
    return dev.hid_83H_GetReportRate(rate, profile);
}

bool DeviceRefillSource::ledTwinkle(std::uint8_t &type) {
    return dev.hid_89H_GetRGBLedTwinkle(type);
}

bool DeviceRefillSource::reachable() const { return !dev.linkLost(); }
