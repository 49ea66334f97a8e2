#pragma once

#include "Dialogs.h"

#include <QQueue>
#include <QStringList>

// Answers the program's dialogs from a script and records what was asked.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        QString kind; // "warning", "confirm", "open", "save", "choose"
        QString title;
        QString text; // message text, or the start folder of a file dialog
        QString filter;
    };

    ScriptedDialogs() { setDialogs(this); }
    ~ScriptedDialogs() override { setDialogs(nullptr); }

    // Answers, consumed in order; defaults: confirm -> false, file dialogs -> "" (cancel),
    // choose -> true (its first choice, as Escape gives).
    QQueue<bool> confirmAnswers;
    QQueue<bool> chooseAnswers;
    QQueue<QString> fileAnswers;
    QList<Shown> shown;

    void warning(QWidget *, const QString &title, const QString &text) override {
        shown.append({QStringLiteral("warning"), title, text, {}});
    }
    // A scripted box is gone once shown; an update reaches the last one.
    void updateWarning(const QString &text) override {
        if (!shown.isEmpty())
            shown.last().text = text;
    }
    bool confirm(QWidget *, const QString &title, const QString &text) override {
        shown.append({QStringLiteral("confirm"), title, text, {}});
        return confirmAnswers.isEmpty() ? false : confirmAnswers.dequeue();
    }
    QString openFileName(QWidget *, const QString &caption, const QString &dir,
                         const QString &filter) override {
        shown.append({QStringLiteral("open"), caption, dir, filter});
        return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
    }
    QString saveFileName(QWidget *, const QString &caption, const QString &dir,
                         const QString &filter) override {
        shown.append({QStringLiteral("save"), caption, dir, filter});
        return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
    }

    // Recorded with the two choices, "first|second", as its filter.
    bool choose(QWidget *, const QString &title, const QString &text, const QString &first,
                const QString &second) override {
        shown.append({QStringLiteral("choose"), title, text, first + QLatin1Char('|') + second});
        return chooseAnswers.isEmpty() ? true : chooseAnswers.dequeue();
    }

    int count(const QString &kind) const {
        int n = 0;
        for (const Shown &s : shown)
            n += s.kind == kind;
        return n;
    }
};
