#include "myQQuickView.h"

#include "Ui_Controler.h"

#include <QQmlContext>
#include <QQuickItem>
#include <QSettings>

myQQuickView::myQQuickView(QWidget *parent) : QQuickWidget(parent) {
    // Whatever QML leaves unpainted shows the desktop through the translucent window.
    setClearColor(Qt::transparent);
    setAttribute(Qt::WA_TranslucentBackground, true);
}

myQQuickView::~myQQuickView() = default;

void myQQuickView::publish(Ui_Controler *controller) {
    rootContext()->setContextProperty(QStringLiteral("ui_View"), this);
    rootContext()->setContextProperty(QStringLiteral("ui_Ctl"), controller);
}

void myQQuickView::syncFromDevice() {}

void myQQuickView::forwardKeyboard(bool isDown, int usbCode) {
    invokeRoot("detectKeyboard", Qt::QueuedConnection, {isDown, usbCode});
}

void myQQuickView::forwardMouse(bool isDown, int mouseCode, int x, int y) {
    invokeRoot("detectMouse", Qt::QueuedConnection, {isDown, mouseCode, x, y});
}

QString myQQuickView::configuredWindowTitle() {
    QSettings config(QStringLiteral("./modules/setting/apConfig.bin"), QSettings::IniFormat);
    return config.value(QStringLiteral("common/name"), QString()).toString();
}

void myQQuickView::initUI() { invokeRoot("initUI", Qt::QueuedConnection); }

void myQQuickView::runUI() { invokeRoot("run", Qt::QueuedConnection); }

void myQQuickView::invokeRoot(const char *function, Qt::ConnectionType type,
                              const QVariantList &args) {
    QObject *root = rootObject();
    if (!root)
        return;
    QGenericArgument a[4];
    for (int i = 0; i < args.size() && i < 4; ++i)
        a[i] = Q_ARG(QVariant, args[i]);
    QMetaObject::invokeMethod(root, function, type, a[0], a[1], a[2], a[3]);
}
