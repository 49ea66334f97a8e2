// A macro file as the library reads it, and a macro name as the user types it. The input's
// first line is the name, the rest the file's bytes. Beyond sanitizer reports it checks what
// the macro page relies on: the file is listed, its config is a pair, lines the library wrote
// read back unchanged with the config kept, and no name puts a file outside the library.

#include "FuzzSupport.h"
#include "KeyNames.h"
#include "MacroEncoder.h"
#include "MacroLibrary.h"

#include <QDirIterator>

#include <cstdint>

namespace {

QStringList filesBelow(const QString &root) {
    QStringList out;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out << it.next();
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    fuzz::noteInputSize(size);
    static const auto table = buildKeyNameTable();
    static const QString root = fuzz::scratchDir() + QStringLiteral("/macro");
    static const QString folder = root + QStringLiteral("/library/");
    static const bool made = QDir().mkpath(folder);
    FUZZ_CHECK(made);

    const QByteArray input = fuzz::bytesOf(data, size);
    const qsizetype eol = input.indexOf('\n');
    const QString typedName = QString::fromUtf8(eol < 0 ? input : input.left(eol));
    const QByteArray content = eol < 0 ? QByteArray() : input.mid(eol + 1);

    QDir(root).removeRecursively();
    FUZZ_CHECK(QDir().mkpath(folder));
    const QString name = QStringLiteral("fuzzed");
    fuzz::writeFile(folder + name + QStringLiteral(".bin"), content);

    MacroLibrary library(nullptr, table, folder);
    FUZZ_CHECK(library.getMacroIniNames() == QStringList{name + QStringLiteral(".bin")});

    const QStringList lines = library.loadMacroIni(name);
    FUZZ_CHECK(lines.size() <= MacroLibrary::maxLines);
    const QVariantList config = library.loadMacroIniConfig(name);
    FUZZ_CHECK(config.size() == 2);

    const QList<unsigned char> encoded = library.macroIncode(lines);
    FUZZ_CHECK(encoded.size() >= 4);
    bool cut = false;
    (void)finishMacroBlock(encoded, config.at(1).toUInt(), &cut);
    FUZZ_CHECK(cut == (encoded.size() > macroBlockSize));

    // What the page saves it must find again, and saving lines leaves the config alone.
    // A damaged count can ask for the library's ceiling of lines; rewriting that many under
    // the fuzzer's instrumentation takes longer than its time-out, so only shorter lists
    // make the round trip here.
    if (lines.size() <= 4096) {
        FUZZ_CHECK(library.saveMacroIni(name, lines).toBool());
        FUZZ_CHECK(library.loadMacroIni(name) == lines);
        FUZZ_CHECK(library.loadMacroIniConfig(name) == config);
    }

    // A typed name either names a file directly in the library or is refused.
    const QString path = library.filePath(typedName);
    if (!path.isEmpty())
        FUZZ_CHECK(QFileInfo(path).absolutePath() == QFileInfo(folder).absolutePath());
    library.renameMacroIniFile(name, typedName);
    const QVariant created = library.createMacroIni();
    FUZZ_CHECK(!created.toString().isEmpty());
    const QStringList files = filesBelow(root);
    FUZZ_CHECK(files.size() == 2);
    for (const QString &file : files)
        FUZZ_CHECK(QFileInfo(file).absolutePath() == QFileInfo(folder).absolutePath());
    FUZZ_CHECK(library.getMacroIniNames().size() <= 2);
    return 0;
}
