// Arbitrary bytes through the settings-file reader, in the Latin-1 form of the profile,
// configuration and macro files and the UTF-8 form of the language files.

#include "FuzzSupport.h"
#include "Qt48Ini.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    fuzz::noteInputSize(size);
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const qt48ini::Codec codec : {qt48ini::Codec::Latin1, qt48ini::Codec::Utf8}) {
        for (const qt48ini::Entry &e : qt48ini::parse(bytes, codec).entries)
            (void)e.value.toStringList(); // the program converts every value it reads
        (void)qt48ini::unescapedValue(bytes, codec);
    }
    (void)qt48ini::unescapedKey(bytes);
    return 0;
}
