#include "MS_HT66FB560.h"

#include "BlockLayout.h"
#include "HidReport.h"
#include "Master.h"
#include "Slave.h"

#include <hidapi.h>

#include <algorithm>
#include <cstring>

using namespace layout;

MS_HT66FB560::MS_HT66FB560(QObject *parent)
    : QObject(parent), m_master(new Master), m_slave(new Slave) {
    qRegisterMetaType<QList<uchar>>("QList<uchar>");
    connect(m_slave, &Slave::onVendor, this, &MS_HT66FB560::onVendor);
}

MS_HT66FB560::~MS_HT66FB560() {
    m_slave->stopPolling();
    // Both threads have finished (Master never runs), so they can go now rather than
    // through deleteLater, which would leak them once the event loop has ended.
    delete m_slave;
    delete m_master;
}

bool MS_HT66FB560::linkLost() const { return m_master->linkLost(); }

void MS_HT66FB560::hid_Cs(uchar *src9) { hidreport::setChecksum(src9); }

bool MS_HT66FB560::hid_SetCmd(uchar *src9) {
    const std::lock_guard<std::recursive_mutex> one(exchange);
    hid_Cs(src9);
    UsbTask t = task;
    std::memcpy(t.command.data(), src9, UsbTask::commandSize);
    t.dataLength = 0;
    return m_master->transfer(t);
}

bool MS_HT66FB560::hid_SetDataCmd(uchar *src9, uchar *data, int length) {
    const std::lock_guard<std::recursive_mutex> one(exchange);
    if (length < 0 || length > UsbTask::dataCapacity || (length > 0 && !data))
        return false;
    hid_Cs(src9);
    UsbTask t = task;
    std::memcpy(t.command.data(), src9, UsbTask::commandSize);
    if (length > 0)
        std::memcpy(t.data.data(), data, size_t(length));
    t.dataLength = length;
    return m_master->transfer(t);
}

bool MS_HT66FB560::hid_GetCmd(uchar *src9) {
    const std::lock_guard<std::recursive_mutex> one(exchange);
    hid_Cs(src9);
    std::memcpy(task.command.data(), src9, UsbTask::commandSize);
    task.answer.fill(0);
    task.dataLength = 0;
    const bool ok = m_master->transfer(task);
    std::memcpy(src9, task.answer.data(), UsbTask::commandSize);
    return ok;
}

bool MS_HT66FB560::hid_GetDataCmd(uchar *src9, uchar *data, int length) {
    const std::lock_guard<std::recursive_mutex> one(exchange);
    if (length < 0 || length > UsbTask::dataCapacity || (length > 0 && !data))
        return false;
    hid_Cs(src9);
    std::memcpy(task.command.data(), src9, UsbTask::commandSize);
    task.answer.fill(0);
    if (length > 0)
        std::memcpy(task.data.data(), data, size_t(length));
    task.dataLength = length;
    const bool ok = m_master->transfer(task);
    task.dataLength = 0;
    std::memcpy(src9, task.answer.data(), UsbTask::commandSize);
    if (length > 0)
        std::memcpy(data, task.data.data(), size_t(length));
    return ok;
}

bool MS_HT66FB560::hid_01H_SetFunctionOption(uchar option) {
    auto r = hidreport::command(command::setFunctionOption, option);
    return hid_SetCmd(r.data());
}

bool MS_HT66FB560::hid_02H_SetCurrentProfile(uchar profileId) {
    auto r = hidreport::command(command::setCurrentProfile, profileId);
    return hid_SetCmd(r.data());
}

bool MS_HT66FB560::hid_03H_SetReportRate(uchar rate, uchar profileId) {
    auto r = hidreport::command(command::setReportRate, profileId, rate);
    return hid_SetCmd(r.data());
}

bool MS_HT66FB560::hid_04H_SetDPIStage(uchar stage, uchar profileId) {
    auto r = hidreport::command(command::setDpiStage, profileId, stage);
    return hid_SetCmd(r.data());
}

bool MS_HT66FB560::hid_08H_SetStopMacroSending() {
    auto r = hidreport::command(command::stopMacroSending, command::stopMacroArg1,
                                command::stopMacroArg2);
    r[4] = command::stopMacroMarker;
    return hid_SetCmd(r.data());
}

bool MS_HT66FB560::setBlock(uchar cmd, uchar id, uchar *src128) {
    auto r = hidreport::command(cmd, id, layout::blockLengthArg);
    return hid_SetDataCmd(r.data(), src128, layout::blockSize);
}

bool MS_HT66FB560::getBlock(uchar cmd, uchar id, uchar *src128) {
    auto r = hidreport::command(cmd, id, layout::blockLengthArg);
    return hid_GetDataCmd(r.data(), src128, layout::blockSize);
}

bool MS_HT66FB560::getValue(uchar cmd, uchar arg1, uchar &value) {
    auto r = hidreport::command(cmd, arg1);
    if (!hid_GetCmd(r.data()))
        return false;
    value = r[size_t(command::answerByteOf(cmd))];
    return true;
}

