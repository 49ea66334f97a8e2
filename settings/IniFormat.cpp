#include "IniFormat.h"

#include "Qt48Ini.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>

// QSettings hands the write function its keys sorted, but a rewritten file must keep the order
// it had: known keys where they stood, new keys after them. So every read remembers each file's
// key order and line ending, and every write goes by it. QSettings rereads a file that changed
// on disk before it writes, so the remembered order is the one on disk.
namespace {

struct FileLayout {
    QStringList keys;
    QByteArray eol;
};

QMutex layoutMutex;
QHash<QString, FileLayout> &layouts() {
    static QHash<QString, FileLayout> h;
    return h;
}

QString pathOf(QIODevice &device) {
    auto *file = qobject_cast<QFileDevice *>(&device);
    if (!file || file->fileName().isEmpty())
        return {};
    return QFileInfo(file->fileName()).absoluteFilePath();
}

// Orders new keys so that "x/2" comes before "x/10", as a loop that set them would have.
bool naturalLess(const QString &a, const QString &b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a.at(ei).isDigit())
                ++ei;
            while (ej < b.size() && b.at(ej).isDigit())
                ++ej;
            const QString na = a.mid(i, ei - i), nb = b.mid(j, ej - j);
            // Compare digit runs by value: strip leading zeros, then length, then text.
            qsizetype za = 0, zb = 0;
            while (za < na.size() - 1 && na.at(za) == QLatin1Char('0'))
                ++za;
            while (zb < nb.size() - 1 && nb.at(zb) == QLatin1Char('0'))
                ++zb;
            const qsizetype la = na.size() - za, lb = nb.size() - zb;
            if (la != lb)
                return la < lb;
            const int c = QStringView(na).mid(za).compare(QStringView(nb).mid(zb));
            if (c != 0)
                return c < 0;
            i = ei;
            j = ej;
            continue;
        }
        if (a.at(i) != b.at(j))
            return a.at(i) < b.at(j);
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j))
        return (a.size() - i) < (b.size() - j);
    return a < b;
}

bool readWith(QIODevice &device, QSettings::SettingsMap &map, qt48ini::Codec codec) {
    const qt48ini::Document doc = qt48ini::parse(device.readAll(), codec);
    FileLayout layout;
    layout.eol = doc.eol;
    for (const qt48ini::Entry &e : doc.entries) {
        map.insert(e.key, e.value);
        layout.keys.append(e.key);
    }
    if (const QString path = pathOf(device); !path.isEmpty()) {
        QMutexLocker lock(&layoutMutex);
        layouts().insert(path, layout);
    }
    // Lines that were not understood are skipped, like the earlier releases did; failing here
    // would make QSettings drop the whole file and the next write would lose every other key.
    return true;
}

bool writeWith(QIODevice &device, const QSettings::SettingsMap &map, qt48ini::Codec codec) {
    const QString path = pathOf(device);
    FileLayout previous;
    if (!path.isEmpty()) {
        QMutexLocker lock(&layoutMutex);
        previous = layouts().value(path);
    }

    QList<qt48ini::Entry> ordered;
    ordered.reserve(map.size());
    QSet<QString> placed;
    for (const QString &key : std::as_const(previous.keys)) {
        const auto it = map.constFind(key);
        if (it != map.constEnd() && !placed.contains(key)) {
            ordered.append({key, it.value()});
            placed.insert(key);
        }
    }
    QStringList added;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        if (!placed.contains(it.key()))
            added.append(it.key());
    }
    std::sort(added.begin(), added.end(), naturalLess);
    for (const QString &key : std::as_const(added))
        ordered.append({key, map.value(key)});

#ifdef Q_OS_WIN
    const QByteArray nativeEol = "\r\n";
#else
    const QByteArray nativeEol = "\n";
#endif
    // A file that came with Windows line endings keeps them.
    const QByteArray eol = previous.eol.isEmpty() ? nativeEol : previous.eol;
    const QByteArray bytes = qt48ini::serialize(ordered, codec, eol);
    if (device.write(bytes) != bytes.size())
        return false;
    // The settings class renames its save file over the old one unless this answers false,
    // and a failure to write the buffered tail (a full disk) shows only in flush(): without
    // this check a truncated file would replace a whole one.
    if (auto *file = qobject_cast<QFileDevice *>(&device); file && !file->flush())
        return false;

    if (!path.isEmpty()) {
        FileLayout now;
        now.eol = eol;
        for (const qt48ini::Entry &e : std::as_const(ordered))
            now.keys.append(e.key);
        QMutexLocker lock(&layoutMutex);
        layouts().insert(path, now);
    }
    return true;
}

bool readLatin1(QIODevice &d, QSettings::SettingsMap &m) {
    return readWith(d, m, qt48ini::Codec::Latin1);
}
bool writeLatin1(QIODevice &d, const QSettings::SettingsMap &m) {
    return writeWith(d, m, qt48ini::Codec::Latin1);
}
bool readUtf8(QIODevice &d, QSettings::SettingsMap &m) {
    // Editors on Windows like to put a byte-order mark in front of UTF-8 text; skip it.
    if (d.peek(3) == QByteArray("\xEF\xBB\xBF"))
        d.read(3);
    return readWith(d, m, qt48ini::Codec::Utf8);
}
bool writeUtf8(QIODevice &d, const QSettings::SettingsMap &m) {
    return writeWith(d, m, qt48ini::Codec::Utf8);
}

} // namespace

// Keys are case-sensitive: Qt 6 does not look up a custom format's keys case-insensitively
// (a key read from the file is not found under another case), and the program spells every
// key one way.
QSettings::Format qt48IniFormat() {
    static const QSettings::Format format = QSettings::registerFormat(
        QStringLiteral("bin"), readLatin1, writeLatin1, Qt::CaseSensitive);
    return format;
}

QSettings::Format utf8IniFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("ini"), readUtf8, writeUtf8, Qt::CaseSensitive);
    return format;
}
