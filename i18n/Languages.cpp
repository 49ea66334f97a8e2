#include "Languages.h"

#include "IniFormat.h"
#include "Qt48LocaleNames.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace {

const QString filePrefix = QStringLiteral("lang_");

// A translator's unquoted comma turns a value into a list; give the text back rather
// than an empty string.
QString textOf(const QVariant &value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

// A language file's values. When the file is there but lacks a key (cut short by a failed
// copy, or from an older release), the English file's value stands in, so the pages show
// English text rather than empty labels. A file that is not there at all stays empty.
class TextSource {
public:
    TextSource(const QString &path, const QString &englishPath)
        : file(path, utf8IniFormat()), englishPath(englishPath),
          present(QFileInfo(path).isFile() && QFileInfo(path) != QFileInfo(englishPath)) {}

    QVariant value(const QString &key) {
        if (file.contains(key) || !present)
            return file.value(key);
        if (!english)
            english = std::make_unique<QSettings>(englishPath, utf8IniFormat());
        return english->value(key);
    }
    QString text(const QString &key) { return textOf(value(key)); }

    // The keys of a section in this file and, for a present file, in the English one.
    QStringList keysOf(const QString &section) {
        QStringList keys = childKeys(file, section);
        if (present) {
            if (!english)
                english = std::make_unique<QSettings>(englishPath, utf8IniFormat());
            for (const QString &key : childKeys(*english, section))
                if (!keys.contains(key))
                    keys.append(key);
        }
        return keys;
    }

private:
    static QStringList childKeys(QSettings &settings, const QString &section) {
        settings.beginGroup(section);
        const QStringList keys = settings.childKeys();
        settings.endGroup();
        return keys;
    }

    QSettings file;
    QString englishPath;
    bool present;
    std::unique_ptr<QSettings> english;
};

} // namespace

Languages::Languages(QString directory) : m_directory(std::move(directory)) {}

QString Languages::displayName(int language, int country) {
    QString name = qt48LanguageName(language).toUpper();
    if (country == 44)
        name += QStringLiteral(" (Simp)");
    else if (country == 208)
        name += QStringLiteral(" (Trad)");
    else if (country != 0)
        name += QStringLiteral(" (") + qt48CountryName(country).toUpper() + QLatin1Char(')');
    return name;
}

QVariantMap Languages::chkLanguages() const {
    QVariantMap languages;
    const QStringList names = QDir(m_directory)
                                  .entryList({filePrefix + QStringLiteral("*.ini")}, QDir::Files,
                                             QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names) {
        // The code is whatever stands where LLLCCC belongs, even in a malformed name; its
        // strings then simply come back empty.
        const QString code = name.mid(filePrefix.size(), 6);
        const int language = code.left(3).toInt();
        const int country = code.right(3).toInt();
        languages.insert(displayName(language, country), code);
    }
    return languages;
}

QString Languages::filePath(const QString &langCode) const {
    // Codes come from file names and never hold a separator; refusing them keeps a code
    // from naming a file outside the language folder.
    if (langCode.contains(QLatin1Char('/')) || langCode.contains(QLatin1Char('\\')))
        return {};
    return m_directory + (m_directory.endsWith(QLatin1Char('/')) ? "" : "/") + filePrefix +
           langCode + QStringLiteral(".ini");
}

QString Languages::englishPath() const { return filePath(QStringLiteral("031000")); }

QStringList Languages::getGlobalStrings(const QString &langCode) {
    m_current = langCode;
    const QString path = filePath(langCode);

    QStringList strings;
    m_msgStrings.clear();
    if (path.isEmpty()) {
        strings.append(QString());
        for (int k = 0; k < messageCount; ++k)
            m_msgStrings.append(QString());
        return strings;
    }

    TextSource file(path, englishPath());
    strings.append(file.text(QStringLiteral("font/family")));
    const int total = qBound(0, file.value(QStringLiteral("font/total")).toInt(), maxStrings);
    strings.reserve(total + 1);
    for (int k = 1; k <= total; ++k)
        strings.append(file.text(QStringLiteral("strings/%1").arg(k)));
    for (int k = 0; k < messageCount; ++k)
        m_msgStrings.append(file.text(QStringLiteral("msg/%1").arg(k)));
    return strings;
}

QStringList Languages::productLayoutStrings(const QString &langCode) const {
    QStringList names;
    const QString path = filePath(langCode);
    if (path.isEmpty()) {
        for (int k = 0; k < layoutCount; ++k)
            names.append(QString());
        return names;
    }
    TextSource file(path, englishPath());
    for (int k = 0; k < layoutCount; ++k)
        names.append(file.text(QStringLiteral("Q7_133C6AA/%1").arg(k)));
    return names;
}

QVariantMap Languages::sectionTexts(const QString &section) const {
    QVariantMap texts;
    // A section name never holds a separator, which would reach into another section.
    if (section.isEmpty() || section.contains(QLatin1Char('/')) || section.contains(QLatin1Char('\\')))
        return texts;
    const QString path = filePath(m_current.isEmpty() ? QStringLiteral("031000") : m_current);
    if (path.isEmpty())
        return texts;
    TextSource file(path, englishPath());
    for (const QString &key : file.keysOf(section))
        texts.insert(key, file.text(section + QLatin1Char('/') + key));
    return texts;
}
