// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/check/scanner.h"

#include "core/app_error.h"
#include "tools/check/keywords.h"
#include "tools/check/line_cursor.h"

namespace corvane::check {

namespace {

struct StopScan {};

class Scan {
  public:
    explicit Scan(std::string_view readable) : cursor_(readable) {}

    ScannedTest run() {
        try {
            result_.count = readInteger();
            for (int q = 1; q <= result_.count.value; ++q)
                readQuestion(q);
        } catch (const StopScan&) {
        }
        result_.nextLine = cursor_.line();
        return std::move(result_);
    }

  private:
    void noteEnd() {
        if (cursor_.atEnd() && !result_.earlyEnd)
            result_.earlyEnd = EarlyEnd{cursor_.line(), question_};
    }

    [[noreturn]] void fail(int line, const char* message) {
        result_.failure = LoadFailure{line, question_, message};
        throw StopScan{};
    }

    Located<Text> readText() {
        noteEnd();
        Text text = cursor_.readText();
        return {std::move(text), cursor_.lastLine()};
    }

    Located<std::int32_t> readInteger() {
        noteEnd();
        const auto value = cursor_.readInteger();
        if (!value) fail(cursor_.lastLine(), "Invalid numeric input");
        return {*value, cursor_.lastLine()};
    }

    void readQuestion(int q) {
        question_ = q;
        // The store holds 30 questions: the reader fails on the 31st before storing anything.
        if (q > kMaxQuestions) fail(cursor_.line(), kRangeCheckError);
        ScannedQuestion& question = result_.questions.emplace_back();
        question.number = q;
        question.typeLine = readText();
        question.type = typeCodeOf(question.typeLine.value);
        readText(); // comment line
        question.optionCount = readInteger();
        for (auto& entry : question.key)
            entry = readInteger();
        question.answer = readText();
        if (question.type == KORDERUSER) {
            for (auto& label : question.labels)
                label = readText();
            question.fixedItemPos = readInteger();
            question.fixedItemText = readText();
        }
        if (question.type == KMULTIENTRYMULTI) readAlternatives(question);
        question.closing = {cursor_.readText(), cursor_.lastLine()};
    }

    void readAlternatives(ScannedQuestion& question) {
        question.altCount = readInteger();
        for (int i = 1; i <= question.altCount.value; ++i) {
            if (i > kMaxAlternatives) fail(cursor_.line(), kRangeCheckError);
            question.alternatives.push_back(readText());
        }
    }

    LineCursor cursor_;
    ScannedTest result_;
    int question_ = 0;
};

} // namespace

ScannedTest scanTestFile(std::string_view readable) {
    return Scan(readable).run();
}

} // namespace corvane::check
