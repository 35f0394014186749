#include "tools/make/gift_markdown.h"

#include <QString>
#include <QStringDecoder>

#include <cctype>

namespace corvane::make {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string lowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string codePointAsUtf8(char32_t code) {
    if (code < 32) return " ";
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
    return QString::fromUcs4(&code, 1).toStdString();
}

// "&amp;", "&#163;", "&#xA3;" ... as UTF-8; an unknown entity stays as written.
std::size_t decodeEntity(const std::string& html, std::size_t at, std::string& out) {
    const std::size_t end = html.find(';', at);
    if (end == std::string::npos || end - at > 10) {
        out += '&';
        return at + 1;
    }
    const std::string name = html.substr(at + 1, end - at - 1);
    static const std::pair<const char*, const char*> kNamed[] = {
        {"amp", "&"},  {"lt", "<"},         {"gt", ">"},         {"quot", "\""},      {"apos", "'"},
        {"nbsp", " "}, {"pound", "\u00A3"}, {"times", "\u00D7"}, {"divide", "\u00F7"}};
    for (const auto& [entity, text] : kNamed)
        if (name == entity) {
            out += text;
            return end + 1;
        }
    if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::string digits = name.substr(hex ? 2 : 1);
        if (!digits.empty() && digits.size() <= 6 &&
            digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") ==
                std::string::npos) {
            out +=
                codePointAsUtf8(static_cast<char32_t>(std::stoul(digits, nullptr, hex ? 16 : 10)));
            return end + 1;
        }
    }
    out += '&';
    return at + 1;
}

// What a tag leaves in the text: a line break, a paragraph break or nothing.
std::string tagBreak(const std::string& name) {
    static const char* const kParagraphs[] = {"p",  "div", "h1", "h2",    "h3", "h4",        "h5",
                                              "h6", "ul",  "ol", "table", "tr", "blockquote"};
    if (name == "br" || name == "li") return "\n";
    for (const char* paragraph : kParagraphs)
        if (name == paragraph) return "\n\n";
    return name == "td" || name == "th" ? " " : "";
}

// HTML as plain text. In the [moodle] format a line end of the text is a line break too; in
// [html] it is a blank like any other.
std::string htmlToPlain(const std::string& html, bool keepLineEnds, bool& picture) {
    std::string out;
    for (std::size_t i = 0; i < html.size();) {
        const char c = html[i];
        const bool tagStart = c == '<' && i + 1 < html.size() &&
                              (isLetter(html[i + 1]) || html[i + 1] == '/' || html[i + 1] == '!');
        const std::size_t close = tagStart ? html.find('>', i) : std::string::npos;
        if (close != std::string::npos) {
            std::size_t n = i + 1 + (html[i + 1] == '/' ? 1 : 0);
            std::size_t nameEnd = n;
            while (nameEnd < close && (isLetter(html[nameEnd]) ||
                                       std::isdigit(static_cast<unsigned char>(html[nameEnd]))))
                ++nameEnd;
            const std::string name = lowerCase(html.substr(n, nameEnd - n));
            if (name == "img") picture = true;
            out += tagBreak(name);
            i = close + 1;
        } else if (c == '&') {
            i = decodeEntity(html, i, out);
        } else {
            out += c == '\n' && !keepLineEnds ? ' ' : c;
            ++i;
        }
    }
    return out;
}

std::string trimBlanks(std::string_view line) {
    const std::size_t from = line.find_first_not_of(" \t");
    if (from == std::string_view::npos) return {};
    return std::string(line.substr(from, line.find_last_not_of(" \t") - from + 1));
}

// Lines of `text`, trimmed, with runs of empty lines made one, none at either end.
std::vector<std::string> paragraphLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = trimBlanks(std::string_view(text).substr(at, end - at));
        if (!line.empty() || (!lines.empty() && !lines.back().empty()))
            lines.push_back(std::move(line));
        at = end + 1;
    }
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}

// A line starting with words and a colon ("Word:", "Labelled order :") can read as an answer
// line; the colon's place, or npos.
std::size_t keywordColon(std::string_view line) {
    std::size_t n = 0;
    while (n < line.size() && (isLetter(line[n]) || (n > 0 && line[n] == ' ')))
        ++n;
    return n > 0 && n < line.size() && line[n] == ':' ? n : std::string_view::npos;
}

// Markdown that must stay Markdown, kept from starting a heading, an answer line or an option.
std::string guardMarkdownLine(std::string line) {
    if (line.starts_with('#') || line.starts_with("```") || line.starts_with("~~~"))
        return "\\" + line;
    if (const std::size_t colon = keywordColon(line); colon != std::string_view::npos)
        return line.insert(colon, "\\");
    if (line.size() > 2 && (line[0] == '-' || line[0] == '*' || line[0] == '+') && line[1] == ' ' &&
        line.find_first_not_of(' ', 1) != std::string::npos &&
        line[line.find_first_not_of(' ', 1)] == '[')
        return line.insert(line.find_first_not_of(' ', 1), "\\");
    return line;
}

} // namespace

std::string giftFileAsUtf8(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text =
        decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!decoder.hasError()) return std::string(bytes);
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())).toStdString();
}

MarkdownText giftTextToMarkdown(const std::string& text, const std::string& format) {
    MarkdownText result;
    std::string clean = text;
    // A control character (a CR from "&#13;" too) would end or break a line of the source.
    for (char& c : clean)
        if (static_cast<unsigned char>(c) < 32 && c != '\n') c = ' ';
    if (format == "markdown") {
        result.picture = clean.find("![") != std::string::npos ||
                         lowerCase(clean).find("<img") != std::string::npos;
        for (std::string& line : paragraphLines(clean))
            result.lines.push_back(guardMarkdownLine(std::move(line)));
        return result;
    }
    const std::string plain =
        format == "plain" ? clean : htmlToPlain(clean, format == "moodle", result.picture);
    for (const std::string& line : paragraphLines(plain))
        result.lines.push_back(escapeMarkdown(line));
    return result;
}

std::string escapeMarkdown(std::string_view line) {
    static constexpr std::string_view kAlways = "\\`*_[]<>#|~&$!";
    std::string out;
    std::size_t i = 0;
    // What only the start of a line gives a meaning: a list, a heading underline, a numbered
    // list ("3." or "3)"), an answer line ("Word:").
    if (!line.empty() && (line[0] == '-' || line[0] == '+' || line[0] == '=')) {
        out += '\\';
    } else if (const std::size_t digits = line.find_first_not_of("0123456789");
               digits > 0 && digits != std::string_view::npos &&
               (line[digits] == '.' || line[digits] == ')')) {
        out += line.substr(0, digits);
        out += '\\';
        i = digits;
    } else if (const std::size_t colon = keywordColon(line); colon != std::string_view::npos) {
        out += line.substr(0, colon);
        out += '\\';
        i = colon;
    }
    for (; i < line.size(); ++i) {
        if (kAlways.find(line[i]) != std::string_view::npos) out += '\\';
        out += static_cast<unsigned char>(line[i]) < 32 ? ' ' : line[i];
    }
    return out;
}

} // namespace corvane::make
