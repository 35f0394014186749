// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/maths_typesetter.h"

#include "core/spoken_maths.h"
#include "core/tex_plain.h"

#include <QDir>
#include <QFile>
#include <QJSEngine>
#include <QLoggingCategory>
#include <QRegularExpression>

#include <mutex>

namespace corvane::make {

namespace {

const QString kKatexFolder = QStringLiteral(CORVANE_KATEX_DIR);
const QString kFontFolder = QStringLiteral(CORVANE_KATEX_FONTS_DIR);

// KaTeX's bundle trips the engine's lint of variables used before their declaration; the
// bundle is fine, and the lines would only bury the make's own messages.
QLoggingCategory::CategoryFilter previousFilter = nullptr;
void withoutCompilerLint(QLoggingCategory* category) {
    if (previousFilter) previousFilter(category);
    if (qstrcmp(category->categoryName(), "qt.qml.compiler") == 0)
        category->setEnabled(QtWarningMsg, false);
}

// KaTeX's HTML and MathML for a formula, or its error. The options keep a formula from running
// commands that reach out (trust), building huge boxes or expanding macros without end.
const char* const kRenderer = R"(
(function (tex, display) {
    try {
        return { html: katex.renderToString(tex, {
            output: "htmlAndMathml", throwOnError: true, displayMode: display,
            strict: "ignore", trust: false, maxSize: 20, maxExpand: 200 }) };
    } catch (e) {
        return { error: String(e && e.message ? e.message : e) };
    }
}))";

QString htmlUnescaped(QString text) {
    return text.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

// KaTeX's message without its own name and the echo of the formula: "Expected '}', got 'EOF'".
QString plainReason(const QString& message) {
    static const QRegularExpression wrapper(
        QStringLiteral("^(?:\\w*Error: )?(?:KaTeX parse error: )?(.*?)(?: at position \\d+:.*| "
                       "at end of input:.*)?$"),
        QRegularExpression::DotMatchesEverythingOption);
    QString reason = wrapper.match(message).captured(1).trimmed();
    if (reason.isEmpty()) reason = message;
    if (!reason.endsWith(QLatin1Char('.'))) reason += QLatin1Char('.');
    return reason;
}

// Dollar signs of money that md4c took for maths ("$3 and $4"): maths has no blank just inside
// its dollar signs, and no digit right after the closing one.
bool isMoney(const QString& tex, QStringView after) {
    return tex.isEmpty() || tex.front().isSpace() || tex.back().isSpace() ||
           (!after.isEmpty() && after.front().isDigit());
}

} // namespace

QString spokenFormula(const QString& tex) {
    return spokenMaths(texAsPlain(tex));
}

// KaTeX loaded in an engine of its own, or why it could not be.
struct MathsTypesetter::Engine {
    QJSEngine js;
    QJSValue render;
    QString problem;

    Engine() {
        static std::once_flag quiet;
        std::call_once(
            quiet, [] { previousFilter = QLoggingCategory::installFilter(withoutCompilerLint); });
        QFile bundle(QDir(kKatexFolder).filePath(QStringLiteral("katex.min.js")));
        if (!bundle.open(QIODevice::ReadOnly)) {
            problem = QStringLiteral("KaTeX cannot be read from %1.").arg(bundle.fileName());
            return;
        }
        // The bundle looks for a module system or a browser window to hang itself on; it gets
        // only the engine's bare global object.
        js.evaluate(QStringLiteral("var window = this, self = this;"));
        const QJSValue loaded = js.evaluate(QString::fromUtf8(bundle.readAll()), bundle.fileName());
        render = js.evaluate(QString::fromLatin1(kRenderer));
        if (loaded.isError() || !render.isCallable())
            problem = QStringLiteral("KaTeX does not start: %1.").arg(loaded.toString());
    }

