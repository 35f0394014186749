#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::make {

// A GIFT file's bytes as UTF-8: a byte-order mark is dropped, and a file that is not valid
// UTF-8 is read as Latin-1.
std::string giftFileAsUtf8(std::string_view bytes);

// A GIFT text as lines of Markdown source that show it as the quiz showed it. HTML (the
// [html] and default [moodle] formats) loses its tags and entities; plain text is escaped so
// that it reads literally; [markdown] stays Markdown, guarded only where it would end the
// question. An empty line separates paragraphs. `picture` tells of a picture (<img>, or ![]()
// in Markdown) that the GIFT file cannot carry.
struct MarkdownText {
    std::vector<std::string> lines;
    bool picture = false;
};
MarkdownText giftTextToMarkdown(const std::string& text, const std::string& format);

// One line of plain text as Markdown that shows exactly these characters.
std::string escapeMarkdown(std::string_view line);

} // namespace corvane::make
