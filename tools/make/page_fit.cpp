// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/page_fit.h"

#include "core/app_error.h"
#include "platform/web_browser_view.h"
#include "tools/make/maths_typesetter.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <optional>

namespace corvane::make {

namespace {

constexpr QSize kQuestionView{791, 481};
constexpr QSize kFrontView{791, 526};

QString measuringScript() {
    QFile script(QStringLiteral(":/corvane-make/page_fit.js"));
    if (!script.open(QIODevice::ReadOnly)) qFatal("the page measure is not built in");
    return QString::fromUtf8(script.readAll());
}

QString fixFor(const QString& what) {
    if (what.startsWith(QLatin1String("a long word")))
        return QStringLiteral("Shorten the word or split it; options too long for a card may "
                              "be asked in the text, as A, B, C ... with short options.");
    if (what == QLatin1String("a table"))
        return QStringLiteral("Give the table fewer or narrower columns, or fewer rows.");
    if (what == QLatin1String("a picture")) return QStringLiteral("Use a smaller picture.");
    return QStringLiteral("Shorten the text or the options, or split the question in two.");
}

const QString& script() {
    static const QString measure = measuringScript();
    return measure;
}

// One page of a made test: its file, the view it is shown in, how errors name it, its line.
struct Page {
    QUrl url;
    QSize size;
    QString name;
    int line = 0;
};

Page pageOf(const MakeResult& made, int page) {
    const QDir pages(made.pageFolder);
    if (page == 0)
        return {QUrl::fromLocalFile(pages.filePath(QStringLiteral("front.htm"))), kFrontView,
                QStringLiteral("front page"), made.nameLine};
    return {QUrl::fromLocalFile(pages.filePath(QStringLiteral("question%1.htm").arg(page))),
            kQuestionView, QStringLiteral("page of question %1").arg(page),
            made.questionLines.at(static_cast<std::size_t>(page - 1))};
}

// One error per finding of the measure's `result` on `page`; false when the page could not
// be laid out at all.
bool readMeasure(const QString& result, const Page& shown, SourceErrors& errors) {
    const QSize& size = shown.size;
    const QString& page = shown.name;
    const int line = shown.line;
    if (result.isEmpty()) {
        errors.push_back({line,
                          QStringLiteral("The %1 could not be laid out to check that it "
                                         "fits.")
                              .arg(page),
                          QStringLiteral("Make the test again; if this stays, check its "
                                         "pictures.")});
        return false;
    }
    for (const QJsonValue& value : QJsonDocument::fromJson(result.toUtf8()).array()) {
        const QJsonObject found = value.toObject();
        const QString what = found[QLatin1String("what")].toString();
        const QString part = found[QLatin1String("part")].toString();
        const int by = found[QLatin1String("by")].toInt();
        const QString view = QStringLiteral("%1 × %2").arg(size.width()).arg(size.height());
        const QString message =
            what == QLatin1String("the options overlap")
                ? QStringLiteral("The %1 does not fit its %2 view: the options reach %3 pixels "
                                 "over %4.")
                      .arg(page, view)
                      .arg(by)
                      .arg(part)
            : found[QLatin1String("way")].toString() == QLatin1String("wide")
                ? QStringLiteral("The %1 does not fit its %2 view: %3 in %4 is %5 pixels too "
                                 "wide.")
                      .arg(page, view, what, part)
                      .arg(by)
                : QStringLiteral("The %1 does not fit its %2 view: %3 in %4; the page is %5 "
                                 "pixels too tall.")
                      .arg(page, view, what, part)
                      .arg(by);
        errors.push_back({line, message, fixFor(what)});
    }
    return true;
}

} // namespace

SourceErrors checkPageFits(const MakeResult& made, int page, WebBrowserViews& engine,
                           bool* laidOut) {
    SourceErrors errors;
    const Page shown = pageOf(made, page);
    const bool measured =
        readMeasure(engine.runOnPage(shown.url, shown.size, script()), shown, errors);
    if (laidOut) *laidOut = measured;
    return errors;
}

void checkPageFitsLater(const MakeResult& made, int page, WebBrowserViews& engine, QObject* context,
                        const PageChecked& done) {
    const Page shown = pageOf(made, page);
    engine.runOnPageLater(shown.url, shown.size, script(), context,
                          [shown, done](const QString& result) {
                              SourceErrors errors;
                              const bool laidOut = readMeasure(result, shown, errors);
                              done(errors, laidOut);
                          });
}

SourceErrors checkPagesFit(const MakeResult& made, WebBrowserViews& engine) {
    SourceErrors errors;
    // An engine that cannot lay out one page would keep each of the others waiting as long.
    bool laidOut = true;
    for (int page = 0; laidOut && page <= made.questionCount; ++page) {
        const SourceErrors found = checkPageFits(made, page, engine, &laidOut);
        errors.insert(errors.end(), found.begin(), found.end());
    }
    return errors;
}

void pointAtWords(SourceErrors& errors, const QString& source) {
    static const QRegularExpression longWord(QStringLiteral("a long word \"(.+)\" in "));
    const QStringList lines = source.split(QLatin1Char('\n'));
    for (SourceError& error : errors) {
        const QRegularExpressionMatch word = longWord.match(error.message);
        if (!word.hasMatch() || error.line < 1) continue;
        for (qsizetype i = error.line; i < lines.size(); ++i) { // from the line after the heading
            if (lines[i].startsWith(QLatin1String("## "))) break;
            if (lines[i].contains(word.captured(1))) {
                error.line = static_cast<int>(i) + 1;
                break;
            }
        }
    }
}

SourceError pagesNotChecked(int line, const AppError& error) {
    return {line,
            QStringLiteral("The pages cannot be checked: %1.")
                .arg(QString::fromStdString(error.what())),
            QStringLiteral("Install the program with its browser engine plugin.")};
}

MakeResult makeTestThatFits(const MakeRequest& request, WebBrowserViews& engine) {
    QTemporaryDir trial;
    // Both makes typeset the maths with one engine.
    std::optional<MathsTypesetter> ownMaths;
    MakeRequest trialRequest = request;
    if (!trialRequest.maths) trialRequest.maths = &ownMaths.emplace();
    trialRequest.outFolder = trial.filePath(QStringLiteral("library"));
    MakeResult made = makeTest(trialRequest);
    if (!made.errors.empty()) return made;
    try {
        made.errors = checkPagesFit(made, engine);
        pointAtWords(made.errors, QString::fromUtf8(request.sourceText));
    } catch (const AppError& error) {
        made.errors.push_back(pagesNotChecked(made.nameLine, error));
    }
    if (!made.errors.empty()) return made;
    MakeRequest finalRequest = request;
    finalRequest.maths = trialRequest.maths;
    return makeTest(finalRequest);
}

} // namespace corvane::make
