#pragma once

// A private copy of the shipped profile files for one test, and helpers to look inside.
#include "IniFormat.h"
#include "Qt48Ini.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class ProfileFiles {
public:
    ProfileFiles() {
        const QString shipped = qEnvironmentVariable("Q7_BUILD_BIN") + "/modules/setting/";
        // The shipped working file starts as a copy of the defaults; the staged one may have
        // been changed by running the program, the defaults never are.
        QFile::copy(shipped + "pD_Q7.bin", defaults());
        QFile::copy(shipped + "pD_Q7.bin", working());
    }

    QString working() const { return dir.filePath("p_Q7.bin"); }
    QString defaults() const { return dir.filePath("pD_Q7.bin"); }
    QString path(const QString &name) const { return dir.filePath(name); }
    bool ready() const { return QFile::exists(working()) && QFile::exists(defaults()); }

    static QByteArray bytes(const QString &path) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    // A value as another program would see it: a fresh parse of the bytes on disk.
    static QVariant onDisk(const QString &path, const QString &key) {
        for (const auto &e : qt48ini::parse(bytes(path), qt48ini::Codec::Latin1).entries) {
            if (e.key == key)
                return e.value;
        }
        return {};
    }
    static QVariantList numbers(int n, int first, int step = 1) {
        QVariantList l;
        for (int i = 0; i < n; ++i)
            l.append((first + i * step) & 0xFF);
        return l;
    }
    static QList<uint> uints(const QVariant &v) {
        QList<uint> out;
        for (const QVariant &e : v.toList())
            out.append(e.toUInt());
        return out;
    }

private:
    QTemporaryDir dir;
};
