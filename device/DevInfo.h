#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One entry of the built-in device table.
struct DevInfoEntry {
    quint16 vid = 0;
    quint16 pid = 0;
    quint16 usagePage = 0; // command interface
    quint16 usage = 0;
    quint16 usagePage2 = 0; // vendor input interface
    quint16 usage2 = 0;
    QString productName;
    quint32 reportLength = 0;
    QString sCode;
};

// The entry the program binds to.
constexpr int boundEntryIndex = 1;

// Reads the device table (INI: common/total, then groups "0", "1", ...). Entry i takes
// element i of productNames as its name, or an empty name when the list is shorter.
QList<DevInfoEntry> readDeviceTable(const QStringList &productNames = {},
                                    const QString &path = QStringLiteral(":/DevInfo.ini"));

// Picks entry `index` of the table and applies the profile settings file's overrides:
// vidText ("Q7/vid") and pidText ("Q7/pid") are hexadecimal; an id that is absent, unreadable
// or 0 keeps the entry's own, since 0 would match any vendor's or product's device and the
// program would greet and write to whatever has the same usage pairs. sCode ("common/sc")
// replaces the entry's code, absent -> empty. False when the table has no such entry.
bool selectEntry(const QList<DevInfoEntry> &table, int index, const QString &vidText,
                 const QString &pidText, const QString &sCode, DevInfoEntry &entry);
