// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/form_hints.h"

#include "core/marking_rules.h"

#include <QRegularExpression>

#include <initializer_list>

namespace corvane::make {

namespace {

// The number with every digit changed and its signs kept ("1,245" gives "2,356"): the same
// form, never the same number. A lone 0 in front of the point stays, as in 0.5.
QString shiftedNumber(const QString& number) {
    QString shifted = number;
    for (qsizetype i = 0; i < shifted.size(); ++i) {
        const QChar c = shifted[i];
        if (!c.isDigit()) continue;
        const bool runStart = i == 0 || !number[i - 1].isDigit();
        if (runStart && c == QLatin1Char('0') && i + 1 < number.size() &&
            number[i + 1] == QLatin1Char('.'))
            continue;
        const int digit = c.digitValue();
        shifted[i] = QChar('0' + (runStart && digit == 9 ? 1 : (digit + 1) % 10));
    }
    return shifted;
}

// The first example that a pupil could type and still be marked wrong: one of `examples`, or,
// where a question accepts them all, the last with its digits changed until one is wrong.
QString firstWrong(const QuestionStore& store, int q, std::initializer_list<const char*> examples) {
    QuestionStore trial = store;
    QString example;
    for (const char* written : examples) {
        example = QString::fromLatin1(written);
        trial.userText[q] = written;
        if (!isQuestionRight(trial, q)) return example;
    }
    for (int tries = 0; tries < 10 && isQuestionRight(trial, q); ++tries) {
        example = shiftedNumber(example);
        trial.userText[q] = fromQt(example);
    }
    return example;
}

QString moneyHint(const QuestionStore& store, int q) {
    const Text& stored = store.answerText[q];
    const QString example = stored.starts_with("0.")  ? firstWrong(store, q, {"0.35", "0.45"})
                            : stored.ends_with(".00") ? firstWrong(store, q, {"5.00", "3.00"})
                                                      : firstWrong(store, q, {"2.35", "4.60"});
    return QStringLiteral("Write pounds and pence, like %1.").arg(example);
}

QString timeHint(const QuestionStore& store, int q) {
    const Text form = timeForm(store.answerText[q]);
    if (form.ends_with("AM") || form.ends_with("PM"))
        return QStringLiteral("Write the time with am or pm, like %1.")
            .arg(firstWrong(store, q, {"4:50 pm", "7:25 am"}));
    return QStringLiteral("Write the time like %1.").arg(firstWrong(store, q, {"4:50", "7:25"}));
}

QString pairHint(const QString& written, const QuestionStore& store, int q) {
    static const QRegularExpression remainder(QStringLiteral("\\d\\s*r"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QString example =
        remainder.match(written).hasMatch()  ? firstWrong(store, q, {"6 r 2", "5 r 1"})
        : written.contains(QLatin1Char('/')) ? firstWrong(store, q, {"2/5", "3/7"})
                                             : firstWrong(store, q, {"6, 2", "5, 1"});
    return QStringLiteral("Write the two numbers like %1.").arg(example);
}

} // namespace

QString formHint(AnswerKind kind, const QString& written, const QuestionStore& store, int q) {
    switch (kind) {
    case AnswerKind::Money:
        return moneyHint(store, q);
    case AnswerKind::Number:
        return QStringLiteral("Write the number like %1.")
            .arg(shiftedNumber(toQt(store.answerText[q])));
    case AnswerKind::Time:
        return timeHint(store, q);
    case AnswerKind::Pair:
    case AnswerKind::Pairs:
        return pairHint(written, store, q);
    default:
        return {};
    }
}

} // namespace corvane::make
