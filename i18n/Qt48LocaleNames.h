#pragma once

#include <QString>

// English names of the Qt 4.8 QLocale::Language and QLocale::Country enumerators, by their
// Qt 4.8 numbers. Language file names carry those numbers, and Qt 6 renumbered both
// enumerations, so the program keeps its own copy of the old table (generated from
// i18n/data/*.tsv at build time).
// Numbers outside the table give "Unknown", as Qt 4.8 did.
QString qt48LanguageName(int language);
QString qt48CountryName(int country);
int qt48LastLanguage();
int qt48LastCountry();
