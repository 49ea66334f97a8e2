#pragma once

#include <QVariant>

class MouseLink;
class ProfileStore;
struct BlockField;

// Reads and changes the mouse's settings on the profile store's working copy. Reads answer
// from the copy and never touch the mouse. A change updates the copy, marks the profile
// dirty (which the store records only while no mouse is linked) and then sends the command,
// a block change always the whole 128-byte block.
//
// Global fields (indicator colour indexes, lighting colours) live in profile 0's block and
// are sent with profile id 0 whatever profile is current.
//
// Values are kept as the caller gave them and reduced to their low 8 bits only on the way
// to the mouse; reads answer them as stored, in the firmware's own coding (the DPI step 159
// and the palette's orange), which the pages' rules turn into what they show, once. A list
// argument shorter than the field it fills is refused with a warning.
//
// Every setter answers whether the change reached the mouse: false when no mouse took it
// (none linked, the exchange failed) or the arguments were refused. The changes go out
// through the link, which marks what the mouse did not take.
class DeviceBridge {
public:
    DeviceBridge(ProfileStore &store, MouseLink &link);

    bool setCurrentProfile(uchar profileId);
    uchar currentProfile();
    bool setReportRate(uchar rate);
    uchar reportRate();
    bool setDpiStage(uchar stage);
    uchar dpiStage();
    uchar ledTwinkle();
    uint maxDpiStage();

    bool setLedEffect(uchar effect, uchar light, uchar speed);
    QVariantList ledEffect();
    bool setIndicatorColours(QVariantList src24);
    QVariantList indicatorColours();
    bool setIndicatorPaletteIndexes(QVariantList src8);
    QVariantList indicatorPaletteIndexes();
    bool setDpiStageValues(QVariantList src16);
    QVariantList dpiStageValues();
    bool setLightingColours(QVariantList src24);
    QVariantList lightingColours();

    // Key assignment: four values of key id 0-15 of the current profile (four zeros for
    // another id), and the new 64 bytes of the current profile's key entries.
    QVariantList getKeydefine(QVariant matrixId);
    bool setKeyMatrix(QVariantList src64);

    // A field of any profile, the current one or not (a script's "--profile N"); a
    // device-wide field goes to profile 0 whatever `profile` says.
    bool setField(const BlockField &field, uchar profile, const QVariantList &src);

private:
    QVariantList read(const BlockField &field) const;
    uint readOne(const BlockField &field) const;
    bool change(const BlockField &field, const QVariantList &src, const char *what);
    bool change(const BlockField &field, uchar profile, const QVariantList &src, const char *what);

    ProfileStore &store;
    MouseLink &link;
};
