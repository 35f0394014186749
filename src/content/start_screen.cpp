#include "app/form.h"

namespace corvane {

void TForm1::FormActivate(QObject*) {}

void TForm1::FileListMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void TForm1::IStartOkClick(QObject*) {}

void TForm1::ClickStartClick(QObject*) {}

void TForm1::drawfrontpage() {}

void TForm1::loadfile() {}

} // namespace corvane
