#pragma once

#include "BlockLayout.h"
#include "DevInfo.h"
#include "UsbTask.h"

#include <QList>
#include <QObject>
#include <QString>

#include <mutex>

class Master;
class Slave;

// The mouse's command set. Every slot runs one complete exchange in the caller's thread
// and returns when it is over; callers on different threads take turns. Set commands return whether every step of the exchange
// succeeded (the mouse sends no acknowledgement, so true means it was delivered); get
// commands return true on success and only then write their reference parameters.
class MS_HT66FB560 : public QObject {
    Q_OBJECT
public:
    static constexpr uchar greetingOption = 0x08;
    static constexpr int vendorInputLength = layout::vendorReportSize;

    explicit MS_HT66FB560(QObject *parent = nullptr);
    ~MS_HT66FB560() override;

    // Looks for the entry's two interfaces among the system's HID devices, binds to what
    // was found (even when nothing was) and returns whether both were found.
    bool findDevice(int entryIndex, const DevInfoEntry &entry);
    // Stores the binding, greets the mouse with 01H option 0x08 and restarts polling.
    void bindDevice(const DeviceBinding &binding);

    // True once an exchange found the mouse gone (Master::linkLost); every exchange then
    // fails at once until the next binding.
    bool linkLost() const;

    const UsbTask &usbTask() const { return task; }
    Master *master() const { return m_master; }
    Slave *slave() const { return m_slave; }

public Q_SLOTS:
    // Generic layer: src9 is a 9-byte report whose bytes 1-7 hold the command; each writes
    // the checksum into byte 8 first. length must lie within 0..512.
    void hid_Cs(uchar *src9);
    bool hid_SetCmd(uchar *src9);
    bool hid_SetDataCmd(uchar *src9, uchar *data, int length);
    bool hid_GetCmd(uchar *src9);
    bool hid_GetDataCmd(uchar *src9, uchar *data, int length);

    bool hid_01H_SetFunctionOption(uchar option);
    bool hid_02H_SetCurrentProfile(uchar profileId);
    bool hid_03H_SetReportRate(uchar rate, uchar profileId);
    bool hid_04H_SetDPIStage(uchar stage, uchar profileId);
    bool hid_08H_SetStopMacroSending();
    bool hid_0CH_SetFwProfile(uchar profileId, uchar *src128);
    bool hid_0DH_SetKeyMatrix(uchar profileId, uchar *src128);
    bool hid_0FH_SetMacroKey(uchar macroId, uchar *src128);

    bool hid_80H_GetFWVersion(QString &version);
    bool hid_81H_GetFunctionOption(uchar &option);
    bool hid_82H_GetCurrentProfile(uchar &profileId);
    bool hid_83H_GetReportRate(uchar &rate, uchar profileId);
    bool hid_84H_GetDPIStage(uchar &stage, uchar profileId);
    bool hid_89H_GetRGBLedTwinkle(uchar &type);
    bool hid_8CH_GetFwProfile(uchar profileId, uchar *src128);
    bool hid_8DH_GetKeyMatrix(uchar profileId, uchar *src128);
    bool hid_8FH_GetMacroKey(uchar macroId, uchar *src128);

    // Vendor input reports carry nothing the program acts on.
    void onVendor(QList<uchar> vCmd);

private:
    bool setBlock(uchar cmd, uchar id, uchar *src128);
    bool getBlock(uchar cmd, uchar id, uchar *src128);
    bool getValue(uchar cmd, uchar arg1, uchar &value);

    Master *m_master = nullptr;
    Slave *m_slave = nullptr;
    UsbTask task;
    // One exchange at a time: they share the task, and a refill reads on its own thread.
    // Recursive because binding greets the mouse while it holds the task.
    std::recursive_mutex exchange;
};

// What the window's device check does below the view: reads the built-in table, selects
// entry 1 with the overrides (see selectEntry) and runs findDevice. Returns whether the
// mouse was found; without a usable entry the device is bound to nothing.
bool linkDevice(MS_HT66FB560 &device, const QStringList &productNames, const QString &vidText,
                const QString &pidText, const QString &sCode);
