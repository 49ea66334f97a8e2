#pragma once

#include "BlockLayout.h"
#include "RefillSource.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <functional>
#include <memory>

class QWidget;

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
    static constexpr int pointerSettingsSize = 4; // "profile_sw" lists

    enum Group { Firmware, Matrix, Other };

    // Opens the profile settings file and reads the dirty markers and the current profile.
    explicit ProfileStore(
        const QString &settingsPath = QStringLiteral("./modules/setting/p_Q7.bin"),
        const QString &defaultsPath = QStringLiteral("./modules/setting/pD_Q7.bin"));
    ~ProfileStore();

    // The long-lived handle on the profile settings file (the pointer settings use it too).
    QSettings *profileSettings() const { return settings.get(); }

    // Where the refill reads the mouse's blocks and values (not owned); nullptr until the
    // window has a device.
    void setRefillSource(RefillSource *source) { refill = source; }
    // The result of the last device look-up; the window sets it before each refill.
    void setDeviceLinked(bool linked) { linked_ = linked; }
    bool deviceLinked() const { return linked_; }
    // Parent of the file dialogs and boxes.
    void setDialogParent(QWidget *parent) { dialogParent = parent; }
    // The current message strings; 0 and 1 are the title and text of the import warning.
    void setMessageStrings(std::function<QStringList()> source) { msgStrings = std::move(source); }

    uchar curProfile() const { return cur; }
    // Makes `profileId` current and stores it; ids outside 0-5 are refused (false).
    bool setCurProfile(uchar profileId);

    // A profile's list of a group; always blockSize values (missing ones read as 0).
    QVariantList &list(Group group, int profile);
    const QVariantList &list(Group group, int profile) const;
    QVariantList dirtyFlags(Group group) const { return dirty[group]; }

    // Fill and save.
    void syncFromDevice();
    void loadAllProfiles();
    void saveAllProfiles();

    // The view's profile slots.
    QVariantList q7_getDefaultProfile(QString key, uchar profileId);
    void q7_loadProfile(int profile);
    void q7_saveProfile(int profile);
    void q7_resetProfile(int profile);
    void q7_SetDirty_Profile(uchar profileId);
    void q7_SetDirty_Matrix(uchar profileId);
    void q7_SetDirty_Other(uchar profileId);

    static QString groupKey(Group group);

private:
    void setDirty(Group group, uchar profileId);
    QVariantList completed(const QString &key, QVariantList values, int size,
                           std::unique_ptr<QSettings> &defaults) const;
    static QString desktopFolder();

    std::unique_ptr<QSettings> settings;
    QString defaultsFile;
    RefillSource *refill = nullptr;
    bool linked_ = false;
    QWidget *dialogParent = nullptr;
    std::function<QStringList()> msgStrings;

    uchar cur = 0;
    std::array<std::array<QVariantList, profileCount>, 3> lists;
    std::array<QVariantList, 3> dirty;
};
