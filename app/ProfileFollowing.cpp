#include "ProfileFollowing.h"

#include "myQQuickView.h"

#include <QQuickItem>

namespace {

QObject *findInView(myQQuickView *view, const char *name) {
    QQuickItem *root = view ? view->rootObject() : nullptr;
    return root ? root->findChild<QObject *>(QLatin1String(name)) : nullptr;
}

} // namespace

ProfileFollower::Target ProfileFollowing::menuTarget(myQQuickView *view) {
    ProfileFollower::Target target;
    target.currentProfile = [view] {
        QObject *menu = findInView(view, "pfItem");
        return menu ? menu->property("currentIndex").toInt() : 0;
    };
    // A click is impossible while the view is locked for an exchange, and while the menu
    // itself is disabled (the settings drawer is open, the macro page is recording): wait.
    target.busy = [view] {
        QObject *menu = findInView(view, "pfItem");
        QObject *lock = findInView(view, "tmrProtectUI");
        return !menu || !menu->property("enabled").toBool() ||
               (lock && lock->property("running").toBool()) || (view && !view->isEnabled());
    };
    target.switchProfile = [view](int profile) {
        if (QObject *menu = findInView(view, "pfItem"))
            QMetaObject::invokeMethod(menu, "select", Q_ARG(QVariant, QVariant(profile)));
    };
    return target;
}

ProfileFollowing::ProfileFollowing(myQQuickView *view, const QString &rulesFile)
    : m_source(ActiveWindowSource::create()) {
    m_rules.load(rulesFile);
    m_follower = std::make_unique<ProfileFollower>(m_source.get(), &m_rules, menuTarget(view));
    watching = m_source->start();
}

ProfileFollowing::~ProfileFollowing() {
    if (m_source)
        m_source->stop();
}
