// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/results/summary.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <map>
#include <tuple>

namespace corvane::results {

namespace {

using TestKey = std::tuple<QString, QString, int>;

bool finishedBefore(const Record& a, const Record& b) {
    if (a.finished != b.finished) return a.finished < b.finished;
    return a.file < b.file;
}

const Record& chosenAttempt(const std::vector<Record>& attempts, AttemptChoice choice) {
    switch (choice) {
    case AttemptChoice::First:
        return attempts.front();
    case AttemptChoice::Best:
        // max_element keeps the first of equal scores: the earliest to reach the best.
        return *std::max_element(
            attempts.begin(), attempts.end(),
            [](const Record& a, const Record& b) { return a.score < b.score; });
    case AttemptChoice::Latest:
        break;
    }
    return attempts.back();
}

// The wrong answers to question q, grouped as names are, most common first.
std::vector<WrongAnswer> wrongAnswers(const std::vector<PupilResult>& pupils, int q) {
    std::vector<WrongAnswer> wrong;
    QHash<QString, std::size_t> index;
    for (const PupilResult& pupil : pupils) {
        const QuestionResult& result = pupil.chosen.questions[q - 1];
        if (result.right) continue;
        const QString key = sameNameKey(result.answer);
        auto found = index.find(key);
        if (found == index.end()) {
            index.insert(key, wrong.size());
            wrong.push_back({result.answer, 1});
        } else {
            ++wrong[*found].count;
        }
    }
    std::stable_sort(wrong.begin(), wrong.end(),
                     [](const auto& a, const auto& b) { return a.count > b.count; });
    return wrong;
}

TestSummary summariseTest(const TestKey& key, std::map<QString, std::vector<Record>>& byPupil,
                          AttemptChoice choice) {
    TestSummary summary{
        std::get<0>(key), std::get<1>(key), std::get<2>(key), {}, {}, {}, choice, {}, {}};
    for (auto& [name, attempts] : byPupil) {
        std::sort(attempts.begin(), attempts.end(), finishedBefore);
        if (!summary.firstUsed.isValid() || attempts.front().finished < summary.firstUsed)
            summary.firstUsed = attempts.front().finished;
        const Record chosen = chosenAttempt(attempts, choice);
        summary.pupils.push_back({attempts.back().pupil.simplified(), chosen, std::move(attempts)});
    }
    std::stable_sort(summary.pupils.begin(), summary.pupils.end(),
                     [](const auto& a, const auto& b) { return nameBefore(a.name, b.name); });
    summary.spread.assign(static_cast<std::size_t>(summary.questions) + 1, 0);
    for (const PupilResult& pupil : summary.pupils)
        ++summary.spread[static_cast<std::size_t>(pupil.chosen.score)];
    for (int q = 1; q <= summary.questions; ++q) {
        const auto rights = std::count_if(
            summary.pupils.begin(), summary.pupils.end(),
            [q](const PupilResult& pupil) { return pupil.chosen.questions[q - 1].right; });
        summary.shares.push_back(
            {q, static_cast<int>(rights), {}, wrongAnswers(summary.pupils, q)});
    }
    std::stable_sort(summary.shares.begin(), summary.shares.end(),
                     [](const auto& a, const auto& b) { return a.right < b.right; });
    return summary;
}

} // namespace

QString QuestionShare::label() const {
    const QString number = QStringLiteral("Q%1").arg(this->number);
    return heading.isEmpty() ? number : number + QLatin1Char(' ') + heading;
}

QString TestSummary::title() const {
    return testTitle(test, checksum);
}

QString TestSummary::displayName() const {
    return version.isEmpty() ? title() : title() + QStringLiteral(", ") + version;
}

QString TestSummary::key() const {
    return testKey(test, checksum, questions);
}

QString testKey(const QString& test, const QString& checksum, int questions) {
    return test + QChar(0x1f) + checksum + QChar(0x1f) + QString::number(questions);
}

QString testKey(const Record& record) {
    return testKey(record.test, record.checksum, static_cast<int>(record.questions.size()));
}

bool nameBefore(const QString& a, const QString& b) {
    const auto folded = [](const QString& name) {
        QString key = name.simplified().normalized(QString::NormalizationForm_D);
        key.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
        return key.toCaseFolded();
    };
    const int order = QString::localeAwareCompare(folded(a), folded(b));
    return order != 0 ? order < 0 : a < b;
}

QString choiceWord(AttemptChoice choice) {
    switch (choice) {
    case AttemptChoice::Best:
        return QStringLiteral("best");
    case AttemptChoice::First:
        return QStringLiteral("first");
    case AttemptChoice::Latest:
        break;
    }
    return QStringLiteral("latest");
}

QString choiceSentence(AttemptChoice choice) {
    return QStringLiteral("The %1 attempt of each pupil counts.").arg(choiceWord(choice));
}

QString testTitle(const QString& test, const QString& checksum) {
    return QStringLiteral("%1 [%2]").arg(test, checksum.left(8));
}

double TestSummary::average() const {
    if (pupils.empty()) return 0;
    double total = 0;
    for (const PupilResult& pupil : pupils)
        total += pupil.chosen.score;
    return total / static_cast<double>(pupils.size());
}

QString TestSummary::averageText() const {
    const double mean = average();
    const int percent = questions > 0 ? qRound(100 * mean / questions) : 0;
    return QStringLiteral("%1 of %2 (%3%)")
        .arg(QString::number(mean, 'f', 1))
        .arg(questions)
        .arg(percent);
}

const PupilResult* TestSummary::pupil(const QString& name) const {
    const QString key = sameNameKey(name);
    for (const PupilResult& result : pupils)
        if (sameNameKey(result.name) == key) return &result;
    return nullptr;
}

QString sameNameKey(const QString& name) {
    return name.simplified().normalized(QString::NormalizationForm_C).toCaseFolded();
}

std::vector<TestSummary> summarise(const std::vector<Record>& records, AttemptChoice choice) {
    std::map<TestKey, std::map<QString, std::vector<Record>>> byTest;
    for (const Record& record : records) {
        const TestKey key{record.test, record.checksum, static_cast<int>(record.questions.size())};
        byTest[key][sameNameKey(record.pupil)].push_back(record);
    }
    std::vector<TestSummary> summaries;
    for (auto& [key, pupils] : byTest)
        summaries.push_back(summariseTest(key, pupils, choice));
    std::stable_sort(summaries.begin(), summaries.end(), [](const auto& a, const auto& b) {
        const int byName = QString::localeAwareCompare(a.test, b.test);
        return byName != 0 ? byName < 0 : a.firstUsed < b.firstUsed;
    });
    return summaries;
}

QStringList missingPupils(const TestSummary& test, const QStringList& classList) {
    QStringList missing;
    QStringList seen;
    for (const QString& name : classList) {
        const QString key = sameNameKey(name);
        if (key.isEmpty() || seen.contains(key) || test.pupil(name)) continue;
        seen << key;
        missing << name.simplified();
    }
    return missing;
}

QStringList pupilsNotListed(const TestSummary& test, const QStringList& classList) {
    if (classList.isEmpty()) return {};
    QSet<QString> listed;
    for (const QString& name : classList)
        listed.insert(sameNameKey(name));
    QStringList strangers;
    for (const PupilResult& pupil : test.pupils)
        if (!listed.contains(sameNameKey(pupil.name))) strangers << pupil.name;
    return strangers;
}

QStringList classListNames(const QByteArray& bytes) {
    QByteArray text = bytes;
    if (text.startsWith("\xEF\xBB\xBF")) text.remove(0, 3);
    QStringList names;
    for (const QString& line : QString::fromUtf8(text).split(QLatin1Char('\n'))) {
        const QString name = line.simplified();
        if (!name.isEmpty() && !name.startsWith(QLatin1Char('#'))) names << name;
    }
    return names;
}

QString counted(int count, const QString& noun) {
    return QStringLiteral("%1 %2%3").arg(count).arg(noun, count == 1 ? "" : "s");
}

QString shareText(int right, int of) {
    const int percent = of > 0 ? (200 * right + of) / (2 * of) : 0;
    return QStringLiteral("%1 of %2 (%3%)").arg(right).arg(of).arg(percent);
}

} // namespace corvane::results
