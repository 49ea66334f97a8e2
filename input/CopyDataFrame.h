#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>

// How a message travels over the local socket to the running copy: an 8-byte tag and a
// 4-byte length, both little-endian, then that many bytes. The receiver answers one byte
// (accepted) once the whole frame is in, and closes the connection; a script's command is
// answered instead with a frame of the same tag carrying its outcome, once carried out.
namespace CopyDataFrame {
constexpr int headerSize = 12;
// Anything longer is refused unread: a box cannot show more, and the GUI thread must not
// buffer whatever a local process decides to send.
constexpr quint32 maxLength = 64 * 1024;
constexpr char acceptedReply = 1;

inline QByteArray header(quint64 tag, quint32 length) {
    QByteArray h(headerSize, Qt::Uninitialized);
    qToLittleEndian<quint64>(tag, h.data());
    qToLittleEndian<quint32>(length, h.data() + 8);
    return h;
}

inline QByteArray encode(quint64 tag, const QByteArray &bytes) {
    return header(tag, quint32(bytes.size())) + bytes;
}

inline void decodeHeader(const char *h, quint64 &tag, quint32 &length) {
    tag = qFromLittleEndian<quint64>(h);
    length = qFromLittleEndian<quint32>(h + 8);
}

// The socket name of the copy started from programPath.
QString serverName(const QString &programPath);
} // namespace CopyDataFrame
