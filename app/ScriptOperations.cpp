#include "ScriptOperations.h"

#include "DeviceBridge.h"
#include "MouseLink.h"
#include "ProfileFields.h"
#include "ProfileRules.h"
#include "ProfileStore.h"

#include <QFileInfo>

namespace fields = profileFields;

namespace {
ScriptResult bad(const QString &why) { return {ScriptResult::BadArguments, why}; }

QString joined(const QList<int> &values, const QString &unit = QString()) {
    QStringList out;
    for (int v : values)
        out.append(QString::number(v) + unit);
    return out.join(QStringLiteral(", "));
}

QString profileRange() {
    return QStringLiteral("a profile number from 1 to %1").arg(ScriptOperations::lastProfile);
}

int firstValue(const ProfileStore &store, const BlockField &field, int profile) {
    return store.values(field, profile).value(0).toInt();
}

// The stages the mouse offers, as the sensor page bounds them.
int stageCountOf(const ProfileStore &store, int profile) {
    const int count = firstValue(store, fields::stageCount, profile);
    return count >= 1 && count <= layout::profileFw::stages ? count : layout::profileFw::stages;
}
} // namespace

ScriptOperations::ScriptOperations(ProfileStore &s, MouseLink &l, DeviceBridge &b,
                                   const ProfileRules &r, Host h)
    : store(s), link(l), bridge(b), rules(r), host(std::move(h)) {}

QStringList ScriptOperations::settingNames() {
    return {QStringLiteral("rate"), QStringLiteral("dpi"), QStringLiteral("stage"),
            QStringLiteral("effect"), QStringLiteral("brightness")};
}

bool ScriptOperations::settingFromName(const QString &name, Setting &setting) {
    const int index = settingNames().indexOf(name.toLower());
    if (index < 0)
        return false;
    setting = Setting(index);
    return true;
}

ScriptStatus ScriptOperations::status() const {
    ScriptStatus status = storedStatus();
    if (status.mouseFound)
        status.firmwareVersion = link.firmwareVersion();
    return status;
}

ScriptStatus ScriptOperations::storedStatus() const {
    ScriptStatus status;
    status.mouseFound = store.deviceLinked();
    status.currentProfile = store.curProfile();
    for (int p = 1; p <= lastProfile; ++p) {
        ScriptProfileStatus profile;
        profile.number = p;
        profile.reportRateHz = rules.rateHz(firstValue(store, fields::reportRate, p));
        profile.dpiStages =
            rules.dpiValues(store.values(fields::dpiStages, p)).mid(0, stageCountOf(store, p));
        profile.currentStage = firstValue(store, fields::dpiStage, p);
        const QVariantList effect = store.values(fields::ledEffect, p);
        profile.effect = effect.value(0).toInt();
        profile.effectName = rules.effectLabel(profile.effect);
        profile.brightness = rules.brightnessStep(effect.value(1).toInt());
        status.profiles.append(profile);
    }
    return status;
}

ScriptResult ScriptOperations::sent(bool delivered, const QString &done) const {
    if (delivered)
        return {ScriptResult::Done, done};
    if (!store.deviceLinked())
        return {ScriptResult::NoMouse,
                done + QStringLiteral(" No mouse is connected: the change is kept in the "
                                      "profile file and goes to the mouse when it is back.")};
    return {ScriptResult::Refused,
            QStringLiteral("The mouse did not take the change; it is kept in the profile file "
                           "and sent again when the mouse is next connected.")};
}

ScriptResult ScriptOperations::setProfile(int profile) {
    if (!validProfile(profile))
        return bad(QStringLiteral("profile takes ") + profileRange() + QLatin1Char('.'));
    const bool delivered =
        host.switchProfile ? host.switchProfile(profile) : bridge.setCurrentProfile(uchar(profile));
    link.takeNotice();
    return sent(delivered, QStringLiteral("Switched to profile %1.").arg(profile));
}

ScriptResult ScriptOperations::exportProfile(int profile, const QString &path) {
    if (!validProfile(profile))
        return bad(QStringLiteral("export takes ") + profileRange() + QLatin1Char('.'));
    if (!store.exportProfile(profile, path))
        return bad(QStringLiteral("Cannot write %1.").arg(path));
    return {ScriptResult::Done, QStringLiteral("Profile %1 exported to %2.").arg(profile).arg(path)};
}

