// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/question_store.h"
#include "tools/make/make_test.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace corvane::make {

// A run of Markdown lines and the source line of the first one.
struct MarkdownPart {
    int line = 0;
    QStringList lines;
    QString text() const { return lines.join(QLatin1Char('\n')); }
};

// What one question's page shows: heading, text, and the options or items as cards.
struct QuestionPage {
    int line = 0; // the heading's line
    QString heading;
    MarkdownPart body;
    std::vector<MarkdownPart> cards; // one line each: options or items to order
    bool letteredCards = false;      // cards carry the letters A to E
    QString formHint;                // how to write a typed answer, for the page's last line
};

// A test source once read: its name, front page and question pages, and the questions'
// answers in the store form the test file holds.
struct TestSource {
    QString name;
    int nameLine = 0;
    MarkdownPart front;
    bool readAloud = true; // "Read aloud: no" on the front page turns the pupil's reading off
    std::vector<QuestionPage> pages;
    QuestionStore store;
};

// Every run of Markdown the pages show: the front page, then each question's text and cards,
// then the headings (a part of one line each).
std::vector<MarkdownPart> markdownParts(const TestSource& source);

// Reads the source text (UTF-8, or Latin-1 when it is not valid UTF-8). Errors name their
// lines; the source is usable only when `errors` stays empty.
TestSource parseSource(const QByteArray& sourceText, SourceErrors& errors);

} // namespace corvane::make
