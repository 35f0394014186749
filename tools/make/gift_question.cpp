// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/gift_question.h"

#include "core/text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace corvane::make {

namespace {

bool isBlankText(const GiftText& text) {
    return text.trimmed().empty();
}

GiftQuestion broken(GiftQuestion question, std::string problem) {
    question.kind = GiftKind::Broken;
    question.problem = std::move(problem);
    return question;
}

// Takes a leading [format] off `rest` when it names one of GIFT's four text formats, and gives
// the format's name, or empty.
std::string takeFormat(GiftText& rest) {
    static constexpr std::array<std::string_view, 4> kFormats{"html", "moodle", "plain",
                                                              "markdown"};
    if (!rest.hasToken(0, "[")) return {};
    const std::size_t close = rest.find("]");
    if (close == std::string::npos) return {};
    const std::string name = rest.bytes.substr(1, close - 1);
    if (std::find(kFormats.begin(), kFormats.end(), name) == kFormats.end()) return {};
    rest = rest.slice(close + 1, rest.size()).trimmed();
    return name;
}

// Reads "%n%" in front of an answer; false when the weight is not a number from -100 to 100.
bool takeWeight(GiftText& answer, GiftAnswer& into) {
    if (!answer.hasToken(0, "%")) return true;
    const std::size_t close = answer.find("%", 1);
    if (close == std::string::npos) return false;
    const std::string number = answer.bytes.substr(1, close - 1);
    double weight = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), weight);
    if (error != std::errc() || end != number.data() + number.size() || number.empty() ||
        !std::isfinite(weight) || std::abs(weight) > 100)
        return false;
    into.weight = weight;
    answer = answer.slice(close + 1, answer.size());
    return true;
}

// Splits `block` at every unescaped = and ~ into answers; an empty optional with `problem`
// set when the block cannot be read. With `bareFirst`, text in front of the first = or ~ is a
// right answer of its own (a number may stand alone).
std::optional<std::vector<GiftAnswer>> splitAnswers(const GiftText& block, bool bareFirst,
                                                    std::string& problem) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < block.size(); ++i)
        if (block.hasToken(i, "=") || block.hasToken(i, "~")) starts.push_back(i);
    const bool bare = starts.empty() || !isBlankText(block.slice(0, starts.front()));
    if (bare && !bareFirst) {
        problem = "an answer must start with = (a right answer) or ~ (a wrong one)";
        return std::nullopt;
    }
    if (bare) starts.insert(starts.begin(), 0);
    std::vector<GiftAnswer> answers;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const std::size_t end = k + 1 < starts.size() ? starts[k + 1] : block.size();
        const bool marked = block.hasToken(starts[k], "=") || block.hasToken(starts[k], "~");
        GiftText text = block.slice(starts[k] + (marked ? 1 : 0), end).trimmed();
        GiftAnswer answer;
        answer.right = !marked || block.bytes[starts[k]] == '=';
        if (!takeWeight(text, answer)) {
            problem = "the weight of answer " + std::to_string(k + 1) +
                      " is not a number from -100 to 100 between % signs, such as %50%";
            return std::nullopt;
        }
        answer.format = takeFormat(text);
        answer.text = text.slice(0, text.find("#")).trimmed().bytes; // the rest is feedback
        answers.push_back(std::move(answer));
    }
    return answers;
}

// Sorts out the kind of question from its answer block (without the braces).
GiftQuestion readAnswerBlock(GiftQuestion question, GiftText block) {
    block = block.slice(0, block.find("####")).trimmed(); // general feedback
    if (block.empty()) {
        question.kind = GiftKind::Essay;
        return question;
    }
    const std::string head = upperCase(block.slice(0, block.find("#")).trimmed().bytes);
    if (head == "T" || head == "TRUE" || head == "F" || head == "FALSE") {
        question.kind = GiftKind::TrueFalse;
        question.truth = head.front() == 'T';
        return question;
    }
    question.kind = GiftKind::ShortAnswer;
    if (block.hasToken(0, "#")) {
        question.kind = GiftKind::Numerical;
        block = block.slice(1, block.size()).trimmed();
    } else if (block.find("->") != std::string::npos) {
        question.kind = GiftKind::Matching;
    } else if (block.find("~") != std::string::npos) {
        question.kind = GiftKind::Choice;
    }
    std::string problem;
    auto answers = splitAnswers(block, question.kind == GiftKind::Numerical, problem);
    if (!answers) return broken(std::move(question), problem);
    question.answers = std::move(*answers);
    return question;
}

} // namespace

GiftQuestion parseGiftItem(const GiftItem& item) {
    GiftQuestion question;
    question.line = item.line;
    GiftText rest = item.text.trimmed();
    if (rest.hasToken(0, "$CATEGORY:")) {
        question.kind = GiftKind::Category;
        question.title = rest.slice(10, rest.size()).trimmed().bytes;
        return question;
    }
    if (rest.hasToken(0, "::")) {
        const std::size_t close = rest.find("::", 2);
        if (close == std::string::npos)
            return broken(std::move(question), "its title has no closing ::");
        question.title = rest.slice(2, close).trimmed().bytes;
        rest = rest.slice(close + 2, rest.size()).trimmed();
    }
    if (std::string format = takeFormat(rest); !format.empty()) question.format = format;

    const std::size_t open = rest.find("{");
    const std::size_t close = rest.find("}");
    if (open == std::string::npos) {
        if (close != std::string::npos)
            return broken(std::move(question), "a } has no { before it (write \\} for a brace)");
        question.kind = GiftKind::Description;
        question.text = rest.trimmed().bytes;
        return question;
    }
    if (close == std::string::npos || close < open)
        return broken(std::move(question), close == std::string::npos
                                               ? "the answer's { has no closing }"
                                               : "a } has no { before it (write \\} for a brace)");
    if (rest.find("{", open + 1) != std::string::npos ||
        rest.find("}", close + 1) != std::string::npos)
        return broken(std::move(question), "it has more than one { or } (write \\{ and \\} for "
                                           "braces in a text)");

    const GiftText before = rest.slice(0, open).trimmed();
    const GiftText after = rest.slice(close + 1, rest.size()).trimmed();
    question.text = before.bytes;
    if (!after.empty()) {
        // The blank stands where the answer block stood, a full stop keeping close to it.
        const bool punctuation =
            std::string_view(".,;:!?").find(after.bytes[0]) != std::string_view::npos;
        question.text += (before.empty() ? "_____" : " _____") +
                         std::string(punctuation ? "" : " ") + after.bytes;
    }
    return readAnswerBlock(std::move(question), rest.slice(open + 1, close));
}

} // namespace corvane::make
