#pragma once

#include "ActiveWindowSource.h"

// Reports what a test tells it to, as a desktop would.
class FakeActiveWindowSource : public ActiveWindowSource {
    Q_OBJECT
public:
    using ActiveWindowSource::ActiveWindowSource;
    bool start() override { return true; }
    void stop() override {}

    void activate(const QString &windowClass, const QString &executable = QString(), qint64 pid = 4242) {
        emit activeWindowChanged({windowClass.toLower(), windowClass, executable, pid});
    }
};
