# Turns the two tables of Qt 4.8 locale numbers and English names into a C++ source.
# Run as: cmake -DLANGUAGES=<tsv> -DCOUNTRIES=<tsv> -DOUTPUT=<cpp> -P GenerateLocaleNames.cmake
# Each table: a header line, then "<number><TAB><name>" with numbers rising from 0.

function(q7_read_table path out_var)
    file(STRINGS "${path}" lines ENCODING UTF-8)
    list(POP_FRONT lines header)
    set(body "")
    set(expected 0)
    foreach(line IN LISTS lines)
        if(line STREQUAL "")
            continue()
        endif()
        if(NOT line MATCHES "^([0-9]+)\t([^\t]+)$")
            message(FATAL_ERROR "${path}: malformed line '${line}'")
        endif()
        set(number ${CMAKE_MATCH_1})
        set(name "${CMAKE_MATCH_2}")
        # The C++ side indexes the array by number, so the table must have no gaps.
        if(NOT number EQUAL expected)
            message(FATAL_ERROR "${path}: expected number ${expected}, found ${number}")
        endif()
        if(name MATCHES "[\"\\\\]")
            message(FATAL_ERROR "${path}: name '${name}' holds a quote or backslash")
        endif()
        string(APPEND body "    \"${name}\",\n")
        math(EXPR expected "${expected} + 1")
    endforeach()
    if(expected EQUAL 0)
        message(FATAL_ERROR "${path}: no entries")
    endif()
    set(${out_var} "${body}" PARENT_SCOPE)
endfunction()

q7_read_table("${LANGUAGES}" languages)
q7_read_table("${COUNTRIES}" countries)

set(text "// Generated from i18n/data/qt48-*.tsv by GenerateLocaleNames.cmake; do not edit.
#include \"Qt48LocaleNames.h\"

#include <iterator>

namespace {
const char *const languageNames[] = {
${languages}};
const char *const countryNames[] = {
${countries}};

template <std::size_t N> QString lookUp(const char *const (&names)[N], int number) {
    // Qt 4.8 answered \"Unknown\" for any number past its last enumerator.
    if (number < 0 || static_cast<std::size_t>(number) >= N)
        return QStringLiteral(\"Unknown\");
    return QString::fromLatin1(names[number]);
}
} // namespace

QString qt48LanguageName(int language) { return lookUp(languageNames, language); }
QString qt48CountryName(int country) { return lookUp(countryNames, country); }
int qt48LastLanguage() { return int(std::size(languageNames)) - 1; }
int qt48LastCountry() { return int(std::size(countryNames)) - 1; }
")

file(WRITE "${OUTPUT}" "${text}")
