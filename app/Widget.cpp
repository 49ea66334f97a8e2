#include "Widget.h"

#include "CopyData.h"
#include "DeviceChangeSource.h"
#include "OfflineEdits.h"
#include "ProfileStore.h"
#include "Ui_Controler.h"
#include "UserEvent.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QCoreApplication>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

Widget::Widget(QWidget *parent) : QWidget(parent) {
    // The controller outlives the window (QML may still reach ui_Ctl while the view goes);
    // the application object frees it last.
    controller = new Ui_Controler(QCoreApplication::instance());
    controller->setupWindow(this);
    view()->setDevice(&device);

    deviceTimer.setInterval(deviceCheckDelayMs);
    deviceTimer.setSingleShot(true);
    deviceTimer.setTimerType(Qt::PreciseTimer);
    connect(&deviceTimer, &QTimer::timeout, this, &Widget::checkDevice);
    offlineEditsTimer.setInterval(offlineEditsRetryMs);
    offlineEditsTimer.setSingleShot(true);
    connect(&offlineEditsTimer, &QTimer::timeout, this, &Widget::settleOfflineEdits);

    setDeviceChangeSource(createDeviceChangeSource(nullptr));
}

Widget::~Widget() {
    // The refill reads through the device and the store; both go with the window.
    if (refillThread.joinable())
        refillThread.join();
    delete deviceSource;
    deviceTimer.stop();
}

myQQuickView *Widget::view() const { return controller->quickView(); }

void Widget::setDeviceChangeSource(DeviceChangeSource *source) {
    delete deviceSource;
    deviceSource = source;
    if (deviceSource)
        connect(deviceSource, &DeviceChangeSource::deviceChanged, this,
                &Widget::onDeviceChangeBroadcast);
}

void Widget::onDeviceChangeBroadcast() { deviceTimer.start(); }

void Widget::checkDevice() {
    myQQuickView *v = view();
    // While the question about edits made without the mouse is up, the store must not
    // change under it, nor the binding under a refill still reading: the check comes after.
    if (v->offlineEdits().asking() || refilling()) {
        deviceTimer.start();
        return;
    }
    // The profile settings may point the look-up at another vendor/product id or device code.
    QSettings *profile = v->profileStore().profileSettings();
    const bool linked =
        linkDevice(device, v->productNames(), profile->value(QStringLiteral("Q7/vid")).toString(),
                   profile->value(QStringLiteral("Q7/pid")).toString(),
                   profile->value(QStringLiteral("common/sc")).toString());
    v->setDeviceLinked(linked);
    RefillSource *live = linked ? v->profileStore().refillSource() : nullptr;
    if (!live) {
        v->syncFromDevice();
        deviceCheckDone(linked);
        return;
    }
    // The pages may read the store before the mouse has been read: the file's copy, not zeros,
    // and a refill that finds the mouse equal to it needs no second reading by them.
    v->profileStore().fillFromFileIfEmpty();
    controller->setBusy(refillLockMs);
    refillThread = std::thread([this, live] {
        refilled = RefillSnapshot::readFrom(*live);
        QMetaObject::invokeMethod(this, &Widget::finishRefill, Qt::QueuedConnection);
    });
}

void Widget::finishRefill() {
    refillThread.join();
    myQQuickView *v = view();
    v->syncFromDevice(&*refilled);
    refilled.reset();
    controller->setBusy(0);
    deviceCheckDone(true);
}

void Widget::deviceCheckDone(bool linked) {
    Q_EMIT deviceChecked(linked);
    settleOfflineEdits();
}

void Widget::settleOfflineEdits() {
    myQQuickView *v = view();
    if (!v->offlineEdits().pending())
        return;
    // Over the window once it is up and its pages have read the store (at start-up the
    // check runs before), not over the busy lock of an operation still running nor over
    // another box: the question waits until the window takes input again.
    if (!isVisible() || !v->isEnabled() || QApplication::activeModalWidget()) {
        offlineEditsTimer.start();
        return;
    }
    v->settleOfflineEdits();
}

void Widget::onHookKey(uchar usage, uchar isDown, void *window) {
    if (window)
        static_cast<Widget *>(window)->view()->forwardKeyboard(isDown, usage);
}

void Widget::onHookMouse(uchar code, uchar isDown, int x, int y, void *window) {
    if (window)
        static_cast<Widget *>(window)->view()->forwardMouse(isDown, code, x, y);
}

void Widget::onCopyData(const CopyDataMessage *data, void *window) {
    showCopyDataWarning(data, static_cast<const Widget *>(window));
}

void Widget::startUi() {
    view()->initUI();
    QCoreApplication::postEvent(this, new UserEvent(UserEvent::runUiCode));
}

void Widget::customEvent(QEvent *event) {
    if (event->type() == QEvent::User &&
        static_cast<UserEvent *>(event)->eventCode == UserEvent::runUiCode)
        view()->runUI();
}

void Widget::changeEvent(QEvent *event) {
    // A minimised window shows no field waiting for a key, nor a recording.
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        view()->withdrawCapture();
    QWidget::changeEvent(event);
}

bool Widget::nativeEvent(const QByteArray &eventType, void *message, qintptr *result) {
#ifdef Q_OS_WIN
    if (eventType == "windows_generic_MSG" &&
        static_cast<MSG *>(message)->message == WM_DEVICECHANGE)
        onDeviceChangeBroadcast();
#endif
    return QWidget::nativeEvent(eventType, message, result);
}
