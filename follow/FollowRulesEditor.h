#pragma once

#include "ApplicationRules.h"

#include <QVariantList>
#include <QVariantMap>

#include <functional>

// What the rules list in the window reads and writes, in the values QML passes: a rule is a
// map {match: "class" | "executable", name, profile}. Only whole, valid lists are written, so
// a slip on the script side never reaches the file half done.
class FollowRulesEditor {
public:
    FollowRulesEditor(ApplicationRules *rules, std::function<ActiveWindowInfo()> lastApplication,
                      std::function<bool()> watching);

    // {rules: [...], noMatch: 0..5 (0 stays), damaged: the file on disk could not be read and
    //  is kept until this list is saved, watching: the desktop reports active windows,
    //  source: the desktop mechanism that reports them, hint: the key of the sentence saying
    //  which applications go unseen and how to change that, or empty}
    QVariantMap state() const;
    void setSource(const QString &kind, const QString &hintKey) {
        sourceKind = kind;
        hint = hintKey;
    }
    // {instance, windowClass, executable} of the application active last, empty texts when
    // none has been seen.
    QVariantMap lastApplication() const;
    // Replaces the rules and writes the file; false, and nothing changed, when an entry is
    // not a rule (no name, a name with control characters, a profile that is not a number, an
    // unknown match) or noMatch is outside 0..5; false too when the file could not be written.
    // A profile outside 1..5 (from a hand-edited file) is kept as it is: it never matches.
    bool save(const QVariantList &rules, int noMatch);

    // The text shown when a rule switched: %1 the profile's label (P01..P05), %2 the
    // application's name as the rules list shows it.
    static QString switchNotice(const QString &pattern, int profile, const ActiveWindowInfo &app);
    static QString profileLabel(int profile);
    static QString applicationName(const ActiveWindowInfo &app);

    // Longest name a rule takes: window classes are short; anything past this was pasted by mistake.
    static constexpr int maxNameLength = 256;

private:
    ApplicationRules *rules;
    std::function<ActiveWindowInfo()> last;
    std::function<bool()> isWatching;
    QString sourceKind;
    QString hint;
};
