#pragma once

#include <QString>

class QWidget;

// Every box and file dialog the program shows goes through this interface, so that a
// test can answer them and see what was asked. The program installs QtDialogs.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A warning box with a single OK button.
    virtual void warning(QWidget *parent, const QString &title, const QString &text) = 0;
    // Replaces the text of the warning box that is up now, if one is.
    virtual void updateWarning(const QString &text) = 0;
    // A warning box with OK and Cancel, Cancel the default; true only for OK.
    virtual bool confirm(QWidget *parent, const QString &title, const QString &text) = 0;
    // The platform's file dialogs; an empty string means the user cancelled. dir is the folder
    // to open in, or that folder and a proposed name of the filter's kind ("./P02.pf").
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    // A question with two answers, each on a button of its own labelled with what it does;
    // true for `first`, which is also the default and what Escape or closing the box gives.
    virtual bool choose(QWidget *parent, const QString &title, const QString &text,
                        const QString &first, const QString &second) = 0;
};

// The real dialogs (QMessageBox, QFileDialog).
class QtDialogs : public Dialogs {
public:
    void warning(QWidget *parent, const QString &title, const QString &text) override;
    void updateWarning(const QString &text) override;
    bool confirm(QWidget *parent, const QString &title, const QString &text) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    bool choose(QWidget *parent, const QString &title, const QString &text,
                const QString &first, const QString &second) override;
};

// The process-wide dialog provider; QtDialogs unless a test installed its own.
Dialogs &dialogs();
// Installs a provider (not owned); nullptr restores the real dialogs.
void setDialogs(Dialogs *provider);
