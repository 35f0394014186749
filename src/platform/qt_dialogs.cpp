// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace corvane {

void QtDialogs::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                    owner_);
    box.exec();
}

bool QtDialogs::confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text,
                    QMessageBox::Yes | QMessageBox::No, owner_);
    return box.exec() == QMessageBox::Yes;
}

QString QtDialogs::inputBox(const QString& title, const QString& prompt, const QString& defaultText,
                            bool hidden) {
    bool ok = false;
    const QString text = QInputDialog::getText(
        owner_, title, prompt, hidden ? QLineEdit::Password : QLineEdit::Normal, defaultText, &ok);
    return ok ? text : defaultText;
}

void QtDialogs::errorBox(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, owner_);
    box.exec();
}

bool QtDialogs::offerDisplayMode(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, owner_);
    return box.exec() == QMessageBox::Yes;
}

} // namespace corvane
