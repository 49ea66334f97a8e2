#pragma once

// Shared pieces of the fuzz targets: a failed invariant aborts with a message, and the
// inputs that go through a file reader get a scratch folder that lives for the whole run.

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                       \
    do {                                                                                       \
        if (!(cond)) {                                                                         \
            std::fprintf(stderr, "invariant failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

namespace fuzz {

// Keeps the largest input this run executed and prints it at exit. libFuzzer reports the sizes
// of the inputs it keeps, not of those it tried, and long runs need to show that inputs of
// the size a user may pick were actually read.
inline void noteInputSize(std::size_t size) {
    static std::size_t largest = 0;
    static const bool reported = std::atexit([] {
        std::fprintf(stderr, "largest input executed: %zu bytes\n", largest);
    }) == 0;
    (void)reported;
    if (size > largest)
        largest = size;
}

inline QByteArray bytesOf(const unsigned char *data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

inline QString scratchDir() {
    static QTemporaryDir dir;
    FUZZ_CHECK(dir.isValid());
    return dir.path();
}

// Writes bytes to path and gives the file a modification time no earlier run used. The
// settings class keeps the parsed copy of a file whose size and time look unchanged, so a
// same-sized input written within the same clock tick would otherwise not be read at all.
// Reusing one path (rather than a new name per run) keeps the per-file caches bounded.
inline void writeFile(const QString &path, const QByteArray &bytes) {
    static qint64 tick = 0;
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(f.write(bytes) == bytes.size());
    const QDateTime stamp =
        QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC).addSecs(++tick);
    FUZZ_CHECK(f.setFileTime(stamp, QFileDevice::FileModificationTime));
}

inline QByteArray readFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Empties a folder of files (no recursion needed: the targets create none below it).
inline void clearDir(const QString &path) {
    QDir dir(path);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        dir.remove(name);
}

} // namespace fuzz
