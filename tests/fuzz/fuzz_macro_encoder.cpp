// Arbitrary event lines through the encoder. Beyond crashes and sanitizer reports it checks
// that what comes out is a block the mouse can walk: the play-count placeholder, records
// that each decode as a key event, a medium or a long delay, and the end mark.

#include "FuzzSupport.h"
#include "KeyNames.h"
#include "MacroEncoder.h"

#include <QString>
#include <QStringList>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    fuzz::noteInputSize(size);
    static const auto table = buildKeyNameTable();

    // Lines are separated by '\n'; the text is read as UTF-8, so the arrows and other
    // non-ASCII names can be reached as well as broken sequences.
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QList<unsigned char> out = encodeMacroLines(lines, table);

    FUZZ_CHECK(out.size() >= 4 && out.size() <= 4 + 4 * lines.size());
    FUZZ_CHECK(out[0] == 0x00 && out[1] == 0x01);
    FUZZ_CHECK(out[out.size() - 2] == 0x00 && out[out.size() - 1] == 0x00);

    const QList<unsigned char> codes = table.values();
    qsizetype pos = 2;
    const qsizetype end = out.size() - 2;
    while (pos < end) {
        FUZZ_CHECK(pos + 2 <= end);
        const unsigned char first = out[pos], second = out[pos + 1];
        if (second == 0x01 && first == 0x00) { // long delay
            FUZZ_CHECK(pos + 4 <= end);
            FUZZ_CHECK((out[pos + 2] << 8 | out[pos + 3]) >= 1);
            pos += 4;
        } else if (second == 0x01) { // medium delay
            FUZZ_CHECK(first >= 64);
            pos += 2;
        } else { // key event: a known code and a pause of 1-127 units
            FUZZ_CHECK(codes.contains(second));
            FUZZ_CHECK((first & 0x7F) >= 1);
            pos += 2;
        }
    }
    FUZZ_CHECK(pos == end);

    bool cut = false;
    const MacroBlock block = finishMacroBlock(out, 0xFFFF, &cut);
    FUZZ_CHECK(cut == (out.size() > macroBlockSize));
    FUZZ_CHECK(block[0] == 0xFF && block[1] == 0xFF);
    return 0;
}
