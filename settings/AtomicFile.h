#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>

#include <memory>

// Replacing a file the user keeps: the new content goes to a temporary file in the same
// folder, is flushed to disk and then renamed over the old one, so a crash, a kill or a full
// disk at any moment leaves either the old file or the new one, never a mix or nothing.
// Both answer false when the file could not be replaced; the old file is then untouched.
// None of them writes through a link that stands in place of the file: that is refused.
namespace atomicfile {

bool write(const QString &path, const QByteArray &bytes);
// A byte copy of source at target. A target that is the source itself counts as done.
bool copy(const QString &source, const QString &target);

// Writes a settings handle's pending values now (the settings class replaces its file in one
// step) and answers whether that worked. A settings object keeps reporting its first error
// for ever, so a handle that failed before is first swapped for a fresh one on the same file,
// which keeps the values not yet written: every save reports its own result.
bool sync(std::unique_ptr<QSettings> &handle);

} // namespace atomicfile
