// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/gift_markdown.h"

#include "tools/make/markdown.h"

#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <array>
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

// "&amp;", "&frac12;", "&#163;", "&#xA3;" ... as UTF-8, through md4c's complete table of
// HTML's entities; an unknown entity stays as written. A control character or a no-break space
// becomes a blank, as a teacher editing the source would type it.
std::size_t decodeEntity(const std::string& html, std::size_t at, std::string& out) {
    const std::size_t end = html.find(';', at);
    if (end != std::string::npos && end - at <= 40) {
        std::string text =
            decodedEntity(QString::fromUtf8(html.data() + at, static_cast<qsizetype>(end - at + 1)))
                .toStdString();
        if (!text.empty()) {
            for (char& c : text)
                if (static_cast<unsigned char>(c) < 32) c = ' ';
            if (text == "\u00A0") text = " ";
            out += text;
            return end + 1;
        }
    }
    out += '&';
    return at + 1;
}

// Stand-ins for <sup>, </sup>, <sub> and </sub> while the text is escaped as Markdown: four
// characters of the private use area, which a GIFT text is cleared of first.
constexpr std::array<std::string_view, 4> kRaisedTags{"<sup>", "</sup>", "<sub>", "</sub>"};
constexpr std::array<std::string_view, 4> kRaisedMarks{"\xEE\x80\x80", "\xEE\x80\x81",
                                                       "\xEE\x80\x82", "\xEE\x80\x83"};

