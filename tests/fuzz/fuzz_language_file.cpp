// Arbitrary bytes as a language file, read the way the settings page reads one: the language
// list, the interface strings with the message strings, and the button names. Beyond
// sanitizer reports it checks the counts every caller indexes by.

#include "FuzzSupport.h"
#include "Languages.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    fuzz::noteInputSize(size);
    static const QString dir = fuzz::scratchDir() + QStringLiteral("/i18n/");
    static const bool made = QDir().mkpath(dir);
    FUZZ_CHECK(made);
    fuzz::writeFile(dir + QStringLiteral("lang_031000.ini"), fuzz::bytesOf(data, size));

    Languages languages(dir);
    const QVariantMap listed = languages.chkLanguages();
    FUZZ_CHECK(listed.size() == 1);
    FUZZ_CHECK(listed.first().toString() == QLatin1String("031000"));

    const QStringList strings = languages.getGlobalStrings(QStringLiteral("031000"));
    // The font family and at most the ceiling of strings, whatever "font/total" says.
    FUZZ_CHECK(!strings.isEmpty() && strings.size() <= Languages::maxStrings + 1);
    FUZZ_CHECK(languages.msgStrings().size() == Languages::messageCount);
    FUZZ_CHECK(languages.productLayoutStrings(QStringLiteral("031000")).size() ==
               Languages::layoutCount);
    return 0;
}
