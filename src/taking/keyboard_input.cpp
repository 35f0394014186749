#include "app/form.h"

namespace corvane {

void TForm1::FormKeyDown(QObject*, std::uint16_t&, Qt::KeyboardModifiers) {}

} // namespace corvane
