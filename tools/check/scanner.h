// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/question_store.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::check {

// A field of the test file with the line it was read from.
template <typename T> struct Located {
    T value{};
    int line = 0;
};

// One question block as the reader takes it; the extra fields are filled only for the types
// that read them.
struct ScannedQuestion {
    int number = 0;
    Located<Text> typeLine;
    std::int32_t type = KNOTYPE;
    Located<std::int32_t> optionCount;
    std::array<Located<std::int32_t>, kMaxOptions> key{};
    Located<Text> answer;
    std::array<Located<Text>, kMaxOptions> labels{};
    Located<std::int32_t> fixedItemPos;
    Located<Text> fixedItemText;
    Located<std::int32_t> altCount;
    std::vector<Located<Text>> alternatives;
    Located<Text> closing;
};

struct LoadFailure {
    int line = 0;
    int question = 0; // 0 while reading the count line
    std::string message;
};

// Where a read first found the file already ended. A missing closing line at the very end
// of the file is no loss and is not recorded.
struct EarlyEnd {
    int line = 0;     // the line the read would have started on
    int question = 0; // the question being read
};

struct ScannedTest {
    Located<std::int32_t> count;
    std::vector<ScannedQuestion> questions; // every block read, in order, the failed one too
    std::optional<LoadFailure> failure;
    std::optional<EarlyEnd> earlyEnd;
    int nextLine = 0; // the first line after the last block
};

// Reads the readable part of a test file the way the reader does, keeping the line numbers.
// Stops where the reader fails, with the reader's message.
ScannedTest scanTestFile(std::string_view readable);

} // namespace corvane::check
