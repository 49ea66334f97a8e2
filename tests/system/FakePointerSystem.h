#pragma once

#include "PointerSystem.h"

#include <QStringList>

// Records what was asked of the system, which accepts everything.
class FakePointerSystem : public PointerSystem {
public:
    explicit FakePointerSystem(QStringList *calls) : calls(calls) {}
    bool setAcceleration(bool on) override {
        return record(QStringLiteral("acceleration %1").arg(on));
    }
    bool setSpeed(int speed) override { return record(QStringLiteral("speed %1").arg(speed)); }
    bool setWheelLines(int lines) override { return record(QStringLiteral("lines %1").arg(lines)); }
    bool setDoubleClickTime(int ms) override {
        return record(QStringLiteral("double-click %1").arg(ms));
    }

private:
    bool record(const QString &call) {
        calls->append(call);
        return true;
    }
    QStringList *calls;
};