ScriptResult ScriptOperations::importProfile(int profile, const QString &path) {
    if (!validProfile(profile))
        return bad(QStringLiteral("import takes ") + profileRange() + QLatin1Char('.'));
    using Result = ProfileStore::ImportResult;
    switch (store.importProfile(profile, path)) {
    case Result::Imported:
        break;
    case Result::NotAProfileFile:
        return bad(QStringLiteral("%1 is not a profile file; nothing was changed.").arg(path));
    case Result::NotARegularFile:
        return bad(QStringLiteral("%1 is not a regular file; nothing was changed.").arg(path));
    case Result::TooLarge:
        return bad(QStringLiteral("%1 is too large for a profile file; nothing was changed.")
                       .arg(path));
    case Result::ValuesOutOfRange:
        return bad(QStringLiteral("%1 holds values a profile cannot have; nothing was changed.")
                       .arg(path));
    case Result::NoSuchSlot:
        return bad(QStringLiteral("import takes ") + profileRange() + QLatin1Char('.'));
    case Result::WriteFailed:
        return {ScriptResult::Refused,
                QStringLiteral("The profile file could not be written; nothing was changed.")};
    }
    // The store now holds the file's profile: the mouse gets all of it, as after an Apply on
    // every page, or the profile keeps it marked for when the mouse is back.
    bool delivered = link.commitBlock(ProfileStore::Firmware, uchar(profile));
    delivered = link.commitBlock(ProfileStore::Matrix, uchar(profile)) && delivered;
    delivered = link.commitValue(MouseLink::Value::DpiStage, uchar(profile)) && delivered;
    delivered = link.commitValue(MouseLink::Value::ReportRate, uchar(profile)) && delivered;
    // The script is told; the window's next operation owes no notice for it.
    link.takeNotice();
    if (host.changed)
        host.changed();
    return sent(delivered,
                QStringLiteral("Profile %1 imported from %2.").arg(profile).arg(path));
}

ScriptResult ScriptOperations::setValue(Setting setting, const QString &text, int profile) {
    if (profile == 0)
        profile = store.curProfile();
    if (!validProfile(profile))
        return bad(QStringLiteral("--profile takes ") + profileRange() + QLatin1Char('.'));
    bool isNumber = false;
    const int number = text.trimmed().toInt(&isNumber);
    const BlockField *field = nullptr;
    QVariantList values;
    QString done;
    switch (setting) {
    case Setting::Rate: {
        const int code = isNumber ? rules.rateCode(number) : -1;
        if (code < 0)
            return bad(QStringLiteral("rate takes one of %1 (Hz).").arg(joined(rules.rates())));
        field = &fields::reportRate;
        values = {code};
        done = QStringLiteral("Profile %1: report rate %2 Hz.").arg(profile).arg(number);
        break;
    }
    case Setting::Dpi: {
        if (!isNumber || !rules.dpiOffered().contains(number))
            return bad(QStringLiteral("dpi takes one of %1.").arg(joined(rules.dpiOffered())));
        QList<int> dpis = rules.dpiValues(store.values(fields::dpiStages, profile));
        const int stage = firstValue(store, fields::dpiStage, profile);
        if (stage < 1 || stage > dpis.size())
            return {ScriptResult::Refused,
                    QStringLiteral("Profile %1 has no current DPI stage to set.").arg(profile)};
        dpis[stage - 1] = number;
        field = &fields::dpiStages;
        values = rules.dpiStageList(dpis);
        done = QStringLiteral("Profile %1: stage %2 at %3 DPI.").arg(profile).arg(stage).arg(number);
        break;
    }
    case Setting::Stage: {
        const int count = stageCountOf(store, profile);
        if (!isNumber || number < 1 || number > count)
            return bad(QStringLiteral("stage takes a stage number from 1 to %1.").arg(count));
        field = &fields::dpiStage;
        values = {number};
        done = QStringLiteral("Profile %1: DPI stage %2.").arg(profile).arg(number);
        break;
    }
    case Setting::Effect: {
        const QList<int> codes = rules.effectCodes();
        int code = isNumber && codes.contains(number) ? number : -1;
        for (int c : codes)
            if (!isNumber && rules.effectLabel(c).compare(text.trimmed(), Qt::CaseInsensitive) == 0)
                code = c;
        if (code < 0) {
            QStringList names;
            for (int c : codes)
                names.append(rules.effectLabel(c).toLower());
            return bad(QStringLiteral("effect takes one of: %1 (or its number).")
                           .arg(names.join(QStringLiteral(", "))));
        }
        const QVariantList now = store.values(fields::ledEffect, profile);
        field = &fields::ledEffect;
        values = {uint(code), now.value(1).toUInt(),
                  uint(rules.speedByteKeepingPosition(now.value(0).toInt(), now.value(2).toInt(),
                                                      code))};
        done = QStringLiteral("Profile %1: lighting effect %2.").arg(profile).arg(rules.effectLabel(code));
        break;
    }
    case Setting::Brightness: {
        const int steps = rules.brightnessSteps();
        if (!isNumber || number < 0 || number > steps)
            return bad(QStringLiteral("brightness takes a step from 0 to %1.").arg(steps));
        QVariantList now = store.values(fields::ledEffect, profile);
        now[1] = uint(rules.brightnessByte(number));
        field = &fields::ledEffect;
        values = now;
        done = QStringLiteral("Profile %1: brightness %2.").arg(profile).arg(number);
        break;
    }
    }
    const bool delivered = bridge.setField(*field, uchar(profile), values);
    link.takeNotice();
    if (host.changed)
        host.changed();
    return sent(delivered, done);
}
