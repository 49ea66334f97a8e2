// Arbitrary bytes through the settings-file reader, in both text forms (the Latin-1 form of
// the profile, configuration and macro files, and the UTF-8 form of the language files),
// and the values it hands back through the conversions the program applies to them.

#include "Qt48Ini.h"

#include <QStringList>
#include <QVariant>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const qt48ini::Codec codec : {qt48ini::Codec::Latin1, qt48ini::Codec::Utf8}) {
        const qt48ini::Document doc = qt48ini::parse(bytes, codec);
        for (const qt48ini::Entry &e : doc.entries) {
            (void)e.value.toString().size();
            (void)e.value.toStringList().size();
            (void)e.value.toInt();
            (void)e.value.toUInt();
            (void)e.value.toBool();
        }
        (void)qt48ini::unescapedValue(bytes, codec);
    }
    (void)qt48ini::unescapedKey(bytes);
    return 0;
}
