#include "EvdevScanTable.h"

#include <array>

namespace {
struct ScanSlot {
    quint8 scan = 0;
    bool extended = false;
};

// Indexed by evdev code so a key event costs one array read.
const std::array<ScanSlot, 256> &slots() {
    static const std::array<ScanSlot, 256> table = [] {
        std::array<ScanSlot, 256> t{};
        for (int i = 0; i < evdevScanRowCount; ++i) {
            const EvdevScanRow &row = evdevScanRows[i];
            if (row.evdev < t.size())
                t[row.evdev] = {row.scan, row.extended != 0};
        }
        return t;
    }();
    return table;
}
} // namespace

bool evdevToScan(unsigned evdevCode, quint8 &scan, bool &extended) {
    if (evdevCode >= slots().size() || slots()[evdevCode].scan == 0)
        return false;
    scan = slots()[evdevCode].scan;
    extended = slots()[evdevCode].extended;
    return true;
}
