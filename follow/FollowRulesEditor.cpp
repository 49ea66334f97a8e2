#include "FollowRulesEditor.h"

#include <utility>

namespace {

const QString classMatch = QStringLiteral("class");
const QString executableMatch = QStringLiteral("executable");

bool plainName(const QString &name) {
    if (name.isEmpty() || name.size() > FollowRulesEditor::maxNameLength)
        return false;
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return false;
    return true;
}

} // namespace

FollowRulesEditor::FollowRulesEditor(ApplicationRules *rules,
                                     std::function<ActiveWindowInfo()> lastApplication,
                                     std::function<bool()> watching)
    : rules(rules), last(std::move(lastApplication)), isWatching(std::move(watching)) {}

QVariantMap FollowRulesEditor::state() const {
    QVariantList list;
    for (const ApplicationRules::Rule &rule : rules->rules())
        list.append(QVariantMap{
            {QStringLiteral("match"),
             rule.field == ApplicationRules::Rule::Field::Executable ? executableMatch : classMatch},
            {QStringLiteral("name"), rule.name},
            {QStringLiteral("profile"), rule.profile}});
    return {{QStringLiteral("rules"), list},
            {QStringLiteral("noMatch"), rules->noMatchProfile()},
            {QStringLiteral("damaged"), rules->damaged()},
            {QStringLiteral("watching"), isWatching && isWatching()},
            {QStringLiteral("source"), sourceKind},
            {QStringLiteral("hint"), hint}};
}

QVariantMap FollowRulesEditor::lastApplication() const {
    const ActiveWindowInfo app = last ? last() : ActiveWindowInfo();
    return {{QStringLiteral("instance"), app.instance},
            {QStringLiteral("windowClass"), app.windowClass},
            {QStringLiteral("executable"), app.executable}};
}

bool FollowRulesEditor::save(const QVariantList &list, int noMatch) {
    if (noMatch < 0 || noMatch > ApplicationRules::profileCount)
        return false;
    QList<ApplicationRules::Rule> parsed;
    for (const QVariant &item : list) {
        const QVariantMap map = item.toMap();
        ApplicationRules::Rule rule;
        const QString match = map.value(QStringLiteral("match")).toString();
        if (match == classMatch)
            rule.field = ApplicationRules::Rule::Field::WindowClass;
        else if (match == executableMatch)
            rule.field = ApplicationRules::Rule::Field::Executable;
        else
            return false;
        rule.name = map.value(QStringLiteral("name")).toString().trimmed();
        bool ok = false;
        rule.profile = map.value(QStringLiteral("profile")).toInt(&ok);
        if (!ok || !plainName(rule.name))
            return false;
        parsed.append(rule);
    }
    return rules->setRules(parsed, noMatch);
}

QString FollowRulesEditor::profileLabel(int profile) {
    return QStringLiteral("P%1").arg(profile, 2, 10, QLatin1Char('0'));
}

QString FollowRulesEditor::applicationName(const ActiveWindowInfo &app) {
    if (!app.windowClass.isEmpty())
        return app.windowClass;
    if (!app.instance.isEmpty())
        return app.instance;
    return app.executable;
}

QString FollowRulesEditor::switchNotice(const QString &pattern, int profile,
                                        const ActiveWindowInfo &app) {
    // One pass over the pattern: an application named "%1" stays as it is.
    return QString(pattern).arg(profileLabel(profile), applicationName(app));
}
