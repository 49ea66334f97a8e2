#include "RefillSnapshot.h"

RefillSnapshot RefillSnapshot::readFrom(RefillSource &live) {
    RefillSnapshot s;
    s.current.read = live.currentProfile(s.current.value);
    for (std::uint8_t d = 0; d < layout::profileCount; ++d) {
        s.firmware[d].read = live.firmwareBlock(d, s.firmware[d].value);
        s.matrix[d].read = live.keyMatrixBlock(d, s.matrix[d].value);
        s.stage[d].read = live.dpiStage(d, s.stage[d].value);
        s.rate[d].read = live.reportRate(d, s.rate[d].value);
        if (d == 0)
            s.twinkle.read = live.ledTwinkle(s.twinkle.value);
    }
    s.reached = live.reachable();
    return s;
}

bool RefillSnapshot::firmwareBlock(std::uint8_t profile, Block &block) {
    return answer(firmware, profile, block);
}

bool RefillSnapshot::keyMatrixBlock(std::uint8_t profile, Block &block) {
    return answer(matrix, profile, block);
}

bool RefillSnapshot::dpiStage(std::uint8_t profile, std::uint8_t &value) {
    return answer(stage, profile, value);
}

bool RefillSnapshot::reportRate(std::uint8_t profile, std::uint8_t &value) {
    return answer(rate, profile, value);
}
