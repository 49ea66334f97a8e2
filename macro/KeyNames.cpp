#include "KeyNames.h"

QMap<QString, unsigned char> buildKeyNameTable() {
    QMap<QString, unsigned char> table;
    for (int i = 0; i < keyNameRowCount; ++i)
        table.insert(QString::fromUtf16(keyNameRows[i].name), keyNameRows[i].code);
    return table;
}
