// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/check/mark.h"

#include "core/app_error.h"
#include "core/marking_rules.h"
#include "tools/check/wording.h"

#include <QStringDecoder>

namespace corvane::check {

namespace {

// The option number of a letter A..E (either case), or 0.
int optionOf(QChar letter) {
    const char c = letter.toUpper().toLatin1();
    return c >= 'A' && c <= 'E' ? c - 'A' + 1 : 0;
}

QString letterOf(int option) {
    return option >= 1 && option <= kMaxOptions ? QString(QChar('A' + option - 1))
                                                : QStringLiteral("?");
}

QString enterLetters(QuestionStore& store, int q, const QString& answer, bool order) {
    const QString letters = answer.simplified().remove(QLatin1Char(' '));
    if (order && letters.size() > store.optionCount[q])
        return QStringLiteral("more items than the %1 places").arg(store.optionCount[q]);
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const int option = optionOf(letters[i]);
        if (option == 0 || option > store.optionCount[q])
            return QStringLiteral("%1 is not one of the %2 options")
                .arg(letters[i])
                .arg(store.optionCount[q]);
        if (!order) {
            store.userMarks[q][option] = 1;
        } else if (letters.indexOf(letters[i]) != i) {
            return QStringLiteral("%1 appears twice").arg(letters[i]);
        } else {
            store.userMarks[q][static_cast<int>(i) + 1] = option;
        }
    }
    return {};
}

QString enterYesNo(QuestionStore& store, int q, const QString& answer) {
    const QString word = answer.trimmed().toUpper();
    if (word == QLatin1String("YES") || word == QLatin1String("Y"))
        store.userMarks[q][1] = 1;
    else if (word == QLatin1String("NO") || word == QLatin1String("N"))
        store.userMarks[q][2] = 1;
    else if (!word.isEmpty())
        return QStringLiteral("the answer must be Yes or No");
    return {};
}

QString enterAnswer(QuestionStore& store, int q, const QString& answer) {
    switch (store.questionType[q]) {
    case KSINGLECHOICE:
    case KMULTICHOICE:
        return enterLetters(store, q, answer, false);
    case KORDER:
    case KORDERUSER:
        return enterLetters(store, q, answer, true);
    case KYESNO:
        return enterYesNo(store, q, answer);
    default:
        store.userText[q] = fromQt(answer);
        return {};
    }
}

QString rightOptions(const QuestionStore& store, int q, const QString& separator) {
    QStringList right;
    for (int j = 1; j <= std::min(store.optionCount[q], kMaxOptions); ++j)
        if (store.answerKey[q][j] == 1)
            right << (store.questionType[q] == KYESNO
                          ? (j == 1 ? QStringLiteral("Yes") : QStringLiteral("No"))
                          : letterOf(j));
    return right.isEmpty() ? QStringLiteral("no option") : right.join(separator);
}

QString rightOrder(const QuestionStore& store, int q) {
    QString letters;
    QStringList labels;
    for (int j = 1; j <= std::min(store.optionCount[q], kMaxOptions); ++j) {
        const int item = store.answerKey[q][j];
        letters += letterOf(item);
        if (item >= 1 && item <= kMaxOptions) labels << toQt(store.optionLabel[q][item]);
    }
    if (store.questionType[q] == KORDER) return letters;
    return letters + QStringLiteral(" (") + labels.join(QLatin1Char(' ')) + QLatin1Char(')');
}

} // namespace

QString enterAnswers(QuestionStore& store, const QStringList& answerLines) {
    resetAnswers(store);
    for (int q = 1; q <= std::min(store.questionCount, kMaxQuestions); ++q) {
        const QString answer = q <= answerLines.size() ? answerLines[q - 1] : QString();
        const QString problem = enterAnswer(store, q, answer);
        if (!problem.isEmpty()) return QStringLiteral("answer line %1: %2").arg(q).arg(problem);
    }
    return {};
}

QString expectedAnswer(const QuestionStore& store, int q) {
    switch (store.questionType[q]) {
    case KSINGLECHOICE:
    case KYESNO:
        return rightOptions(store, q, QStringLiteral(" or "));
    case KMULTICHOICE:
        return rightOptions(store, q, QString());
    case KORDER:
    case KORDERUSER:
        return rightOrder(store, q);
    case KMULTIENTRYMULTI: {
        QStringList alternatives;
        for (int a = 1; a <= std::min(store.altCount[q], kMaxAlternatives); ++a)
            alternatives << quoted(store.altText[q][a]);
        return alternatives.isEmpty() ? QStringLiteral("no accepted answer")
                                      : alternatives.join(QStringLiteral(" or "));
    }
    case KNOTYPE:
        return QStringLiteral("nothing: the question has no type");
    default:
        return quoted(store.answerText[q]);
    }
}

MarkReport markStore(const QuestionStore& store) {
    MarkReport report;
    RightFlags right;
    std::int32_t score = 0;
    int marked = store.questionCount;
    try {
        markAll(store, right, score);
        report.scoreLine = toQt(scoreLine(score, store.questionCount));
    } catch (const AppError& error) {
        // The flags of the questions before the failing one are written; find that one.
        marked = 0;
        try {
            while (marked < store.questionCount) {
                isQuestionRight(store, marked + 1);
                ++marked;
            }
        } catch (const AppError&) {
        }
        report.failure = QStringLiteral("Marking stops at question %1 with \"%2\".")
                             .arg(marked + 1)
                             .arg(QString::fromLatin1(error.what()));
    }
    for (int q = 1; q <= marked; ++q)
        report.verdicts << (right[q] ? QStringLiteral("Question %1: right").arg(q)
                                     : QStringLiteral("Question %1: wrong (expected %2)")
                                           .arg(q)
                                           .arg(expectedAnswer(store, q)));
    return report;
}

QStringList answerLinesOf(const QByteArray& bytes) {
    auto decoder = QStringDecoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) text = QString::fromLatin1(bytes);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    return lines;
}

} // namespace corvane::check
