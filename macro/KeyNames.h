#pragma once

#include <QMap>
#include <QString>

// One key name and its one-byte code: a keyboard usage (page 0x07) or a mouse button F0-F4.
struct KeyNameRow {
    const char16_t *name;
    unsigned char code;
    bool mouse;
};

// The rows, generated at build time from macro/data/keynames.tsv (the interface's
// KeyCodeString component comes from the same file).
extern const KeyNameRow keyNameRows[];
extern const int keyNameRowCount;

// keyNameTable: key name -> code, every row. Names compare exactly (case and blanks count).
QMap<QString, unsigned char> buildKeyNameTable();
