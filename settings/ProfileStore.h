#pragma once

#include "BlockLayout.h"
#include "PointerSettings.h"
#include "RefillSource.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <functional>
#include <memory>
#include <optional>

struct BlockField;

// The working copy of the mouse's six profiles and its mirror in the profile settings file.
// With the mouse linked the mouse is the authority and the copy is refilled from it; without
// it the copy comes from the file and every edit is recorded there and marked dirty.
//
// Every list of a profile block holds blockSize values once the store has been filled,
// whatever the file held: short or missing lists are completed from the defaults file, then
// with zeros, and long ones are cut, so that no reader can index past an end.
class ProfileStore {
public:
    static constexpr int profileCount = layout::profileCount;
    static constexpr int blockSize = layout::blockSize;
    static constexpr int pointerSettingsSize = pointerSettings::ElementCount;

    enum Group { Firmware, Matrix, Other };

    // Opens the profile settings file and reads the dirty markers and the current profile.
    explicit ProfileStore(
        const QString &settingsPath = QStringLiteral("./modules/setting/p_Q7.bin"),
        const QString &defaultsPath = QStringLiteral("./modules/setting/pD_Q7.bin"));
    ~ProfileStore();

    // Called after anything that may have changed what the store holds or whether the mouse
    // is linked, whoever made the change; the listener compares for itself. One listener.
    void setChangeListener(std::function<void()> listener) { onChange = std::move(listener); }

    // The long-lived handle on the profile settings file.
    QSettings *profileSettings() const { return settings.get(); }

    // Where the refill reads the mouse's blocks and values (not owned); nullptr until the
    // window has a device.
    void setRefillSource(RefillSource *source) { refill = source; }
    RefillSource *refillSource() const { return refill; }
    // The result of the last device look-up; the window sets it before each refill. A mouse
    // found gone since (the refill source no longer reaches it) counts as unlinked, so that
    // edits from then on are recorded as made without it.
    void setDeviceLinked(bool linked) {
        linked_ = linked;
        touched();
    }
    bool deviceLinked() const { return linked_ && (!refill || refill->reachable()); }
    // Whether the last device check found the mouse, answering since or not.
    bool deviceFound() const { return linked_; }

    uchar curProfile() const { return cur; }
    // Makes `profileId` current and stores it; ids outside 0-5 are refused (false).
    bool setCurProfile(uchar profileId);

    // A copy of a profile's list of a group; always blockSize values (missing ones read as
    // 0). Changes go through setValues, which marks what it changed.
    QVariantList list(Group group, int profile) const;
    // A named field (ProfileFields.h) of a profile, or of profile 0 for a device-wide one.
    QVariantList values(const BlockField &field, int profile) const;
    // Writes the field's values as given and marks its group dirty (which is recorded only
    // while no mouse is linked). A list shorter than the field is refused (false); values
    // past its length are ignored.
    bool setValues(const BlockField &field, int profile, const QVariantList &src);
    QVariantList dirtyFlags(Group group) const { return dirty[group]; }
    bool isDirty(Group group, int profile) const;

    // Edits made without the mouse survive the refill that links it: a dirty group keeps its
    // stored copy, and what the mouse holds for it is kept beside it (read whole by that
    // refill, or absent) until the user has chosen which of the two stands. Other: only the
    // DPI stage and the report rate are the user's; the LED twinkle type is always the mouse's.
    const std::optional<QVariantList> &heldByMouse(Group group, int profile) const;
    // The two ways a dirty group is settled, each clearing its mark in memory and in the file:
    // the stored copy is now the mouse's too (sent, or equal), or the mouse's copy replaces it.
    // A send the mouse took while its copy is kept: the whole list, or the one value at
    // `index`, is now the mouse's too.
    void mouseTook(Group group, int profile, int index = -1);
    // settleAsMouse is refused (false) when the refill could not read the mouse's copy.
    void settleAsStored(Group group, int profile);
    bool settleAsMouse(Group group, int profile);

    // A profile's pointer settings ("profile_sw"): always pointerSettingsSize values, a
    // short or missing list completed from the defaults file, then the built-in defaults.
    QVariantList pointerSettings(int profile) const;
    void setPointerSetting(int profile, pointerSettings::Element element, const QVariant &value);

    // The 128 bytes a list stands for on the mouse: each value's low 8 bits, zeros past a
    // short list.
    static RefillSource::Block bytesOf(const QVariantList &values);

    // Fill and save. True when the current profile or a list now differs from what the copy
    // held before, so that what shows it must read it again.
    bool syncFromDevice();
    // The same with the mouse's answers read beforehand (a RefillSnapshot of refillSource()).
    bool syncFromDevice(RefillSource &answers);
    void loadAllProfiles();
    // Before the first fill: the file's copy, for what reads the store while the mouse is read.
    void fillFromFileIfEmpty() {
        if (!filled)
            loadAllProfiles();
    }
    void saveAllProfiles();

    // Export: the whole working file, marked with the exported profile, copied to `path`.
    // False when nothing was written (no such profile, the copy failed).
    bool exportProfile(int profile, const QString &path);
    // Import of a file's marked profile into slot `profile`; the store is reloaded from the
    // working file in every case. The file is read only when it is a regular file of at most
    // pickedfile::profileMaxBytes, and taken only when every list it carries for the profile
    // is whole and in range (blockSize values of 0-255 per block; the pointer settings'
    // four); a refused file changes nothing. WriteFailed: the working file could not be
    // written and keeps its previous content.
    enum class ImportResult {
        Imported,
        NotAProfileFile,
        NoSuchSlot,
        WriteFailed,
        NotARegularFile,
        TooLarge,
        ValuesOutOfRange,
    };
    ImportResult importProfile(int profile, const QString &path);

    // The view's profile slots.
    QVariantList defaultProfile(QString key, uchar profileId);
    // False when the working file could not be written (it then keeps its content).
    bool resetProfile(int profile);
    void markProfileDirty(uchar profileId);
    void markMatrixDirty(uchar profileId);
    void markOtherDirty(uchar profileId);
    // A change the mouse did not take although it is linked: marked dirty and written to
    // the file just as an edit made without the mouse, so it is neither lost nor taken for
    // the mouse's state.
    void recordUnsentEdit(Group group, uchar profileId);

    static QString groupKey(Group group);

private:
    void touched() const {
        if (onChange)
            onChange();
    }
    ImportResult importChecked(int profile, const QString &path);
    void setDirty(Group group, uchar profileId);
    void clearDirty(Group group, int profile);
    QVariantList completed(const QString &key, QVariantList values, int size,
                           std::unique_ptr<QSettings> &defaults) const;

    std::unique_ptr<QSettings> settings;
    QString defaultsFile;
    RefillSource *refill = nullptr;
    bool linked_ = false;
    bool filled = false; // the lists hold the file's or the mouse's values, not the start zeros

    uchar cur = 0;
    std::array<std::array<QVariantList, profileCount>, 3> lists;
    std::array<QVariantList, 3> dirty;
    std::array<std::array<std::optional<QVariantList>, profileCount>, 3> mouseCopies;
    std::function<void()> onChange;
};
