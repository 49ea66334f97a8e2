#include "Languages.h"

#include "IniFormat.h"
#include "Qt48LocaleNames.h"

#include <QDir>
#include <QSettings>

namespace {

const QString filePrefix = QStringLiteral("lang_");

// A translator's unquoted comma turns a value into a list; give the text back rather
// than an empty string.
QString textOf(const QVariant &value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

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

    QSettings file(path, utf8IniFormat());
    strings.append(textOf(file.value(QStringLiteral("font/family"), QString())));
    const int total = qBound(0, file.value(QStringLiteral("font/total"), 0).toInt(), maxStrings);
    strings.reserve(total + 1);
    for (int k = 1; k <= total; ++k)
        strings.append(textOf(file.value(QStringLiteral("strings/%1").arg(k), QString())));
    for (int k = 0; k < messageCount; ++k)
        m_msgStrings.append(textOf(file.value(QStringLiteral("msg/%1").arg(k), QString())));
    return strings;
}

QStringList Languages::q7_getProductLayoutStrings(const QString &langCode) const {
    QStringList names;
    const QString path = filePath(langCode);
    if (path.isEmpty()) {
        for (int k = 0; k < layoutCount; ++k)
            names.append(QString());
        return names;
    }
    QSettings file(path, utf8IniFormat());
    for (int k = 0; k < layoutCount; ++k)
        names.append(textOf(file.value(QStringLiteral("Q7_133C6AA/%1").arg(k), QString())));
    return names;
}
