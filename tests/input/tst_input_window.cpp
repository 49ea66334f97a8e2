// Without an X server the capture falls back to the program's own windows.
#include "InputHooks.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <QtTest>

namespace {
QList<QList<int>> reports;
int limitedNotes = 0;
QtMessageHandler previous = nullptr;

void onKey(uchar usage, uchar isDown, void *) { reports.append({usage, isDown}); }
void onMouse(uchar code, uchar isDown, int x, int y, void *) {
    reports.append({code, isDown, x, y});
}
void countNotes(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (message.contains(QLatin1String("limited to the program's window")))
        ++limitedNotes;
    previous(type, context, message);
}

void key(QObject *target, QEvent::Type type, quint32 xKeycode) {
    QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, xKeycode, 0, 0);
    QCoreApplication::sendEvent(target, &event);
}
void click(QObject *target, QEvent::Type type, Qt::MouseButton button, QPointF global) {
    QMouseEvent event(type, QPointF(1, 1), QPointF(1, 1), global, button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}
} // namespace

class WindowCaptureTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        qunsetenv("DISPLAY");
        previous = qInstallMessageHandler(countNotes);
        InputHooks::setKeyboardCallback(onKey, nullptr);
        InputHooks::setMouseCallback(onMouse, nullptr);
    }
    void cleanupTestCase() { qInstallMessageHandler(previous); }

    void windowEventsAreCapturedOnce() {
        InputHooks hooks(false);
        QVERIFY(hooks.installHooks());
        QCOMPARE(limitedNotes, 1);
        QWindow window;
        QWidget widget;
        key(&window, QEvent::KeyPress, 30 + 8); // A
        key(&widget, QEvent::KeyPress, 48 + 8); // B, after the window passed it on
        key(&window, QEvent::KeyRelease, 30 + 8);
        key(&window, QEvent::KeyPress, 96 + 8); // keypad Enter
        key(&window, QEvent::KeyRelease, 96 + 8);
        click(&window, QEvent::MouseButtonPress, Qt::LeftButton, {300, 200});
        click(&window, QEvent::MouseButtonDblClick, Qt::LeftButton, {300, 200});
        click(&widget, QEvent::MouseButtonPress, Qt::RightButton, {5, 5});
        click(&window, QEvent::MouseButtonRelease, Qt::LeftButton, {301, 202});
        click(&window, QEvent::MouseButtonPress, Qt::BackButton, {1, 1});
        click(&window, QEvent::MouseButtonPress, Qt::MiddleButton, {-4, 7});
        QCOMPARE(reports, (QList<QList<int>>{{0x04, 1},
                                             {0x04, 0},
                                             {0x58, 1},
                                             {0x58, 0},
                                             {0xF0, 1, 300, 200},
                                             {0xF0, 0, 301, 202},
                                             {0xF2, 1, -4, 7}}));
        reports.clear();
        hooks.removeHooks();
        key(&window, QEvent::KeyPress, 30 + 8);
        QVERIFY(reports.isEmpty());
        // Saying it once is enough.
        QVERIFY(hooks.installHooks());
        QCOMPARE(limitedNotes, 1);
    }
};

QTEST_MAIN(WindowCaptureTest)
#include "tst_input_window.moc"
