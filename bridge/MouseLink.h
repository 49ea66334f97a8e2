#pragma once

#include "ProfileStore.h"
#include "SendOutcome.h"

#include <memory>

class DeviceRefillSource;
class MS_HT66FB560;

// The one session with the mouse: the only holder of the device, and the only way anything
// reaches it. Every send is counted towards the notice the user is owed, so an operation
// that sends from the bridge, the offline settling and the macro upload alike ends in one
// outcome, whoever sent.
//
// A change of the store's copy goes out through commit...(): the rule for edits made
// without the mouse lives there, so no caller can forget it. send...() only sends; the
// offline settling, which keeps marks by rules of its own, and the macro upload, which has
// no stored copy, use them.
class MouseLink {
public:
    // The values of the other group the mouse takes one at a time.
    enum class Value { DpiStage, ReportRate };

    explicit MouseLink(ProfileStore &store);
    ~MouseLink();
    MouseLink(const MouseLink &) = delete;
    MouseLink &operator=(const MouseLink &) = delete;

    // The mouse (not owned) the sends go to and the store's refill reads from; nullptr:
    // every send fails.
    void setDevice(MS_HT66FB560 *device);

    // The store's copy of a profile block (Firmware) or key block (Matrix), or of one value.
    bool sendBlock(ProfileStore::Group group, uchar profile);
    bool sendValue(Value value, uchar profile);
    bool sendMacroSlot(uchar slot, uchar *block128);
    // The current profile has no stored mark: the store keeps the choice and a refill takes
    // the mouse's own.
    bool sendCurrentProfile(uchar profile);

    // A change of the store's copy, sent: taken, the copy is the mouse's state too; not
    // taken, it is marked and kept in the file like an edit made without the mouse, so the
    // copy never claims to be the mouse's state when it is not.
    bool commitBlock(ProfileStore::Group group, uchar profile);
    bool commitValue(Value value, uchar profile);

    // The mouse's firmware version as it reports it ("1.02"); empty without an answer.
    QString firmwareVersion();

    // The notice owed for the sends since the last call.
    SendOutcome::Notice takeNotice() { return outcome.take(); }

    static int indexOf(Value value);

private:
    bool counted(bool delivered);
    bool settle(bool delivered, ProfileStore::Group group, uchar profile, int index);

    ProfileStore &store;
    MS_HT66FB560 *dev = nullptr;
    std::unique_ptr<DeviceRefillSource> refill;
    SendOutcome outcome;
};
