#include "AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

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
    return out.commit();
}

} // namespace

bool atomicfile::write(const QString &path, const QByteArray &bytes) {
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
    handle->sync();
    return handle->status() == QSettings::NoError;
}