bool MS_HT66FB560::hid_0CH_SetFwProfile(uchar profileId, uchar *src128) {
    return setBlock(command::setFwProfile, profileId, src128);
}

bool MS_HT66FB560::hid_0DH_SetKeyMatrix(uchar profileId, uchar *src128) {
    return setBlock(command::setKeyMatrix, profileId, src128);
}

bool MS_HT66FB560::hid_0FH_SetMacroKey(uchar macroId, uchar *src128) {
    return setBlock(command::setMacro, macroId, src128);
}

bool MS_HT66FB560::hid_80H_GetFWVersion(QString &version) {
    auto r = hidreport::command(command::getFwVersion);
    if (!hid_GetCmd(r.data())) {
        version = QStringLiteral("unknown");
        return false;
    }
    version = QString::number(r[2], 16) + QLatin1Char('.') +
              QStringLiteral("%1").arg(r[3], 2, 16, QLatin1Char('0')).toUpper();
    return true;
}

bool MS_HT66FB560::hid_81H_GetFunctionOption(uchar &option) {
    return getValue(command::getFunctionOption, 0, option);
}

bool MS_HT66FB560::hid_82H_GetCurrentProfile(uchar &profileId) {
    return getValue(command::getCurrentProfile, 0, profileId);
}

bool MS_HT66FB560::hid_83H_GetReportRate(uchar &rate, uchar profileId) {
    return getValue(command::getReportRate, profileId, rate);
}

bool MS_HT66FB560::hid_84H_GetDPIStage(uchar &stage, uchar profileId) {
    return getValue(command::getDpiStage, profileId, stage);
}

bool MS_HT66FB560::hid_89H_GetRGBLedTwinkle(uchar &type) {
    return getValue(command::getLedTwinkle, 0, type);
}

bool MS_HT66FB560::hid_8CH_GetFwProfile(uchar profileId, uchar *src128) {
    return getBlock(command::getFwProfile, profileId, src128);
}

bool MS_HT66FB560::hid_8DH_GetKeyMatrix(uchar profileId, uchar *src128) {
    return getBlock(command::getKeyMatrix, profileId, src128);
}

bool MS_HT66FB560::hid_8FH_GetMacroKey(uchar macroId, uchar *src128) {
    return getBlock(command::getMacro, macroId, src128);
}

void MS_HT66FB560::onVendor(QList<uchar> vCmd) { Q_UNUSED(vCmd); }

bool MS_HT66FB560::findDevice(int entryIndex, const DevInfoEntry &entry) {
    DeviceBinding b;
    b.entryIndex = entryIndex;
    b.productName = entry.productName;
    b.reportLength = qint32(entry.reportLength);
    b.scramble = !entry.sCode.isEmpty();
    b.code = hidreport::codeBytes(entry.sCode);
    m_master->setDebugMode(entry.sCode == QLatin1String(Master::debugCode));

    bool found = false;
    QString commandCandidate, vendorCandidate;
    // 0 is hidapi's "any vendor" or "any product": never look through every device there is.
    hid_device_info *list =
        entry.vid && entry.pid ? hid_enumerate(entry.vid, entry.pid) : nullptr;
    // The whole list is walked: with several matching interfaces the last ones seen win.
    for (hid_device_info *d = list; d; d = d->next) {
        const QString path = QString::fromLocal8Bit(d->path ? d->path : "");
        if (d->usage_page == entry.usagePage && d->usage == entry.usage)
            commandCandidate = path;
        if (d->usage_page == entry.usagePage2 && d->usage == entry.usage2)
            vendorCandidate = path;
        if (!commandCandidate.isEmpty() && !vendorCandidate.isEmpty()) {
            b.commandPath = commandCandidate;
            b.vendorPath = vendorCandidate;
            found = true;
        }
    }
    hid_free_enumeration(list);

    bindDevice(b);
    return found;
}

void MS_HT66FB560::bindDevice(const DeviceBinding &binding) {
    const std::lock_guard<std::recursive_mutex> one(exchange);
    task.setBinding(binding);
    task.featureLength = UsbTask::commandSize;
    task.dataLength = 0;
    task.settleDelay = 30;
    task.writeGap = 10;
    // Whatever the last binding found gone, this one starts afresh.
    m_master->restoreLink();
    auto greet = hidreport::command(command::setFunctionOption, greetingOption);
    hid_SetCmd(greet.data());
    m_slave->startPolling(binding, vendorInputLength);
}

bool linkDevice(MS_HT66FB560 &device, const QStringList &productNames, const QString &vidText,
                const QString &pidText, const QString &sCode) {
    DevInfoEntry entry;
    if (!selectEntry(readDeviceTable(productNames), boundEntryIndex, vidText, pidText, sCode,
                     entry)) {
        device.master()->setDebugMode(false);
        device.bindDevice(DeviceBinding{});
        return false;
    }
    return device.findDevice(boundEntryIndex, entry);
}
