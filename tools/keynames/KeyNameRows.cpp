#include "KeyNameRows.h"

#include <QSet>

namespace {

// A string literal that C++ (u"...") and JavaScript ("...") read the same way: ASCII stays,
// quotes and backslashes are escaped, everything else becomes \uXXXX so the generated files
// do not depend on the compiler's idea of the source encoding.
QByteArray quoted(const QString &s) {
    QByteArray out = "\"";
    for (const QChar c : s) {
        const ushort u = c.unicode();
        if (u == '"' || u == '\\') {
            out += '\\';
            out += char(u);
        } else if (u >= 0x20 && u < 0x7F) {
            out += char(u);
        } else {
            out += "\\u" + QByteArray::number(u, 16).rightJustified(4, '0');
        }
    }
    return out + '"';
}

QByteArray hexCode(int code) {
    return "0x" + QByteArray::number(code, 16).toUpper().rightJustified(2, '0');
}

const char generatedNote[] =
    "// Generated at build time from macro/data/keynames.tsv by q7_keynames_gen.\n"
    "// Edit the data file, not this file.\n";

} // namespace

QList<KeyNameSourceRow> parseKeyNameRows(const QByteArray &data, QString *error) {
    QList<KeyNameSourceRow> rows;
    QSet<QString> names;
    QSet<int> codes, mediaCodes;
    const QList<QByteArray> lines = data.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const auto fail = [&](const QString &why) {
            *error = QStringLiteral("line %1: %2").arg(i + 1).arg(why);
            return QList<KeyNameSourceRow>();
        };
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 3)
            return fail(QStringLiteral("expected code, name and kind separated by tabs"));
        const bool media = fields[2] == "media";
        bool ok = false;
        const int code = fields[0].toInt(&ok, 16);
        if (!ok || fields[0].size() != (media ? 4 : 2))
            return fail(media ? QStringLiteral("a media usage must be four hexadecimal digits")
                              : QStringLiteral("code must be two hexadecimal digits"));
        if (code <= 0x01)
            return fail(QStringLiteral("codes 00 and 01 cannot name a key"));
        const QString name = QString::fromUtf8(fields[1]);
        if (name.isEmpty() || name.contains(QChar::ReplacementCharacter))
            return fail(QStringLiteral("name is empty or not UTF-8"));
        if (fields[2] != "key" && fields[2] != "mouse" && !media)
            return fail(QStringLiteral("kind must be key, mouse or media"));
        if (names.contains(name))
            return fail(QStringLiteral("name \"%1\" appears twice").arg(name));
        QSet<int> &seen = media ? mediaCodes : codes;
        if (seen.contains(code))
            return fail(QStringLiteral("code %1 appears twice").arg(code, 2, 16, QLatin1Char('0')));
        names.insert(name);
        seen.insert(code);
        rows.append({code, name, fields[2] == "mouse", media, i + 1});
    }
    if (rows.isEmpty()) {
        *error = QStringLiteral("no rows");
        return {};
    }
    error->clear();
    return rows;
}

QByteArray renderKeyNameCpp(const QList<KeyNameSourceRow> &rows) {
    QByteArray out = generatedNote;
    out += "#include \"KeyNames.h\"\n\nconst KeyNameRow keyNameRows[] = {\n";
    int count = 0;
    for (const KeyNameSourceRow &r : rows) {
        if (r.media)
            continue;
        ++count;
        out += "    {u" + quoted(r.name) + ", " + hexCode(r.code) + ", " +
               (r.mouse ? "true" : "false") + "},\n";
    }
    out += "};\n\nconst int keyNameRowCount = " + QByteArray::number(count) + ";\n";
    return out;
}

QByteArray renderKeyNameQml(const QList<KeyNameSourceRow> &rows) {
    QByteArray byName[2], byCode[2]; // [0] keyboard, [1] mouse
    QByteArray media, mediaNames;
    for (const KeyNameSourceRow &r : rows) {
        if (r.media) {
            media += (media.isEmpty() ? "" : ", ") + hexCode(r.code);
            mediaNames += (mediaNames.isEmpty() ? "" : ", ") + quoted(r.name);
            continue;
        }
        byName[r.mouse] += "        " + quoted(r.name) + ": " + hexCode(r.code) + ",\n";
        byCode[r.mouse] += "        " + hexCode(r.code) + ": " + quoted(r.name) + ",\n";
    }
    for (QByteArray &b : byName)
        b.chop(2);
    for (QByteArray &b : byCode)
        b.chop(2);

    QByteArray out = generatedNote;
    out += R"(import QtQuick

// The key names the pages show and record, both ways: keyboard usages and mouse buttons.
Item {
    readonly property var str2keycode: ({
)" + byName[0] +
           R"(
    })
    readonly property var keycode2str: ({
)" + byCode[0] +
           R"(
    })
    readonly property var str2mousecode: ({
)" + byName[1] +
           R"(
    })
    readonly property var mousecode2str: ({
)" + byCode[1] +
           R"(
    })
    // The media keys the key assignment page offers, as consumer usages in menu order.
    readonly property var mediaUsages: [)" + media + R"(]
    readonly property var mediaNames: [)" + mediaNames + R"(]

    // Only the table's own rows count: "constructor" or "toString" are not key names.
    function lookUp(table, key) {
        return Object.prototype.hasOwnProperty.call(table, key) ? table[key] : undefined
    }

    function strTokeycode(str) { return lookUp(str2keycode, str) }
    function keycodeTostr(keycode) { return lookUp(keycode2str, keycode) }
    function strTomousecode(str) { return lookUp(str2mousecode, str) }
    function mousecodeTostr(mousecode) { return lookUp(mousecode2str, mousecode) }

    // 1-based position of the lowest set bit of the low byte, 0 when none is set.
    function logByte(intByte) {
        for (var bit = 0; bit < 8; ++bit) {
            if (intByte & (1 << bit))
                return bit + 1
        }
        return 0
    }
}
)";
    return out;
}
