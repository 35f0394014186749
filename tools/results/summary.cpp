#include "tools/results/summary.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace corvane::results {

namespace {

using TestKey = std::tuple<QString, QString, int>;

bool finishedLater(const Record& a, const Record& b) {
    if (a.finished != b.finished) return a.finished > b.finished;
    return a.file > b.file;
}

TestSummary summariseTest(const TestKey& key, const std::map<QString, PupilResult>& pupils) {
    TestSummary summary{std::get<0>(key), std::get<1>(key), std::get<2>(key), {}, {}};
    for (const auto& entry : pupils)
        summary.pupils.push_back(entry.second);
    std::stable_sort(summary.pupils.begin(), summary.pupils.end(),
                     [](const auto& a, const auto& b) {
                         return QString::localeAwareCompare(a.latest.pupil, b.latest.pupil) < 0;
                     });
    for (int q = 1; q <= summary.questions; ++q) {
        const auto rights = std::count_if(pupils.begin(), pupils.end(), [q](const auto& entry) {
            return entry.second.latest.questions[q - 1].right;
        });
        summary.shares.push_back({q, static_cast<int>(rights)});
    }
    std::stable_sort(summary.shares.begin(), summary.shares.end(),
                     [](const auto& a, const auto& b) { return a.right < b.right; });
    return summary;
}

} // namespace

QString TestSummary::title() const {
    return QStringLiteral("%1 [%2]").arg(test, checksum.left(8));
}

std::vector<TestSummary> summarise(const std::vector<Record>& records) {
    std::map<TestKey, std::map<QString, PupilResult>> byTest;
    for (const Record& record : records) {
        const TestKey key{record.test, record.checksum, static_cast<int>(record.questions.size())};
        PupilResult& pupil = byTest[key][record.pupil];
        if (pupil.attempts++ == 0 || finishedLater(record, pupil.latest)) pupil.latest = record;
    }
    std::vector<TestSummary> summaries;
    for (const auto& [key, pupils] : byTest)
        summaries.push_back(summariseTest(key, pupils));
    std::stable_sort(summaries.begin(), summaries.end(), [](const auto& a, const auto& b) {
        return QString::localeAwareCompare(a.test, b.test) < 0;
    });
    return summaries;
}

QString counted(int count, const QString& noun) {
    return QStringLiteral("%1 %2%3").arg(count).arg(noun, count == 1 ? "" : "s");
}

QString shareText(int right, int of) {
    const int percent = of > 0 ? (200 * right + of) / (2 * of) : 0;
    return QStringLiteral("%1 of %2 (%3%)").arg(right).arg(of).arg(percent);
}

} // namespace corvane::results
