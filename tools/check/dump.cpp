// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/check/dump.h"

#include "core/app_error.h"
#include "core/reader.h"

#include <QList>

#include <algorithm>

namespace corvane::check {

namespace {

QByteArray jsonArray(const QList<QByteArray>& items) {
    return '[' + items.join(", ") + ']';
}

template <typename Row> QByteArray numberArray(const Row& row, int from, int to) {
    QList<QByteArray> items;
    for (int j = from; j <= to; ++j)
        items << QByteArray::number(row[j]);
    return jsonArray(items);
}

template <typename Row> QByteArray textArray(const Row& row, int from, int to) {
    QList<QByteArray> items;
    for (int j = from; j <= to; ++j)
        items << jsonString(row[j]);
    return jsonArray(items);
}

QByteArray questionJson(const QuestionStore& s, int q) {
    const int alternatives = std::clamp(s.altCount[q], 0, kMaxAlternatives);
    const QList<std::pair<const char*, QByteArray>> fields{
        {"questionType", QByteArray::number(s.questionType[q])},
        {"optionCount", QByteArray::number(s.optionCount[q])},
        {"answerKey", numberArray(s.answerKey[q], 1, kMaxOptions)},
        {"answerText", jsonString(s.answerText[q])},
        {"optionLabel", textArray(s.optionLabel[q], 1, kMaxOptions)},
        {"fixedItemPos", QByteArray::number(s.fixedItemPos[q])},
        {"fixedItemText", jsonString(s.fixedItemText[q])},
        {"altCount", QByteArray::number(s.altCount[q])},
        {"altText", textArray(s.altText[q], 1, alternatives)},
    };
    QList<QByteArray> members;
    for (const auto& [name, value] : fields)
        members << "      \"" + QByteArray(name) + "\": " + value;
    return "    {\n" + members.join(",\n") + "\n    }";
}

} // namespace

QByteArray jsonString(const Text& text) {
    QByteArray json = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            json += '\\' + QByteArray(1, c);
        else if (byte < 32 || byte >= 127)
            json += "\\u00" + QByteArray::number(byte, 16).toUpper().rightJustified(2, '0');
        else
            json += c;
    }
    return json + '"';
}

QByteArray storeJson(const QuestionStore& store) {
    QList<QByteArray> questions;
    for (int q = 1; q <= std::min(store.questionCount, kMaxQuestions); ++q)
        questions << questionJson(store, q);
    const QByteArray list =
        questions.isEmpty() ? QByteArray("[]") : "[\n" + questions.join(",\n") + "\n  ]";
    return "{\n  \"questionCount\": " + QByteArray::number(store.questionCount) +
           ",\n  \"questions\": " + list + "\n}\n";
}

QByteArray dumpTestFile(const std::string& path, bool& loaded) {
    QuestionStore store;
    try {
        readTestFile(path, store);
    } catch (const AppError& error) {
        loaded = false;
        return "{\"error\": " + jsonString(error.what()) + "}\n";
    }
    loaded = true;
    return storeJson(store);
}

} // namespace corvane::check
