// Values as the text Qt 4.8 gives them before escaping: "@ByteArray(...)", "@Variant(...)",
// "@Rect(...)", "@Size(...)", "@Point(...)", "@Invalid()", a doubled "@" for text that
// starts with one, and plain text.
#include "Qt48IniVariant.h"

#include <QDataStream>
#include <QIODevice>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace qt48ini::variant {

namespace {

// A value that was stored as a serialised variant this build cannot decode (a type from a
// library the program does not load). It is written back exactly as it was read.
struct OpaqueValue {
    QString text;
};

// Splits the text between the parentheses of "@Rect(1 2 3 4)" at blanks.
QStringList splitArgs(const QString &s, qsizetype open) {
    const qsizetype close = s.size() - 1;
    return s.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

quint32 bigEndian32(const QByteArray &b, qsizetype at) {
    return quint32(uchar(b[at])) << 24 | quint32(uchar(b[at + 1])) << 16 |
           quint32(uchar(b[at + 2])) << 8 | quint32(uchar(b[at + 3]));
}

// QDataStream trusts the counts and lengths it reads and sizes its containers from them, so a
// few bytes of a damaged or hostile file could ask for gigabytes. A payload is handed to it
// only when every count and length fits in the bytes actually present (Qt 4.0 stream form).
bool skipBlock(const QByteArray &b, qsizetype &at) {
    if (b.size() - at < 4)
        return false;
    const quint32 len = bigEndian32(b, at);
    at += 4;
    if (len == 0xFFFFFFFFu) // null string or array
        return true;
    if (qsizetype(len) > b.size() - at)
        return false;
    at += len;
    return true;
}

bool skipVariant(const QByteArray &b, qsizetype &at, int depth) {
    if (depth > 8 || b.size() - at < 4)
        return false;
    const quint32 type = bigEndian32(b, at);
    at += 4; // the Qt 4.0 form has no null flag after the type id
    qsizetype fixed = 0;
    switch (type) {
    case QMetaType::Bool:
        fixed = 1;
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
        fixed = 4;
        break;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        fixed = 8;
        break;
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return skipBlock(b, at);
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        if (b.size() - at < 4)
            return false;
        const quint32 count = bigEndian32(b, at);
        at += 4;
        // Every element takes at least four bytes, so a count the data cannot hold stops here.
        if (qsizetype(count) > (b.size() - at) / 4)
            return false;
        for (quint32 i = 0; i < count; ++i)
            if (!(type == QMetaType::QStringList ? skipBlock(b, at)
                                                 : skipVariant(b, at, depth + 1)))
                return false;
        return true;
    }
    default:
        return false;
    }
    if (b.size() - at < fixed)
        return false;
    at += fixed;
    return true;
}

bool variantPayloadIsSane(const QByteArray &b) {
    qsizetype at = 0;
    return skipVariant(b, at, 0) && at == b.size();
}

} // namespace

QVariant stringToVariant(const QString &s) {
    if (!s.startsWith(QLatin1Char('@')))
        return s;
    if (s.endsWith(QLatin1Char(')'))) {
        if (s.startsWith(QLatin1String("@ByteArray("))) {
            return QVariant(s.mid(11, s.size() - 12).toLatin1());
        } else if (s.startsWith(QLatin1String("@Variant("))) {
            QByteArray bytes = s.mid(9, s.size() - 10).toLatin1();
            if (!variantPayloadIsSane(bytes))
                return QVariant::fromValue(OpaqueValue{s});
            QDataStream stream(&bytes, QIODevice::ReadOnly);
            stream.setVersion(QDataStream::Qt_4_0);
            QVariant result;
            stream >> result;
            if (stream.status() == QDataStream::Ok && result.isValid())
                return result;
            return QVariant::fromValue(OpaqueValue{s});
        } else if (s.startsWith(QLatin1String("@Rect("))) {
            const QStringList a = splitArgs(s, 5);
            if (a.size() == 4)
                return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
        } else if (s.startsWith(QLatin1String("@Size("))) {
            const QStringList a = splitArgs(s, 5);
            if (a.size() == 2)
                return QSize(a[0].toInt(), a[1].toInt());
        } else if (s.startsWith(QLatin1String("@Point("))) {
            const QStringList a = splitArgs(s, 6);
            if (a.size() == 2)
                return QPoint(a[0].toInt(), a[1].toInt());
        } else if (s == QLatin1String("@Invalid()")) {
            // The marker of an empty list; readers ask for lists here, so answer with one.
            return QStringList();
        }
    }
    if (s.startsWith(QLatin1String("@@")))
        return s.mid(1);
    return s;
}

QVariant stringListToVariant(const QStringList &list) {
    for (const QString &s : list) {
        if (s.startsWith(QLatin1Char('@')) && !s.startsWith(QLatin1String("@@"))) {
            QVariantList out;
            for (const QString &t : list)
                out.append(stringToVariant(t));
            return out;
        }
    }
    QStringList out = list;
    for (QString &s : out) {
        if (s.startsWith(QLatin1String("@@")))
            s.remove(0, 1);
    }
    return out;
}

// The text of one value before escaping, as Qt 4.8's variant-to-string gives it.
QString variantToString(const QVariant &v) {
    if (v.metaType() == QMetaType::fromType<OpaqueValue>())
        return v.value<OpaqueValue>().text;
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray: {
        const QByteArray a = v.toByteArray();
        return QLatin1String("@ByteArray(") + QString::fromLatin1(a) + QLatin1Char(')');
    }
    case QMetaType::Double: {
        // Qt 4 printed doubles with 15 significant digits, so 255.0 is "255".
        QString r = QString::number(v.toDouble(), 'g', 15);
        return r;
    }
    case QMetaType::QString:
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::UChar:
    case QMetaType::SChar: {
        // Small integer types print as numbers (a uchar from a byte block is a number here).
        QString r = v.typeId() == QMetaType::UChar   ? QString::number(v.value<uchar>())
                    : v.typeId() == QMetaType::SChar ? QString::number(v.value<signed char>())
                                                     : v.toString();
        if (r.startsWith(QLatin1Char('@')))
            r.prepend(QLatin1Char('@'));
        return r;
    }
    case QMetaType::QRect: {
        const QRect r = v.toRect();
        return QStringLiteral("@Rect(%1 %2 %3 %4)")
            .arg(r.x())
            .arg(r.y())
            .arg(r.width())
            .arg(r.height());
    }
    case QMetaType::QSize: {
        const QSize s = v.toSize();
        return QStringLiteral("@Size(%1 %2)").arg(s.width()).arg(s.height());
    }
    case QMetaType::QPoint: {
        const QPoint p = v.toPoint();
        return QStringLiteral("@Point(%1 %2)").arg(p.x()).arg(p.y());
    }
    default: {
        QByteArray a;
        {
            QDataStream s(&a, QIODevice::WriteOnly);
            s.setVersion(QDataStream::Qt_4_0);
            s << v;
        }
        return QLatin1String("@Variant(") + QString::fromLatin1(a) + QLatin1Char(')');
    }
    }
}

} // namespace qt48ini::variant
