// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace corvane::bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double median(std::vector<double> samples) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const std::size_t mid = samples.size() / 2;
    return samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2;
}

// One figure per line: name, value, unit, then the reference measured in the same run and the
// goal, so that a reader sees at once how far the figure is from both.
inline void printFigure(const char* name, double value, const char* unit, const char* reference,
                        double referenceValue, const char* goal) {
    std::printf("%-24s %10.3f %-3s  reference %-26s %10.3f %-3s  goal %s\n", name, value, unit,
                reference, referenceValue, unit, goal);
    std::fflush(stdout);
}

} // namespace corvane::bench