std::string replaced(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The tags whose content a GIFT file cannot carry or a test page must not run.
bool isMedia(const std::string& name) {
    static constexpr std::array<std::string_view, 7> kMedia{"img",    "audio", "video", "iframe",
                                                            "object", "embed", "script"};
    return std::find(kMedia.begin(), kMedia.end(), name) != kMedia.end();
}

// A link <a href="..."> to a sound or a video file: "sound link" or "video link", else empty.
std::string mediaLink(const std::string& tag) {
    const std::string lower = lowerCase(tag);
    const std::size_t href = lower.find("href");
    if (href == std::string::npos) return {};
    // The value after "=", quoted or not; GIFT's escapes (\=) taken out.
    std::size_t at = lower.find_first_not_of(" \t\n=\\", href + 4);
    if (at == std::string::npos) return {};
    const char quote = lower[at] == '"' || lower[at] == '\'' ? lower[at] : '\0';
    if (quote) ++at;
    std::size_t end = quote ? lower.find(quote, at) : lower.find_first_of(" \t\n>", at);
    if (end == std::string::npos) end = lower.size();
    std::string address = lower.substr(at, end - at);
    address = address.substr(0, address.find_first_of("?#"));
    while (!address.empty() && address.back() == '\\')
        address.pop_back();
    const std::size_t dot = address.rfind('.');
    if (dot == std::string::npos) return {};
    const std::string kind = address.substr(dot + 1);
    static constexpr std::array<std::string_view, 8> kSounds{"mp3", "wav", "ogg",  "oga",
                                                             "m4a", "aac", "flac", "opus"};
    static constexpr std::array<std::string_view, 7> kVideos{"mp4", "webm", "ogv", "mov",
                                                             "avi", "m4v",  "mkv"};
    if (std::find(kSounds.begin(), kSounds.end(), kind) != kSounds.end()) return "sound link";
    if (std::find(kVideos.begin(), kVideos.end(), kind) != kVideos.end()) return "video link";
    return {};
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

// HTML as plain text, <sup> and <sub> as their stand-ins. In the [moodle] format a line end
// of the text is a line break too; in [html] it is a blank like any other.
struct HtmlText {
    std::string text;
    std::string media;
    bool raised = false;
};
HtmlText htmlToPlain(const std::string& html, bool keepLineEnds) {
    HtmlText out;
    for (std::size_t i = 0; i < html.size();) {
        const char c = html[i];
        const bool tagStart = c == '<' && i + 1 < html.size() &&
                              (isLetter(html[i + 1]) || html[i + 1] == '/' || html[i + 1] == '!');
        const std::size_t close = tagStart ? html.find('>', i) : std::string::npos;
        if (close != std::string::npos) {
            const bool closing = html[i + 1] == '/';
            std::size_t n = i + 1 + (closing ? 1 : 0);
            std::size_t nameEnd = n;
            while (nameEnd < close && (isLetter(html[nameEnd]) ||
                                       std::isdigit(static_cast<unsigned char>(html[nameEnd]))))
                ++nameEnd;
            const std::string name = lowerCase(html.substr(n, nameEnd - n));
            if (isMedia(name) && out.media.empty()) out.media = name;
            if (name == "a" && !closing && out.media.empty())
                out.media = mediaLink(html.substr(i, close - i));
            if (name == "sup" || name == "sub") {
                out.text += kRaisedMarks[(name == "sub" ? 2 : 0) + (closing ? 1 : 0)];
                out.raised = true;
            }
            out.text += tagBreak(name);
            i = close + 1;
        } else if (c == '&') {
            i = decodeEntity(html, i, out.text);
        } else {
            out.text += c == '\n' && !keepLineEnds ? ' ' : c;
            ++i;
        }
    }
    return out;
}

// The first media tag of Markdown text: raw HTML, or ![]() for a picture.
std::string markdownMedia(const std::string& text) {
    const std::string lower = lowerCase(text);
    std::size_t first = text.find("![");
    std::string media = first == std::string::npos ? "" : "img";
    for (std::size_t at = lower.find('<'); at != std::string::npos; at = lower.find('<', at + 1)) {
        std::size_t end = at + 1;
        while (end < lower.size() && isLetter(lower[end]))
            ++end;
        if (isMedia(lower.substr(at + 1, end - at - 1)) && at < first) {
            first = at;
            media = lower.substr(at + 1, end - at - 1);
        }
    }
    return media;
}

// The text without control characters (a CR from "&#13;" would end or break a line of the
// source) and without the stand-ins of <sup> and <sub>.
std::string cleared(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32 && c != '\n') c = ' ';
    for (std::string_view mark : kRaisedMarks)
        text = replaced(std::move(text), mark, "");
    return text;
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

// The first thing the HTML of a text in `format` holds that a page may not, or empty. Markdown
// is judged as corvane-make judges a source; HTML as written.
std::string refusedHtml(const std::string& text, const std::string& format) {
    if (format == "plain") return {};
    const std::vector<HtmlRefusal> refused =
        format == "markdown" ? refusedIn(QString::fromStdString(text))
                             : checkHtml(QByteArray::fromStdString(text)).refused;
    return refused.empty() ? std::string() : refused.front().what.toStdString();
}

// A line of plain text as Markdown, its $$..$$ formulas kept as maths in the line ($..$), as
// quizzes show them. The TeX stays as written; only the text around it is escaped.
std::string escapeMarkdownKeepingMaths(std::string_view line) {
    std::string out;
    std::size_t at = 0;
    for (std::size_t open = line.find("$$"); open != std::string_view::npos;
         open = line.find("$$", at)) {
        const std::size_t close = line.find("$$", open + 2);
        if (close == std::string_view::npos) break;
        const std::string tex = trimBlanks(line.substr(open + 2, close - open - 2));
        if (tex.empty()) break;
        if (open > at) out += escapeMarkdown(line.substr(at, open - at));
        out += "$" + tex + "$";
        at = close + 2;
    }
    return out + escapeMarkdown(line.substr(at));
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
    const std::string clean = cleared(text);
    result.refused = refusedHtml(clean, format);
    if (format == "markdown") {
        result.media = markdownMedia(clean);
        for (std::string& line : paragraphLines(clean))
            result.lines.push_back(guardMarkdownLine(std::move(line)));
        return result;
    }
    HtmlText plain{clean, {}, false};
    if (format != "plain") plain = htmlToPlain(clean, format == "moodle");
    result.media = plain.media;
    for (const std::string& line : paragraphLines(plain.text)) {
        std::string escaped = escapeMarkdownKeepingMaths(line);
        for (std::size_t k = 0; k < kRaisedMarks.size(); ++k)
            escaped = replaced(std::move(escaped), kRaisedMarks[k], kRaisedTags[k]);
        result.lines.push_back(std::move(escaped));
    }
    return result;
}

PlainText giftTextToPlain(const std::string& text, const std::string& format) {
    const std::string clean = cleared(text);
    if (format == "plain") return {clean, {}, false, {}};
    if (format == "markdown")
        return {clean, markdownMedia(clean), false, refusedHtml(clean, format)};
    HtmlText plain = htmlToPlain(clean, false);
    for (std::string_view mark : kRaisedMarks)
        plain.text = replaced(std::move(plain.text), mark, "");
    return {std::move(plain.text), std::move(plain.media), plain.raised,
            refusedHtml(clean, format)};
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
