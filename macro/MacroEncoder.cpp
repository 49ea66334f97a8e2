#include "MacroEncoder.h"

#include <QtGlobal>

#include <algorithm>

namespace {

constexpr unsigned char releaseBit = 0x80;
constexpr unsigned char delayMarker = 0x01; // second byte of every delay record
constexpr qint64 longestFold = 1270;        // 127 units of 10 ms
constexpr qint64 longestMediumDelay = 5100; // 255 units of 20 ms
constexpr qint64 longestLongDelay = 0xFFFF; // in 20 ms units

// What the last record appended was; a pause is folded only into a key event that does not
// carry a folded pause yet, since folding into a delay record would turn its bytes into a
// different record and folding twice would lose the first pause.
enum class LastRecord { none, event, foldedEvent, delay };

} // namespace

QList<unsigned char> encodeMacroLines(const QStringList &lines,
                                      const QMap<QString, unsigned char> &keyNameTable) {
    QList<unsigned char> out{0x00, 0x01};
    LastRecord last = LastRecord::none;
    qsizetype lastRecordAt = -1;

    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (line.size() < MacroTag::length)
            continue;
        const QStringView tag = QStringView(line).right(MacroTag::length);
        const QString value = line.left(line.size() - MacroTag::length);

        if (tag == MacroTag::down || tag == MacroTag::up) {
            const unsigned char code = keyNameTable.value(value, 0);
            if (code == 0)
                continue;
            lastRecordAt = out.size();
            out << static_cast<unsigned char>(tag == MacroTag::up ? releaseBit | 0x01 : 0x01)
                << code;
            last = LastRecord::event;
            continue;
        }
        if (tag != MacroTag::delay)
            continue;

        bool ok = false;
        const qint64 t = value.toInt(&ok, 10);
        if (!ok || t == 0)
            continue;
        const bool afterDelayLine =
            i > 0 && lines[i - 1].right(MacroTag::length) == MacroTag::delay;

        if (t <= longestFold && !afterDelayLine && last == LastRecord::event) {
            const auto units = static_cast<unsigned char>((std::max<qint64>(t, 10) + 5) / 10);
            out[lastRecordAt] = (out[lastRecordAt] & releaseBit) | units;
            last = LastRecord::foldedEvent;
        } else if (t > longestFold && t <= longestMediumDelay) {
            out << static_cast<unsigned char>((t + 10) / 20) << delayMarker;
            last = LastRecord::delay;
        } else {
            // Longer than one record can hold: the longest it can, rather than the count
            // wrapping round to a short pause.
            const qint64 n = std::min((std::max<qint64>(t, 20) + 10) / 20, longestLongDelay);
            out << static_cast<unsigned char>(0x00) << delayMarker
                << static_cast<unsigned char>(n >> 8) << static_cast<unsigned char>(n & 0xFF);
            last = LastRecord::delay;
        }
    }
    out << static_cast<unsigned char>(0x00) << static_cast<unsigned char>(0x00);
    return out;
}

MacroBlock finishMacroBlock(QList<unsigned char> encoded, unsigned playCount, bool *cut) {
    if (encoded.size() < 2)
        encoded.resize(2);
    encoded[0] = static_cast<unsigned char>((playCount >> 8) & 0xFF);
    encoded[1] = static_cast<unsigned char>(playCount & 0xFF);

    MacroBlock block{};
    std::copy_n(encoded.cbegin(), std::min<qsizetype>(encoded.size(), macroBlockSize),
                block.begin());
    if (cut)
        *cut = encoded.size() > macroBlockSize;
    return block;
}
