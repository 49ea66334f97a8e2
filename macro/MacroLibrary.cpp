#include "MacroLibrary.h"

#include "AtomicFile.h"
#include "DataPaths.h"
#include "Dialogs.h"
#include "IniFormat.h"
#include "MouseLink.h"
#include "PickedFile.h"
#include "Qt48Ini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString fileEnding = QStringLiteral(".bin");
const QString exchangeFilter = QStringLiteral("Macro(*.mc)");

QString exchangeFolder() { return DataPaths::exchangeFolder(); }

// Puts a byte-for-byte copy of source at target, replacing what is there in one step, so a
// source that cannot be read, or a disk that fills up, leaves the old target as it was.
bool replaceWithCopy(const QString &source, const QString &target) {
    return atomicfile::copy(source, target);
}

const QString indexKey = QStringLiteral("config/index");

// A stored slot index names one of the mouse's slots or none: anything else (255 wrapped to
// slot 0, 100-254 addressed slots the mouse does not have) counts as none.
int slotIndex(const QVariant &stored) {
    bool ok = false;
    const int index = stored.toInt(&ok);
    return ok && index >= 0 && index < layout::macroSlots ? index : -1;
}

// The message string that heads the boxes of a refused macro import.
constexpr int importMacroTitle = 15;

} // namespace

MacroLibrary::MacroLibrary(MouseLink *link, QMap<QString, unsigned char> keyNameTable,
                           QString folder, QWidget *dialogParent)
    : m_link(link), m_keyNames(std::move(keyNameTable)), m_folder(std::move(folder)),
      m_dialogParent(dialogParent) {
    if (!m_folder.endsWith(QLatin1Char('/')))
        m_folder += QLatin1Char('/');
}

bool MacroLibrary::isSafeName(const QString &name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QChar(0));
}

QString MacroLibrary::filePath(const QString &name) const {
    return isSafeName(name) ? m_folder + name + fileEnding : QString();
}

QString MacroLibrary::existingFile(const QVariant &name) const {
    const QString path = filePath(name.toString());
    // A link in the folder is none of the user's macros: writing through it would change a
    // file of whoever planted it.
    const QFileInfo info(path);
    return !path.isEmpty() && info.isFile() && !info.isSymLink() ? path : QString();
}

QVariant MacroLibrary::createMacroIni() {
    // A fresh install may not have the folder yet; the first macro must still work.
    QDir().mkpath(m_folder);
    QString name;
    for (qint64 n = 1;; ++n) {
        name = QStringLiteral("Macro. ") + QString::number(n).rightJustified(3, QLatin1Char('0'));
        const QFileInfo taken(filePath(name));
        if (!taken.exists() && !taken.isSymLink())
            break;
    }
    QSettings file(filePath(name), qt48IniFormat());
    file.setValue(QStringLiteral("config/index"), -1);
    file.setValue(QStringLiteral("config/total"), 0);
    file.setValue(QStringLiteral("config/repeat"), 1);
    file.sync();
    return name;
}

QVariant MacroLibrary::deleteMacroIni(QVariant name) {
    const QString path = existingFile(name);
    return !path.isEmpty() && QFile::remove(path);
}

QStringList MacroLibrary::getMacroIniNames() {
    // Hidden entries too: a name the user began with a dot is still a macro. The ending is
    // matched with its case, since "X.BIN" is not the file of macro "X" here.
    const QStringList entries = QDir(m_folder).entryList(
        {QStringLiteral("*") + fileEnding}, QDir::Files | QDir::Hidden | QDir::CaseSensitive,
        QDir::Name | QDir::IgnoreCase);
    QStringList names;
    for (const QString &entry : entries) {
        if (isSafeName(entry.chopped(fileEnding.size())))
            names.append(entry);
    }
    return names;
}

QVariant MacroLibrary::saveMacroIni(QVariant name, QStringList macros) {
    const QString path = existingFile(name);
    if (path.isEmpty())
        return false;
    int index = -1;
    {
        QSettings file(path, qt48IniFormat());
        file.remove(QStringLiteral("macro"));
        file.setValue(QStringLiteral("config/total"), macros.size());
        for (qsizetype i = 0; i < macros.size(); ++i)
            file.setValue(QStringLiteral("macro/") + QString::number(i), macros[i]);
        index = slotIndex(file.value(indexKey, -1));
        // The upload below reads the lines back from the file. The settings class replaces
        // the file whole; when it could not (full disk), the old file stays and the caller
        // hears of it instead of a success.
        file.sync();
        if (file.status() != QSettings::NoError)
            return false;
    }
    if (index >= 0)
        uploadToSlot(index + 1, name);
    return true;
}

