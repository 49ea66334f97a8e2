#include "ProfileStore.h"

#include "ProfileFields.h"

#include "AtomicFile.h"
#include "IniFormat.h"
#include "PickedFile.h"
#include "Qt48Ini.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {

const char *const groupNames[] = {"profile_fw", "matrix_fw", "other_fw"};
const QString pointerGroup = pointerSettings::group();

QString key(const QString &group, int profile) {
    return group + QLatin1Char('/') + QString::number(profile);
}

QVariantList sixFalse() { return QVariantList(ProfileStore::profileCount, false); }

QVariantList zeros(int n) { return QVariantList(n, 0); }

// A stored value as the list it should be; anything else (absent, a lone text) is no list.
QVariantList asList(const QVariant &v) {
    if (v.typeId() == QMetaType::QVariantList || v.typeId() == QMetaType::QStringList)
        return v.toList();
    return {};
}

bool validProfile(int p) { return p >= 0 && p < ProfileStore::profileCount; }

QVariantList valuesOf(const RefillSource::Block &block) {
    QVariantList values;
    values.reserve(ProfileStore::blockSize);
    for (std::uint8_t b : block)
        values.append(int(b));
    return values;
}

// A list as the store keeps it: `size` whole numbers written in decimal, each within `max`.
bool isWhole(const QVariantList &values, int size, uint max, int from = 0) {
    if (values.size() != size)
        return false;
    for (int i = from; i < size; ++i) {
        bool ok = false;
        const uint v = values[i].toString().toUInt(&ok, 10);
        if (!ok || v > max)
            return false;
    }
    return true;
}

bool isPointerList(const QVariantList &values) {
    const QString acceleration = values.value(pointerSettings::Acceleration).toString();
    return (acceleration == QLatin1String("true") || acceleration == QLatin1String("false")) &&
           isWhole(values, ProfileStore::pointerSettingsSize, pointerSettings::maxPosition,
                   pointerSettings::Acceleration + 1);
}

} // namespace

ProfileStore::ProfileStore(const QString &settingsPath, const QString &defaultsPath)
    : settings(std::make_unique<QSettings>(settingsPath, qt48IniFormat())),
      defaultsFile(defaultsPath) {
    for (auto &group : lists)
        group.fill(zeros(blockSize));
    for (int g = Firmware; g <= Other; ++g) {
        dirty[g] = asList(settings->value(groupKey(Group(g)) + QStringLiteral("/dirty")));
        if (dirty[g].size() != profileCount)
            dirty[g] = sixFalse();
    }
    const uint stored = settings->value(QStringLiteral("common/curProfile"), 0).toUInt();
    cur = validProfile(int(stored)) ? uchar(stored) : 0;
}

ProfileStore::~ProfileStore() = default;

QString ProfileStore::groupKey(Group group) { return QString::fromLatin1(groupNames[group]); }

bool ProfileStore::setCurProfile(uchar profileId) {
    if (!validProfile(profileId)) {
        qWarning() << "profile id out of range:" << profileId;
        return false;
    }
    cur = profileId;
    settings->setValue(QStringLiteral("common/curProfile"), uint(cur));
    touched();
    return true;
}

QVariantList ProfileStore::list(Group group, int profile) const {
    QVariantList l = lists[group][validProfile(profile) ? profile : 0];
    while (l.size() < blockSize)
        l.append(0);
    return l;
}

QVariantList ProfileStore::values(const BlockField &field, int profile) const {
    const QVariantList &l = lists[field.group][field.deviceWide || !validProfile(profile) ? 0 : profile];
    QVariantList out;
    for (int i = field.offset; i < field.offset + field.length; ++i)
        out.append(i < l.size() ? l.at(i).toUInt() : 0u);
    return out;
}

bool ProfileStore::setValues(const BlockField &field, int profile, const QVariantList &src) {
    const int p = field.deviceWide ? 0 : profile;
    if (src.size() < field.length || !validProfile(p))
        return false;
    QVariantList &l = lists[field.group][p];
    while (l.size() < blockSize)
        l.append(0);
    for (int i = 0; i < field.length; ++i)
        l[field.offset + i] = src.at(i);
    setDirty(field.group, uchar(p));
    touched();
    return true;
}

