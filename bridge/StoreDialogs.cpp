#include "StoreDialogs.h"

#include "DataPaths.h"
#include "Dialogs.h"
#include "PickedFile.h"
#include "ProfileStore.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>

namespace {

QString exchangeFolder() { return DataPaths::exchangeFolder(); }

// The name the export proposes: the profile as the menu labels it.
QString proposedName(int profile) {
    return QStringLiteral("P%1.pf").arg(profile, 2, 10, QLatin1Char('0'));
}

QString tr(const char *text) { return QCoreApplication::translate("myQQuickView", text); }

// The message string saying that a profile file's lists are not whole or out of range.
constexpr int valuesOutOfRangeMessage = 14;

} // namespace

StoreDialogs::StoreDialogs(ProfileStore &s, std::function<QStringList()> strings, QWidget *p)
    : store(s), msgStrings(std::move(strings)), parent(p) {}

QStringList StoreDialogs::messages() const { return msgStrings ? msgStrings() : QStringList(); }

void StoreDialogs::saveProfile(int profile) {
    if (profile < 0 || profile >= ProfileStore::profileCount) {
        qWarning() << "export of a profile out of range:" << profile;
        return;
    }
    const QString name =
        dialogs().saveFileName(parent, tr("Save File"),
                               QDir(exchangeFolder()).filePath(proposedName(profile)),
                               tr("Profile(*.pf)"));
    if (!name.isEmpty() && !store.exportProfile(profile, name))
        qWarning() << "export of profile" << profile << "to" << name << "failed";
}

void StoreDialogs::loadProfile(int profile) {
    const QString name =
        dialogs().openFileName(parent, tr("Open File"), exchangeFolder(), tr("Profile(*.pf)"));
    if (name.isEmpty()) {
        store.loadAllProfiles();
        return;
    }
    using Result = ProfileStore::ImportResult;
    int why = -1;
    switch (store.importProfile(profile, name)) {
    case Result::NotAProfileFile:
        why = 1;
        break;
    case Result::NotARegularFile:
        why = pickedfile::refusalMessage(pickedfile::Refusal::NotARegularFile);
        break;
    case Result::TooLarge:
        why = pickedfile::refusalMessage(pickedfile::Refusal::TooLarge);
        break;
    case Result::ValuesOutOfRange:
        why = valuesOutOfRangeMessage;
        break;
    case Result::Imported:
    case Result::NoSuchSlot:
    case Result::WriteFailed:
        break;
    }
    if (why >= 0) {
        const QStringList msg = messages();
        dialogs().warning(parent, msg.value(0), msg.value(why));
    }
}

bool StoreDialogs::confirmFoolProofing(const QStringList &msgStrings, QWidget *parent) {
    return dialogs().confirm(parent, msgStrings.value(4), msgStrings.value(5));
}

bool StoreDialogs::getMsgAns_FoolProofing() { return confirmFoolProofing(messages(), nullptr); }
