#include "ApplicationRules.h"

#include "AtomicFile.h"
#include "Qt48Ini.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString noMatchKey = QStringLiteral("noMatch");
const QString stayValue = QStringLiteral("stay");
const QString rulesGroup = QStringLiteral("rules/");
const QString classValue = QStringLiteral("class");
const QString executableValue = QStringLiteral("executable");
// A hand-edited file could claim any size; more rules than this is not a list a user keeps.
constexpr int maxRules = 1000;

bool sameName(const QString &a, const QString &b) {
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<int> profileNumber(const QString &text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

} // namespace

std::optional<int> ApplicationRules::profileFor(const ActiveWindowInfo &window) const {
    for (const Rule &rule : m_rules) {
        if (rule.profile < 1 || rule.profile > profileCount)
            continue;
        const bool hit = rule.field == Rule::Field::Executable
                             ? sameName(rule.name, window.executable)
                             : sameName(rule.name, window.windowClass) ||
                                   sameName(rule.name, window.instance);
        if (hit)
            return rule.profile;
    }
    if (m_noMatchProfile >= 1 && m_noMatchProfile <= profileCount)
        return m_noMatchProfile;
    return std::nullopt;
}

void ApplicationRules::load(const QString &path) {
    m_path = path;
    m_rules.clear();
    m_noMatchProfile = 0;
    m_damaged = false;
    if (!QFileInfo::exists(path))
        return;

    auto reject = [&](const char *why) {
        qWarning().noquote() << "application rules in" << QDir::toNativeSeparators(path)
                             << "ignored:" << why;
        m_rules.clear();
        m_noMatchProfile = 0;
        m_damaged = true;
    };

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return reject("the file cannot be read");
    const qt48ini::Document doc = qt48ini::parse(file.readAll(), qt48ini::Codec::Latin1);
    if (!doc.ok)
        return reject("a line is not understood");

    QHash<QString, QString> values;
    for (const qt48ini::Entry &e : doc.entries)
        values.insert(e.key, e.value.toString());

    const QString noMatch = values.value(noMatchKey, stayValue);
    if (noMatch.compare(stayValue, Qt::CaseInsensitive) != 0) {
        const auto n = profileNumber(noMatch);
        if (!n || *n < 1 || *n > profileCount)
            return reject("the choice for other applications is not a profile");
        m_noMatchProfile = *n;
    }

    const auto size = profileNumber(values.value(rulesGroup + QStringLiteral("size"), QStringLiteral("0")));
    if (!size || *size < 0 || *size > maxRules)
        return reject("the number of rules is wrong");
    for (int i = 1; i <= *size; ++i) {
        const QString prefix = rulesGroup + QString::number(i) + QLatin1Char('/');
        Rule rule;
        const QString field = values.value(prefix + QStringLiteral("match"));
        if (field == classValue)
            rule.field = Rule::Field::WindowClass;
        else if (field == executableValue)
            rule.field = Rule::Field::Executable;
        else
            return reject("a rule matches on neither class nor executable");
        rule.name = values.value(prefix + QStringLiteral("name"));
        const auto profile = profileNumber(values.value(prefix + QStringLiteral("profile")));
        if (rule.name.isEmpty() || !profile)
            return reject("a rule lacks its name or profile");
        // Kept even when it names a profile that does not exist: it is the user's, it only
        // never matches.
        rule.profile = *profile;
        m_rules.append(rule);
    }
}

bool ApplicationRules::setRules(const QList<Rule> &rules, int noMatchProfile) {
    m_rules = rules;
    m_noMatchProfile = (noMatchProfile >= 1 && noMatchProfile <= profileCount) ? noMatchProfile : 0;
    m_damaged = false;
    return save();
}

bool ApplicationRules::save() const {
    if (m_damaged || m_path.isEmpty())
        return false;
    QList<qt48ini::Entry> entries;
    entries.append({noMatchKey, m_noMatchProfile ? QString::number(m_noMatchProfile) : stayValue});
    for (int i = 0; i < m_rules.size(); ++i) {
        const Rule &rule = m_rules.at(i);
        const QString prefix = rulesGroup + QString::number(i + 1) + QLatin1Char('/');
        entries.append({prefix + QStringLiteral("match"),
                        rule.field == Rule::Field::Executable ? executableValue : classValue});
        entries.append({prefix + QStringLiteral("name"), rule.name});
        entries.append({prefix + QStringLiteral("profile"), QString::number(rule.profile)});
    }
    entries.append({rulesGroup + QStringLiteral("size"), QString::number(m_rules.size())});

    QDir().mkpath(QFileInfo(m_path).absolutePath());
    return atomicfile::write(m_path, qt48ini::serialize(entries, qt48ini::Codec::Latin1));
}