bool ProfileStore::syncFromDevice() {
    const auto listsBefore = lists;
    const uchar curBefore = cur;
    const bool wasFilled = filled;
    auto changed = [&] { return !wasFilled || cur != curBefore || lists != listsBefore; };
    for (auto &group : mouseCopies)
        group.fill(std::nullopt);
    if (!linked_ || !refill) {
        loadAllProfiles();
        return changed();
    }
    // A read that fails keeps what was known: the working copy, or before the first fill
    // the file's. A failed block read may have left part of an answer behind, so only
    // whole answers replace a list; a mouse pulled out mid-refill must not leave zeros
    // behind that the next save would send back as a mouse without working buttons.
    fillFromFileIfEmpty();

    std::uint8_t deviceProfile = cur;
    // A profile number the store cannot address is not taken over.
    if (refill->currentProfile(deviceProfile) && deviceProfile != cur &&
        validProfile(deviceProfile)) {
        cur = deviceProfile;
        settings->setValue(QStringLiteral("common/curProfile"), uint(cur));
    }
    // What the mouse holds replaces the copy, except where the copy holds edits made without
    // the mouse: those stay until the user has chosen between them and the mouse's values.
    auto take = [this](Group g, int d, QVariantList values) {
        if (isDirty(g, d))
            mouseCopies[g][d] = std::move(values);
        else
            lists[g][d] = std::move(values);
    };
    for (std::uint8_t d = 0; d < profileCount; ++d) {
        RefillSource::Block block{};
        if (refill->firmwareBlock(d, block))
            take(Firmware, d, valuesOf(block));
        if (refill->keyMatrixBlock(d, block))
            take(Matrix, d, valuesOf(block));
        QVariantList other = list(Other, d);
        std::uint8_t value = 0;
        bool whole = refill->dpiStage(d, value);
        if (whole)
            other[layout::otherFw::dpiStage] = int(value);
        const bool rateRead = refill->reportRate(d, value);
        if (rateRead)
            other[layout::otherFw::reportRate] = int(value);
        whole = whole && rateRead;
        // The LED kind is the mouse's fact, never an edit.
        if (d == 0 && refill->ledTwinkle(value)) {
            other[layout::otherFw::ledTwinkle] = int(value);
            list(Other, 0)[layout::otherFw::ledTwinkle] = int(value);
        }
        // Values read one by one: a partial read still replaces what it read, but only a
        // whole one can stand for the mouse against an edit.
        if (!isDirty(Other, d))
            lists[Other][d] = other;
        else if (whole)
            mouseCopies[Other][d] = other;
    }
    saveAllProfiles();
    touched();
    return changed();
}

bool ProfileStore::syncFromDevice(RefillSource &answers) {
    RefillSource *const live = refill;
    refill = &answers;
    const bool changed = syncFromDevice();
    refill = live;
    return changed;
}

QVariantList ProfileStore::completed(const QString &k, QVariantList values, int size,
                                     std::unique_ptr<QSettings> &defaults) const {
    if (values.size() >= size) {
        values.resize(size);
        return values;
    }
    if (!defaults)
        defaults = std::make_unique<QSettings>(defaultsFile, qt48IniFormat());
    const QVariantList factory = asList(defaults->value(k));
    for (qsizetype i = values.size(); i < size; ++i)
        values.append(i < factory.size() ? factory.at(i) : QVariant(0));
    return values;
}

void ProfileStore::loadAllProfiles() {
    filled = true;
    const uint stored = settings->value(QStringLiteral("common/curProfile"), 0).toUInt();
    cur = validProfile(int(stored)) ? uchar(stored) : 0;

    std::unique_ptr<QSettings> defaults; // opened only when a list needs completing
    for (int i = 0; i < profileCount; ++i) {
        for (int g = Firmware; g <= Other; ++g) {
            const QString k = key(groupKey(Group(g)), i);
            lists[g][i] = completed(k, asList(settings->value(k)), blockSize, defaults);
        }
        // The pointer settings stay in the file only; pointerSettings() completes a short
        // list as it reads it. Nothing is written here: a damaged file stays as it is until
        // the user applies a page.
    }
    touched();
}