QStringList MacroLibrary::loadMacroIni(QVariant name) {
    const QString path = existingFile(name);
    if (path.isEmpty())
        return {};
    QSettings file(path, qt48IniFormat());
    const int total = qBound(0, file.value(QStringLiteral("config/total"), 0).toInt(), maxLines);
    QStringList lines;
    lines.reserve(total);
    for (int i = 0; i < total; ++i)
        lines.append(file.value(QStringLiteral("macro/") + QString::number(i), 0).toString());
    return lines;
}

QVariantList MacroLibrary::loadMacroIniConfig(QVariant name) {
    const QString path = existingFile(name);
    if (path.isEmpty())
        return {};
    QSettings file(path, qt48IniFormat());
    return {slotIndex(file.value(indexKey, -1)),
            file.value(QStringLiteral("config/repeat"), 1).toInt()};
}

void MacroLibrary::setMacroIniConfig(QVariant name, QVariantList config) {
    const QString path = existingFile(name);
    // Both values or nothing: a short list must not leave a half-written pair.
    if (path.isEmpty() || config.size() < 2)
        return;
    QSettings file(path, qt48IniFormat());
    file.setValue(QStringLiteral("config/index"), config[0]);
    file.setValue(QStringLiteral("config/repeat"), config[1]);
    file.sync();
}

void MacroLibrary::loadMacroIniFromFile(QVariant name) {
    const QString chosen = dialogs().openFileName(m_dialogParent, QStringLiteral("Open File"),
                                                  exchangeFolder(), exchangeFilter);
    if (chosen.isEmpty())
        return;
    const QString path = existingFile(name);
    if (path.isEmpty())
        return;
    pickedfile::Contents picked = pickedfile::read(chosen, pickedfile::macroMaxBytes);
    if (picked.refusal != pickedfile::Refusal::None) {
        const int why = pickedfile::refusalMessage(picked.refusal);
        const QStringList msg = m_messages ? m_messages() : QStringList();
        if (why >= 0)
            dialogs().warning(m_dialogParent, msg.value(importMacroTitle), msg.value(why));
        return;
    }
    // Byte for byte, unless its slot index names no slot of the mouse: then the file is
    // written again with none, so no later save uploads it to a slot it does not have.
    qt48ini::Document doc = qt48ini::parse(picked.bytes, qt48ini::Codec::Latin1);
    for (qt48ini::Entry &e : doc.entries) {
        if (e.key != indexKey)
            continue;
        bool whole = false;
        const int stored = e.value.toString().toInt(&whole);
        if (!whole || slotIndex(stored) != stored) {
            e.value = -1;
            picked.bytes = qt48ini::serialize(doc.entries, qt48ini::Codec::Latin1,
                                              doc.eol.isEmpty() ? QByteArray("\n") : doc.eol);
        }
        break;
    }
    atomicfile::write(path, picked.bytes);
}

void MacroLibrary::saveMacroIniToFile(QVariant name) {
    const QString path = existingFile(name);
    if (path.isEmpty())
        return;
    // Proposed under the macro's own name.
    const QString chosen = dialogs().saveFileName(
        m_dialogParent, QStringLiteral("Save File"),
        QDir(exchangeFolder()).filePath(name.toString() + QStringLiteral(".mc")), exchangeFilter);
    if (!chosen.isEmpty())
        replaceWithCopy(path, chosen);
}

void MacroLibrary::renameMacroIniFile(QVariant oldName, QVariant newName) {
    const QString from = existingFile(oldName);
    const QString to = filePath(newName.toString());
    if (from.isEmpty() || to.isEmpty() || from == to)
        return;
    QFile::rename(from, to); // refuses to replace an existing file; the page re-reads the list
}

QList<unsigned char> MacroLibrary::macroIncode(QStringList macros) {
    return encodeMacroLines(macros, m_keyNames);
}

bool MacroLibrary::uploadToSlot(QVariant macroId, QVariant name) {
    const QList<unsigned char> encoded = macroIncode(loadMacroIni(name));
    if (encoded.size() > macroBlockSize)
        dialogs().warning(nullptr, QStringLiteral("MACRO"),
                          QStringLiteral("Out of memory,\nsome command line has been cut."));

    unsigned playCount = 1;
    const QString path = existingFile(name);
    if (!path.isEmpty())
        playCount =
            QSettings(path, qt48IniFormat()).value(QStringLiteral("config/repeat"), 1).toUInt();

    MacroBlock block = finishMacroBlock(encoded, playCount, nullptr);
    return m_link &&
           m_link->sendMacroSlot(static_cast<unsigned char>(macroId.toInt() & 0xFF), block.data());
}
