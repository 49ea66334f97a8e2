#include "DevInfo.h"

#include <QSettings>

namespace {

quint16 hex16(const QString &text) { return text.toUShort(nullptr, 16); }

} // namespace

QList<DevInfoEntry> readDeviceTable(const QStringList &productNames, const QString &path) {
    QSettings table(path, QSettings::IniFormat);
    QList<DevInfoEntry> entries;
    const int total = table.value(QStringLiteral("common/total"), 0).toInt();
    for (int i = 0; i < total; ++i) {
        const QString g = QString::number(i) + QLatin1Char('/');
        auto text = [&](const char *key) { return table.value(g + QLatin1String(key)).toString(); };
        DevInfoEntry e;
        e.vid = hex16(text("vid"));
        e.pid = hex16(text("pid"));
        e.usagePage = hex16(text("usagePage"));
        e.usage = hex16(text("usage"));
        e.usagePage2 = hex16(text("usagePage2"));
        e.usage2 = hex16(text("usage2"));
        e.productName = productNames.value(i);
        e.reportLength = text("reportLength").toUInt();
        e.sCode = table.value(g + QLatin1String("sCode"), QString()).toString();
        entries.append(e);
    }
    return entries;
}

bool selectEntry(const QList<DevInfoEntry> &table, int index, const QString &vidText,
                 const QString &pidText, const QString &sCode, DevInfoEntry &entry) {
    if (index < 0 || index >= table.size())
        return false;
    entry = table.at(index);
    if (const quint16 vid = hex16(vidText))
        entry.vid = vid;
    if (const quint16 pid = hex16(pidText))
        entry.pid = pid;
    entry.sCode = sCode;
    return true;
}
