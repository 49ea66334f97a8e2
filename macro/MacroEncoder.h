#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>

// Event lines: a value followed by a 10-character tag.
namespace MacroTag {
inline const QString down = QStringLiteral("    [Down]");
inline const QString up = QStringLiteral("      [Up]");
inline const QString delay = QStringLiteral("   [Delay]");
constexpr int length = 10;
} // namespace MacroTag

// The mouse's macro slot holds 128 bytes: play count, records, end mark 00 00, zeros.
constexpr int macroBlockSize = 128;
using MacroBlock = std::array<unsigned char, macroBlockSize>;

// Encodes event lines into the play-count placeholder 00 01, the records and the end mark,
// neither cut nor padded. Lines the mouse cannot play (unknown names or tags, empty or
// unreadable delays) are left out.
QList<unsigned char> encodeMacroLines(const QStringList &lines,
                                      const QMap<QString, unsigned char> &keyNameTable);

// The block sent to a slot: the play count (big-endian) written over the placeholder, then
// cut or zero-padded to 128 bytes. *cut tells whether records were lost to the cut.
MacroBlock finishMacroBlock(QList<unsigned char> encoded, unsigned playCount, bool *cut);
