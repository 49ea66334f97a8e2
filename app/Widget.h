#pragma once

#include "MS_HT66FB560.h"
#include "RefillSnapshot.h"

#include <QTimer>
#include <QWidget>

#include <optional>
#include <thread>

struct CopyDataMessage;

class DeviceChangeSource;
class Ui_Controler;
class myQQuickView;

// The program's only top-level window: frameless, translucent, carrying the QML view.
class Widget : public QWidget {
    Q_OBJECT
public:
    static constexpr int deviceCheckDelayMs = 2048;
    static constexpr int offlineEditsRetryMs = 250;
    // The busy lock held while a refill reads the mouse; it ends when the refill does. Longer
    // than the slowest refill that still answers, so that it never ends before.
    static constexpr int refillLockMs = 60000;

    explicit Widget(QWidget *parent = nullptr);
    ~Widget() override;

    // Queues the QML initUI step and posts the event whose handler queues run.
    void startUi();

    // Replaces the platform's device-change source (the window takes ownership).
    void setDeviceChangeSource(DeviceChangeSource *source);
    // A device came or went: restart the debounce count.
    void onDeviceChangeBroadcast();

    myQQuickView *view() const;
    MS_HT66FB560 &deviceObject() { return device; }

    // Callbacks of the desktop-wide input capture; context is the window.
    static void onHookKey(uchar usage, uchar isDown, void *window);
    static void onHookMouse(uchar code, uchar isDown, int x, int y, void *window);
    static void onCopyData(const CopyDataMessage *data, void *window);
    Ui_Controler *uiControler() const { return controller; }
    const QTimer &deviceCheckTimer() const { return deviceTimer; }

    // Whether a refill is reading the mouse (the window holds its busy lock meanwhile).
    bool refilling() const { return refillThread.joinable(); }

public Q_SLOTS:
    // Looks the mouse up and refills the store. With the mouse there, its reads run on a
    // thread of their own under the busy lock and the store takes them once they are done;
    // without it the file's copy is read at once.
    void checkDevice();

Q_SIGNALS:
    // After every device check and its refill, with the look-up's result.
    void deviceChecked(bool linked);

protected:
    void customEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    // Settles edits made without the mouse once the window is free for the question.
    void settleOfflineEdits();
    void finishRefill();
    void deviceCheckDone(bool linked);

    QTimer deviceTimer;
    // Retries the question while the shell's busy lock or another box holds the window.
    QTimer offlineEditsTimer;
    Ui_Controler *controller = nullptr;
    DeviceChangeSource *deviceSource = nullptr;
    // Declared last so it goes first: its polling thread stops before the view and timer go.
    MS_HT66FB560 device;
    // Written by the refill thread, read on this one once that thread has been joined.
    std::optional<RefillSnapshot> refilled;
    std::thread refillThread;
};
