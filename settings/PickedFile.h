#pragma once

#include <QByteArray>
#include <QString>

// A file the user picked in a dialog, read whole before anything is taken from it. Only a
// regular file is read: a FIFO would hold the GUI thread until a writer came, a device such
// as /dev/zero never ends, a folder has no content. And no more than its kind's cap, so the
// parsers and the files the program keeps never see more than that.
namespace pickedfile {

constexpr qint64 profileMaxBytes = 1024 * 1024;
constexpr qint64 macroMaxBytes = 1024 * 1024;
constexpr qint64 pictureMaxBytes = 32 * 1024 * 1024;

enum class Refusal { None, NotARegularFile, TooLarge, Unreadable };

struct Contents {
    QByteArray bytes;
    Refusal refusal = Refusal::None;
};

Contents read(const QString &path, qint64 maxBytes);

// The same checks without keeping the bytes (a picture another reader loads later).
Refusal check(const QString &path, qint64 maxBytes);

// The language files' message string ("msg/" + k) that tells the user why a file was
// refused, or -1 when the refusal has none of its own.
int refusalMessage(Refusal refusal);

} // namespace pickedfile
