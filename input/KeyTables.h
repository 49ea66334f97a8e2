#pragma once

#include <QtGlobal>

#include <map>

// Scan key: (scan byte << 8) | extended bit, the way the low-level keyboard hook reports a key.
using ScanToVkMap = std::map<quint16, quint8>;
// Windows virtual-key code -> USB HID keyboard usage (page 0x07).
using VkToUsageMap = std::map<quint8, quint8>;

namespace Vk {
constexpr quint8 Pause = 0x13;
constexpr quint8 Snapshot = 0x2C;
// Windows leaves 0x0E unassigned; keypad Enter takes it so that it stays apart from Enter.
constexpr quint8 KeypadEnter = 0x0E;
constexpr quint8 Oem5 = 0xDC;
} // namespace Vk

constexpr quint16 scanKey(quint8 scan, bool extended) {
    return static_cast<quint16>(scan << 8 | (extended ? 1 : 0));
}

// Each replaces the map's contents, so rebuilding never accumulates entries.
void buildScanToVk(ScanToVkMap &map);
// isoBackslash: the key at scan 2B reports Non-US hash (0x32) instead of Backslash (0x31).
void buildVkToUsage(VkToUsageMap &map, bool isoBackslash);
