// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/gift_scan.h"

namespace corvane::make {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trimView(std::string_view line) {
    while (!line.empty() && isBlank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && isBlank(line.back()))
        line.remove_suffix(1);
    return line;
}

// The characters a backslash takes literally; any other backslash stays as it is.
bool isEscapable(char c) {
    return c == '~' || c == '=' || c == '#' || c == '{' || c == '}' || c == ':' || c == '\\';
}

GiftText unescape(std::string_view raw) {
    GiftText text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\\' && i + 1 < raw.size() && (isEscapable(raw[i + 1]) || raw[i + 1] == 'n')) {
            ++i;
            text.bytes += raw[i] == 'n' ? '\n' : raw[i];
            text.literal.push_back(true);
        } else {
            text.bytes += c;
            text.literal.push_back(false);
        }
    }
    return text;
}

} // namespace

bool GiftText::hasToken(std::size_t at, std::string_view token) const {
    if (at + token.size() > bytes.size()) return false;
    for (std::size_t i = 0; i < token.size(); ++i)
        if (bytes[at + i] != token[i] || literal[at + i]) return false;
    return true;
}

std::size_t GiftText::find(std::string_view token, std::size_t from) const {
    for (std::size_t at = bytes.find(token, from); at != std::string::npos;
         at = bytes.find(token, at + 1))
        if (hasToken(at, token)) return at;
    return std::string::npos;
}

GiftText GiftText::slice(std::size_t from, std::size_t to) const {
    to = std::min(to, bytes.size());
    if (from >= to) return {};
    return {bytes.substr(from, to - from),
            std::vector<bool>(literal.begin() + static_cast<std::ptrdiff_t>(from),
                              literal.begin() + static_cast<std::ptrdiff_t>(to))};
}

GiftText GiftText::trimmed() const {
    std::size_t from = 0;
    std::size_t to = bytes.size();
    while (from < to && isBlank(bytes[from]) && !literal[from])
        ++from;
    while (to > from && isBlank(bytes[to - 1]) && !literal[to - 1])
        --to;
    return slice(from, to);
}

std::vector<GiftItem> splitGiftItems(std::string_view file) {
    std::vector<GiftItem> items;
    std::string block;
    int blockLine = 0;
    const auto endBlock = [&] {
        if (!block.empty()) items.push_back({blockLine, unescape(block)});
        block.clear();
    };
    int lineNumber = 0;
    std::size_t at = 0;
    while (at < file.size()) {
        ++lineNumber;
        std::size_t end = file.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = file.size();
        const std::string_view line = file.substr(at, end - at);
        at = end;
        if (at < file.size() && file[at++] == '\r' && at < file.size() && file[at] == '\n') ++at;

        const std::string_view content = trimView(line);
        if (content.starts_with("//")) continue;
        if (content.empty()) {
            endBlock();
            continue;
        }
        if (content.starts_with("$CATEGORY:")) {
            // A category line stands alone even where no blank line follows it.
            endBlock();
            items.push_back({lineNumber, unescape(content)});
            continue;
        }
        if (block.empty())
            blockLine = lineNumber;
        else
            block += '\n';
        block += line;
    }
    endBlock();
    return items;
}

} // namespace corvane::make
