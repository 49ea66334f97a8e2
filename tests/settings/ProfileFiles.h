#pragma once

// A private copy of the shipped profile files for one test, and helpers to look inside.
#include "IniFormat.h"
#include "Qt48Ini.h"
#include "TestFiles.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// A value as another program would see it: a fresh parse of the bytes.
inline QVariant valueIn(const QByteArray &bytes, const QString &key) {
    for (const auto &e : qt48ini::parse(bytes, qt48ini::Codec::Latin1).entries) {
        if (e.key == key)
            return e.value;
    }
    return {};
}

inline QVariant onDisk(const QString &path, const QString &key) {
    return valueIn(bytesOf(path), key);
}

// n values counting up from `first`, kept within a byte.
inline QVariantList numbers(int n, int first) {
    QVariantList l;
    for (int i = 0; i < n; ++i)
        l.append((first + i) & 0xFF);
    return l;
}

inline QList<uint> uints(const QVariant &v) {
    QList<uint> out;
    for (const QVariant &e : v.toList())
        out.append(e.toUInt());
    return out;
}

inline QList<uint> seq(int n, int first) { return uints(numbers(n, first)); }

// A block of the mouse's, as the file's lists are compared.
template <typename Block> QList<uint> valuesOf(const Block &b) {
    return QList<uint>(b.begin(), b.end());
}

// The key of one profile's list in a group: "matrix_fw/2".
inline QString blockKey(const QString &group, int profile) {
    return group + QLatin1Char('/') + QString::number(profile);
}

class ProfileFiles {
public:
    ProfileFiles() {
        // Both start as copies of the shipped defaults: the staged working file may have been
        // changed by running the program, the defaults never are.
        const QString shipped = qEnvironmentVariable("Q7_BUILD_BIN") + "/modules/setting/pD_Q7.bin";
        QFile::copy(shipped, defaults());
        QFile::copy(shipped, working());
    }

    QString working() const { return dir.filePath("p_Q7.bin"); }
    QString defaults() const { return dir.filePath("pD_Q7.bin"); }
    QString path(const QString &name) const { return dir.filePath(name); }
    bool ready() const { return QFile::exists(working()) && QFile::exists(defaults()); }
    QVariant stored(const QString &key) const { return onDisk(working(), key); }

private:
    QTemporaryDir dir;
};
