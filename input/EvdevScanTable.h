#pragma once

#include <QtGlobal>

// Linux evdev key codes (X keycode − 8) and the scan code set 1 byte plus E0 flag that the
// Windows low-level keyboard hook reports for the same physical key. The rows come from
// data/evdev-to-set1.tsv, turned into C++ at build time.
struct EvdevScanRow {
    quint16 evdev;
    quint8 scan;
    quint8 extended; // 1: the hook would set LLKHF_EXTENDED
};

extern const EvdevScanRow evdevScanRows[];
extern const int evdevScanRowCount;

// Scan byte and extended flag for an evdev code; false for codes without a scan code.
bool evdevToScan(unsigned evdevCode, quint8 &scan, bool &extended);
