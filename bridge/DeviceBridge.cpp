#include "DeviceBridge.h"

#include "MouseLink.h"
#include "ProfileFields.h"
#include "ProfileStore.h"

#include <QDebug>

namespace fields = profileFields;

DeviceBridge::DeviceBridge(ProfileStore &s, MouseLink &l) : store(s), link(l) {}

QVariantList DeviceBridge::read(const BlockField &field) const {
    return store.values(field, store.curProfile());
}

uint DeviceBridge::readOne(const BlockField &field) const { return read(field).value(0).toUInt(); }

// The change is kept in the copy and marked before it is sent, so that it survives a send
// that fails; the link marks it as an edit made without the mouse then.
bool DeviceBridge::change(const BlockField &field, const QVariantList &src, const char *what) {
    return change(field, store.curProfile(), src, what);
}

bool DeviceBridge::setField(const BlockField &field, uchar profile, const QVariantList &src) {
    return change(field, profile, src, "setField");
}

bool DeviceBridge::change(const BlockField &field, uchar target, const QVariantList &src,
                          const char *what) {
    const uchar profile = field.deviceWide ? 0 : target;
    if (!store.setValues(field, profile, src)) {
        qWarning() << what << "needs" << field.length << "values, got" << src.size()
                   << "- ignored";
        return false;
    }
    if (field.group != ProfileStore::Other)
        return link.commitBlock(field.group, profile);
    return link.commitValue(field.offset == fields::dpiStage.offset ? MouseLink::Value::DpiStage
                                                                   : MouseLink::Value::ReportRate,
                            profile);
}

bool DeviceBridge::setCurrentProfile(uchar profileId) {
    return store.setCurProfile(profileId) && link.sendCurrentProfile(profileId);
}

uchar DeviceBridge::currentProfile() { return store.curProfile(); }

bool DeviceBridge::setReportRate(uchar rate) {
    return change(fields::reportRate, {uint(rate)}, "setReportRate");
}
uchar DeviceBridge::reportRate() { return uchar(readOne(fields::reportRate)); }

bool DeviceBridge::setDpiStage(uchar stage) {
    return change(fields::dpiStage, {uint(stage)}, "setDpiStage");
}
uchar DeviceBridge::dpiStage() { return uchar(readOne(fields::dpiStage)); }

uchar DeviceBridge::ledTwinkle() { return uchar(readOne(fields::ledTwinkle)); }
uint DeviceBridge::maxDpiStage() { return readOne(fields::stageCount); }

bool DeviceBridge::setLedEffect(uchar effect, uchar light, uchar speed) {
    return change(fields::ledEffect, {uint(effect), uint(light), uint(speed)}, "setLedEffect");
}
QVariantList DeviceBridge::ledEffect() { return read(fields::ledEffect); }

bool DeviceBridge::setIndicatorColours(QVariantList src24) {
    return change(fields::indicatorColours, src24, "setIndicatorColours");
}
QVariantList DeviceBridge::indicatorColours() { return read(fields::indicatorColours); }

bool DeviceBridge::setIndicatorPaletteIndexes(QVariantList src8) {
    return change(fields::indicatorPalette, src8, "setIndicatorPaletteIndexes");
}
QVariantList DeviceBridge::indicatorPaletteIndexes() { return read(fields::indicatorPalette); }

bool DeviceBridge::setDpiStageValues(QVariantList src16) {
    return change(fields::dpiStages, src16, "setDpiStageValues");
}
QVariantList DeviceBridge::dpiStageValues() { return read(fields::dpiStages); }

bool DeviceBridge::setLightingColours(QVariantList src24) {
    return change(fields::lightingColours, src24, "setLightingColours");
}
QVariantList DeviceBridge::lightingColours() { return read(fields::lightingColours); }

QVariantList DeviceBridge::getKeydefine(QVariant matrixId) {
    namespace keys = layout::keyMatrix;
    const int k = matrixId.toInt();
    if (k < 0 || k >= keys::entries)
        return QVariantList(keys::entrySize, 0u);
    return read(fields::keyEntries).mid(keys::entrySize * k, keys::entrySize);
}

bool DeviceBridge::setKeyMatrix(QVariantList src64) {
    return change(fields::keyEntries, src64, "setKeyMatrix");
}
