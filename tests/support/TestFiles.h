#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <sys/stat.h>

// A file's bytes; empty when it cannot be read.
inline QByteArray bytesOf(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces a file's content; false when not all of it was written.
inline bool writeFile(const QString &path, const QByteArray &content) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

// What a user may pick in a file dialog, made at `path` ("file" with `content`, "fifo",
// "folder") or a device ("device": /dev/zero); the path to pick, empty when it could not be made.
inline QString pickable(const QString &kind, const QString &path, const QByteArray &content) {
    if (kind == QLatin1String("file"))
        return writeFile(path, content) ? path : QString();
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 ? path : QString();
    if (kind == QLatin1String("folder"))
        return QDir().mkpath(path) ? path : QString();
    return QStringLiteral("/dev/zero");
}
