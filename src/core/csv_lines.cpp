// SPDX-License-Identifier: GPL-3.0-or-later
// RFC 4180 read through libcsv in strict mode. libcsv reports every unquoted CR and LF as a
// line end of its own (CSV_REPALL_NL), which lets the collector below take CR LF pairs and bare
// LFs as line ends and refuse a lone CR.

#include "core/csv_lines.h"

#include <csv.h>

namespace corvane {

namespace {

struct Collector {
    CsvLines out;
    CsvLine fields;
    bool afterCr = false;    // a CR ended the last line; its LF must come next
    bool badLineEnd = false; // a lone CR
    bool unended = false;    // the last line has no line end
};

void onField(void* text, std::size_t size, void* data) {
    auto& c = *static_cast<Collector*>(data);
    if (c.afterCr) c.badLineEnd = true;
    c.fields.emplace_back(static_cast<const char*>(text), static_cast<qsizetype>(size));
}

void onLineEnd(int terminator, void* data) {
    auto& c = *static_cast<Collector*>(data);
    if (terminator == '\r') {
        if (c.afterCr) c.badLineEnd = true;
        c.out.lines.push_back(std::move(c.fields));
        c.fields.clear();
        c.afterCr = true;
    } else if (terminator == '\n') {
        if (c.afterCr && !c.fields.empty()) c.badLineEnd = true;
        if (!c.afterCr) {
            c.out.lines.push_back(std::move(c.fields));
            c.fields.clear();
        }
        c.afterCr = false;
    } else {
        c.unended = true;
    }
}

// Spaces around unquoted fields belong to the field.
int noSpaces(unsigned char) {
    return 0;
}

} // namespace

CsvLines splitCsvLines(QByteArrayView bytes) {
    csv_parser parser;
    csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL);
    csv_set_space_func(&parser, noSpaces);
    Collector c;
    const std::size_t size = static_cast<std::size_t>(bytes.size());
    const std::size_t used = csv_parse(&parser, bytes.data(), size, onField, onLineEnd, &c);
    const bool quotingBroken = used != size;
    const bool quoteOpen = !quotingBroken && csv_fini(&parser, onField, onLineEnd, &c) != 0;
    csv_free(&parser);

    if (quotingBroken)
        c.out.error = QStringLiteral("broken quoting near byte %1").arg(used + 1);
    else if (quoteOpen)
        c.out.error = QStringLiteral("cut short (a quoted field is not closed)");
    else if (c.unended || c.afterCr)
        c.out.error = QStringLiteral("cut short (the last line has no line end)");
    else if (c.badLineEnd)
        c.out.error = QStringLiteral("a line ends in a lone CR");
    if (!c.out.error.isEmpty()) c.out.lines.clear();
    return std::move(c.out);
}

} // namespace corvane
