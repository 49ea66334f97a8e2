#include "CopyData.h"
#include "CopyDataReceiver.h"

#include "Dialogs.h"

#include <QWidget>

#include <cstring>

std::optional<QString> copyDataWarningText(const CopyDataMessage &message) {
    if (message.dwData != copyDataWarningTag)
        return std::nullopt;
    if (message.cbData > 0 && !message.lpData)
        return std::nullopt;
    const char *bytes = static_cast<const char *>(message.lpData);
    qsizetype length = message.cbData;
    if (length > 0) {
        if (const void *nul = std::memchr(bytes, 0, message.cbData))
            length = static_cast<const char *>(nul) - bytes;
    }
    const QString text = QString::fromUtf8(bytes, length);
    if (text.toUtf8().size() != qsizetype(message.cbData))
        return std::nullopt;
    return text;
}

QString mergedWarningText(const QString &newest, qint64 more) {
    return more > 0 ? QStringLiteral("%1\n\n(and %2 more)").arg(newest).arg(more) : newest;
}

void showCopyDataWarning(const CopyDataMessage *message, const QWidget *window) {
    if (!window || !message)
        return;
    const std::optional<QString> text = copyDataWarningText(*message);
    if (!text)
        return;
    // A box waits in an event loop of its own, where the next message is handled: a box per
    // message would nest without end. Only the newest text is kept, so memory stays flat.
    static bool boxUp = false;
    static qint64 more = 0;
    if (boxUp) {
        dialogs().updateWarning(mergedWarningText(*text, ++more));
        return;
    }
    boxUp = true;
    more = 0;
    dialogs().warning(nullptr, window->windowTitle(), *text);
    boxUp = false;
}

namespace {
CopyDataCommandHandler &commandHandler() {
    static CopyDataCommandHandler handler;
    return handler;
}
} // namespace

void setCopyDataCommandHandler(CopyDataCommandHandler handler) {
    commandHandler() = std::move(handler);
}
const CopyDataCommandHandler &copyDataCommandHandler() { return commandHandler(); }
