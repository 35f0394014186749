// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <vector>

namespace corvane::teacher {

// A ready question of one kind, for the Insert menu: its menu text (what the pupil does) and its
// source lines.
struct QuestionTemplate {
    QString title;
    QString source;
};

// One template for each of the eleven kinds of question, in the order of the Insert menu.
const std::vector<QuestionTemplate>& questionTemplates();

// The maths of the Insert menu, written where the cursor is: a fraction, a power, a square root
// and a mixed number, with numbers for the teacher to change.
const std::vector<QuestionTemplate>& mathsTemplates();

} // namespace corvane::teacher
