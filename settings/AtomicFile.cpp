#include "AtomicFile.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// The save file class writes through a link to wherever it points: one planted in place of a
// data file would have the program overwrite a file of the planter's choosing.
bool plantedLink(const QString &path) {
    if (!QFileInfo(path).isSymLink())
        return false;
    qWarning() << "q7config: not written, a link stands in place of" << path;
    return true;
}

// The rename is only durable once the folder that holds the name is on disk too.
void syncFolderOf(const QString &path) {
#ifndef Q_OS_WIN
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
#else
    Q_UNUSED(path);
#endif
}

bool discard(QSaveFile &out) {
    out.cancelWriting();
    out.commit(); // removes the temporary file
    return false;
}

// The buffered tail is written by flush(). Its failure (a full disk) must be checked here:
// the commit that follows would otherwise rename a truncated file over the old one, as the
// save file class looks only at errors of its own writes.
bool finish(QSaveFile &out) {
    if (!out.flush())
        return discard(out);
    if (!out.commit())
        return false;
    syncFolderOf(out.fileName());
    return true;
}

} // namespace

bool atomicfile::write(const QString &path, const QByteArray &bytes) {
    if (plantedLink(path))
        return false;
    QSaveFile out(path);
    // No fallback to writing in place: a folder that refuses the temporary file must fail
    // the write rather than expose a half-written file.
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(bytes) != bytes.size())
        return discard(out);
    return finish(out);
}

bool atomicfile::copy(const QString &source, const QString &target) {
    const QFileInfo from(source), to(target);
    if (to.exists() && from.exists() && to.canonicalFilePath() == from.canonicalFilePath())
        return true;
    if (plantedLink(target))
        return false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0 || out.write(buffer, n) != n)
            return discard(out);
    }
    return finish(out);
}

bool atomicfile::sync(std::unique_ptr<QSettings> &handle) {
    if (handle->status() != QSettings::NoError) {
        // Made while the old handle still lives, the fresh one shares its values not yet
        // written, this call's included.
        auto fresh = std::make_unique<QSettings>(handle->fileName(), handle->format());
        handle = std::move(fresh);
    }
    if (plantedLink(handle->fileName()))
        return false;
    handle->sync();
    if (handle->status() != QSettings::NoError)
        return false;
    // A copy of the program folder may bring its working files readable by all; what the
    // program keeps there (the mouse's ids, the user's macros) is the user's alone.
    QFile::setPermissions(handle->fileName(), QFile::ReadOwner | QFile::WriteOwner);
    syncFolderOf(handle->fileName());
    return true;
}