    // KaTeX's HTML for `tex`, or empty and `reason` set.
    QString typeset(const QString& tex, bool display, QString& reason) {
        if (!problem.isEmpty()) {
            reason = problem;
            return {};
        }
        const QJSValue made = render.call({tex, display});
        const QJSValue html = made.property(QStringLiteral("html"));
        if (html.isString()) return html.toString();
        reason = made.isError() ? made.toString()
                                : plainReason(made.property(QStringLiteral("error")).toString());
        return {};
    }
};

MathsTypesetter::MathsTypesetter() = default;
MathsTypesetter::~MathsTypesetter() = default;

TypesetHtml MathsTypesetter::typeset(const QByteArray& html) {
    static const QRegularExpression equation(
        QStringLiteral("<x-equation( type=\"display\")?>(.*?)</x-equation>"),
        QRegularExpression::DotMatchesEverythingOption);
    TypesetHtml out;
    const QString text = QString::fromUtf8(html);
    QString result;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& m : equation.globalMatch(text)) {
        result += QStringView(text).mid(done, m.capturedStart() - done);
        done = m.capturedEnd();
        const QString tex = htmlUnescaped(m.captured(2));
        const bool display = m.capturedLength(1) > 0;
        if (!display && isMoney(tex, QStringView(text).mid(done))) {
            result += QLatin1Char('$') + m.captured(2) + QLatin1Char('$');
            continue;
        }
        if (!engine_) engine_ = std::make_unique<Engine>();
        QString reason;
        const QString typeset = engine_->typeset(tex, display, reason);
        if (typeset.isEmpty()) {
            out.faults.push_back({tex, reason});
            result += m.captured(2);
            continue;
        }
        result +=
            QStringLiteral("<span class=\"maths%1\" role=\"math\" aria-label=\"%2\">%3</span>")
                .arg(display ? QStringLiteral(" display") : QString(),
                     spokenFormula(tex).toHtmlEscaped(), typeset);
    }
    result += QStringView(text).mid(done);
    out.html = result.toUtf8();
    return out;
}

std::vector<TypesetSpan> typesetSpans(const QString& html) {
    static const QRegularExpression open(
        QStringLiteral("<span class=\"maths( display)?\" role=\"math\"[^>]*>"));
    static const QRegularExpression span(QStringLiteral("<(/?)span\\b[^>]*>"));
    static const QRegularExpression tex(
        QStringLiteral("<annotation encoding=\"application/x-tex\">(.*?)</annotation>"),
        QRegularExpression::DotMatchesEverythingOption);
    std::vector<TypesetSpan> spans;
    for (QRegularExpressionMatch m = open.match(html); m.hasMatch();
         m = open.match(html, spans.back().end)) {
        int depth = 1;
        qsizetype end = -1;
        for (QRegularExpressionMatchIterator tags = span.globalMatch(html, m.capturedEnd());
             end < 0 && tags.hasNext();) {
            const QRegularExpressionMatch tag = tags.next();
            depth += tag.capturedLength(1) > 0 ? -1 : 1;
            if (depth == 0) end = tag.capturedEnd();
        }
        const QRegularExpressionMatch formula =
            tex.match(QStringView(html).mid(m.capturedStart(), end - m.capturedStart()));
        if (end < 0 || !formula.hasMatch()) break;
        const QString dollars =
            m.capturedLength(1) > 0 ? QStringLiteral("$$") : QStringLiteral("$");
        spans.push_back(
            {m.capturedStart(), end, dollars + htmlUnescaped(formula.captured(1)) + dollars});
    }
    return spans;
}

std::vector<PageFile> mathsStyleFiles(QString& problem) {
    QFile css(QDir(kKatexFolder).filePath(QStringLiteral("katex.min.css")));
    if (!css.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("KaTeX's style sheet %1 cannot be read").arg(css.fileName());
        return {};
    }
    // Only the woff2 fonts go with the test; the engine reads them, and the other forms would
    // be links to files that are not there.
    static const QRegularExpression otherForms(
        QStringLiteral(",\\s*url\\([^)]*\\)\\s*format\\(['\"](?:woff|truetype)['\"]\\)"));
    std::vector<PageFile> files{{QStringLiteral("katex/katex.css"),
                                 QString::fromUtf8(css.readAll()).remove(otherForms).toUtf8()}};
    const QDir fonts(kFontFolder);
    const QStringList names = fonts.entryList({QStringLiteral("KaTeX_*.woff2")}, QDir::Files);
    for (const QString& name : names) {
        QFile font(fonts.filePath(name));
        if (!font.open(QIODevice::ReadOnly)) {
            problem = QStringLiteral("the font %1 cannot be read").arg(font.fileName());
            return {};
        }
        files.push_back({QStringLiteral("katex/fonts/") + name, font.readAll()});
    }
    if (names.isEmpty())
        problem = QStringLiteral("KaTeX's fonts are missing from %1").arg(kFontFolder);
    return files;
}

QByteArray mathsStyleLink() {
    return "  <link rel=\"stylesheet\" href=\"katex/katex.css\">\n";
}

} // namespace corvane::make
