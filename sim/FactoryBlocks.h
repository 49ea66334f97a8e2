#pragma once

// Factory contents of the mouse's firmware, as one readable table. The virtual mouse starts
// from it, and the generator of the shipped profile defaults can include it so that the
// defaults file and the mouse agree. Where each value sits is the block layout's business.
// Plain C++, no Qt.

#include "BlockLayout.h"

#include <array>
#include <cstdint>

namespace factory {

using Block = std::array<std::uint8_t, layout::blockSize>;

// DPI values are stored divided by this step.
constexpr int dpiBase = 50;
constexpr int dpiStageCount = layout::profileFw::stages;
constexpr std::array<int, dpiStageCount> dpiStages = {400,  800,  1600, 3200,
                                                      4800, 6400, 8000, 10000};

// Per-profile values outside the blocks.
constexpr std::uint8_t reportRateCode = 1; // 1, 2, 4 or 8
constexpr std::uint8_t dpiStage = 2;       // 1-based
constexpr std::uint8_t functionOption = 0x00;
constexpr std::uint8_t ledTwinkleType = 1; // not 0: full-colour DPI indicator
constexpr std::uint8_t firmwareMajor = 0x01, firmwareMinor = 0x0A;

struct Rgb {
    std::uint8_t r, g, b;
};

// The indicator's fixed palette; entry 7 (orange) is stored in the firmware's own coding.
// clang-format off
constexpr std::array<Rgb, 8> palette = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 0, 255},
                                         {0, 255, 255}, {255, 255, 0}, {255, 255, 255},
                                         {255, 127, 0}}};
// clang-format on

// Lighting: effect 3 (breathing), full brightness, middle speed.
constexpr std::uint8_t lightingEffect = 3;
constexpr std::uint8_t lightingBrightness = 255;
constexpr std::uint8_t lightingSpeed = 5;

// Key entries 0-15 (function type, three parameters); the rest of the block is zero.
// clang-format off
constexpr std::array<std::array<std::uint8_t, layout::keyMatrix::entrySize>,
                     layout::keyMatrix::entries>
    keyEntries = {{
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
// clang-format on

// The firmware profile block of a profile (all six are alike at the factory).
constexpr Block profileBlock(int /*profile*/ = 0) {
    namespace at = layout::profileFw;
    static_assert(palette.size() == at::stages && palette.size() == at::lightingColourCount,
                  "one palette entry per stage and per lighting colour");
    Block b{};
    for (int i = 0; i < at::stages; ++i) {
        const Rgb c = palette[i];
        b[at::indicatorIndex + i] = std::uint8_t(layout::paletteToStored(unsigned(i)));
        b[at::lightingColours + 3 * i] = c.r;
        b[at::lightingColours + 3 * i + 1] = c.g;
        b[at::lightingColours + 3 * i + 2] = c.b;
        const auto dpi = std::uint8_t(layout::dpiToStored(unsigned(dpiStages[i] / dpiBase)));
        b[at::dpi + i] = dpi;
        b[at::dpiCopy + i] = dpi;
        b[at::indicatorRgb + 3 * i] = c.r;
        b[at::indicatorRgb + 3 * i + 1] = c.g;
        b[at::indicatorRgb + 3 * i + 2] = c.b;
    }
    b[at::stageCount] = dpiStageCount;
    b[at::effect] = lightingEffect;
    b[at::brightness] = lightingBrightness;
    b[at::speed] = lightingSpeed;
    return b;
}

constexpr Block keyMatrixBlock(int /*profile*/ = 0) {
    namespace at = layout::keyMatrix;
    Block b{};
    for (int k = 0; k < at::entries; ++k)
        for (int j = 0; j < at::entrySize; ++j)
            b[at::entrySize * k + j] = keyEntries[k][j];
    return b;
}

// Macro slots are empty at the factory.
constexpr Block macroBlock(int /*slot*/ = 1) { return Block{}; }

} // namespace factory
