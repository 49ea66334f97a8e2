#pragma once

// The mouse's wire facts in one place: command codes, report and block sizes, where the
// program's fields sit in the blocks it edits, and the few values the firmware stores in a
// coding of its own. The device link, the bridge, the virtual mouse, the factory table and
// the interface's generated constants (Q7/BlockLayout.js) all read them from here, so a
// field cannot move in one of them and stay put in another. Plain C++, no Qt.

#include <cstdint>

namespace layout {

// ---- Reports -------------------------------------------------------------------------------

// Report ID 0, command, two arguments, four zero bytes, checksum.
constexpr int commandReportSize = 9;
// Payload of one data report; a block travels in blockSize / dataReportSize of them.
constexpr int dataReportSize = 64;
// The vendor interface's short input reports.
constexpr int vendorReportSize = 4;

// Every block the mouse exchanges (firmware profile, key matrix, macro) is this long, and
// a block command carries the length in its second argument byte.
constexpr int blockSize = 128;
constexpr std::uint8_t blockLengthArg = 0x80;
static_assert(blockLengthArg == blockSize, "a block command announces the block's length");
static_assert(blockSize % dataReportSize == 0, "a block fills whole data reports");

constexpr int profileCount = 6; // ids 0-5; 0 also carries the device-wide fields
constexpr int macroSlots = 100; // ids 1-100

// ---- Command codes (bit 7 set: the mouse answers) ------------------------------------------

namespace command {
constexpr std::uint8_t setFunctionOption = 0x01;
constexpr std::uint8_t setCurrentProfile = 0x02;
constexpr std::uint8_t setReportRate = 0x03;
constexpr std::uint8_t setDpiStage = 0x04;
constexpr std::uint8_t stopMacroSending = 0x08;
constexpr std::uint8_t setFwProfile = 0x0C;
constexpr std::uint8_t setKeyMatrix = 0x0D;
constexpr std::uint8_t setMacro = 0x0F;
constexpr std::uint8_t getFwVersion = 0x80;
constexpr std::uint8_t getFunctionOption = 0x81;
constexpr std::uint8_t getCurrentProfile = 0x82;
constexpr std::uint8_t getReportRate = 0x83;
constexpr std::uint8_t getDpiStage = 0x84;
constexpr std::uint8_t getLedTwinkle = 0x89;
constexpr std::uint8_t getFwProfile = 0x8C;
constexpr std::uint8_t getKeyMatrix = 0x8D;
constexpr std::uint8_t getMacro = 0x8F;

constexpr bool isGet(std::uint8_t code) { return (code & 0x80) != 0; }
// The set command a get command reads back (0x8C -> 0x0C), and the other way round.
constexpr std::uint8_t counterpart(std::uint8_t code) { return std::uint8_t(code ^ 0x80); }

// 08H carries a fixed pattern instead of arguments: AA CC, then EE in byte 4.
constexpr std::uint8_t stopMacroArg1 = 0xAA;
constexpr std::uint8_t stopMacroArg2 = 0xCC;
constexpr std::uint8_t stopMacroMarker = 0xEE;

// Where a get command's value comes back in the answer report.
constexpr int answerByteOf(std::uint8_t code) {
    return code == getReportRate || code == getDpiStage ? 3 : 2;
}
} // namespace command

// ---- Firmware profile block (0CH / 8CH) ----------------------------------------------------

namespace profileFw {
constexpr int stages = 8;
constexpr int indicatorIndex = 0x10;  // stages x palette index; global (profile 0's block)
constexpr int lightingColours = 0x18; // 8 x R, G, B; global
constexpr int lightingColourCount = 8;
constexpr int stageCount = 0x46; // stages the mouse offers; read only
constexpr int effect = 0x47;
constexpr int brightness = 0x48;
constexpr int speed = 0x49;
constexpr int dpi = 0x54;          // stages x DPI / dpiBase
constexpr int dpiCopy = 0x5C;      // the program always writes the first set again here
constexpr int indicatorRgb = 0x68; // stages x R, G, B

// Fields the program writes as one run, as (offset, length).
constexpr int indicatorIndexLength = stages;
constexpr int lightingColoursLength = 3 * lightingColourCount;
constexpr int effectLength = 3; // effect, brightness, speed
constexpr int dpiLength = 2 * stages;
constexpr int indicatorRgbLength = 3 * stages;

static_assert(indicatorIndex + indicatorIndexLength <= lightingColours, "indexes overlap colours");
static_assert(lightingColours + lightingColoursLength <= stageCount, "colours overlap stages");
static_assert(stageCount < effect && effect + 1 == brightness && brightness + 1 == speed,
              "effect, brightness and speed are one run");
static_assert(speed < dpi && dpi + stages == dpiCopy, "the DPI copy follows the first set");
static_assert(dpi + dpiLength <= indicatorRgb, "DPI values overlap indicator colours");
static_assert(indicatorRgb + indicatorRgbLength <= blockSize, "indicator colours past the block");
} // namespace profileFw

// ---- The per-profile values outside the blocks (other_fw) ----------------------------------

namespace otherFw {
constexpr int dpiStage = 0;   // 1-based
constexpr int reportRate = 1; // 1, 2, 4 or 8
constexpr int ledTwinkle = 2; // profile 0 only: 0 palette indicator, else full colour
constexpr int used = 3;
static_assert(used <= blockSize, "the other values are kept in a block-sized list");
} // namespace otherFw

// ---- Key matrix block (0DH / 8DH) ----------------------------------------------------------

namespace keyMatrix {
constexpr int entries = 16;  // key ids 0-15
constexpr int entrySize = 4; // function type, three parameters
constexpr int used = entries * entrySize;
static_assert(used <= blockSize, "key entries past the block");
} // namespace keyMatrix

// ---- Values the firmware stores in its own coding ------------------------------------------

// DPI step 159 is kept as 0xCF; every other step as itself.
constexpr unsigned dpiShown159 = 159;
constexpr unsigned dpiStored159 = 0xCF;
// Palette entry 7 (orange) is kept as index 8; entries 0-6 as themselves.
constexpr unsigned paletteOrange = 7;
constexpr unsigned paletteOrangeStored = 8;

constexpr unsigned dpiFromStored(unsigned stored) {
    return stored == dpiStored159 ? dpiShown159 : stored;
}
constexpr unsigned dpiToStored(unsigned shown) {
    return shown == dpiShown159 ? dpiStored159 : shown;
}
constexpr unsigned paletteFromStored(unsigned stored) {
    return stored == paletteOrangeStored ? paletteOrange : stored;
}
constexpr unsigned paletteToStored(unsigned shown) {
    return shown == paletteOrange ? paletteOrangeStored : shown;
}

} // namespace layout
