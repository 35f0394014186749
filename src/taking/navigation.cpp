#include "app/form.h"

namespace corvane {

void TForm1::begintest() {}

void TForm1::drawquestion() {}

void TForm1::printquestionno(const Text&) {}

void TForm1::INextMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void TForm1::IPreviousMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void TForm1::IRewMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void TForm1::IFFMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void TForm1::goOn() {}

} // namespace corvane
