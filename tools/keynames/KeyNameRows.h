#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One row of the key-name data file.
struct KeyNameSourceRow {
    int code = 0;
    QString name;
    bool mouse = false;
    // A consumer-page usage (16 bits) the key assignment page offers as a media key; not a
    // key the macro block can carry, so the program's table leaves it out.
    bool media = false;
    int line = 0; // line in the data file, for messages
};

// Reads the data file: "code<TAB>name<TAB>kind" per line, code in hexadecimal, kind "key" or
// "mouse" (two digits) or "media" (four digits, a consumer usage); blank lines and lines starting with '#' are ignored. Names are taken exactly as
// written, blanks included. Refuses (error set, empty result) duplicate names or codes and
// codes the macro block cannot carry as a key: 00 marks a missing key and 01 a delay.
QList<KeyNameSourceRow> parseKeyNameRows(const QByteArray &data, QString *error);

// The program-side table: a C++ source defining keyNameRows[] and keyNameRowCount.
QByteArray renderKeyNameCpp(const QList<KeyNameSourceRow> &rows);
// The interface's KeyCodeString component.
QByteArray renderKeyNameQml(const QList<KeyNameSourceRow> &rows);
