#pragma once

#include "ProfileStore.h"

#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

class MouseLink;
class QWidget;

// Edits made without the mouse, settled once the mouse is linked again. The refill that
// links the mouse keeps each dirty group's stored copy beside what the mouse holds (no
// read of its own here); a group whose copy equals the mouse's is settled quietly, and if
// any differ the user is asked once whether the stored changes go to the mouse or the
// mouse's settings stay. Either way file, store and mouse agree afterwards and the marks
// are cleared; only a send that fails leaves its group marked, for the next plug-in.
class OfflineEdits {
public:
    enum class Outcome {
        Nothing,   // nothing to settle (no marks, or the mouse not linked)
        Settled,   // the marked copies equalled the mouse's: marks cleared, nothing asked
        Sent,      // the user chose to send, and the mouse took every change
        NotSent,   // the user chose to send, and some change did not reach the mouse
        KeptMouse, // the user chose the mouse's settings: the store and file now hold them
    };

    // Message strings of the question: its text and the labels of its two choices.
    static constexpr int questionMessage = 9;
    static constexpr int sendChoiceMessage = 10;
    static constexpr int keepChoiceMessage = 11;

    // The stored changes go out through link. msgStrings answers the current language's
    // message strings; parent is the question's parent window.
    OfflineEdits(ProfileStore &store, MouseLink &link, std::function<QStringList()> msgStrings,
                 QWidget *parent = nullptr);

    // Whether settle() has marks to settle: the mouse linked, and a marked group whose
    // copy on the mouse the last refill read.
    bool pending() const;
    // Whether the question is up (settle() has not returned yet).
    bool asking() const { return askingNow; }

    Outcome settle();

private:
    using Marked = std::pair<ProfileStore::Group, int>;
    std::vector<Marked> marked() const;
    bool equalsMouse(ProfileStore::Group group, int profile) const;
    bool send(ProfileStore::Group group, int profile);

    ProfileStore &store;
    MouseLink &link;
    std::function<QStringList()> msgStrings;
    QWidget *parent;
    bool askingNow = false;
};
