#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QPointer>

class QQuickWidget;

// Lets a journey of the real program find its controls from outside the process. The program
// itself has no trace of it: the journeys and benches preload libq7testhook.so (HookPreload.cpp)
// into it, which installs the hook over the first Qt Quick view shown when the environment
// names a socket in Q7_TEST_GEOMETRY. The hook listens there and answers one request per line:
//   items               -> "window X Y W H ENABLED INPUT" (screen position of the window,
//                          whether the view takes input, how many button releases and key
//                          presses from the system the program's windows have been handed so
//                          far),
//                          then "item NAME X Y W H OPACITY ENABLED" for every shown QML item
//                          with an objectName, in window coordinates, clipped by its clipping
//                          ancestors
//   property NAME PROP  -> "value TEXT" (the first item of that name) or "none"
//   dialog              -> "none", or for the modal dialog that is up "dialog FRAME CLIENT
//                          MODAL TRANSIENT" (two screen rectangles X Y W H; whether it is
//                          modal, whether the window system knows it belongs to the window),
//                          "title TEXT", for a file dialog "folder PATH", "popup" while a
//                          popup (a completer's list) is up over it, then "text KIND X Y W H
//                          TEXT" for every shown label, button with a text and text field
//                          (KIND label, button, field; screen coordinates)
// Every answer ends with the line "end".
class TestGeometryHook : public QObject {
    Q_OBJECT
public:
    TestGeometryHook(QQuickWidget *view, const QString &socketPath);
    bool isListening() const { return server.isListening(); }
    QByteArray answer(const QByteArray &request) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QByteArray items() const;
    QByteArray dialog() const;
    QByteArray property(const QByteArray &name, const QByteArray &prop) const;

    QPointer<QQuickWidget> view;
    QLocalServer server;
    // Lets a journey wait until everything it typed and clicked has been handled.
    quint64 inputSeen = 0;
};
