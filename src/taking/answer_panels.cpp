#include "app/form.h"

namespace corvane {

void TForm1::drawsingle() {}

void TForm1::drawmultientry() {}

void TForm1::drawmultiple() {}

void TForm1::draworder() {}

} // namespace corvane