QVariantList ProfileStore::pointerSettings(int profile) const {
    const QString k = key(pointerGroup, validProfile(profile) ? profile : 0);
    const QVariant stored = settings->value(k);
    // A list of one element reads back from the file as a plain text.
    QVariantList values =
        stored.typeId() == QMetaType::QString ? QVariantList{stored} : asList(stored);
    if (values.size() < pointerSettingsSize) {
        const QVariantList factory = asList(QSettings(defaultsFile, qt48IniFormat()).value(k));
        const QVariantList builtIn = pointerSettings::builtInDefaults();
        for (qsizetype i = values.size(); i < pointerSettingsSize; ++i)
            values.append(i < factory.size() ? factory.at(i) : builtIn.at(i));
    }
    return values;
}

void ProfileStore::setPointerSetting(int profile, pointerSettings::Element element,
                                     const QVariant &value) {
    if (!validProfile(profile) || element < 0 || element >= pointerSettingsSize)
        return;
    QVariantList values = pointerSettings(profile);
    values[element] = value;
    settings->setValue(key(pointerGroup, profile), values);
}

void ProfileStore::saveAllProfiles() {
    for (int i = 0; i < profileCount; ++i) {
        for (int g = Firmware; g <= Other; ++g)
            settings->setValue(key(groupKey(Group(g)), i), lists[g][i]);
    }
}

bool ProfileStore::isDirty(Group group, int profile) const {
    return validProfile(profile) && dirty[group].value(profile).toBool();
}

const std::optional<QVariantList> &ProfileStore::heldByMouse(Group group, int profile) const {
    return mouseCopies[group][validProfile(profile) ? profile : 0];
}

void ProfileStore::clearDirty(Group group, int profile) {
    mouseCopies[group][profile].reset();
    if (!dirty[group].value(profile).toBool())
        return;
    dirty[group][profile] = false;
    settings->setValue(groupKey(group) + QStringLiteral("/dirty"), dirty[group]);
}

void ProfileStore::mouseTook(Group group, int profile, int index) {
    if (!validProfile(profile) || !mouseCopies[group][profile])
        return;
    QVariantList &copy = *mouseCopies[group][profile];
    if (index < 0)
        copy = lists[group][profile];
    else if (index < copy.size())
        copy[index] = lists[group][profile].value(index);
}

void ProfileStore::settleAsStored(Group group, int profile) {
    if (!validProfile(profile))
        return;
    settings->setValue(key(groupKey(group), profile), lists[group][profile]);
    clearDirty(group, profile);
}

bool ProfileStore::settleAsMouse(Group group, int profile) {
    if (!validProfile(profile) || !mouseCopies[group][profile])
        return false;
    lists[group][profile] = *mouseCopies[group][profile];
    settings->setValue(key(groupKey(group), profile), lists[group][profile]);
    clearDirty(group, profile);
    touched();
    return true;
}

RefillSource::Block ProfileStore::bytesOf(const QVariantList &values) {
    RefillSource::Block out{};
    for (int i = 0; i < blockSize && i < values.size(); ++i)
        out[i] = std::uint8_t(values.at(i).toUInt() & 0xFFu);
    return out;
}

void ProfileStore::setDirty(Group group, uchar profileId) {
    if (!deviceLinked())
        recordUnsentEdit(group, profileId);
}

void ProfileStore::recordUnsentEdit(Group group, uchar profileId) {
    if (!validProfile(profileId)) {
        qWarning() << "profile id out of range:" << profileId;
        return;
    }
    dirty[group][profileId] = true;
    settings->setValue(groupKey(group) + QStringLiteral("/dirty"), dirty[group]);
    settings->setValue(key(groupKey(group), profileId), lists[group][profileId]);
}

void ProfileStore::markProfileDirty(uchar profileId) { setDirty(Firmware, profileId); }
void ProfileStore::markMatrixDirty(uchar profileId) { setDirty(Matrix, profileId); }
void ProfileStore::markOtherDirty(uchar profileId) { setDirty(Other, profileId); }

