#pragma once

#include <QQuickWidget>
#include <QVariant>

class Ui_Controler;

// The slot surface that QML sees as ui_View. It owns nothing but the glue: every slot
// forwards to a plain subsystem class that tests build without a window.
class myQQuickView : public QQuickWidget {
    Q_OBJECT
public:
    explicit myQQuickView(QWidget *parent = nullptr);
    ~myQQuickView() override;

    // Publishes ui_View and ui_Ctl to the QML context.
    void publish(Ui_Controler *controller);

    // Result of the last device look-up.
    bool deviceLinked = false;
    // Refills the profile caches from the mouse, or from the file while none is linked.
    void syncFromDevice();

    // Hands captured input to the QML root (queued, so a hook never re-enters QML).
    void forwardKeyboard(bool isDown, int usbCode);
    void forwardMouse(bool isDown, int mouseCode, int x, int y);

    // "common/name" of the application configuration, the window's title.
    static QString configuredWindowTitle();

public Q_SLOTS:
    void initUI();
    void runUI();

private:
    void invokeRoot(const char *function, Qt::ConnectionType type,
                    const QVariantList &args = {});
};
