#pragma once

#include <functional>

// What the user is told about one operation that sends changes to the mouse (a page's
// Apply, ALL SAVE, a profile switch, a macro upload): nothing when every change reached the
// mouse, otherwise one notice however many of its exchanges failed.
class SendOutcome {
public:
    enum Notice {
        Nothing,  // every change reached the mouse, or nothing was sent
        NotTaken, // the linked mouse did not take a change
        NoMouse,  // no mouse was linked to take them
    };

    // linked answers whether a mouse is linked at the moment a change fails.
    explicit SendOutcome(std::function<bool()> linked) : isLinked(std::move(linked)) {}

    void note(bool delivered) {
        if (delivered)
            return;
        // A mouse that stopped answering matters more than one that was never there.
        if (isLinked && isLinked())
            owed = NotTaken;
        else if (owed == Nothing)
            owed = NoMouse;
    }

    // The notice owed for what was noted since the last call; the next operation starts
    // afresh.
    Notice take() {
        const Notice n = owed;
        owed = Nothing;
        return n;
    }

private:
    std::function<bool()> isLinked;
    Notice owed = Nothing;
};
