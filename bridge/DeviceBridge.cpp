#include "DeviceBridge.h"

#include "BlockLayout.h"
#include "DeviceRefillSource.h"
#include "MS_HT66FB560.h"
#include "ProfileStore.h"

#include <QDebug>

#include <algorithm>

namespace {

using layout::blockSize;
namespace at = layout::profileFw;

// The 128 bytes that go to the mouse: each value's low 8 bits, zeros past a short list.
void toBlock(const QVariantList &values, uchar *out) {
    const RefillSource::Block bytes = ProfileStore::bytesOf(values);
    std::copy(bytes.begin(), bytes.end(), out);
}

uint number(const QVariantList &values, int index) {
    return index < values.size() ? values.at(index).toUInt() : 0;
}

// A change the mouse did not take is marked now, so the file keeps it and the next plug-in
// knows it is not the mouse's. An unlinked change was marked before it was sent, but the
// failure that finds a linked mouse gone makes it count as unlinked only afterwards, so the
// link state at this point cannot tell which one this was.
// A change the mouse took is its state too, also for the copy kept of it while the user has
// still to choose between edits made without it and its own settings. `index`: the one value
// of the list that was sent, or -1 for the whole block.
bool delivered(ProfileStore &store, bool sent, ProfileStore::Group group, uchar profile,
               int index = -1) {
    if (sent)
        store.mouseTook(group, profile, index);
    else
        store.recordUnsentEdit(group, profile);
    return sent;
}

} // namespace

DeviceBridge::DeviceBridge(ProfileStore &s) : store(s) {}

DeviceBridge::~DeviceBridge() {
    if (refill)
        store.setRefillSource(nullptr);
}

void DeviceBridge::setDevice(MS_HT66FB560 *device) {
    dev = device;
    refill = device ? std::make_unique<DeviceRefillSource>(*device) : nullptr;
    store.setRefillSource(refill.get());
}

bool DeviceBridge::setField(int profile, int offset, const QVariantList &src, int count,
                            const char *what) {
    if (src.size() < count) {
        qWarning() << what << "needs" << count << "values, got" << src.size() << "- ignored";
        return false;
    }
    QVariantList &block = store.list(ProfileStore::Firmware, profile);
    for (int i = 0; i < count; ++i)
        block[offset + i] = src.at(i);
    return true;
}

QVariantList DeviceBridge::field(int profile, int offset, int count) const {
    const QVariantList &block = store.list(ProfileStore::Firmware, profile);
    QVariantList out;
    for (int i = 0; i < count; ++i)
        out.append(number(block, offset + i));
    return out;
}

bool DeviceBridge::sendFirmware(uchar profile) {
    uchar block[blockSize];
    toBlock(store.list(ProfileStore::Firmware, profile), block);
    return delivered(store, dev && dev->hid_0CH_SetFwProfile(profile, block),
                     ProfileStore::Firmware, profile);
}

// The current profile has no dirty marker: the store keeps the choice, and a refill takes
// the mouse's own.
bool DeviceBridge::setCurrentProfile(uchar profileId) {
    if (!store.setCurProfile(profileId))
        return false;
    return dev && dev->hid_02H_SetCurrentProfile(profileId);
}

uchar DeviceBridge::currentProfile() { return store.curProfile(); }

bool DeviceBridge::setReportRate(uchar rate) {
    const uchar cur = store.curProfile();
    store.list(ProfileStore::Other, cur)[layout::otherFw::reportRate] = uint(rate);
    store.markOtherDirty(cur);
    return delivered(store, dev && dev->hid_03H_SetReportRate(rate, cur), ProfileStore::Other,
                     cur, layout::otherFw::reportRate);
}

uchar DeviceBridge::reportRate() {
    return uchar(
        number(store.list(ProfileStore::Other, store.curProfile()), layout::otherFw::reportRate));
}

bool DeviceBridge::setDpiStage(uchar stage) {
    const uchar cur = store.curProfile();
    store.list(ProfileStore::Other, cur)[layout::otherFw::dpiStage] = uint(stage);
    store.markOtherDirty(cur);
    return delivered(store, dev && dev->hid_04H_SetDPIStage(stage, cur), ProfileStore::Other,
                     cur, layout::otherFw::dpiStage);
}

