#include "app/form.h"

namespace corvane {

void TForm1::MultiClick(QObject*) {}

void TForm1::LabelOrderClick(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void TForm1::OrderClearClick(QObject*) {}

void TForm1::SingleEnterChange(QObject*) {}

void TForm1::recordOption(std::int32_t) {}

} // namespace corvane
