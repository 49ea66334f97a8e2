#pragma once

#include "BlockLayout.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class DeviceBridge;
class MouseLink;
class ProfileStore;
class ProfileRules;

// What a script can ask of the mouse: the command line's commands without a window, and the
// session bus. One class for both, working on the same store, link and bridge the window uses,
// so a value set from a script is recorded, sent and marked exactly as a click would.
//
// Profiles are numbered 1..5 as the profile menu shows them. Every operation answers a code
// (ScriptResult::Code, also the command line's exit status) and a sentence for the user.
struct ScriptResult {
    enum Code { Done = 0, BadArguments = 2, NoMouse = 3, Refused = 4 };
    int code = Done;
    QString message;

    bool ok() const { return code == Done; }
};

// One profile as the pages show it.
struct ScriptProfileStatus {
    int number = 0;
    int reportRateHz = 0;
    QList<int> dpiStages; // DPI of stages 1..stageCount
    int currentStage = 0; // 1-based
    int effect = 0;       // the effect's code
    QString effectName;   // as the lighting page labels it
    int brightness = 0;   // the page's step 0..7
};

// What the mouse holds, or the profile file's copy of it when no mouse is found.
struct ScriptStatus {
    bool mouseFound = false;
    QString firmwareVersion; // empty without a mouse
    int currentProfile = 0;
    QList<ScriptProfileStatus> profiles;
};

class ScriptOperations {
public:
    enum class Setting { Rate, Dpi, Stage, Effect, Brightness };

    // What differs between the running window and a session of its own: how a profile
    // switch is made (the window's goes through its profile menu, so the pages follow; unset,
    // through the bridge) and what happens after a value changed (the window's pages read
    // the store again).
    struct Host {
        std::function<bool(int profile)> switchProfile;
        std::function<void()> changed;
    };

    ScriptOperations(ProfileStore &store, MouseLink &link, DeviceBridge &bridge,
                     const ProfileRules &rules, Host host);

    void setHost(Host h) { host = std::move(h); }

    ScriptStatus status() const;
    // The same without the firmware version, which only the mouse can tell: what the store
    // holds, read as often as it changes without a word to the mouse.
    ScriptStatus storedStatus() const;
    ScriptResult setProfile(int profile);
    ScriptResult exportProfile(int profile, const QString &path);
    ScriptResult importProfile(int profile, const QString &path);
    // profile 0: the current one. value as typed: "1000", "800", "3", "breathing", "5".
    ScriptResult setValue(Setting setting, const QString &value, int profile = 0);

    static bool settingFromName(const QString &name, Setting &setting);
    // "rate", "dpi", "stage", "effect", "brightness": the words `set` takes.
    static QStringList settingNames();
    // The profiles a script may name (0 carries device-wide fields and is no menu entry).
    static constexpr int lastProfile = layout::profileCount - 1;

private:
    bool validProfile(int profile) const { return profile >= 1 && profile <= lastProfile; }
    // The result of a change sent through the link: taken, or why not.
    ScriptResult sent(bool delivered, const QString &done) const;

    ProfileStore &store;
    MouseLink &link;
    DeviceBridge &bridge;
    const ProfileRules &rules;
    Host host;
};
