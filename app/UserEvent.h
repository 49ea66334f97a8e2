#pragma once

#include <QEvent>

// A custom event with one code; the window uses it to run the QML run step only after the
// queued initUI call has been delivered.
class UserEvent : public QEvent {
public:
    static constexpr int runUiCode = 2177;

    explicit UserEvent(int code) : QEvent(QEvent::User), eventCode(code) {}

    int eventCode;
};
