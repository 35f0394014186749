#include "app/error_text.h"
#include "app/form.h"

#include <QApplication>

namespace corvane {

void TForm1::FormCreate(QObject*) {}

void TForm1::FormClose(QObject*) {}

void TForm1::IQuitClick(QObject*) {}

void TForm1::IHelpClick(QObject*) {}

void TForm1::showErrorBox(const Text& message) {
    seams_.dialogs.errorBox(toQt(errorBoxText(message)), QApplication::applicationName());
}

} // namespace corvane
