// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/spoken_maths.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

namespace corvane {
namespace {

const std::array<const char*, 20> kUnits = {
    "zero",     "one",     "two",     "three",     "four",     "five",    "six",
    "seven",    "eight",   "nine",    "ten",       "eleven",   "twelve",  "thirteen",
    "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
const std::array<const char*, 10> kTens = {"",      "",      "twenty",  "thirty", "forty",
                                           "fifty", "sixty", "seventy", "eighty", "ninety"};

// 1..999: "three hundred and five", "forty-nine".
QString belowThousand(int n) {
    QString words;
    if (n >= 100) {
        words = QString::fromLatin1(kUnits[n / 100]) + QStringLiteral(" hundred");
        n %= 100;
        if (n == 0) return words;
        words += QStringLiteral(" and ");
    }
    if (n < 20) return words + QString::fromLatin1(kUnits[n]);
    words += QString::fromLatin1(kTens[n / 10]);
    if (n % 10) words += '-' + QString::fromLatin1(kUnits[n % 10]);
    return words;
}

// Digits one by one, as after a decimal point: "0.25" point two five.
QString digitWords(const QString& digits) {
    QStringList words;
    for (const QChar digit : digits)
        words << QString::fromLatin1(kUnits[digit.digitValue()]);
    return words.join(' ');
}

// A number as written, with commas between thousands and perhaps a decimal part.
QString writtenNumber(QString whole, const QString& decimals = {}) {
    whole.remove(',');
    bool fits = false;
    const qint64 value = whole.size() <= 15 ? whole.toLongLong(&fits) : 0;
    QString words = fits ? numberWords(value) : digitWords(whole);
    if (!decimals.isEmpty()) words += QStringLiteral(" point ") + digitWords(decimals);
    return words;
}

struct FractionName {
    const char* one;
    const char* many;
};

// The fractions read by name; others are "five over twelve".
const std::array<FractionName, 11> kFractionNames = {{{nullptr, nullptr},
                                                      {nullptr, nullptr},
                                                      {"half", "halves"},
                                                      {"third", "thirds"},
                                                      {"quarter", "quarters"},
                                                      {"fifth", "fifths"},
                                                      {"sixth", "sixths"},
                                                      {"seventh", "sevenths"},
                                                      {"eighth", "eighths"},
                                                      {"ninth", "ninths"},
                                                      {"tenth", "tenths"}}};

// "three quarters"; with `after` a whole number, one part is "a quarter".
QString fractionWords(const QString& top, const QString& bottom, bool afterWhole = false) {
    const int numerator = top.size() <= 9 ? top.toInt() : -1;
    const int denominator = bottom.size() <= 9 ? bottom.toInt() : -1;
    if (numerator < 0 || denominator < 2 || denominator >= int(kFractionNames.size()))
        return writtenNumber(top) + QStringLiteral(" over ") + writtenNumber(bottom);
    const FractionName& name = kFractionNames[denominator];
    if (numerator == 1)
        return (afterWhole ? QStringLiteral("a ") : QStringLiteral("one ")) +
               QString::fromLatin1(name.one);
    return numberWords(numerator) + ' ' + QString::fromLatin1(name.many);
}

QString moneyWords(const QString& pounds, const QString& pence) {
    const QString amount = writtenNumber(pounds);
    const int p = pence.toInt();
    if (amount == QLatin1String("zero") && !pence.isEmpty())
        return p == 1 ? QStringLiteral("one penny") : numberWords(p) + QStringLiteral(" pence");
    QString words = amount + (amount == QLatin1String("one") ? QStringLiteral(" pound")
                                                             : QStringLiteral(" pounds"));
    if (p > 0) words += ' ' + numberWords(p);
    return words;
}

QString timeWords(const QString& hours, const QString& minutes) {
    const int m = minutes.toInt();
    const QString hour = numberWords(hours.toInt());
    if (m == 0) return hour + QStringLiteral(" o'clock");
    if (m < 10) return hour + QStringLiteral(" oh ") + numberWords(m);
    return hour + ' ' + numberWords(m);
}

// One rule: a pattern matched where the reading has got to, and the words for its match.
struct Rule {
    QRegularExpression pattern;
    std::function<QString(const QRegularExpressionMatch&)> words;
};

// A number as written: digits with commas between thousands, or plain digits.
#define NUMBER "(\\d{1,3}(?:,\\d{3})+(?!\\d)|\\d+)"

const std::vector<Rule>& rules() {
    using M = QRegularExpressionMatch;
    static const std::vector<Rule> table = {
        {QRegularExpression(QStringLiteral("£\\s?" NUMBER "(?:\\.(\\d\\d))?(?![\\d.])")),
         [](const M& m) { return moneyWords(m.captured(1), m.captured(2)); }},
        {QRegularExpression(QStringLiteral("(?<![\\d.])" NUMBER "p(?![A-Za-z\\d])")),
         [](const M& m) { return moneyWords(QStringLiteral("0"), m.captured(1)); }},
        {QRegularExpression(QStringLiteral("(?<![\\d./])(\\d+)\\s+(\\d+)/(\\d+)(?![\\d/])")),
         [](const M& m) {
             if (m.captured(2).toInt() >= m.captured(3).toInt()) return QString(); // not mixed
             return writtenNumber(m.captured(1)) + QStringLiteral(" and ") +
                    fractionWords(m.captured(2), m.captured(3), true);
         }},
        {QRegularExpression(QStringLiteral("(?<![\\d./])(\\d+)/(\\d+)(?![\\d/])")),
         [](const M& m) { return fractionWords(m.captured(1), m.captured(2)); }},
        {QRegularExpression(QStringLiteral("(?<![\\d.:])([01]?\\d|2[0-3]):([0-5]\\d)(?![\\d:])")),
         [](const M& m) { return timeWords(m.captured(1), m.captured(2)); }},
        {QRegularExpression(QStringLiteral("(?<![\\d.])" NUMBER "\\s?r\\s?(\\d+)(?![\\w.])")),
         [](const M& m) {
             return writtenNumber(m.captured(1)) + QStringLiteral(" remainder ") +
                    writtenNumber(m.captured(2));
         }},
        {QRegularExpression(QStringLiteral("(?<!\\d)(\\d*)([½¼¾])")),
         [](const M& m) {
             const QChar sign = m.captured(2).at(0);
             const QString part =
                 fractionWords(sign == QChar(0xBE) ? QStringLiteral("3") : QStringLiteral("1"),
                               sign == QChar(0xBD) ? QStringLiteral("2") : QStringLiteral("4"),
                               !m.captured(1).isEmpty());
             if (m.captured(1).isEmpty()) return part;
             return writtenNumber(m.captured(1)) + QStringLiteral(" and ") + part;
         }},
        {QRegularExpression(QStringLiteral("√\\s?" NUMBER "(?:\\.(\\d+))?")),
         [](const M& m) {
             return QStringLiteral("the square root of ") +
                    writtenNumber(m.captured(1), m.captured(2));
         }},
        {QRegularExpression(
             QStringLiteral("(?<!\\d)" NUMBER "(?:\\.(\\d+))?([²³])?(?![A-Za-z\\d])")),
         [](const M& m) {
             QString words = writtenNumber(m.captured(1), m.captured(2));
             if (m.captured(3) == QStringLiteral("²")) words += QStringLiteral(" squared");
             if (m.captured(3) == QStringLiteral("³")) words += QStringLiteral(" cubed");
             return words;
         }},
        // A unit after a number, by its name.
        {QRegularExpression(QStringLiteral("(?<=\\d|\\d )(mm|cm|km|m|kg|g|ml|l)(?![A-Za-z])")),
         [](const M& m) {
             static const QHash<QString, QString> names = {
                 {"mm", "millimetres"}, {"cm", "centimetres"}, {"km", "kilometres"},
                 {"m", "metres"},       {"kg", "kilograms"},   {"g", "grams"},
                 {"ml", "millilitres"}, {"l", "litres"}};
             return names.value(m.captured(1));
         }},
        // An x or a hyphen between two numbers is a sign.
        {QRegularExpression(QStringLiteral("(?<=\\d)\\s*[x×]\\s*(?=\\d)")),
         [](const M&) { return QStringLiteral("times"); }},
        {QRegularExpression(QStringLiteral("(?<=\\d)\\s+-\\s+(?=\\d)")),
         [](const M&) { return QStringLiteral("minus"); }},
    };
    return table;
}

#undef NUMBER

// Signs read as words wherever they stand.
struct Sign {
    char16_t sign;
    const char* words;
};
const std::array<Sign, 14> kSigns = {{{u'×', "times"},
                                      {u'£', "pound"},
                                      {u'÷', "divided by"},
                                      {u'+', "plus"},
                                      {u'−', "minus"},
                                      {u'=', "equals"},
                                      {u'≠', "does not equal"},
                                      {u'<', "is less than"},
                                      {u'>', "is more than"},
                                      {u'≤', "is less than or equal to"},
                                      {u'≥', "is more than or equal to"},
                                      {u'°', " degrees"},
                                      {u'%', "per cent"},
                                      {u'√', "the square root of"}}};

} // namespace

QString numberWords(qint64 number) {
    if (number < 0) return QStringLiteral("minus ") + numberWords(-number);
    if (number == 0) return QStringLiteral("zero");
    static const std::array<const char*, 5> scales = {"", " thousand", " million", " billion",
                                                      " trillion"};
    QStringList parts;
    const int lastGroup = int(number % 1000);
    for (std::size_t scale = 0; number > 0 && scale < scales.size(); ++scale, number /= 1000)
        if (const int group = int(number % 1000))
            parts.prepend(belowThousand(group) + QString::fromLatin1(scales[scale]));
    // "two thousand and five": the last part under a hundred joins the rest with "and".
    if (parts.size() > 1 && lastGroup > 0 && lastGroup < 100)
        parts.last().prepend(QStringLiteral("and "));
    return parts.join(' ');
}

QString spokenMaths(const QString& text) {
    QString spoken;
    qsizetype at = 0;
    while (at < text.size()) {
        QString words;
        qsizetype length = 0;
        for (const Rule& rule : rules()) {
            const QRegularExpressionMatch match =
                rule.pattern.match(text, at, QRegularExpression::NormalMatch,
                                   QRegularExpression::AnchorAtOffsetMatchOption);
            if (!match.hasMatch()) continue;
            words = rule.words(match);
            if (words.isEmpty()) continue;
            length = match.capturedLength();
            break;
        }
        if (words.isEmpty()) {
            const QChar c = text.at(at);
            const auto sign = std::find_if(kSigns.begin(), kSigns.end(),
                                           [c](const Sign& s) { return c == QChar(s.sign); });
            if (sign == kSigns.end()) {
                spoken += c;
                ++at;
                continue;
            }
            words = QString::fromUtf8(sign->words);
            length = 1;
        }
        spoken += ' ' + words + ' ';
        at += length;
    }
    // No space before the punctuation that followed a rule's words.
    static const QRegularExpression spaceBeforeStop(QStringLiteral("\\s+([.,;:!?)])"));
    return spoken.simplified().replace(spaceBeforeStop, QStringLiteral("\\1"));
}

} // namespace corvane
