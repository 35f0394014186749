// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the GIFT reader of corvane-make. Every input must convert without a
// crash, and the source it converts to must read back, with no error, as exactly the questions
// it says it made: a GIFT text that breaks out of its escaping (a line that reads as a heading,
// an option or an answer line) aborts, and libFuzzer keeps the input.

#include "tools/make/gift_import.h"
#include "tools/make/test_source.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace corvane;
using namespace corvane::make;

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "gift fuzzer: %s\n%s\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const GiftImport result =
        importGift(std::string_view(reinterpret_cast<const char*>(data), size), "Quiz");
    if (result.made < 0 || result.made > kMaxQuestions) fail("made count out of range");
    int lastLine = 0;
    for (const GiftLeftOut& leftOut : result.leftOut) {
        if (leftOut.line <= lastLine) fail("left-out lines not in file order");
        if (leftOut.reason.empty()) fail("a question left out without a reason");
        lastLine = leftOut.line;
    }
    if (result.made == 0) return 0; // corvane-make makes no test of it

    SourceErrors errors;
    const TestSource source = parseSource(QByteArray::fromStdString(result.source), errors);
    std::string messages;
    for (const SourceError& error : errors)
        messages += std::to_string(error.line) + ": " + error.message.toStdString() + "\n";
    if (!errors.empty()) fail("the converted source does not read:", messages + result.source);
    if (source.name != QLatin1String("Quiz")) fail("the test's name changed:", result.source);
    if (static_cast<int>(source.pages.size()) != result.made)
        fail("the source holds another number of questions:", result.source);
    for (int q = 1; q <= result.made; ++q)
        if (source.store.questionType[q] == KNOTYPE) fail("a question without a type");
    return 0;
}
