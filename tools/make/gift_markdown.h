// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::make {

// A GIFT file's bytes as UTF-8: a byte-order mark is dropped, and a file that is not valid
// UTF-8 is read as Latin-1.
std::string giftFileAsUtf8(std::string_view bytes);

// A GIFT text as lines of Markdown source that show it as the quiz showed it. HTML (the
// [html] and default [moodle] formats) loses its tags but <sup> and <sub>, and its entities are
// decoded; plain text is escaped so that it reads literally; [markdown] stays Markdown,
// guarded only where it would end the question. An empty line separates paragraphs. `media`
// names the first tag that brings what a GIFT file cannot carry or a test page must not run
// ("img" for <img> or ![]() in Markdown, "audio", "video", "iframe", "object", "embed",
// "script"), or is empty. `refused` names the first other thing the text's HTML holds that a
// test page may not (see html_allow_list.h), e.g. "the attribute onload on <svg>", or is empty.
struct MarkdownText {
    std::vector<std::string> lines;
    std::string media;
    std::string refused;
};
MarkdownText giftTextToMarkdown(const std::string& text, const std::string& format);

// A typed answer's text as a pupil types it: in the HTML formats without tags and with its
// entities decoded. `raised` tells of a <sup> or <sub>, which cannot be typed; `media` and
// `refused` are as in MarkdownText.
struct PlainText {
    std::string text;
    std::string media;
    bool raised = false;
    std::string refused;
};
PlainText giftTextToPlain(const std::string& text, const std::string& format);

// One line of plain text as Markdown that shows exactly these characters.
std::string escapeMarkdown(std::string_view line);

} // namespace corvane::make
