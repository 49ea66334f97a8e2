#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

// The installed interface languages: one UTF-8 INI file per language in the i18n folder,
// named "lang_" + LLLCCC + ".ini" (LLL a Qt 4.8 language number, CCC a Qt 4.8 country
// number). The view owns one instance; besides answering the three language slots it keeps
// the message strings of the language loaded last, which the view's own boxes use.
class Languages {
public:
    explicit Languages(QString directory = QStringLiteral("./modules/i18n/"));

    // Display name -> six-character code, one entry per language file, ordered by display
    // name (the order the settings page lists and stores the choice in).
    QVariantMap chkLanguages() const;

    // Font family, then interface strings 1..N of the language. Also replaces msgStrings
    // with the language's messageCount message strings and remembers langCode as the current one.
    // Keys a present file lacks are read from the English file of the same folder.
    QStringList getGlobalStrings(const QString &langCode);

    // The names of the product's 16 key positions; empty where the product has no key.
    QStringList productLayoutStrings(const QString &langCode) const;

    // Every text of one section of the language last loaded, by key; keys the file lacks come
    // from the English file. For parts of the interface with named texts of their own rather
    // than numbered strings; empty when neither file has the section.
    QVariantMap sectionTexts(const QString &section) const;

    // The message strings of the language last loaded; empty before any load.
    const QStringList &msgStrings() const { return m_msgStrings; }
    // The code last passed to getGlobalStrings; empty before any load.
    const QString &currentLanguage() const { return m_current; }

    // "CHINESE (Simp)", "ENGLISH", "GERMAN (AUSTRIA)" ... for Qt 4.8 numbers.
    static QString displayName(int language, int country);

    static constexpr int messageCount = 16;
    static constexpr int layoutCount = 16;
    // Ceiling on "font/total": a damaged file must not make us allocate billions of entries.
    static constexpr int maxStrings = 4096;

private:
    QString filePath(const QString &langCode) const;
    // The English file, which stands in for the keys another language file lacks.
    QString englishPath() const;

    QString m_directory;
    QStringList m_msgStrings;
    QString m_current;
};
