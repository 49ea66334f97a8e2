#pragma once

#include <QObject>

class QWidget;
class myQQuickView;

// What QML sees as ui_Ctl: the frameless window is moved, closed and locked through it.
class Ui_Controler : public QObject {
    Q_OBJECT
public:
    explicit Ui_Controler(QObject *parent = nullptr) : QObject(parent) {}

    // Styles the host window, creates the view inside it and loads the QML shell.
    void setupWindow(QWidget *window);

    myQQuickView *quickView() const { return view; }

public Q_SLOTS:
    void onMinimize();
    // Hands a drag of the window to the window system, which moves it with the pointer until
    // the button is released; false where it cannot (an X server with no window manager), and
    // the shell moves the window itself. Only while the button that began the drag is held.
    bool startSystemMove();
    void onXChanged(int x);
    void onYChanged(int y);
    void setBusy(int busyTime);
    void setBusy() { setBusy(0); }

private:
    void applyWindowTitle(QWidget *window);

    QWidget *window = nullptr;
    myQQuickView *view = nullptr;
};
