#pragma once

#include "ActiveWindowSource.h"
#include "ApplicationRules.h"
#include "ProfileFollower.h"

#include <memory>

class QQuickItem;
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
    ActiveWindowSource *source() const { return m_source.get(); }

    // The profile menu's own hooks, for any caller that must act as a click would.
    static ProfileFollower::Target menuTarget(myQQuickView *view);

private:
    ApplicationRules m_rules;
    std::unique_ptr<ActiveWindowSource> m_source;
    std::unique_ptr<ProfileFollower> m_follower;
    bool watching = false;
};
