#include "DeviceBridge.h"

#include "BlockLayout.h"
#include "MouseLink.h"
#include "ProfileStore.h"

#include <QDebug>

namespace {

namespace at = layout::profileFw;

uint number(const QVariantList &values, int index) {
    return index < values.size() ? values.at(index).toUInt() : 0;
}

} // namespace

DeviceBridge::DeviceBridge(ProfileStore &s, MouseLink &l) : store(s), link(l) {}

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
    return link.commitBlock(ProfileStore::Firmware, profile);
}

// Of the other values the two the pages edit, each sent alone.
bool DeviceBridge::setOther(int index, uchar value) {
    const uchar cur = store.curProfile();
    store.list(ProfileStore::Other, cur)[index] = uint(value);
    store.markOtherDirty(cur);
    return link.commitValue(index == layout::otherFw::dpiStage ? MouseLink::Value::DpiStage
                                                               : MouseLink::Value::ReportRate,
                            cur);
}

bool DeviceBridge::setCurrentProfile(uchar profileId) {
    return store.setCurProfile(profileId) && link.sendCurrentProfile(profileId);
}

uchar DeviceBridge::currentProfile() { return store.curProfile(); }

bool DeviceBridge::setReportRate(uchar rate) { return setOther(layout::otherFw::reportRate, rate); }

uchar DeviceBridge::reportRate() {
    return uchar(
        number(store.list(ProfileStore::Other, store.curProfile()), layout::otherFw::reportRate));
}

bool DeviceBridge::setDpiStage(uchar stage) { return setOther(layout::otherFw::dpiStage, stage); }

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
    return link.commitBlock(ProfileStore::Matrix, cur);
}
