#include "Ui_Controler.h"

#include "myQQuickView.h"

#include <QQuickItem>
#include <QWidget>

void Ui_Controler::setupWindow(QWidget *w) {
    if (w->objectName().isEmpty())
        w->setObjectName(QStringLiteral("Widget"));
    window = w;
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    window->setWindowOpacity(1.0);
    window->setAttribute(Qt::WA_TranslucentBackground, true);
    window->setStyleSheet(QStringLiteral("background:transparent;"));

    view = new myQQuickView(window);
    view->setObjectName(QStringLiteral("ui_View"));
    view->setSource(QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));
    // The shell only reaches these from initUI on, after its own creation.
    view->publish(this);

    window->resize(view->width(), view->height());
    applyWindowTitle(window);
}

void Ui_Controler::applyWindowTitle(QWidget *w) { w->setWindowTitle(view->windowTitleText()); }

void Ui_Controler::onMinimize() {
    if (window)
        window->close();
}

void Ui_Controler::onXChanged(int x) {
    if (window)
        window->move(window->x() + x, window->y());
}

void Ui_Controler::onYChanged(int y) {
    if (window)
        window->move(window->x(), window->y() + y);
}

void Ui_Controler::setBusy(int busyTime) {
    if (view && view->rootObject())
        QMetaObject::invokeMethod(view->rootObject(), "setProtectUI", Qt::DirectConnection,
                                  Q_ARG(QVariant, QVariant(busyTime)));
}
