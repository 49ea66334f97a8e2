#pragma once

#include <QStringList>

#include <functional>

class ProfileStore;
class QWidget;

// The questions the settings put to the user, asked on the view's side through the one dialog
// interface: which file a profile is exported to or imported from, the warning when a file is
// no profile file, and the confirmation before the last left-button key is reassigned.
class StoreDialogs {
public:
    // msgStrings answers the current language's message strings (0, 1: import warning;
    // 4, 5: the confirmation); parent is the dialogs' parent window.
    StoreDialogs(ProfileStore &store, std::function<QStringList()> msgStrings,
                 QWidget *parent = nullptr);

    void saveProfile(int profile);
    void loadProfile(int profile);

    // True only when the user chose OK; before any language is loaded the box still comes,
    // with empty texts.
    static bool confirmFoolProofing(const QStringList &msgStrings, QWidget *parent = nullptr);
    bool getMsgAns_FoolProofing();

private:
    QStringList messages() const;

    ProfileStore &store;
    std::function<QStringList()> msgStrings;
    QWidget *parent;
};
