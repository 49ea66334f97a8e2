#pragma once

#include "ActiveWindowSource.h"
#include "ApplicationRules.h"

#include <QObject>
#include <QTimer>

#include <functional>

// Switches the profile when the user moves to an application a rule names. A change only
// counts once it has held for the settling time, so cycling through windows with Alt+Tab
// switches at most once, for the window the user stopped at. While the view is locked for
// an exchange with the mouse the switch waits and is made when the lock ends.
class ProfileFollower : public QObject {
    Q_OBJECT
public:
    struct Target {
        std::function<int()> currentProfile;    // the profile shown in the profile menu
        std::function<bool()> busy;             // the view is locked for an exchange
        std::function<void(int)> switchProfile; // does what a click in the profile menu does
    };

    static constexpr int settleMs = 300;
    // How often a waiting switch looks whether the lock has ended (locks last up to ~2 s).
    static constexpr int busyRetryMs = 100;

    ProfileFollower(ActiveWindowSource *source, const ApplicationRules *rules, Target target,
                    QObject *parent = nullptr);

    ActiveWindowInfo lastApplication() const { return last; }

    // A profile asked for from outside (the command line): made as soon as the view is free,
    // and a rule still settling gives way to it.
    void requestProfile(int profile);

Q_SIGNALS:
    // A rule switched to this profile (for a short notice in the window).
    void switchedByRule(int profile, const ActiveWindowInfo &application);

private:
    void onActiveWindow(const ActiveWindowInfo &info);
    void settle();

    const ApplicationRules *rules;
    Target target;
    QTimer timer;
    ActiveWindowInfo last;
    int requested = 0;
};
