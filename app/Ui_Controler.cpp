#include "Ui_Controler.h"

#include "myQQuickView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QWidget>
#include <QWindow>

namespace {
// Frameless, the window is still the program's main window: a screen reader is told it is a
// frame, named by its title.
QAccessibleInterface *mainWindowAccessible(const QString &className, QObject *object) {
    if (className == QLatin1String("Widget") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

// The window is a picture of fixed size that mostly rests, in a program that stays up to follow
// the active application: Qt Quick's own software renderer draws it alike without holding a
// graphics driver for as long as the program runs (over 70 MiB with Mesa's). Qt's variables
// still choose a GPU renderer for whoever sets them.
void chooseRenderer() {
    if (qEnvironmentVariableIsSet("QT_QUICK_BACKEND") || qEnvironmentVariableIsSet("QSG_RHI_BACKEND"))
        return;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}
} // namespace

void Ui_Controler::setupWindow(QWidget *w) {
    // Before anything about the window reaches the accessibility bus, which keeps what it got.
    QAccessible::installFactory(mainWindowAccessible);
    if (w->objectName().isEmpty())
        w->setObjectName(QStringLiteral("Widget"));
    window = w;
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    window->setWindowOpacity(1.0);
    window->setAttribute(Qt::WA_TranslucentBackground, true);
    window->setStyleSheet(QStringLiteral("background:transparent;"));

    chooseRenderer();
    view = new myQQuickView(window);
    view->setObjectName(QStringLiteral("ui_View"));
    // Before the shell is made: its connections to the view's signals are made with it, and
    // nothing it binds is first made without the view and then made again.
    view->publish(this);
    view->setSource(QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));

    window->resize(view->width(), view->height());
    applyWindowTitle(window);
}

void Ui_Controler::applyWindowTitle(QWidget *w) {
    w->setWindowTitle(view->windowTitleText());
    // The view is what a screen reader enters the window through; it goes by the same name.
    view->setAccessibleName(w->windowTitle());
}

void Ui_Controler::onMinimize() {
    if (window)
        window->close();
}

bool Ui_Controler::startSystemMove() {
    // Wayland lets no client place its own window: the compositor moves it, and only for the
    // press that is being handled.
    QWindow *handle = window ? window->windowHandle() : nullptr;
    return handle && handle->startSystemMove();
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
    if (view)
        view->lockView(busyTime);
}
