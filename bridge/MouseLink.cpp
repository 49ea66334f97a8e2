#include "MouseLink.h"

#include "BlockLayout.h"
#include "DeviceRefillSource.h"
#include "MS_HT66FB560.h"

MouseLink::MouseLink(ProfileStore &s)
    : store(s), outcome([this] { return store.deviceFound(); }) {}

MouseLink::~MouseLink() {
    if (refill)
        store.setRefillSource(nullptr);
}

void MouseLink::setDevice(MS_HT66FB560 *device) {
    dev = device;
    refill = device ? std::make_unique<DeviceRefillSource>(*device) : nullptr;
    store.setRefillSource(refill.get());
}

int MouseLink::indexOf(Value value) {
    return value == Value::DpiStage ? layout::otherFw::dpiStage : layout::otherFw::reportRate;
}

bool MouseLink::counted(bool delivered) {
    outcome.note(delivered);
    return delivered;
}

bool MouseLink::sendBlock(ProfileStore::Group group, uchar profile) {
    RefillSource::Block block = ProfileStore::bytesOf(store.list(group, profile));
    bool sent = false;
    if (dev && group == ProfileStore::Firmware)
        sent = dev->hid_0CH_SetFwProfile(profile, block.data());
    else if (dev && group == ProfileStore::Matrix)
        sent = dev->hid_0DH_SetKeyMatrix(profile, block.data());
    return counted(sent);
}

bool MouseLink::sendValue(Value value, uchar profile) {
    const uchar v = uchar(store.list(ProfileStore::Other, profile).value(indexOf(value)).toUInt());
    if (!dev)
        return counted(false);
    return counted(value == Value::DpiStage ? dev->hid_04H_SetDPIStage(v, profile)
                                            : dev->hid_03H_SetReportRate(v, profile));
}

QString MouseLink::firmwareVersion() {
    QString version;
    return dev && dev->hid_80H_GetFWVersion(version) ? version : QString();
}

bool MouseLink::sendMacroSlot(uchar slot, uchar *block128) {
    return counted(dev && dev->hid_0FH_SetMacroKey(slot, block128));
}

bool MouseLink::sendCurrentProfile(uchar profile) {
    return counted(dev && dev->hid_02H_SetCurrentProfile(profile));
}

// An unlinked change was marked before it was sent, but the failure that finds a linked
// mouse gone makes it count as unlinked only afterwards, so the link state at this point
// cannot tell which one this was: a failure is recorded either way. A change the mouse took
// is its state too, also for the copy kept of it while the user has still to choose between
// edits made without it and its own settings.
bool MouseLink::settle(bool delivered, ProfileStore::Group group, uchar profile, int index) {
    if (delivered)
        store.mouseTook(group, profile, index);
    else
        store.recordUnsentEdit(group, profile);
    return delivered;
}

bool MouseLink::commitBlock(ProfileStore::Group group, uchar profile) {
    return settle(sendBlock(group, profile), group, profile, -1);
}

bool MouseLink::commitValue(Value value, uchar profile) {
    return settle(sendValue(value, profile), ProfileStore::Other, profile, indexOf(value));
}
