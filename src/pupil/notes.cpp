// SPDX-License-Identifier: GPL-3.0-or-later
// The two lines of words the program adds to its screens: the settings' first mistake on the
// start screen, where the teacher sees it before a pupil starts, and where the pupil's record
// is, under her score. Neither waits for an answer.
#include "core/settings_file.h"
#include "pupil/form.h"

#include <QAccessible>
#include <QLabel>

namespace corvane {
namespace {

void setNote(QLabel* note, const QString& text) {
    if (note->text() == text && note->isVisible() == !text.isEmpty()) return;
    note->setText(text);
    note->setToolTip(text);
    note->setVisible(!text.isEmpty());
    // A screen reader hears the new words without the focus moving.
    QAccessibleEvent changed(note, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

} // namespace

void TForm1::showRecordNote(const QString& line) {
    setNote(RecordNote, line);
}

void TForm1::tellSettingsProblem() {
    setNote(SettingsNote, settingsProblemText(seams().settings.read()));
}

} // namespace corvane
