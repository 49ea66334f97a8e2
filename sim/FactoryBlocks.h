#pragma once

// Factory contents of the mouse's firmware, as one readable table. The virtual mouse starts
// from it, and the generator of the shipped profile defaults can include it so that the
// defaults file and the mouse agree. Plain C++, no Qt.

#include <array>
#include <cstdint>

namespace factory {

using Block = std::array<std::uint8_t, 128>;

constexpr int profileCount = 6;
constexpr int macroSlots = 100;

// DPI values are stored divided by this step.
constexpr int dpiBase = 50;
constexpr int dpiStageCount = 8;
constexpr std::array<int, 8> dpiStages = {400, 800, 1600, 3200, 4800, 6400, 8000, 10000};

// Per-profile values outside the blocks.
constexpr std::uint8_t reportRateCode = 1; // 1, 2, 4 or 8
constexpr std::uint8_t dpiStage = 2;       // 1-based
constexpr std::uint8_t functionOption = 0x00;
constexpr std::uint8_t ledTwinkleType = 1; // not 0: full-colour DPI indicator
constexpr std::uint8_t firmwareMajor = 0x01, firmwareMinor = 0x0A;

struct Rgb {
    std::uint8_t r, g, b;
};

// The indicator's fixed palette; entry 7 is stored as index 8.
// clang-format off
constexpr std::array<Rgb, 8> palette = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 0, 255},
                                         {0, 255, 255}, {255, 255, 0}, {255, 255, 255},
                                         {255, 127, 0}}};
// clang-format on
constexpr std::array<std::uint8_t, 8> paletteStored = {0, 1, 2, 3, 4, 5, 6, 8};

// Lighting: effect 3 (breathing), full brightness, middle speed.
constexpr std::uint8_t lightingEffect = 3;
constexpr std::uint8_t lightingBrightness = 255;
constexpr std::uint8_t lightingSpeed = 5;

// Byte offsets in the firmware profile block.
namespace offset {
constexpr int indicatorIndex = 16;  // 8 palette indexes (global, profile 0)
constexpr int lightingColours = 24; // 8 x RGB (global, profile 0)
constexpr int stageCount = 70;
constexpr int effect = 71;
constexpr int brightness = 72;
constexpr int speed = 73;
constexpr int dpi = 84;           // 8 values
constexpr int dpiCopy = 92;       // the same 8 values again
constexpr int indicatorRgb = 104; // 8 x RGB
} // namespace offset

// Key entries 0-15 (function type, three parameters); bytes 64-127 are zero.
constexpr std::array<std::array<std::uint8_t, 4>, 16> keyEntries = {{
    {0x01, 0x00, 0xF0, 0x00}, // 0 left button
    {0x01, 0x00, 0xF1, 0x00}, // 1 right button
    {0x01, 0x00, 0xF2, 0x00}, // 2 middle button
    {0x01, 0x00, 0xF4, 0x00}, // 3 forward
    {0x01, 0x00, 0xF3, 0x00}, // 4 backward
    {0x07, 0x00, 0x03, 0x00}, // 5 DPI switch
    {0x0B, 0x00, 0x00, 0x00}, // 6
    {0x07, 0x00, 0x03, 0x00}, // 7 DPI switch
    {0x05, 0x00, 0x03, 0x00}, // 8
    {0x03, 0x00, 0x8A, 0x01}, // 9 mail
    {0x03, 0x00, 0x23, 0x02}, // 10 WWW home
    {0x03, 0x00, 0x94, 0x01}, // 11 my computer
    {0x00, 0x00, 0x00, 0x00}, // 12 none
    {0x00, 0x00, 0x00, 0x00}, // 13 none
    {0x04, 0x00, 0x01, 0x00}, // 14 scroll up
    {0x04, 0x00, 0x02, 0x00}, // 15 scroll down
}};

// The firmware profile block of a profile (all six are alike at the factory).
constexpr Block profileBlock(int /*profile*/ = 0) {
    Block b{};
    for (int i = 0; i < 8; ++i) {
        b[offset::indicatorIndex + i] = paletteStored[i];
        b[offset::lightingColours + 3 * i] = palette[i].r;
        b[offset::lightingColours + 3 * i + 1] = palette[i].g;
        b[offset::lightingColours + 3 * i + 2] = palette[i].b;
        b[offset::dpi + i] = std::uint8_t(dpiStages[i] / dpiBase);
        b[offset::dpiCopy + i] = std::uint8_t(dpiStages[i] / dpiBase);
        b[offset::indicatorRgb + 3 * i] = palette[i].r;
        b[offset::indicatorRgb + 3 * i + 1] = palette[i].g;
        b[offset::indicatorRgb + 3 * i + 2] = palette[i].b;
    }
    b[offset::stageCount] = dpiStageCount;
    b[offset::effect] = lightingEffect;
    b[offset::brightness] = lightingBrightness;
    b[offset::speed] = lightingSpeed;
    return b;
}

constexpr Block keyMatrixBlock(int /*profile*/ = 0) {
    Block b{};
    for (int k = 0; k < 16; ++k)
        for (int j = 0; j < 4; ++j)
            b[4 * k + j] = keyEntries[k][j];
    return b;
}

// Macro slots are empty at the factory.
constexpr Block macroBlock(int /*slot*/ = 1) { return Block{}; }

} // namespace factory
