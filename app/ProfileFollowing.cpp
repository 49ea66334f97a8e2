#include "ProfileFollowing.h"

#include "Languages.h"
#include "myQQuickView.h"

ProfileFollower::Target ProfileFollowing::menuTarget(myQQuickView *view) {
    ProfileFollower::Target target;
    target.currentProfile = [view] { return view ? view->currentProfile() : 0; };
    // A click is impossible while the view is locked for an exchange, and while the menu
    // itself is hidden or dimmed (the settings drawer is open, the macro page is recording):
    // wait.
    target.busy = [view] { return !view || !view->profileSwitchReady(); };
    target.switchProfile = [view](int profile) {
        if (view)
            view->switchProfile(profile);
    };
    return target;
}

QString ProfileFollowing::switchNotice(myQQuickView *view, int profile,
                                       const ActiveWindowInfo &app) {
    QString pattern = view->languages().sectionTexts(QStringLiteral("rules"))
                          .value(QStringLiteral("switched"))
                          .toString();
    if (pattern.isEmpty())
        pattern = QStringLiteral("%1 for %2");
    return FollowRulesEditor::switchNotice(pattern, profile, app);
}

ProfileFollowing::ProfileFollowing(myQQuickView *view, const QString &rulesFile)
    : m_view(view) {
    const DesktopSession session = DesktopSession::current();
    m_source = ActiveWindowSource::create(session);
    m_rules.load(rulesFile);
    m_follower = std::make_unique<ProfileFollower>(m_source.get(), &m_rules, menuTarget(view));
    m_editor = std::make_unique<FollowRulesEditor>(
        &m_rules, [this] { return m_follower->lastApplication(); }, [this] { return watching; });
    if (view) {
        view->setFollowRulesEditor(m_editor.get());
        QObject::connect(m_follower.get(), &ProfileFollower::switchedByRule, view,
                         [view](int profile, const ActiveWindowInfo &app) {
                             view->showNotice(switchNotice(view, profile, app));
                         });
    }
    watching = m_source->start();
    m_editor->setSource(m_source->kind(), session.unseenHint(m_source->kind()));
}

ProfileFollowing::~ProfileFollowing() {
    if (m_view)
        m_view->setFollowRulesEditor(nullptr);
    if (m_source)
        m_source->stop();
}
