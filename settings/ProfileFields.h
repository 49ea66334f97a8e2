#pragma once

#include "BlockLayout.h"
#include "ProfileStore.h"

// The fields of a profile the pages read and change, each by name: which list it lives in,
// where, how long it is, and whether it is the device's rather than a profile's (those live
// in profile 0's lists whatever profile is current). A new field is one line here and the
// view's slots that read and change it; no caller computes an offset.
struct BlockField {
    ProfileStore::Group group;
    int offset;
    int length;
    bool deviceWide = false;
};

namespace profileFields {
namespace fw = layout::profileFw;
namespace other = layout::otherFw;
using G = ProfileStore::Group;

constexpr BlockField reportRate{G::Other, other::reportRate, 1};
constexpr BlockField dpiStage{G::Other, other::dpiStage, 1};
constexpr BlockField ledTwinkle{G::Other, other::ledTwinkle, 1, true};
constexpr BlockField stageCount{G::Firmware, fw::stageCount, 1};
constexpr BlockField ledEffect{G::Firmware, fw::effect, fw::effectLength};
constexpr BlockField indicatorColours{G::Firmware, fw::indicatorRgb, fw::indicatorRgbLength};
constexpr BlockField indicatorPalette{G::Firmware, fw::indicatorIndex, fw::indicatorIndexLength,
                                      true};
constexpr BlockField dpiStages{G::Firmware, fw::dpi, fw::dpiLength};
constexpr BlockField lightingColours{G::Firmware, fw::lightingColours,
                                     fw::lightingColoursLength, true};
constexpr BlockField keyEntries{G::Matrix, 0, layout::keyMatrix::used};

static_assert(ledEffect.offset + ledEffect.length <= layout::blockSize &&
                  indicatorColours.offset + indicatorColours.length <= layout::blockSize &&
                  indicatorPalette.offset + indicatorPalette.length <= layout::blockSize &&
                  dpiStages.offset + dpiStages.length <= layout::blockSize &&
                  lightingColours.offset + lightingColours.length <= layout::blockSize &&
                  keyEntries.length <= layout::blockSize,
              "a field past the end of its block");
} // namespace profileFields
