// Arbitrary bytes as a "*.mc" file imported over a macro, then exported again, through the
// library's import and export with the file dialogs answered by a script. Beyond sanitizer
// reports it checks that an exchange file within the size cap travels byte for byte both ways
// (an import with a slot index the mouse does not have is written again without one), and
// one over the cap changes nothing, that the library
// still lists the one macro, and that the imported macro reads as a line list and a config
// pair that the encoder takes.

#include "FuzzSupport.h"
#include "KeyNames.h"
#include "MacroEncoder.h"
#include "MacroLibrary.h"
#include "PickedFile.h"
#include "ScriptedDialogs.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    fuzz::noteInputSize(size);
    static const auto table = buildKeyNameTable();
    static ScriptedDialogs scripted;
    static const QString dir = fuzz::scratchDir() + QStringLiteral("/exchange/");
    static const QString folder = dir + QStringLiteral("library/");
    static const bool made = QDir().mkpath(folder);
    FUZZ_CHECK(made);

    fuzz::clearDir(folder);
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString chosen = dir + QStringLiteral("chosen.mc");
    const QString exported = dir + QStringLiteral("exported.mc");
    fuzz::writeFile(chosen, bytes);
    QFile::remove(exported);

    MacroLibrary library(nullptr, table, folder);
    const QString name = library.createMacroIni().toString();
    FUZZ_CHECK(!name.isEmpty());

    scripted.shown.clear();
    scripted.fileAnswers.clear();
    scripted.fileAnswers.enqueue(chosen);
    const QByteArray created = fuzz::readFile(library.filePath(name));
    library.loadMacroIniFromFile(name);
    const QByteArray taken = fuzz::readFile(library.filePath(name));
    const int warnings = scripted.count(QStringLiteral("warning"));
    if (bytes.size() > pickedfile::macroMaxBytes) {
        FUZZ_CHECK(taken == created && warnings == 1);
    } else {
        // Byte for byte, or written again without a slot the mouse does not have.
        const int index = library.loadMacroIniConfig(name).value(0).toInt();
        FUZZ_CHECK(index >= -1 && index < 100);
        FUZZ_CHECK(taken == bytes || index == -1);
        FUZZ_CHECK(warnings == 0);
    }

    FUZZ_CHECK(library.getMacroIniNames() == QStringList{name + QStringLiteral(".bin")});
    const QStringList lines = library.loadMacroIni(name);
    FUZZ_CHECK(lines.size() <= MacroLibrary::maxLines);
    FUZZ_CHECK(library.loadMacroIniConfig(name).size() == 2);
    FUZZ_CHECK(library.macroIncode(lines).size() >= 4);

    scripted.fileAnswers.enqueue(exported);
    library.saveMacroIniToFile(name);
    FUZZ_CHECK(fuzz::readFile(exported) == taken);
    FUZZ_CHECK(scripted.count(QStringLiteral("open")) == 1 &&
               scripted.count(QStringLiteral("save")) == 1 &&
               scripted.shown.size() == 2 + warnings);
    return 0;
}
