#include "Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

void QtDialogs::warning(QWidget *parent, const QString &title, const QString &text) {
    QMessageBox::warning(parent, title, text, QMessageBox::Ok, QMessageBox::NoButton);
}

bool QtDialogs::confirm(QWidget *parent, const QString &title, const QString &text) {
    return QMessageBox::warning(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                                QMessageBox::Cancel) == QMessageBox::Ok;
}

QString QtDialogs::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                const QString &filter) {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString QtDialogs::saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                const QString &filter) {
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

namespace {
Dialogs *installed = nullptr;
}

Dialogs &dialogs() {
    static QtDialogs real;
    return installed ? *installed : real;
}

void setDialogs(Dialogs *provider) { installed = provider; }
