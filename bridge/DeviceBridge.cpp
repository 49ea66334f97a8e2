#include "DeviceBridge.h"

#include "MS_HT66FB560.h"
#include "ProfileStore.h"

#include <QDebug>

namespace {

constexpr int blockSize = ProfileStore::blockSize;

// The 128 bytes that go to the mouse: each value's low 8 bits, zeros past a short list.
void toBlock(const QVariantList &values, uchar *out) {
    for (int i = 0; i < blockSize; ++i)
        out[i] = i < values.size() ? uchar(values.at(i).toUInt() & 0xFFu) : 0;
}

uint number(const QVariantList &values, int index) {
    return index < values.size() ? values.at(index).toUInt() : 0;
}

} // namespace

DeviceBridge::DeviceBridge(ProfileStore &s) : store(s) {}

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

void DeviceBridge::sendFirmware(uchar profile) {
    uchar block[blockSize];
    toBlock(store.list(ProfileStore::Firmware, profile), block);
    if (MS_HT66FB560 *dev = store.device())
        dev->hid_0CH_SetFwProfile(profile, block);
}

void DeviceBridge::q7_02H_SetCurrentProfile(uchar profileId) {
    if (!store.setCurProfile(profileId))
        return;
    if (MS_HT66FB560 *dev = store.device())
        dev->hid_02H_SetCurrentProfile(profileId);
}

uchar DeviceBridge::q7_82H_GetCurrentProfile() { return store.curProfile(); }

void DeviceBridge::q7_03H_SetReportRate(uchar rate) {
    const uchar cur = store.curProfile();
    store.list(ProfileStore::Other, cur)[1] = uint(rate);
    store.q7_SetDirty_Other(cur);
    if (MS_HT66FB560 *dev = store.device())
        dev->hid_03H_SetReportRate(rate, cur);
}

uchar DeviceBridge::q7_83H_GetReportRate() {
    return uchar(number(store.list(ProfileStore::Other, store.curProfile()), 1));
}

void DeviceBridge::q7_04H_SetDPIStage(uchar stage) {
    const uchar cur = store.curProfile();
    store.list(ProfileStore::Other, cur)[0] = uint(stage);
    store.q7_SetDirty_Other(cur);
    if (MS_HT66FB560 *dev = store.device())
        dev->hid_04H_SetDPIStage(stage, cur);
}

uchar DeviceBridge::q7_84H_GetDPIStage() {
    return uchar(number(store.list(ProfileStore::Other, store.curProfile()), 0));
}

uchar DeviceBridge::q7_89H_GetRGBLedTwinkle() {
    return uchar(number(store.list(ProfileStore::Other, 0), 2));
}

uint DeviceBridge::q7_GetMaxDpiStage() {
    return number(store.list(ProfileStore::Firmware, store.curProfile()), StageCount);
}

void DeviceBridge::q7_0CH_SetRGBLedEffect(uchar effect, uchar light, uchar speed) {
    const uchar cur = store.curProfile();
    setField(cur, Effect, {uint(effect), uint(light), uint(speed)}, 3, "q7_0CH_SetRGBLedEffect");
    store.q7_SetDirty_Profile(cur);
    sendFirmware(cur);
}

QVariantList DeviceBridge::q7_8CH_GetRGBLedEffect() { return field(store.curProfile(), Effect, 3); }

void DeviceBridge::q7_0CH_SetDpi8Color(QVariantList src24) {
    const uchar cur = store.curProfile();
    if (!setField(cur, IndicatorRgb, src24, 24, "q7_0CH_SetDpi8Color"))
        return;
    store.q7_SetDirty_Profile(cur);
    sendFirmware(cur);
}

QVariantList DeviceBridge::q7_8CH_GetDpi8Color() {
    return field(store.curProfile(), IndicatorRgb, 24);
}

void DeviceBridge::q7_0CH_SetDpi8Io(QVariantList src8) {
    if (!setField(0, IndicatorIndex, src8, 8, "q7_0CH_SetDpi8Io"))
        return;
    store.q7_SetDirty_Profile(0);
    sendFirmware(0);
}

QVariantList DeviceBridge::q7_8CH_GetDpi8Io() {
    // Palette entry 7 is stored as 8.
    QVariantList out = field(0, IndicatorIndex, 8);
    for (QVariant &v : out) {
        if (v.toUInt() == 8)
            v = 7u;
    }
    return out;
}

void DeviceBridge::q7_0CH_SetDpi8Stage(QVariantList src16) {
    const uchar cur = store.curProfile();
    if (!setField(cur, DpiStages, src16, 16, "q7_0CH_SetDpi8Stage"))
        return;
    store.q7_SetDirty_Profile(cur);
    sendFirmware(cur);
}

QVariantList DeviceBridge::q7_8CH_GetDpi8Stage() {
    // The firmware keeps DPI step 159 as 0xCF.
    QVariantList out = field(store.curProfile(), DpiStages, 16);
    for (QVariant &v : out) {
        if (v.toUInt() == 0xCF)
            v = 159u;
    }
    return out;
}

void DeviceBridge::q7_SetLED8StageColor(QVariantList src24) {
    if (!setField(0, LightingColours, src24, 24, "q7_SetLED8StageColor"))
        return;
    store.q7_SetDirty_Profile(0);
    sendFirmware(0);
}

QVariantList DeviceBridge::q7_GetLED8StageColor() { return field(0, LightingColours, 24); }

QVariantList DeviceBridge::getKeydefine(QVariant matrixId) {
    const int k = matrixId.toInt();
    if (k < 0 || k > 15)
        return {0u, 0u, 0u, 0u};
    const QVariantList &matrix = store.list(ProfileStore::Matrix, store.curProfile());
    QVariantList out;
    for (int i = 4 * k; i < 4 * k + 4; ++i)
        out.append(number(matrix, i));
    return out;
}

void DeviceBridge::q7_0DH_SetKeyMatrix(QVariantList src64) {
    if (src64.size() < 64) {
        qWarning() << "q7_0DH_SetKeyMatrix needs 64 values, got" << src64.size() << "- ignored";
        return;
    }
    const uchar cur = store.curProfile();
    QVariantList &matrix = store.list(ProfileStore::Matrix, cur);
    for (int i = 0; i < 64; ++i)
        matrix[i] = src64.at(i);
    store.q7_SetDirty_Matrix(cur);
    uchar block[blockSize];
    toBlock(matrix, block);
    if (MS_HT66FB560 *dev = store.device())
        dev->hid_0DH_SetKeyMatrix(cur, block);
}
