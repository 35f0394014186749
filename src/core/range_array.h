// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/app_error.h"

#include <array>

namespace corvane {

// A fixed array indexed Low..High; any other index raises "Range check error",
// so nothing is ever read or written outside it.
template <typename T, int Low, int High> class RangeArray {
  public:
    static constexpr int low = Low;
    static constexpr int high = High;

    T& operator[](int index) { return items_[offset(index)]; }
    const T& operator[](int index) const { return items_[offset(index)]; }

    static constexpr bool contains(int index) { return index >= Low && index <= High; }

  private:
    static std::size_t offset(int index) {
        if (!contains(index)) raiseRangeCheck();
        return static_cast<std::size_t>(index - Low);
    }

    std::array<T, High - Low + 1> items_{};
};

} // namespace corvane
