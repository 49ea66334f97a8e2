#include "Qt48Ini.h"
#include "Qt48IniVariant.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringList>

#include <cstring>

namespace qt48ini {

using namespace variant;

namespace {

const char hexDigitsUpper[] = "0123456789ABCDEF";

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}

bool isLineSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

QString decodeRun(const char *data, qsizetype len, Codec codec) {
    if (codec == Codec::Utf8)
        return QString::fromUtf8(data, len);
    return QString::fromLatin1(data, len);
}

// Qt 4.8 removes blanks and tabs at the end of an unquoted value, whatever produced them.
void chopTrailingBlanks(QString &s) {
    qsizetype n = s.size();
    while (n > 0 && (s.at(n - 1) == QLatin1Char(' ') || s.at(n - 1) == QLatin1Char('\t')))
        --n;
    s.truncate(n);
}

void appendEscapedString(const QString &str, QByteArray &out, Codec codec) {
    const bool raw8 = codec == Codec::Utf8 && !str.startsWith(QLatin1String("@ByteArray(")) &&
                      !str.startsWith(QLatin1String("@Variant("));
    bool needsQuotes = false;
    bool escapeNextIfHex = false;
    const qsizetype start = out.size();

    for (qsizetype i = 0; i < str.size(); ++i) {
        const char16_t ch = str.at(i).unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;

        // After a \x or \0 escape a hex digit would run into the number, so it is escaped too.
        if (escapeNextIfHex &&
            ((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F'))) {
            out += "\\x";
            out += QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfHex = false;

        switch (ch) {
        case 0:
            out += "\\0";
            escapeNextIfHex = true;
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        case '"':
        case '\\':
            out += '\\';
            out += char(ch);
            break;
        default:
            // A surrogate without its partner has no UTF-8 form; the escape keeps it.
            const bool pair =
                QChar::isHighSurrogate(ch) && i + 1 < str.size() && str.at(i + 1).isLowSurrogate();
            if (ch <= 0x1F || (ch >= 0x7F && !raw8) || (QChar::isSurrogate(ch) && !pair)) {
                out += "\\x";
                out += QByteArray::number(ch, 16);
                escapeNextIfHex = true;
            } else if (pair) {
                out += str.mid(i, 2).toUtf8();
                ++i;
            } else if (ch >= 0x7F) {
                out += QString(QChar(ch)).toUtf8();
            } else {
                out += char(ch);
            }
        }
    }

    if (needsQuotes || (start < out.size() && (out.at(start) == ' ' || out.back() == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

// One logical line: where it starts, its length and the first '=' outside quotes.
struct Line {
    qsizetype start = 0;
    qsizetype len = 0;
    qsizetype equals = -1;
};

bool readLine(const QByteArray &data, qsizetype &pos, Line &line) {
    const qsizetype n = data.size();
    bool inQuotes = false;
    line.equals = -1;
    line.start = pos;
    while (line.start < n && isLineSpace(data.at(line.start)))
        ++line.start;

    qsizetype i = line.start;
    while (i < n) {
        const char ch = data.at(i++);
        switch (ch) {
        case '=':
            if (!inQuotes && line.equals == -1)
                line.equals = i - 1;
            break;
        case '\n':
        case '\r':
            if (i == line.start + 1) {
                ++line.start;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
            break;
        case '\\':
            // An escaped line break continues the line.
            if (i < n) {
                const char e = data.at(i++);
                if (i < n) {
                    const char e2 = data.at(i);
                    if ((e == '\n' && e2 == '\r') || (e == '\r' && e2 == '\n'))
                        ++i;
                }
            }
            break;
        case '"':
            inQuotes = !inQuotes;
            break;
        case ';':
            if (i == line.start + 1) {
                // A comment line: skip it and go on with the next line.
                while (i < n && data.at(i) != '\n' && data.at(i) != '\r')
                    ++i;
                line.start = i;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
            break;
        default:
            break;
        }
    }
done:
    pos = i;
    line.len = i - line.start;
    return line.len > 0;
}

QByteArray detectEol(const QByteArray &data) {
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data.at(i) == '\n')
            return "\n";
        if (data.at(i) == '\r')
            return (i + 1 < data.size() && data.at(i + 1) == '\n') ? "\r\n" : "\r";
    }
    return {};
}

// Reads the text of one value, [from, to), into a string, or a list when an unquoted comma
// occurs. Each member below handles one rule of the form.
class ValueReader {
public:
    ValueReader(const QByteArray &data, qsizetype from, qsizetype to, Codec codec)
        : data(data), i(from), to(to), codec(codec) {}

    QVariant read() {
        skipBlanks();
        while (i < to) {
            const char c = data.at(i);
            if (c == '\\')
                escape();
            else if (c == '"')
                quote();
            else if (c == ',' && !inQuotes)
                nextElement();
            else
                plainRun();
        }
        finishElement();
        if (isList) {
            list.append(current);
            return stringListToVariant(list);
        }
        return stringToVariant(current);
    }

private:
    void skipBlanks() {
        while (i < to && (data.at(i) == ' ' || data.at(i) == '\t'))
            ++i;
    }

    // A backslash and what follows it; a backslash at the very end is dropped.
    void escape() {
        if (++i >= to)
            return;
        const char e = data.at(i++);
        if (simpleEscape(e))
            return;
        if (e == 'x')
            hexEscape();
        else if (e >= '0' && e <= '7')
            octalEscape(e);
        else if (e == '\n' || e == '\r')
            lineContinuation(e);
        // any other escaped character is dropped
    }

    // \a \b \f \n \r \t \v stand for their control characters; \" \? \' \\ for themselves.
    bool simpleEscape(char e) {
        static constexpr char from[] = "abfnrtv\"?'\\";
        static constexpr char meant[] = "\a\b\f\n\r\t\v\"?'\\";
        for (size_t k = 0; k + 1 < sizeof from; ++k) {
            if (from[k] == e) {
                current += QLatin1Char(meant[k]);
                return true;
            }
        }
        return false;
    }

    // \x and hex digits: one character. Only the low 16 bits count, as for Qt's own reader;
    // no overflow on an endless run of digits. \x without a digit is dropped.
    void hexEscape() {
        if (i >= to || !isHexDigit(data.at(i)))
            return;
        unsigned value = 0;
        while (i < to && isHexDigit(data.at(i)))
            value = ((value << 4) + unsigned(hexValue(data.at(i++)))) & 0xFFFFu;
        current += QChar(char16_t(value));
    }

    // A backslash and octal digits: one character, low 16 bits.
    void octalEscape(char first) {
        unsigned value = unsigned(first - '0');
        while (i < to && data.at(i) >= '0' && data.at(i) <= '7')
            value = ((value << 3) + unsigned(data.at(i++) - '0')) & 0xFFFFu;
        current += QChar(char16_t(value));
    }

    // An escaped line break continues the value; a CR LF or LF CR pair counts as one.
    void lineContinuation(char first) {
        if (i < to && (data.at(i) == '\n' || data.at(i) == '\r') && data.at(i) != first)
            ++i;
    }

    // Quotes protect commas and blanks; blanks after a closing quote are not part of the value.
    void quote() {
        ++i;
        currentQuoted = true;
        inQuotes = !inQuotes;
        if (!inQuotes)
            skipBlanks();
    }

    // An unquoted comma ends an element and makes the value a list.
    void nextElement() {
        finishElement();
        isList = true;
        list.append(current);
        current.clear();
        currentQuoted = false;
        ++i;
        skipBlanks();
    }

    // Text up to the next backslash, quote or comma, decoded as a whole.
    void plainRun() {
        qsizetype j = i + 1;
        while (j < to && data.at(j) != '\\' && data.at(j) != '"' && data.at(j) != ',')
            ++j;
        current += decodeRun(data.constData() + i, j - i, codec);
        i = j;
    }

    void finishElement() {
        if (!currentQuoted)
            chopTrailingBlanks(current);
    }

    const QByteArray &data;
    qsizetype i;
    const qsizetype to;
    const Codec codec;
    QString current;
    QStringList list;
    bool isList = false;
    bool inQuotes = false;
    bool currentQuoted = false;
};

QVariant parseValue(const QByteArray &data, qsizetype from, qsizetype to, Codec codec) {
    return ValueReader(data, from, to, codec).read();
}

QString unescapeKeyRange(const QByteArray &data, qsizetype from, qsizetype to) {
    QString result;
    qsizetype i = from;
    while (i < to) {
        const uchar ch = uchar(data.at(i));
        if (ch == '\\') {
            result += QLatin1Char('/');
            ++i;
            continue;
        }
        if (ch != '%' || i == to - 1) {
            result += QChar(ch);
            ++i;
            continue;
        }
        qsizetype first = i + 1;
        int digits = 2;
        if (data.at(first) == 'U') {
            ++first;
            digits = 4;
        }
        bool ok = first + digits <= to;
        unsigned value = 0;
        for (int d = 0; ok && d < digits; ++d) {
            const char c = data.at(first + d);
            ok = isHexDigit(c);
            value = value * 16 + (ok ? unsigned(hexValue(c)) : 0u);
        }
        if (!ok) {
            result += QLatin1Char('%');
            ++i;
            continue;
        }
        result += QChar(char16_t(value));
        i = first + digits;
    }
    return result;
}

} // namespace

QByteArray escapedKey(const QString &key) {
    QByteArray out;
    out.reserve(key.size());
    for (const QChar qc : key) {
        const char16_t ch = qc.unicode();
        if (ch == '/') {
            out += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                   (ch >= '0' && ch <= '9') || ch == '_' || ch == '-' || ch == '.') {
            out += char(ch);
        } else if (ch <= 0xFF) {
            out += '%';
            out += hexDigitsUpper[ch / 16];
            out += hexDigitsUpper[ch % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hexDigitsUpper[(ch >> shift) & 0xF];
        }
    }
    return out;
}

QString unescapedKey(const QByteArray &raw) { return unescapeKeyRange(raw, 0, raw.size()); }

QByteArray escapedValue(const QVariant &value, Codec codec) {
    QByteArray out;
    const bool list = value.typeId() == QMetaType::QStringList ||
                      (value.typeId() == QMetaType::QVariantList && value.toList().size() != 1);
    if (!list) {
        appendEscapedString(variantToString(value), out, codec);
        return out;
    }
    const QVariantList items = value.toList();
    if (items.isEmpty())
        return "@Invalid()";
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i != 0)
            out += ", ";
        appendEscapedString(variantToString(items.at(i)), out, codec);
    }
    return out;
}

QVariant unescapedValue(const QByteArray &raw, Codec codec) {
    return parseValue(raw, 0, raw.size(), codec);
}

Document parse(const QByteArray &data, Codec codec) {
    Document doc;
    doc.eol = detectEol(data);
    QHash<QString, qsizetype> index;
    QString section; // "" for [General], else "name/"
    qsizetype pos = 0;
    Line line;
    while (readLine(data, pos, line)) {
        const char first = data.at(line.start);
        if (first == '[') {
            // Within the line only: a search to the end of the file for every line without
            // a ']' made a file of '[' lines take time growing with the square of its size.
            const auto *at = static_cast<const char *>(
                std::memchr(data.constData() + line.start, ']', size_t(line.len)));
            const qsizetype close = at ? at - data.constData() : -1;
            QByteArray name;
            if (close == -1) {
                doc.ok = false;
                name = data.mid(line.start + 1, line.len - 1);
            } else {
                name = data.mid(line.start + 1, close - line.start - 1);
            }
            name = name.trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0) {
                section.clear();
            } else {
                if (name.compare("%general", Qt::CaseInsensitive) == 0)
                    section = QString::fromLatin1(name.mid(1));
                else
                    section = unescapedKey(name);
                section += QLatin1Char('/');
            }
            continue;
        }
        if (line.equals == -1) {
            if (first != ';')
                doc.ok = false;
            continue;
        }
        qsizetype keyEnd = line.equals;
        while (keyEnd > line.start && (data.at(keyEnd - 1) == ' ' || data.at(keyEnd - 1) == '\t'))
            --keyEnd;
        const QString key = section + unescapeKeyRange(data, line.start, keyEnd);
        QVariant value = parseValue(data, line.equals + 1, line.start + line.len, codec);
        const auto it = index.constFind(key);
        if (it != index.constEnd()) {
            doc.entries[*it].value = std::move(value);
        } else {
            index.insert(key, doc.entries.size());
            doc.entries.append({key, std::move(value)});
        }
    }
    return doc;
}

QByteArray serialize(const QList<Entry> &entries, Codec codec, const QByteArray &eol) {
    struct Section {
        QString name;
        QList<const Entry *> entries;
    };
    QList<Section> sections;
    QHash<QString, qsizetype> byName;
    for (const Entry &e : entries) {
        const qsizetype slash = e.key.indexOf(QLatin1Char('/'));
        const QString name = slash == -1 ? QString() : e.key.left(slash);
        auto it = byName.constFind(name);
        if (it == byName.constEnd()) {
            it = byName.insert(name, sections.size());
            sections.append({name, {}});
        }
        sections[*it].entries.append(&e);
    }

    QByteArray out;
    for (qsizetype s = 0; s < sections.size(); ++s) {
        const Section &sec = sections.at(s);
        if (s != 0)
            out += eol;
        const QByteArray escaped = escapedKey(sec.name);
        if (escaped.isEmpty())
            out += "[General]";
        else if (escaped.compare("general", Qt::CaseInsensitive) == 0)
            out += "[%General]";
        else
            out += '[' + escaped + ']';
        out += eol;
        for (const Entry *e : sec.entries) {
            const qsizetype slash = e->key.indexOf(QLatin1Char('/'));
            out += escapedKey(slash == -1 ? e->key : e->key.mid(slash + 1));
            out += '=';
            out += escapedValue(e->value, codec);
            out += eol;
        }
    }
    return out;
}

} // namespace qt48ini
