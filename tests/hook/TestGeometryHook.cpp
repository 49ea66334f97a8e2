#include "TestGeometryHook.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QQuickItem>
#include <QQuickWidget>
#include <QWindow>

namespace {

QByteArray rect(const QRectF &r) {
    return QString::asprintf("%d %d %d %d", qRound(r.x()), qRound(r.y()), qRound(r.width()),
                             qRound(r.height()))
        .toLatin1();
}

QByteArray oneLine(const QString &text) {
    QByteArray out = text.toUtf8();
    return out.replace('\\', "\\\\").replace('\n', "\\n");
}

// Depth first, parents before children, in stacking order.
template <typename F> void forEachShownItem(QQuickItem *item, qreal opacity, QRectF clip, F &&f) {
    if (!item || !item->isVisible())
        return;
    opacity *= item->opacity();
    const QRectF scene = item->mapRectToScene(item->boundingRect());
    f(item, scene.intersected(clip), opacity);
    if (item->clip())
        clip = clip.intersected(scene);
    for (QQuickItem *child : item->childItems())
        forEachShownItem(child, opacity, clip, f);
}

} // namespace

TestGeometryHook::TestGeometryHook(QQuickWidget *v, const QString &socketPath) : view(v) {
    qApp->installEventFilter(this);
    QLocalServer::removeServer(socketPath);
    server.setSocketOptions(QLocalServer::UserAccessOption);
    server.listen(socketPath);
    connect(&server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                while (socket->canReadLine())
                    socket->write(answer(socket->readLine().trimmed()));
            });
        }
    });
}

bool TestGeometryHook::eventFilter(QObject *watched, QEvent *event) {
    // Counted where the system hands them over: once per event, at the window. A key counts
    // at its press, which always reaches the window that has the focus; its release does not
    // when the press closed that window (Return in a dialog), and would then never be counted.
    // A button counts at its release, which the pointer grab takes to the pressed window.
    if (watched->isWindowType() && event->spontaneous() &&
        (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyPress))
        ++inputSeen;
    return false;
}

QByteArray TestGeometryHook::answer(const QByteArray &request) const {
    const QList<QByteArray> words = request.simplified().split(' ');
    QByteArray out;
    if (view && words.value(0) == "items")
        out = items();
    else if (view && words.value(0) == "dialog")
        out = dialog();
    else if (view && words.value(0) == "property" && words.size() == 3)
        out = property(words[1], words[2]);
    return out + "end\n";
}

QByteArray TestGeometryHook::items() const {
    QWidget *window = view->window();
    const QPoint viewInWindow = view->mapTo(window, QPoint(0, 0));
    QByteArray out = "window " + rect(QRect(window->mapToGlobal(QPoint(0, 0)), window->size())) +
                     ' ' + (view->isEnabled() ? '1' : '0') + ' ' + QByteArray::number(inputSeen) +
                     '\n';
    const QRectF viewRect(0, 0, view->width(), view->height());
    forEachShownItem(view->rootObject(), 1.0, viewRect,
                     [&](QQuickItem *item, const QRectF &r, qreal opacity) {
                         const QString name = item->objectName();
                         if (name.isEmpty() || name.contains(QLatin1Char(' ')) || r.isEmpty())
                             return;
                         out += "item " + name.toUtf8() + ' ' + rect(r.translated(viewInWindow)) +
                                ' ' + QByteArray::number(opacity, 'f', 3) + ' ' +
                                (item->isEnabled() ? '1' : '0') + '\n';
                     });
    return out;
}

QByteArray TestGeometryHook::property(const QByteArray &name, const QByteArray &prop) const {
    // Items made by repeaters and views are found through the item tree, other objects
    // (timers, animations) through the object tree.
    const QString wanted = QString::fromUtf8(name);
    QQuickItem *root = view->rootObject();
    QObject *found = nullptr;
    QList<QQuickItem *> pending{root};
    while (!pending.isEmpty() && !found) {
        QQuickItem *item = pending.takeFirst();
        if (!item)
            continue;
        if (item->objectName() == wanted)
            found = item;
        pending += item->childItems();
    }
    if (!found && root)
        found = root->findChild<QObject *>(wanted);
    if (!found)
        return "none\n";
    return "value " + oneLine(found->property(prop.constData()).toString()) + '\n';
}

QByteArray TestGeometryHook::dialog() const {
    QWidget *shown = QApplication::activeModalWidget();
    if (!shown || !shown->isVisible())
        return "none\n";
    const QWindow *handle = shown->windowHandle();
    const bool transient = handle && handle->transientParent() &&
                           handle->transientParent() == view->window()->windowHandle();
    QByteArray out = "dialog " + rect(shown->frameGeometry()) + ' ' + rect(shown->geometry()) +
                     ' ' + (shown->windowModality() != Qt::NonModal ? '1' : '0') + ' ' +
                     (transient ? '1' : '0') + '\n';
    out += "title " + oneLine(shown->windowTitle()) + '\n';
    if (const auto *files = qobject_cast<QFileDialog *>(shown))
        out += "folder " + oneLine(files->directory().absolutePath()) + '\n';
    if (const QWidget *popup = QApplication::activePopupWidget(); popup && popup->isVisible())
        out += "popup\n";
    for (QWidget *w : shown->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(shown))
            continue;
        QByteArray kind;
        QString text;
        if (const auto *label = qobject_cast<QLabel *>(w))
            kind = "label", text = label->text();
        else if (const auto *button = qobject_cast<QAbstractButton *>(w))
            kind = "button", text = button->text();
        else if (const auto *field = qobject_cast<QLineEdit *>(w))
            kind = "field", text = field->text();
        if (kind.isEmpty() || (kind != "field" && text.isEmpty()))
            continue;
        out += "text " + kind + ' ' + rect(QRect(w->mapToGlobal(QPoint(0, 0)), w->size())) + ' ' +
               oneLine(text) + '\n';
    }
    return out;
}
