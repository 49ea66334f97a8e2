#pragma once

#include "BlockLayout.h"

#include <QString>
#include <QtGlobal>

#include <array>

// The 9-byte command report: report ID 0, command, two arguments, four zero bytes
// (byte 4 is 0xEE for 08H), checksum.
namespace hidreport {

constexpr int featureLength = layout::commandReportSize;

// Bitwise NOT of the 8-bit sum of bytes 1-7; the report ID is not covered.
uchar checksum(const uchar *src9);
// Writes the checksum into byte 8 of a 9-byte report.
void setChecksum(uchar *src9);

// Builds 00 cmd arg1 arg2 00 00 00 00 cs.
std::array<uchar, featureLength> command(uchar cmd, uchar arg1 = 0, uchar arg2 = 0);

// The fixed scrambler key, ASCII "VaTqeRus".
extern const std::array<uchar, 8> scrambleKey;

// Scrambles the 8 bytes that follow the report ID (command ... checksum) in place with the
// device code (bytes 1-6 used). Only the firmware undoes it.
void scrambleBlock(uchar *p8, const std::array<uchar, 8> &code);

// Device code bytes for a code text: the six characters in bytes 1-6 when it has exactly
// six, otherwise all zero.
std::array<uchar, 8> codeBytes(const QString &sCode);

} // namespace hidreport