uchar DeviceBridge::dpiStage() {
    return uchar(
        number(store.list(ProfileStore::Other, store.curProfile()), layout::otherFw::dpiStage));
}

uchar DeviceBridge::ledTwinkle() {
    return uchar(number(store.list(ProfileStore::Other, 0), layout::otherFw::ledTwinkle));
}

uint DeviceBridge::maxDpiStage() {
    return number(store.list(ProfileStore::Firmware, store.curProfile()), at::stageCount);
}

bool DeviceBridge::setLedEffect(uchar effect, uchar light, uchar speed) {
    const uchar cur = store.curProfile();
    setField(cur, at::effect, {uint(effect), uint(light), uint(speed)}, at::effectLength,
             "setLedEffect");
    store.markProfileDirty(cur);
    return sendFirmware(cur);
}

QVariantList DeviceBridge::ledEffect() {
    return field(store.curProfile(), at::effect, at::effectLength);
}

bool DeviceBridge::setIndicatorColours(QVariantList src24) {
    const uchar cur = store.curProfile();
    if (!setField(cur, at::indicatorRgb, src24, at::indicatorRgbLength, "setIndicatorColours"))
        return false;
    store.markProfileDirty(cur);
    return sendFirmware(cur);
}

QVariantList DeviceBridge::indicatorColours() {
    return field(store.curProfile(), at::indicatorRgb, at::indicatorRgbLength);
}

bool DeviceBridge::setIndicatorPaletteIndexes(QVariantList src8) {
    if (!setField(0, at::indicatorIndex, src8, at::indicatorIndexLength, "setIndicatorPaletteIndexes"))
        return false;
    store.markProfileDirty(0);
    return sendFirmware(0);
}

QVariantList DeviceBridge::indicatorPaletteIndexes() {
    QVariantList out = field(0, at::indicatorIndex, at::indicatorIndexLength);
    for (QVariant &v : out)
        v = layout::paletteFromStored(v.toUInt());
    return out;
}

bool DeviceBridge::setDpiStageValues(QVariantList src16) {
    const uchar cur = store.curProfile();
    if (!setField(cur, at::dpi, src16, at::dpiLength, "setDpiStageValues"))
        return false;
    store.markProfileDirty(cur);
    return sendFirmware(cur);
}

QVariantList DeviceBridge::dpiStageValues() {
    QVariantList out = field(store.curProfile(), at::dpi, at::dpiLength);
    for (QVariant &v : out)
        v = layout::dpiFromStored(v.toUInt());
    return out;
}

bool DeviceBridge::setLightingColours(QVariantList src24) {
    if (!setField(0, at::lightingColours, src24, at::lightingColoursLength, "setLightingColours"))
        return false;
    store.markProfileDirty(0);
    return sendFirmware(0);
}

QVariantList DeviceBridge::lightingColours() {
    return field(0, at::lightingColours, at::lightingColoursLength);
}

QVariantList DeviceBridge::getKeydefine(QVariant matrixId) {
    namespace keys = layout::keyMatrix;
    const int k = matrixId.toInt();
    if (k < 0 || k >= keys::entries)
        return QVariantList(keys::entrySize, 0u);
    const QVariantList &matrix = store.list(ProfileStore::Matrix, store.curProfile());
    QVariantList out;
    for (int i = keys::entrySize * k; i < keys::entrySize * (k + 1); ++i)
        out.append(number(matrix, i));
    return out;
}

bool DeviceBridge::setKeyMatrix(QVariantList src64) {
    constexpr int used = layout::keyMatrix::used;
    if (src64.size() < used) {
        qWarning() << "setKeyMatrix needs" << used << "values, got" << src64.size()
                   << "- ignored";
        return false;
    }
    const uchar cur = store.curProfile();
    QVariantList &matrix = store.list(ProfileStore::Matrix, cur);
    for (int i = 0; i < used; ++i)
        matrix[i] = src64.at(i);
    store.markMatrixDirty(cur);
    uchar block[blockSize];
    toBlock(matrix, block);
    return delivered(store, dev && dev->hid_0DH_SetKeyMatrix(cur, block), ProfileStore::Matrix,
                     cur);
}
