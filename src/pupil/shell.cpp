// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/error_text.h"
#include "pupil/form.h"
#include "pupil/record_keeper.h"

#include <QApplication>
#include <QFile>

namespace corvane {
namespace {

constexpr int kFillWidth = 800;
constexpr int kFillHeight = 600;

// Switches back to the size saved at start, once: the flag is cleared so that a close after
// Quit (or after a termination signal) does not switch the display a second time.
void restoreDisplayMode(TForm1& form) {
    if (!form.displayModeChanged) return;
    form.displayModeChanged = false;
    form.seams().display.setMode(form.savedScreenWidth, form.savedScreenHeight);
}

} // namespace

// Offers to switch the display so that the fixed-size window fills the screen. The switch is
// temporary: the saved size comes back on every way out, and nothing is stored.
void TForm1::FormCreate(QObject*) {
    const QSize screen = seams_.display.screenSize();
    savedScreenWidth = screen.width();
    savedScreenHeight = screen.height();
    displayModeChanged = false;
    if (savedScreenWidth == kFillWidth && savedScreenHeight == kFillHeight) return;
    if (seams_.settings.read().displayOffer == DisplayOffer::Never) return;

    if (seams_.dialogs.offerDisplayMode(
            "Do you want to change the resolution so to fill the screen ?", "Fill Screen")) {
        displayModeChanged = true;
        seams_.display.setMode(kFillWidth, kFillHeight);
    }
}

void TForm1::FormClose(QObject*) {
    restoreDisplayMode(*this);
    recordKeeper_->saveKeptBeforeClosing();
}

void TForm1::IQuitClick(QObject*) {
    QCoreApplication::quit();
    restoreDisplayMode(*this);
    recordKeeper_->saveKeptBeforeClosing();
}

void TForm1::IHelpClick(QObject*) {
    const QString file = QFile::decodeName(QByteArray::fromStdString(helpFilePath));
    seams_.documents.open(helpFilePath, this, [this, file](const QString& reason) {
        seams_.dialogs.showMessage(
            QStringLiteral("The help could not be opened: %1. It is the file %2.")
                .arg(reason, file));
    });
}

void TForm1::showErrorBox(const Text& message) {
    seams_.dialogs.errorBox(toQt(errorBoxText(message)), QApplication::applicationName());
}

} // namespace corvane
