#include "PickedFile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pickedfile {

namespace {

Contents readUpTo(const QString &path, qint64 maxBytes, bool keep) {
#ifdef Q_OS_UNIX
    // Checked on the descriptor that is read, so the path cannot be swapped in between; a
    // FIFO opened without blocking returns at once instead of waiting for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {{}, Refusal::Unreadable};
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return {{}, Refusal::Unreadable};
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return {{}, Refusal::NotARegularFile};
    }
    if (st.st_size > maxBytes) {
        ::close(fd);
        return {{}, Refusal::TooLarge};
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {{}, Refusal::Unreadable};
    }
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return {{}, Refusal::NotARegularFile};
    if (info.size() > maxBytes)
        return {{}, Refusal::TooLarge};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, Refusal::Unreadable};
#endif
    if (!keep)
        return {};
    // A file that grew since it was measured is still cut off at the cap.
    Contents contents{file.read(maxBytes + 1), Refusal::None};
    if (contents.bytes.size() > maxBytes)
        return {{}, Refusal::TooLarge};
    return contents;
}

} // namespace

Contents read(const QString &path, qint64 maxBytes) { return readUpTo(path, maxBytes, true); }

Refusal check(const QString &path, qint64 maxBytes) {
    return readUpTo(path, maxBytes, false).refusal;
}

int refusalMessage(Refusal refusal) {
    switch (refusal) {
    case Refusal::NotARegularFile:
        return 12;
    case Refusal::TooLarge:
        return 13;
    case Refusal::None:
    case Refusal::Unreadable:
        break;
    }
    return -1;
}

} // namespace pickedfile
