#include "Dialogs.h"

#include "DataPaths.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QWindow>

namespace {

// A dialog is a window of its own without a Qt parent: a parent's style sheet cascades into
// its dialogs, and the main window's "background: transparent" painted them black (black
// text on black) wherever no compositor draws the desktop behind. The window system's
// transient-for link keeps the dialog above the window, centred on it and modal to it.
void belongTo(QDialog &dialog, QWidget *parent, const QString &title) {
    QWidget *host = parent ? parent->window() : nullptr;
    QString shownTitle = title;
    if (shownTitle.isEmpty() && host)
        shownTitle = host->windowTitle();
    if (shownTitle.isEmpty())
        shownTitle = QGuiApplication::applicationDisplayName();
    dialog.setWindowTitle(shownTitle);
    if (host && host->windowHandle()) {
        dialog.setWindowModality(Qt::WindowModal);
        dialog.winId(); // the dialog's own window, to hang it on the host's
        dialog.windowHandle()->setTransientParent(host->windowHandle());
    } else {
        dialog.setWindowModality(Qt::ApplicationModal);
    }
}

// Box texts are often not the program's own (a message another process sent, a file or macro
// name), so they are never read as markup: no styling, no links, no pictures fetched.
void plainText(QMessageBox &box) {
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::NoTextInteraction);
}

// The warning box up now, for updateWarning; a question is never one.
QPointer<QMessageBox> warningUp;

QMessageBox::StandardButton showBox(QWidget *parent, const QString &title, const QString &text,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton byDefault,
                                    bool isWarning = false) {
    QMessageBox box(QMessageBox::Warning, title, text, buttons);
    plainText(box);
    box.setDefaultButton(byDefault);
    box.setEscapeButton(byDefault);
    belongTo(box, parent, title);
    const QPointer<QMessageBox> outer = warningUp;
    if (isWarning)
        warningUp = &box;
    const auto answer = QMessageBox::StandardButton(box.exec());
    warningUp = outer;
    return answer;
}

// The name patterns of a filter such as "Profile(*.pf)" or "A (*.a *.b);;B (*.c)".
QStringList filterPatterns(const QString &filter) {
    QStringList patterns;
    static const QRegularExpression inParentheses(QStringLiteral("\\(([^)]*)\\)"));
    for (const QString &part : filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = inParentheses.match(part);
        const QString list = m.hasMatch() ? m.captured(1) : part;
        patterns += list.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    return patterns;
}

// "pf" for "Profile(*.pf)": what a typed name without an ending gets when saved.
QString firstSuffix(const QStringList &patterns) {
    for (const QString &p : patterns)
        if (p.startsWith(QStringLiteral("*.")) && p.size() > 2 && !p.mid(2).contains(QLatin1Char('*')))
            return p.mid(2);
    return QString();
}

struct StartPlace {
    QString folder;
    QString name; // proposed file name, may be empty
};

// Where a file dialog opens, from the folder, or folder and proposed name, its caller gives:
// never a folder that is not there.
StartPlace startPlace(const QString &dir, const QString &filter) {
    const QFileInfo given(dir);
    if (dir.isEmpty())
        return {DataPaths::exchangeFolder(), QString()};
    if (given.isDir())
        return {given.absoluteFilePath(), QString()};
    // A last part of the file kind is the proposed name; anything else names a folder, and
    // one that is not there would show up as the proposed name ("Desktop").
    const QString name = given.fileName();
    const bool isName = !name.isEmpty() && QDir::match(filterPatterns(filter), name);
    const QString folder = isName ? given.absolutePath() : given.absoluteFilePath();
    return {QFileInfo(folder).isDir() ? folder : DataPaths::exchangeFolder(),
            isName ? name : QString()};
}

} // namespace

void QtDialogs::warning(QWidget *parent, const QString &title, const QString &text) {
    showBox(parent, title, text, QMessageBox::Ok, QMessageBox::Ok, true);
}

void QtDialogs::updateWarning(const QString &text) {
    if (warningUp)
        warningUp->setText(text);
}

bool QtDialogs::confirm(QWidget *parent, const QString &title, const QString &text) {
    return showBox(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                   QMessageBox::Cancel) == QMessageBox::Ok;
}

bool QtDialogs::choose(QWidget *parent, const QString &title, const QString &text,
                       const QString &first, const QString &second) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton);
    plainText(box);
    QPushButton *firstButton = box.addButton(first, QMessageBox::AcceptRole);
    box.addButton(second, QMessageBox::RejectRole);
    box.setDefaultButton(firstButton);
    box.setEscapeButton(firstButton);
    belongTo(box, parent, title);
    box.exec();
    return box.clickedButton() == firstButton;
}

namespace {

QString runFileDialog(QWidget *parent, const QString &caption, const QString &dir,
                             const QString &filter, QFileDialog::AcceptMode mode) {
    const StartPlace start = startPlace(dir, filter);
    // The desktop's own dialog where the platform theme offers one (GTK, KDE, the portal),
    // otherwise Qt's, in the application's palette.
    QFileDialog dialog(nullptr, caption, start.folder, filter);
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptSave) {
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(firstSuffix(filterPatterns(filter)));
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!start.name.isEmpty())
        dialog.selectFile(start.name);
    belongTo(dialog, parent, caption);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

} // namespace

QString QtDialogs::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                const QString &filter) {
    return runFileDialog(parent, caption, dir, filter, QFileDialog::AcceptOpen);
}

QString QtDialogs::saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                const QString &filter) {
    return runFileDialog(parent, caption, dir, filter, QFileDialog::AcceptSave);
}

namespace {
Dialogs *installed = nullptr;
}

Dialogs &dialogs() {
    static QtDialogs real;
    return installed ? *installed : real;
}

void setDialogs(Dialogs *provider) { installed = provider; }
