#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

// The INI text form that Qt 4.8 reads and writes, as plain functions on bytes. The files the
// program shares with its earlier releases are in this form, so it is kept to the byte:
// ASCII text with backslash escapes, values read back as text and lists of text.
// IniFormat.h registers these with QSettings; the build-time generators call them directly
// to write files in a chosen key order.
namespace qt48ini {

enum class Codec {
    Latin1, // no codec: bytes are Latin-1, everything >= 0x7F is written as \x escape
    Utf8,   // the language files: values are UTF-8 text
};

// One key as QSettings sees it: "group/name", or "name" for keys of the [General] section.
struct Entry {
    QString key;
    QVariant value;
};

struct Document {
    QList<Entry> entries; // in file order; a key that occurs twice keeps its first place
    bool ok = true;       // false when a line was not understood (the rest is still read)
    QByteArray eol;       // line ending of the first line break, empty when there is none
};

Document parse(const QByteArray &data, Codec codec);

// Writes the entries grouped into sections; sections appear in the order of their first key,
// keys within a section in the order given.
QByteArray serialize(const QList<Entry> &entries, Codec codec, const QByteArray &eol = "\n");

// The pieces, exposed for the tests and the fuzzer.
QByteArray escapedKey(const QString &key);
QString unescapedKey(const QByteArray &raw);
QByteArray escapedValue(const QVariant &value, Codec codec);
QVariant unescapedValue(const QByteArray &raw, Codec codec);

} // namespace qt48ini
