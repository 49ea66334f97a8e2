#pragma once

#include <QHash>
#include <QObject>

#include <functional>

// Who wants the desktop's keys and buttons at the moment. The capture listens only while a
// request is open (a capture field waiting for a key, a recording running), so that nothing
// typed into other applications reaches the program otherwise.
//
// Requests are counted per holder: two users cannot switch the capture off for each other, a
// holder may nest its own, and a holder destroyed with requests still open (a page torn down
// while a field waits) gives them back. GUI thread only.
class CaptureDemand : public QObject {
    Q_OBJECT
public:
    // Called with true when the first request opens and with false when the last one closes.
    using Switch = std::function<void(bool listen)>;

    explicit CaptureDemand(Switch listen, QObject *parent = nullptr);

    // "I want input": one more request of holder (a null holder asks for nothing).
    void request(QObject *holder);
    // "I'm done": one request of holder fewer; a holder with none open changes nothing.
    void release(QObject *holder);
    // Closes every request of holder.
    void releaseAll(QObject *holder);

    bool listening() const { return open > 0; }
    int openRequests() const { return open; }

private:
    void changeBy(int delta);

    Switch listenSwitch;
    QHash<QObject *, int> held;
    int open = 0;
};
