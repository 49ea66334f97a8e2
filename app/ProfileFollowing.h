#pragma once

#include "ActiveWindowSource.h"
#include "ApplicationRules.h"
#include "FollowRulesEditor.h"
#include "ProfileFollower.h"

#include <memory>

class myQQuickView;

// Connects the follower to the running shell: it reads and switches the profile through the
// profile menu itself, so a rule's switch is a menu click in every respect (the mouse's
// current profile, the pages' refresh).
class ProfileFollowing {
public:
    ProfileFollowing(myQQuickView *view, const QString &rulesFile);
    ~ProfileFollowing();

    bool active() const { return watching; }
    ApplicationRules &rules() { return m_rules; }
    ProfileFollower *follower() const { return m_follower.get(); }
    FollowRulesEditor &editor() { return *m_editor; }
    ActiveWindowSource *source() const { return m_source.get(); }

    // The notice after a rule's switch, in the view's current language.
    static QString switchNotice(myQQuickView *view, int profile, const ActiveWindowInfo &app);

    // The profile menu's own hooks, for any caller that must act as a click would.
    static ProfileFollower::Target menuTarget(myQQuickView *view);

private:
    ApplicationRules m_rules;
    std::unique_ptr<ActiveWindowSource> m_source;
    std::unique_ptr<ProfileFollower> m_follower;
    std::unique_ptr<FollowRulesEditor> m_editor;
    myQQuickView *m_view;
    bool watching = false;
};
