#include "ProfileFollower.h"

#include <QCoreApplication>

#include <utility>

ProfileFollower::ProfileFollower(ActiveWindowSource *source, const ApplicationRules *rules,
                                 Target target, QObject *parent)
    : QObject(parent), rules(rules), target(std::move(target)) {
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, &ProfileFollower::settle);
    connect(source, &ActiveWindowSource::activeWindowChanged, this, &ProfileFollower::onActiveWindow);
}

void ProfileFollower::onActiveWindow(const ActiveWindowInfo &info) {
    // The source leaves our own windows out already; a stand-in or a future source might not.
    if (info.isNull() || info.pid == QCoreApplication::applicationPid())
        return;
    last = info;
    timer.start(settleMs);
}

void ProfileFollower::requestProfile(int profile) {
    if (profile < 1 || profile > ApplicationRules::profileCount)
        return;
    requested = profile;
    timer.start(0);
}

void ProfileFollower::settle() {
    if (requested) {
        if (target.busy()) {
            timer.start(busyRetryMs);
            return;
        }
        const int profile = std::exchange(requested, 0);
        if (profile != target.currentProfile())
            target.switchProfile(profile);
        return;
    }
    if (last.isNull())
        return;
    const std::optional<int> profile = rules->profileFor(last);
    if (!profile || *profile == target.currentProfile())
        return;
    if (target.busy()) {
        timer.start(busyRetryMs);
        return;
    }
    target.switchProfile(*profile);
    emit switchedByRule(*profile, last);
}
