#pragma once

#include <QVariant>

#include <memory>

class DeviceRefillSource;
class MS_HT66FB560;
class ProfileStore;

// Reads and changes the mouse's settings on the profile store's working copy. Reads answer
// from the copy and never touch the mouse. A change updates the copy, marks the profile
// dirty (which the store records only while no mouse is linked) and then sends the command,
// a block change always the whole 128-byte block.
//
// Global fields (indicator colour indexes, lighting colours) live in profile 0's block and
// are sent with profile id 0 whatever profile is current.
//
// Values are kept as the caller gave them and reduced to their low 8 bits only on the way
// to the mouse. A list argument shorter than the field it fills is refused with a warning.
//
// Every setter answers whether the change reached the mouse: false when no mouse took it
// (none linked, the exchange failed) or the arguments were refused. A change the linked
// mouse did not take is marked dirty and written to the file like an edit made without the
// mouse, so the copy never claims to be the mouse's state when it is not.
class DeviceBridge {
public:
    explicit DeviceBridge(ProfileStore &store);
    ~DeviceBridge();

    // The mouse the changes go to and the store's refill reads from (not owned); nullptr:
    // changes update the copy only.
    void setDevice(MS_HT66FB560 *device);

    bool q7_02H_SetCurrentProfile(uchar profileId);
    uchar q7_82H_GetCurrentProfile();
    bool q7_03H_SetReportRate(uchar rate);
    uchar q7_83H_GetReportRate();
    bool q7_04H_SetDPIStage(uchar stage);
    uchar q7_84H_GetDPIStage();
    uchar q7_89H_GetRGBLedTwinkle();
    uint q7_GetMaxDpiStage();

    bool q7_0CH_SetRGBLedEffect(uchar effect, uchar light, uchar speed);
    QVariantList q7_8CH_GetRGBLedEffect();
    bool q7_0CH_SetDpi8Color(QVariantList src24);
    QVariantList q7_8CH_GetDpi8Color();
    bool q7_0CH_SetDpi8Io(QVariantList src8);
    QVariantList q7_8CH_GetDpi8Io();
    bool q7_0CH_SetDpi8Stage(QVariantList src16);
    QVariantList q7_8CH_GetDpi8Stage();
    bool q7_SetLED8StageColor(QVariantList src24);
    QVariantList q7_GetLED8StageColor();

    // Key assignment: four values of key id 0-15 of the current profile (four zeros for
    // another id), and the new 64 bytes of the current profile's key entries.
    QVariantList getKeydefine(QVariant matrixId);
    bool q7_0DH_SetKeyMatrix(QVariantList src64);

private:
    bool setField(int profile, int offset, const QVariantList &src, int count, const char *what);
    QVariantList field(int profile, int offset, int count) const;
    bool sendFirmware(uchar profile);

    ProfileStore &store;
    MS_HT66FB560 *dev = nullptr;
    std::unique_ptr<DeviceRefillSource> refill;
};
