// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/results/remark.h"

#include "core/app_error.h"
#include "core/marking_rules.h"
#include "core/panel_texts.h"
#include "core/reader.h"
#include "core/report.h"

#include <QFile>
#include <QStringList>

#include <algorithm>

namespace corvane::results {

namespace {

const QString kNoAnswer = QStringLiteral("no answer");

// Every filling of an order question's places (0 for an empty place) is tried until one reads
// as the stored answer; the key first, so that labels written alike count as the right order.
bool restoreOrder(QuestionStore& store, int q, const Text& answer) {
    const int places = std::min<int>(store.optionCount[q], kMaxOptions);
    OptionRow& marks = store.userMarks[q];
    for (int place = 1; place <= places; ++place)
        marks[place] = store.answerKey[q][place];
    if (givenAnswerText(store, q) == answer) return true;
    for (int place = 1; place <= places; ++place)
        marks[place] = 0;
    while (true) {
        if (givenAnswerText(store, q) == answer) return true;
        int place = 1;
        while (place <= places && marks[place] == places)
            marks[place++] = 0;
        if (place > places) return false;
        ++marks[place];
    }
}

void clearAnswer(QuestionStore& store, int q) {
    store.userText[q].clear();
    for (int j = 1; j <= kMaxOptions; ++j)
        store.userMarks[q][j] = 0;
}

// Ticks the options of the letters; a letter without an option is left out, and the read-back
// check of restoreGiven() finds it missing.
void restoreChoices(QuestionStore& store, int q, const Text& answer) {
    for (const QString& letter : toQt(answer).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int option = letter.size() == 1 ? letter[0].unicode() - 'A' + 1 : 0;
        if (option >= 1 && option <= kMaxOptions) store.userMarks[q][option] = 1;
    }
}

// Puts the answer back as the panel of its question type keeps it; false when the record's text
// does not come back from it.
bool restoreGiven(QuestionStore& store, int q, const QString& answer) {
    const Text given = fromQt(answer);
    if (toQt(given) != answer) return false;
    const std::int32_t type = store.questionType[q];
    if (type == KSINGLECHOICE || type == KMULTICHOICE)
        restoreChoices(store, q, given);
    else if (type == KYESNO && (given == "Yes" || given == "No"))
        store.userMarks[q][given == "Yes" ? 1 : 2] = 1;
    else if (type == KORDER || type == KORDERUSER)
        return restoreOrder(store, q, given);
    else if (isTypedAnswer(type))
        store.userText[q] = given;
    // Read back as the record shows it: what does not come back was not this question's answer.
    return givenAnswerText(store, q) == given;
}

// Restores every answer of the record; says which answers did not fit.
QString restoreAnswers(const Record& record, QuestionStore& store) {
    QStringList unfit;
    for (int q = 1; q <= store.questionCount; ++q)
        if (!restoreAnswer(store, q, record.questions[q - 1].answer))
            unfit << QStringLiteral("Q%1").arg(q);
    if (unfit.isEmpty()) return {};
    return QStringLiteral("the answers to %1 do not fit the corrected questions (marked wrong)")
        .arg(unfit.join(QStringLiteral(", ")));
}

} // namespace

bool restoreAnswer(QuestionStore& store, int q, const QString& answer) {
    clearAnswer(store, q);
    if (answer == kNoAnswer || restoreGiven(store, q, answer)) return true;
    clearAnswer(store, q); // an answer that does not fit counts as none
    return false;
}

Remark remarkRecords(const std::vector<Record>& records, const QString& testFile) {
    Remark remark;
    QFile file(testFile);
    if (!file.open(QIODevice::ReadOnly)) {
        remark.error = QStringLiteral("%1 cannot be read: %2").arg(testFile, file.errorString());
        return remark;
    }
    remark.checksum = QString::fromLatin1(checksumHex(file.readAll()));
    QuestionStore store;
    try {
        readTestFile(QFile::encodeName(testFile).toStdString(), store);
    } catch (const AppError& error) {
        remark.error = QStringLiteral("%1 is not a test file: %2").arg(testFile, error.what());
        return remark;
    }
    for (const Record& record : records) {
        Remarked remarked{record, record, false, {}};
        if (static_cast<int>(record.questions.size()) != store.questionCount) {
            remarked.problem = QStringLiteral("%1 questions where the corrected test has %2")
                                   .arg(record.questions.size())
                                   .arg(store.questionCount);
            remark.records.push_back(std::move(remarked));
            continue;
        }
        remarked.problem = restoreAnswers(record, store);
        RightFlags right;
        std::int32_t score = 0;
        try {
            markAll(store, right, score);
        } catch (const AppError& error) {
            remarked.problem = QString::fromUtf8(error.what());
            remark.records.push_back(std::move(remarked));
            continue;
        }
        remarked.marked = true;
        Record& after = remarked.after;
        after.file.clear();
        after.checksum = remark.checksum;
        after.score = score;
        for (int q = 1; q <= store.questionCount; ++q)
            after.questions[q - 1].right = right[q];
        remark.records.push_back(std::move(remarked));
    }
    return remark;
}

bool toClassRecord(const Record& record, ClassRecord& out) {
    out = ClassRecord{record.finished,
                      record.computer,
                      fromQt(record.pupil),
                      fromQt(record.test),
                      record.checksum.toLatin1(),
                      record.score,
                      {}};
    bool kept = toQt(out.pupil) == record.pupil && toQt(out.test) == record.test;
    int q = 0;
    for (const QuestionResult& result : record.questions) {
        out.rows.push_back({++q, fromQt(result.answer), result.right, {}});
        kept = kept && toQt(out.rows.back().answer) == result.answer;
    }
    return kept;
}

} // namespace corvane::results
