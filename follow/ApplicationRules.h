#pragma once

#include "ActiveWindowSource.h"

#include <QList>
#include <QString>

#include <optional>

// Which profile goes with which application: an ordered list, first match wins, plus what
// happens when none matches. Kept in a file of its own in the settings' INI form; the program
// only reads it, and writes it when the user changes the rules.
class ApplicationRules {
public:
    static constexpr int profileCount = 5;

    struct Rule {
        enum class Field { WindowClass, Executable };
        Field field = Field::WindowClass;
        QString name;    // compared exactly, ignoring case
        int profile = 1; // 1..5; a rule naming any other profile never matches
    };

    // The profile for this application, or nothing when the current one should stay.
    // A class rule matches either part of the window class (instance or class).
    std::optional<int> profileFor(const ActiveWindowInfo &window) const;

    QList<Rule> rules() const { return m_rules; }
    // 0 keeps the current profile, 1..5 switches to that one.
    int noMatchProfile() const { return m_noMatchProfile; }

    // Reads the file. A missing file means no rules. A file that cannot be read or is not
    // understood is ignored with a warning (no rules), and left as it is: save() refuses
    // to replace it until the user sets rules of their own.
    void load(const QString &path);
    bool damaged() const { return m_damaged; }

    // The user's edit: replaces the rules and writes them (atomically) at once.
    bool setRules(const QList<Rule> &rules, int noMatchProfile);

    // Writes the rules as they are; false when writing failed or the file on disk is a
    // damaged one the user has not replaced yet.
    bool save() const;

    QString path() const { return m_path; }

private:
    QList<Rule> m_rules;
    int m_noMatchProfile = 0;
    QString m_path;
    bool m_damaged = false;
};
