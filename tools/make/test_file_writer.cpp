// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/test_file_writer.h"

#include "tools/check/keywords.h"

namespace corvane::make {

namespace {

class LineWriter {
  public:
    void text(const Text& line) {
        bytes_.append(line.data(), static_cast<qsizetype>(line.size()));
        bytes_.append("\r\n");
    }
    void number(std::int32_t value) { text(std::to_string(value)); }
    QByteArray bytes() const { return bytes_; }

  private:
    QByteArray bytes_;
};

} // namespace

QByteArray testFileBytes(const QuestionStore& store, const std::vector<Text>& comments) {
    LineWriter out;
    out.number(store.questionCount);
    for (int q = 1; q <= store.questionCount; ++q) {
        const std::int32_t type = store.questionType[q];
        out.text(Text(check::keywordName(type)));
        out.text(comments.at(static_cast<std::size_t>(q - 1)));
        out.number(store.optionCount[q]);
        for (int j = 1; j <= kMaxOptions; ++j)
            out.number(store.answerKey[q][j]);
        out.text(store.answerText[q]);
        if (type == KORDERUSER) {
            for (int j = 1; j <= kMaxOptions; ++j)
                out.text(store.optionLabel[q][j]);
            out.number(store.fixedItemPos[q]);
            out.text(store.fixedItemText[q]);
        }
        if (type == KMULTIENTRYMULTI) {
            out.number(store.altCount[q]);
            for (int a = 1; a <= store.altCount[q]; ++a)
                out.text(store.altText[q][a]);
        }
        out.text("----------");
    }
    return out.bytes();
}

} // namespace corvane::make
