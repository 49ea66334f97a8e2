#include "StoreDialogs.h"

#include "DataPaths.h"
#include "Dialogs.h"
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

} // namespace

StoreDialogs::StoreDialogs(ProfileStore &s, std::function<QStringList()> strings, QWidget *p)
    : store(s), msgStrings(std::move(strings)), parent(p) {}

QStringList StoreDialogs::messages() const { return msgStrings ? msgStrings() : QStringList(); }

void StoreDialogs::q7_saveProfile(int profile) {
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

void StoreDialogs::q7_loadProfile(int profile) {
    const QString name =
        dialogs().openFileName(parent, tr("Open File"), exchangeFolder(), tr("Profile(*.pf)"));
    if (name.isEmpty()) {
        store.loadAllProfiles();
        return;
    }
    if (store.importProfile(profile, name) == ProfileStore::ImportResult::NotAProfileFile) {
        const QStringList msg = messages();
        dialogs().warning(parent, msg.value(0), msg.value(1));
    }
}

bool StoreDialogs::confirmFoolProofing(const QStringList &msgStrings, QWidget *parent) {
    return dialogs().confirm(parent, msgStrings.value(4), msgStrings.value(5));
}

bool StoreDialogs::getMsgAns_FoolProofing() { return confirmFoolProofing(messages(), nullptr); }
