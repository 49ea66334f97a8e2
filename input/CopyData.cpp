#include "CopyData.h"

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

void showCopyDataWarning(const CopyDataMessage *message, const QWidget *window) {
    if (!window || !message)
        return;
    if (const std::optional<QString> text = copyDataWarningText(*message))
        dialogs().warning(nullptr, window->windowTitle(), *text);
}
