// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the test file reader. Each input is written to one scratch file and
// read into a new store made to look used. The input must either load into a well-formed
// store or fail with one of the reader's own messages; anything else aborts, and libFuzzer
// keeps the input.

#include "core/app_error.h"
#include "core/question_store.h"
#include "core/reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

using namespace corvane;

namespace {

int scratchFd = -1;
std::string scratchPath;

[[noreturn]] void fail(const char* what, std::string_view detail = {}) {
    std::fprintf(stderr, "reader fuzzer: %s %.*s\n", what, static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

// The scratch file lives in memory where the system offers it (eight times the speed of a
// disk); it is unlinked at once and reopened through /proc, so no run leaves it behind.
void openScratchFile() {
    std::string name = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    name += "/reader-fuzz-XXXXXX";
    scratchFd = ::mkstemp(name.data());
    if (scratchFd < 0) fail("cannot create a scratch file");
    ::unlink(name.c_str());
    scratchPath = "/proc/self/fd/" + std::to_string(scratchFd);
}

void writeScratchFile(const std::uint8_t* data, std::size_t size) {
    if (::ftruncate(scratchFd, 0) != 0) fail("cannot empty the scratch file");
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count =
            ::pwrite(scratchFd, data + done, size - done, static_cast<off_t>(done));
        if (count <= 0) fail("cannot write the scratch file");
        done += static_cast<std::size_t>(count);
    }
}

bool isReaderMessage(std::string_view message) {
    static constexpr std::array<std::string_view, 6> kMessages{
        "File not found",      "Invalid filename",      "File access denied",
        "Too many open files", "Invalid numeric input", "Range check error"};
    if (std::find(kMessages.begin(), kMessages.end(), message) != kMessages.end()) return true;
    constexpr std::string_view kIoError = "I/O error ";
    if (!message.starts_with(kIoError)) return false;
    message.remove_prefix(kIoError.size());
    if (message.starts_with('-')) message.remove_prefix(1);
    return !message.empty() && message.find_first_not_of("0123456789") == std::string_view::npos;
}

// A text from the file holds no line end and no end-of-file byte.
void checkLineText(const Text& text) {
    if (text.find_first_of(std::string_view("\r\n\x1a", 3)) != Text::npos)
        fail("a stored text holds a line end or byte 26:", text);
}

// A store as an earlier load and a pupil may leave it, with values no load of a valid file gives,
// so that the checks below see whether the reader overwrites what it must.
void fillAsUsed(QuestionStore& store) {
    for (int q = 1; q <= kMaxQuestions; ++q) {
        store.questionType[q] = 99;
        store.fixedItemPos[q] = 7;
        store.fixedItemText[q] = "old";
        for (int j = 1; j <= kMaxOptions; ++j)
            store.userMarks[q][j] = 1;
    }
}

// What a successful load promises about every question it read.
void checkLoadedStore(const QuestionStore& store) {
    if (store.questionCount > kMaxQuestions) fail("loaded more than 30 questions");
    for (int q = 1; q <= store.questionCount; ++q) {
        const std::int32_t type = store.questionType[q];
        if (type < KNOTYPE || type > KMULTIENTRYMULTI) fail("type code out of range");
        for (int j = 1; j <= kMaxOptions; ++j)
            if (store.userMarks[q][j] != 0) fail("a mark survived the load");
        checkLineText(store.answerText[q]);
        checkLineText(store.fixedItemText[q]);
        if (type != KORDERUSER && (store.fixedItemPos[q] != 0 || !store.fixedItemText[q].empty()))
            fail("fixed item kept on a question that is not KORDERUSER");
        for (int j = 0; j <= kMaxOptions; ++j)
            checkLineText(store.optionLabel[q][j]);
        if (type == KMULTIENTRYMULTI) {
            if (store.altCount[q] > kMaxAlternatives) fail("more than ten alternatives loaded");
            for (int i = 1; i <= store.altCount[q]; ++i)
                checkLineText(store.altText[q][i]);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    openScratchFile();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeScratchFile(data, size);
    QuestionStore store;
    fillAsUsed(store);
    try {
        readTestFile(scratchPath, store);
    } catch (const AppError& error) {
        if (!isReaderMessage(error.what())) fail("unexpected message:", error.what());
        return 0;
    }
    checkLoadedStore(store);
    return 0;
}