QVariantList ProfileStore::defaultProfile(QString k, uchar profileId) {
    QSettings defaults(defaultsFile, qt48IniFormat());
    QVariantList values = asList(defaults.value(key(k, profileId)));
    // The pages index these lists directly; a damaged defaults file must not make them
    // read past the end.
    int size = 0;
    if (k == pointerGroup)
        size = pointerSettingsSize;
    else if (k == groupKey(Firmware) || k == groupKey(Matrix) || k == groupKey(Other))
        size = blockSize;
    if (!values.isEmpty() && values.size() < size) {
        while (values.size() < size)
            values.append(0);
    }
    return values;
}

bool ProfileStore::exportProfile(int profile, const QString &path) {
    if (!validProfile(profile)) {
        qWarning() << "export of a profile out of range:" << profile;
        return false;
    }
    // While the mouse is linked the file keeps the last refill's values, not the changes made
    // since: the export carries what the pages show.
    if (filled)
        saveAllProfiles();
    settings->setValue(QStringLiteral("common/importProfile"), profile);
    if (!atomicfile::sync(settings))
        return false;
    // Copied over an existing file in one step, so a failed export leaves that file as it was
    // (and picking the working file itself as the target changes nothing).
    return atomicfile::copy(settings->fileName(), path);
}

ProfileStore::ImportResult ProfileStore::importProfile(int profile, const QString &path) {
    // The store is read back from the file below: the other profiles' changes made while
    // the mouse was linked must be in it.
    if (filled)
        saveAllProfiles();
    ImportResult result = validProfile(profile) ? importChecked(profile, path)
                                                : ImportResult::NoSuchSlot;
    loadAllProfiles();
    return result;
}

ProfileStore::ImportResult ProfileStore::importChecked(int profile, const QString &path) {
    const pickedfile::Contents picked = pickedfile::read(path, pickedfile::profileMaxBytes);
    switch (picked.refusal) {
    case pickedfile::Refusal::None:
        break;
    case pickedfile::Refusal::NotARegularFile:
        return ImportResult::NotARegularFile;
    case pickedfile::Refusal::TooLarge:
        return ImportResult::TooLarge;
    case pickedfile::Refusal::Unreadable:
        return ImportResult::NotAProfileFile;
    }
    QHash<QString, QVariant> source;
    for (qt48ini::Entry &e : qt48ini::parse(picked.bytes, qt48ini::Codec::Latin1).entries)
        source.insert(e.key, std::move(e.value));

    bool numbered = false;
    const int s = source.value(QStringLiteral("common/importProfile"), 0).toInt(&numbered);
    // Only a file that carries the source profile's firmware block is a profile file;
    // anything else would overwrite the slot with empty values.
    if (!numbered || !validProfile(s) || !source.contains(key(groupKey(Firmware), s)))
        return ImportResult::NotAProfileFile;
    const QStringList groups{pointerGroup, groupKey(Firmware), groupKey(Matrix), groupKey(Other)};
    // All checked before the first is written: the working file takes the profile whole or
    // not at all, and only lists the readers can index and the mouse can store.
    for (const QString &g : groups) {
        const auto it = source.constFind(key(g, s));
        if (it == source.constEnd())
            continue;
        const QVariantList values = asList(*it);
        if (g == pointerGroup ? !isPointerList(values) : !isWhole(values, blockSize, 0xFF))
            return ImportResult::ValuesOutOfRange;
    }
    for (const QString &g : groups) {
        // A key the file lacks leaves the slot's own value in place.
        const auto it = source.constFind(key(g, s));
        if (it != source.constEnd())
            settings->setValue(key(g, profile), *it);
    }
    return atomicfile::sync(settings) ? ImportResult::Imported : ImportResult::WriteFailed;
}

bool ProfileStore::resetProfile(int profile) {
    if (!validProfile(profile)) {
        qWarning() << "reset of a profile out of range:" << profile;
        return false;
    }
    QSettings defaults(defaultsFile, qt48IniFormat());
    for (const QString &g : {pointerGroup, groupKey(Firmware), groupKey(Matrix), groupKey(Other)}) {
        for (int p : {0, profile}) {
            // Without a defaults entry the stored value stays; an empty list would wipe it.
            if (defaults.contains(key(g, p)))
                settings->setValue(key(g, p), asList(defaults.value(key(g, p))));
        }
    }
    const bool written = atomicfile::sync(settings);
    loadAllProfiles();
    return written;
}
