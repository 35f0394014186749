// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/question_templates.h"

namespace corvane::teacher {

const std::vector<QuestionTemplate>& questionTemplates() {
    static const std::vector<QuestionTemplate> templates{
        {QStringLiteral("&One answer (A–E)"),
         QStringLiteral("## Which fraction is the biggest?\n- [ ] 1/4\n- [x] 1/2\n- [ ] 1/3\n")},
        {QStringLiteral("&Tick all that are right"),
         QStringLiteral("## Which of these are the same as one half?\nTick **every** one that "
                        "is.\n\n- [x] 2/4\n- [ ] 2/3\n- [x] 5/10\n")},
        {QStringLiteral("&Yes or no"), QStringLiteral("## Is 3/6 the same as 1/2?\nAnswer: yes\n")},
        {QStringLiteral("Put in o&rder"),
         QStringLiteral("## Put these numbers in order, smallest first.\n"
                        "- 305\n- 53\n- 35\n\nOrder: 35, 53, 305\n")},
        {QStringLiteral("Put in order with own &labels"),
         QStringLiteral("## Put the numbers in order, biggest first.\n- 7\n- 70\n- 17\n\n"
                        "Labelled order: [Biggest:] 70, 17, 7\n")},
        {QStringLiteral("Type a &word"), QStringLiteral("## Spell the number 40.\nWord: forty\n")},
        {QStringLiteral("Type an a&mount of money"),
         QStringLiteral("## What is half of £3?\nMoney: £1.50\n")},
        {QStringLiteral("Type a &number"), QStringLiteral("## What is 3 × 415?\nNumber: 1,245\n")},
        {QStringLiteral("Type a t&ime"),
         QStringLiteral("## The clock shows half past two. Write the time.\nTime: 2:30\n")},
        {QStringLiteral("Type two n&umbers (4 r 1)"),
         QStringLiteral("## Share 23 sweets between 5 children.\nWrite it like **4 r 1**.\n\n"
                        "Pair: 4 r 3\n")},
        {QStringLiteral("Type two numbers, &several answers right"),
         QStringLiteral("## Write a fraction equal to one half.\nPairs: 1/2 or 2/4 or 3/6\n")},
    };
    return templates;
}

const std::vector<QuestionTemplate>& mathsTemplates() {
    static const std::vector<QuestionTemplate> templates{
        {QStringLiteral("&Fraction"), QStringLiteral("$\\frac{3}{4}$")},
        {QStringLiteral("&Power"), QStringLiteral("$5^{2}$")},
        {QStringLiteral("S&quare root"), QStringLiteral("$\\sqrt{49}$")},
        {QStringLiteral("Mi&xed number"), QStringLiteral("$3\\frac{1}{4}$")},
    };
    return templates;
}

} // namespace corvane::teacher
