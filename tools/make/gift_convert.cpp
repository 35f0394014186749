// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/gift_convert.h"

#include "core/marking_rules.h"
#include "core/text.h"
#include "tools/make/answers.h"
#include "tools/make/gift_markdown.h"

#include <QString>
#include <QStringDecoder>

#include <charconv>
#include <cmath>
#include <optional>
#include <set>

namespace corvane::make {

namespace {

constexpr int kMaxOptions = 5;

ConvertedQuestion refuse(std::string reason) {
    return {{}, std::move(reason)};
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

double weightOf(const GiftAnswer& answer) {
    return answer.weight.value_or(answer.right ? 100.0 : 0.0);
}

std::string percent(double weight) {
    QString text = QString::number(weight, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text.toStdString() + "%";
}

// Why a question whose text or option holds the tag `media` is left out.
std::string mediaReason(const std::string& media, const char* where) {
    const std::string tag = " (<" + media + ">)";
    if (media == "img")
        return std::string(where) + " a picture" + tag + ", which a GIFT file does not carry";
    if (media == "audio")
        return std::string(where) + " a sound" + tag + ", which a GIFT file does not carry";
    if (media == "video")
        return std::string(where) + " a video" + tag + ", which a GIFT file does not carry";
    if (media == "sound link" || media == "video link")
        return std::string(where) + " a link to a " + media.substr(0, 5) +
               " file, which a GIFT file does not carry";
    if (media == "script")
        return std::string(where) + " a script" + tag + ", which a test page must not run";
    return std::string(where) + " another page or object" + tag +
           ", which a test page does not show: the pupils' machines may be offline";
}

// Why a question whose text, option or answer (`where`) holds `refused` is left out.
std::string refusedReason(const std::string& refused, const char* where) {
    return std::string(where) + " " + refused + ", which a test page may not hold";
}

// The format an answer is written in: its own, or the question's.
const std::string& formatOf(const GiftQuestion& question, const GiftAnswer& answer) {
    return answer.format.empty() ? question.format : answer.format;
}

// The answers that earn full marks, as a pupil types them; `reason` is set when an answer
// earns part of the mark, which a typed answer cannot, or cannot be typed.
std::vector<std::string> fullMarkAnswers(const GiftQuestion& question, std::string& reason) {
    std::vector<std::string> accepted;
    for (const GiftAnswer& answer : question.answers) {
        const double weight = weightOf(answer);
        if (weight > 0 && weight < 100) {
            reason = "the answer " + quoted(answer.text) + " earns part of the mark (" +
                     percent(weight) + "); a typed answer is right or wrong";
            return {};
        }
        if (weight < 100) continue;
        const PlainText plain = giftTextToPlain(answer.text, formatOf(question, answer));
        if (!plain.media.empty())
            reason = mediaReason(plain.media, "an answer shows");
        else if (!plain.refused.empty())
            reason = refusedReason(plain.refused, "an answer holds");
        else if (plain.raised)
            reason = "the answer " + quoted(answer.text) +
                     " is written with a raised or lowered part (<sup>, <sub>), which a pupil "
                     "cannot type";
        if (!reason.empty()) return {};
        accepted.push_back(plain.text);
    }
    if (accepted.empty()) reason = "no answer earns the full mark";
    return accepted;
}

// The text a question page shows: heading line, then the body.
struct PageText {
    std::string heading;
    std::vector<std::string> body;
};

// True when `next` goes on with the sentence of `line`: the line ends in no full stop, colon or
// the like, and the next starts with a small letter (a text wrapped to fit the GIFT file).
bool wrapped(const std::string& line, const std::string& next) {
    const std::size_t last = line.find_last_not_of(" )\"'*_");
    return last != std::string::npos &&
           std::string_view(".?!:;").find(line[last]) == std::string_view::npos && !next.empty() &&
           next[0] >= 'a' && next[0] <= 'z';
}

std::optional<PageText> pageText(const GiftQuestion& question, std::string& reason) {
    MarkdownText text = giftTextToMarkdown(question.text, question.format);
    if (!text.media.empty() || !text.refused.empty()) {
        reason = text.media.empty() ? refusedReason(text.refused, "it holds")
                                    : mediaReason(text.media, "it shows");
        return std::nullopt;
    }
    if (text.lines.empty()) {
        reason = "it has no question text";
        return std::nullopt;
    }
    // The heading is the first sentence, however many lines it was wrapped over.
    PageText page{text.lines.front(), {}};
    std::size_t i = 1;
    for (; i < text.lines.size() && wrapped(page.heading, text.lines[i]); ++i)
        page.heading += " " + text.lines[i];
    // Lines of one paragraph keep their breaks: a backslash at the end of a line breaks it.
    for (; i < text.lines.size(); ++i) {
        std::string line = text.lines[i];
        const bool continues = i + 1 < text.lines.size() && !text.lines[i + 1].empty();
        if (continues && !line.empty() && question.format != "markdown") line += '\\';
        if (!(line.empty() && page.body.empty())) page.body.push_back(std::move(line));
    }
    return page;
}

std::optional<std::string> optionText(const GiftQuestion& question, const GiftAnswer& answer,
                                      std::string& reason) {
    const MarkdownText text = giftTextToMarkdown(answer.text, formatOf(question, answer));
    if (!text.media.empty() || !text.refused.empty()) {
        reason = text.media.empty() ? refusedReason(text.refused, "an option holds")
                                    : mediaReason(text.media, "an option shows");
        return std::nullopt;
    }
    std::string joined;
    for (const std::string& line : text.lines)
        if (!line.empty()) joined += (joined.empty() ? "" : " ") + line;
    if (!joined.empty()) return joined;
    reason = "one of its options has no text";
    return std::nullopt;
}

// The options as "- [x] text" lines, one [x] per right option.
std::optional<std::vector<std::string>> choiceLines(const GiftQuestion& question,
                                                    std::string& reason) {
    const std::size_t count = question.answers.size();
    if (count > kMaxOptions) {
        reason = "it has " + std::to_string(count) +
                 " options; a question shows at most five "
                 "(A to E)";
        return std::nullopt;
    }
    if (count < 2) {
        reason = "it has one option; a choice needs two to five";
        return std::nullopt;
    }
    int rightCount = 0;
    int fullCount = 0;
    double rightSum = 0;
    for (const GiftAnswer& answer : question.answers) {
        const double weight = weightOf(answer);
        if (weight <= 0) continue;
        ++rightCount;
        rightSum += weight;
        if (weight >= 100) ++fullCount;
    }
    if (rightCount == 0) {
        reason = "none of its options is right (= or a weight above 0%)";
        return std::nullopt;
    }
    if (rightCount == 1 && fullCount == 0) {
        reason = "its one right option earns only " + percent(rightSum) + " of the mark";
        return std::nullopt;
    }
    if (rightCount > 1 && fullCount > 0) {
        reason = "more than one option earns marks and one of them the full mark; a question "
                 "has one right option, or several whose weights add up to 100%";
        return std::nullopt;
    }
    if (rightCount > 1 && std::abs(rightSum - 100) > 0.1) {
        reason = "the weights of its right options add up to " + percent(rightSum) + ", not 100%";
        return std::nullopt;
    }
    std::vector<std::string> lines;
    for (const GiftAnswer& answer : question.answers) {
        const std::optional<std::string> text = optionText(question, answer, reason);
        if (!text) return std::nullopt;
        lines.push_back((weightOf(answer) > 0 ? "- [x] " : "- [ ] ") + *text);
    }
    return lines;
}

// A typed word: one accepted answer, or several that the marking cannot tell apart.
std::optional<std::string> wordLine(const GiftQuestion& question, std::string& reason) {
    const std::vector<std::string> accepted = fullMarkAnswers(question, reason);
    if (accepted.empty()) return std::nullopt;
    std::set<Text> forms;
    std::string list;
    for (const std::string& answer : accepted) {
        // Every character counts, a byte-order mark at the start too.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        const QString text =
            utf8(QByteArrayView(answer.data(), static_cast<qsizetype>(answer.size())));
        if (text.trimmed().isEmpty())
            reason = "one of its answers is empty";
        else if (answer.find('*') != std::string::npos)
            reason = "the answer " + quoted(answer) +
                     " uses the wildcard *, which a typed "
                     "answer cannot";
        else if (answer.find('\n') != std::string::npos)
            reason = "the answer " + quoted(answer) + " runs over more than one line";
        else if (std::any_of(text.begin(), text.end(), [](QChar c) {
                     const char16_t code = c.unicode();
                     return code < 32 || (code >= 127 && code < 160) || code > 0xFF;
                 }))
            reason = "the answer " + quoted(answer) +
                     " holds a character that a pupil cannot "
                     "type in a test";
        else if (const QString problem = typedWordProblem(text); !problem.isEmpty())
            reason = "the answer " + quoted(answer) + " " + problem.toStdString();
        if (!reason.empty()) return std::nullopt;
        if (forms.insert(wordForm(fromQt(text))).second)
            list += (list.empty() ? "" : ", ") + quoted(answer);
    }
    if (forms.size() > 1) {
        reason = "it accepts " + std::to_string(forms.size()) + " different answers (" + list +
                 "); a typed word has one";
        return std::nullopt;
    }
    // The answer line is read with Markdown's backslash escapes; a backslash stays one.
    std::string word;
    for (char c : accepted.front())
        word += c == '\\' ? "\\\\" : std::string(1, c);
    return "Word: " + word;
}

// A plain decimal number in the form a pupil writes it: no plus sign, no leading zeros, no
// trailing zeros after the point ("+007.50" is "7.5"). Empty when `text` is not one.
std::string plainNumber(const std::string& text) {
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    const std::size_t point = text.find('.', i);
    std::string whole = text.substr(i, point == std::string::npos ? std::string::npos : point - i);
    std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    const auto digitsOnly = [](const std::string& s) {
        return s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!digitsOnly(whole) || !digitsOnly(fraction) || (whole.empty() && fraction.empty()))
        return {};
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    fraction.erase(std::min(fraction.find_last_not_of('0') + 1, fraction.size()));
    std::string number = (whole.empty() ? "0" : whole) + (fraction.empty() ? "" : "." + fraction);
    return negative && number != "0" ? "-" + number : number;
}

// A typed number with one exact answer. A one-digit answer becomes a typed word: a number of
// one character matches any one-character answer when numbers are compared.
std::optional<std::string> numberLine(const GiftQuestion& question, std::string& reason) {
    const std::vector<std::string> accepted = fullMarkAnswers(question, reason);
    if (accepted.empty()) return std::nullopt;
    if (accepted.size() > 1) {
        reason = "it accepts " + std::to_string(accepted.size()) +
                 " numbers; a typed number has "
                 "one";
        return std::nullopt;
    }
    const std::string& answer = accepted.front();
    if (answer.find("..") != std::string::npos) {
        reason = "it accepts a range of numbers (" + answer + "); a typed number must be exact";
        return std::nullopt;
    }
    const std::size_t colon = answer.find(':');
    const std::string value = answer.substr(0, colon);
    if (colon != std::string::npos) {
        const std::string tolerance = plainNumber(answer.substr(colon + 1));
        if (tolerance != "0") {
            reason = "it accepts " + value + " give or take " + answer.substr(colon + 1) +
                     "; a typed number must be exact";
            return std::nullopt;
        }
    }
    const std::string number = plainNumber(value);
    if (number.empty()) {
        reason = "the answer " + quoted(value) + " is not a plain number such as 12 or -3.5";
        return std::nullopt;
    }
    return (number.size() == 1 ? "Word: " : "Number: ") + number;
}

std::optional<std::vector<std::string>> answerLines(const GiftQuestion& question,
                                                    std::string& reason) {
    switch (question.kind) {
    case GiftKind::TrueFalse:
        return std::vector<std::string>{question.truth ? "Answer: yes" : "Answer: no"};
    case GiftKind::Choice:
        return choiceLines(question, reason);
    case GiftKind::ShortAnswer:
        if (auto line = wordLine(question, reason)) return std::vector<std::string>{*line};
        return std::nullopt;
    case GiftKind::Numerical:
        if (auto line = numberLine(question, reason)) return std::vector<std::string>{*line};
        return std::nullopt;
    case GiftKind::Description:
        reason = "it has no answer block { }, so there is nothing to answer";
        break;
    case GiftKind::Essay:
        reason = "it is an essay question ({ } is empty), which cannot be marked";
        break;
    case GiftKind::Matching:
        reason = "it is a matching question (a -> b); a test here has no matching question";
        break;
    case GiftKind::Broken:
        reason = question.problem;
        break;
    case GiftKind::Category:
        reason = "a category is not a question";
        break;
    }
    return std::nullopt;
}

} // namespace

ConvertedQuestion convertGiftQuestion(const GiftQuestion& question) {
    std::string reason;
    const std::optional<std::vector<std::string>> answer = answerLines(question, reason);
    if (!answer) return refuse(reason);
    const std::optional<PageText> page = pageText(question, reason);
    if (!page) return refuse(reason);
    std::string block = "## " + page->heading + "\n";
    for (const std::string& line : page->body)
        block += line + "\n";
    block += "\n";
    for (const std::string& line : *answer)
        block += line + "\n";
    return {block, {}};
}

} // namespace corvane::make
