// The keyboard: Enter goes on as Next does, the letters A..E tick the options of a choice
// question. Every key press of the window arrives here first and still reaches the focused
// control afterwards.
#include "pupil/form.h"

namespace corvane {

namespace {

constexpr std::uint16_t kEnterKey = 13;
constexpr std::uint16_t kKeyA = 65;
constexpr std::uint16_t kKeyE = 69;

} // namespace

void TForm1::FormKeyDown(QObject*, std::uint16_t& Key, Qt::KeyboardModifiers) {
    // Nothing on the results screen expects keys; the question screen behind it stays as it is.
    if (ResultPanel->isVisibleTo(this)) return;

    if (Key == kEnterKey) goOn();
    if (currentQuestion <= 0) return;
    if (Key < kKeyA || Key > kKeyE) return;

    // Options are ticked only on choice questions, never while reviewing, and only among the
    // options on show.
    const std::int32_t type = store.questionType[currentQuestion];
    if (type != KSINGLECHOICE && type != KMULTICHOICE) return;
    if (reviewMode) return;
    const std::int32_t option = Key - kKeyA + 1;
    if (option > store.optionCount[currentQuestion]) return;
    recordOption(option);
}

} // namespace corvane
