#include "WindowCapture.h"

#include "XInputFeed.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

WindowCapture::WindowCapture(QObject *parent) : QObject(parent) {}

WindowCapture::~WindowCapture() { remove(); }

bool WindowCapture::install() {
    if (installed)
        return true;
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app)
        return false;
    app->installEventFilter(this);
    installed = true;
    return true;
}

void WindowCapture::remove() {
    if (!installed)
        return;
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
    installed = false;
}

bool WindowCapture::eventFilter(QObject *watched, QEvent *event) {
    // A key or click reaches the window first and may then travel through several widgets;
    // looking at the window only sees it once.
    if (!qobject_cast<QWindow *>(watched))
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        feedXKey(key->nativeScanCode(), event->type() == QEvent::KeyPress);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint at = mouse->globalPosition().toPoint();
        unsigned button = 0;
        switch (mouse->button()) {
        case Qt::LeftButton:
            button = 1;
            break;
        case Qt::MiddleButton:
            button = 2;
            break;
        case Qt::RightButton:
            button = 3;
            break;
        default:
            return false;
        }
        feedXButton(button, event->type() == QEvent::MouseButtonPress, at.x(), at.y());
        break;
    }
    default:
        break;
    }
    return false;
}
