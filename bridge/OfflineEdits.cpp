#include "OfflineEdits.h"

#include "BlockLayout.h"
#include "Dialogs.h"
#include "MouseLink.h"

namespace {

using Group = ProfileStore::Group;

uchar byteAt(const QVariantList &values, int index) {
    return uchar(values.value(index).toUInt() & 0xFFu);
}

// Of the other values only the DPI stage and the report rate are edited; the rest is the
// mouse's (the LED kind) or unused.
constexpr int editedOthers[] = {layout::otherFw::dpiStage, layout::otherFw::reportRate};

} // namespace

OfflineEdits::OfflineEdits(ProfileStore &s, MouseLink &l, std::function<QStringList()> strings,
                           QWidget *p)
    : store(s), link(l), msgStrings(std::move(strings)), parent(p) {}

std::vector<OfflineEdits::Marked> OfflineEdits::marked() const {
    std::vector<Marked> out;
    if (!store.deviceLinked())
        return out;
    for (Group g : {ProfileStore::Firmware, ProfileStore::Matrix, ProfileStore::Other}) {
        for (int p = 0; p < ProfileStore::profileCount; ++p) {
            if (store.isDirty(g, p) && store.heldByMouse(g, p))
                out.emplace_back(g, p);
        }
    }
    return out;
}

bool OfflineEdits::pending() const { return !askingNow && !marked().empty(); }

bool OfflineEdits::equalsMouse(Group g, int p) const {
    const QVariantList &stored = store.list(g, p);
    const QVariantList &mouse = *store.heldByMouse(g, p);
    if (g != ProfileStore::Other)
        return ProfileStore::bytesOf(stored) == ProfileStore::bytesOf(mouse);
    for (int i : editedOthers) {
        if (byteAt(stored, i) != byteAt(mouse, i))
            return false;
    }
    return true;
}

bool OfflineEdits::send(Group g, int p) {
    const uchar profile = uchar(p);
    if (g != ProfileStore::Other)
        return link.sendBlock(g, profile);
    // Only the value that differs goes out.
    const QVariantList &stored = store.list(g, p);
    const QVariantList &mouse = *store.heldByMouse(g, p);
    bool sent = true;
    for (MouseLink::Value v : {MouseLink::Value::DpiStage, MouseLink::Value::ReportRate}) {
        const int i = MouseLink::indexOf(v);
        if (sent && byteAt(stored, i) != byteAt(mouse, i))
            sent = link.sendValue(v, profile);
    }
    return sent;
}

OfflineEdits::Outcome OfflineEdits::settle() {
    if (askingNow)
        return Outcome::Nothing;
    const std::vector<Marked> all = marked();
    if (all.empty())
        return Outcome::Nothing;

    std::vector<Marked> differing;
    for (const auto &[g, p] : all) {
        if (equalsMouse(g, p))
            store.settleAsMouse(g, p); // the same bytes, now as the mouse gave them
        else
            differing.emplace_back(g, p);
    }
    if (differing.empty())
        return Outcome::Settled;

    const QStringList msg = msgStrings ? msgStrings() : QStringList();
    askingNow = true;
    const bool sendThem =
        dialogs().choose(parent, QString(), msg.value(questionMessage),
                         msg.value(sendChoiceMessage), msg.value(keepChoiceMessage));
    askingNow = false;

    if (!sendThem) {
        for (const auto &[g, p] : differing)
            store.settleAsMouse(g, p);
        return Outcome::KeptMouse;
    }
    bool everyOne = true;
    for (const auto &[g, p] : differing) {
        // After a failure that found the mouse gone the rest fail at once; each keeps its
        // mark, and its stored copy is still in the file.
        if (send(g, p))
            store.settleAsStored(g, p);
        else
            everyOne = false;
    }
    return everyOne ? Outcome::Sent : Outcome::NotSent;
}
