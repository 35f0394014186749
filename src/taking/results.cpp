#include "app/form.h"

namespace corvane {

void TForm1::IFinishClick(QObject*) {}

void TForm1::IResetClick(QObject*) {}

void TForm1::IReviewClick(QObject*) {}

} // namespace corvane
