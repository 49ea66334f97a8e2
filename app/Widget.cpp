#include "Widget.h"

#include "DeviceChangeSource.h"
#include "UserEvent.h"
#include "Ui_Controler.h"
#include "myQQuickView.h"

#include <QCoreApplication>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

Widget::Widget(QWidget *parent) : QWidget(parent) {
    controller = new Ui_Controler;
    controller->setupWindow(this);

    deviceTimer.setInterval(deviceCheckDelayMs);
    deviceTimer.setSingleShot(true);
    deviceTimer.setTimerType(Qt::PreciseTimer);
    connect(&deviceTimer, &QTimer::timeout, this, &Widget::checkDevice);

    setDeviceChangeSource(createDeviceChangeSource(nullptr));
}

Widget::~Widget() {
    delete deviceSource;
    deviceTimer.stop();
    // The controller outlives the window by design (QML may still hold it during teardown).
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
    const bool linked = false;
    v->deviceLinked = linked;
    v->syncFromDevice();
    Q_EMIT deviceChecked(linked);
}

void Widget::startUi() {
    view()->initUI();
    QCoreApplication::postEvent(this, new UserEvent(UserEvent::runUiCode));
}

void Widget::customEvent(QEvent *event) {
    if (event->type() == QEvent::User && static_cast<UserEvent *>(event)->eventCode == UserEvent::runUiCode)
        view()->runUI();
}

bool Widget::nativeEvent(const QByteArray &eventType, void *message, qintptr *result) {
#ifdef Q_OS_WIN
    if (eventType == "windows_generic_MSG" && static_cast<MSG *>(message)->message == WM_DEVICECHANGE)
        onDeviceChangeBroadcast();
#endif
    return QWidget::nativeEvent(eventType, message, result);
}
