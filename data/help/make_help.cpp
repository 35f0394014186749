// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the help document, with pictures taken from the real window, or one screenshot of the
// whole window with its page drawn by the browser engine.
//   corvane-help-pdf PROGRAM_FOLDER SOURCE.html OUTPUT.pdf
//   corvane-help-pdf PROGRAM_FOLDER --screenshot OUTPUT.png ENGINE_PLUGIN
// PROGRAM_FOLDER holds the sample library as test/.

#include "help_window.h"
#include "platform/web_browser_view.h"
#include "pupil/fonts.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QTextImageFormat>

#include <cmath>
#include <cstdio>
#include <exception>
#include <memory>

namespace {

const char* const kStyle = R"(
h1 { font-family: "Comic Neue"; font-size: 26pt; color: #CC3300; }
h2 { font-family: "Comic Neue"; font-size: 18pt; color: #CC3300; }
h3 { font-size: 13pt; color: #663300; }
pre, code { font-family: "Liberation Mono"; font-size: 9pt; }
th { background-color: #FFCC66; text-align: left; }
td, th { padding: 3px; }
.note { background-color: #FFF3D6; }
.caption { font-size: 9pt; color: #555555; }
)";

// The pictures are taken at twice the window's scale, so that they print sharply.
constexpr char kPictureScale[] = "2";

QString pictureName(const QTextBlock& block) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        if (format.isImageFormat()) return format.toImageFormat().name();
    }
    return {};
}

// Every picture the source names must be one the window gives: a typo fails the build.
QStringList unknownPictures(const QTextDocument& document, const QStringList& known) {
    QStringList unknown;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString name = pictureName(block);
        if (!name.isEmpty() && !known.contains(name)) unknown << name;
    }
    return unknown;
}

// The document laid out as QTextDocument::print lays it out on `writer`: pages of the writer's
// size with margins of 2 cm.
std::unique_ptr<QTextDocument> printedLayout(const QTextDocument& document, QPdfWriter& writer) {
    std::unique_ptr<QTextDocument> copy(document.clone());
    copy->documentLayout()->setPaintDevice(&writer);
    const qreal margin = int(2 / 2.54 * 96);
    QTextFrameFormat frame = copy->rootFrame()->frameFormat();
    frame.setMargin(margin);
    copy->rootFrame()->setFrameFormat(frame);
    copy->setPageSize(QSizeF(writer.width(), writer.height()));
    return copy;
}

// A picture belongs with the heading above it. Where the two fall on different pages, that
// heading starts a new page; a heading already at the top of a page is left alone (its section
// is longer than a page) and reported. Returns false when a picture stays apart.
bool keepPicturesWithHeadings(QTextDocument& document, QPdfWriter& writer) {
    for (int round = 0; round < 50; ++round) {
        const std::unique_ptr<QTextDocument> printed = printedLayout(document, writer);
        QAbstractTextDocumentLayout* layout = printed->documentLayout();
        const qreal pageHeight = printed->pageSize().height();
        auto pageOf = [&](const QTextBlock& block, bool bottom) {
            const QRectF box = layout->blockBoundingRect(block);
            return int(std::floor((bottom ? box.bottom() - 1 : box.top()) / pageHeight));
        };
        QTextBlock heading;
        bool moved = false;
        for (QTextBlock block = printed->begin(); block.isValid(); block = block.next()) {
            if (block.blockFormat().headingLevel() > 0) {
                heading = block;
                continue;
            }
            if (pictureName(block).isEmpty() || !heading.isValid()) continue;
            if (pageOf(block, true) == pageOf(heading, false)) continue;
            QTextCursor cursor(document.findBlockByNumber(heading.blockNumber()));
            if (cursor.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) {
                std::fprintf(stderr, "the picture %s does not fit on the page of \"%s\"\n",
                             qPrintable(pictureName(block)), qPrintable(heading.text()));
                return false;
            }
            QTextBlockFormat format;
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.mergeBlockFormat(format);
            moved = true;
            break;
        }
        if (!moved) return true;
    }
    return false;
}

int writePdf(const std::string& programFolder, const char* sourcePath, const char* pdfPath) {
    QFile source(QString::fromLocal8Bit(sourcePath));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", sourcePath);
        return 1;
    }
    const QMap<QString, QImage> pictures = corvane::help::helpPictures(programFolder);

    QTextDocument document;
    QFont bodyFont("Liberation Sans");
    bodyFont.setPointSize(10);
    document.setDefaultFont(bodyFont);
    document.setDefaultStyleSheet(QString::fromLatin1(kStyle));
    for (auto it = pictures.begin(); it != pictures.end(); ++it)
        document.addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());
    document.setHtml(QString::fromUtf8(source.readAll()));

    const QStringList unknown = unknownPictures(document, pictures.keys());
    if (!unknown.isEmpty()) {
        std::fprintf(stderr, "unknown pictures: %s\n", qPrintable(unknown.join(", ")));
        return 1;
    }

    QPdfWriter writer(QString::fromLocal8Bit(pdfPath));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(300);
    writer.setTitle("Corvane Maths Help");
    writer.setCreator("Corvane Maths");
    if (!keepPicturesWithHeadings(document, writer)) return 1;
    document.print(&writer);
    return 0;
}

int writeScreenshot(const std::string& programFolder, const char* pngPath,
                    const char* enginePlugin) {
    corvane::WebBrowserViews browsers(QString::fromLocal8Bit(enginePlugin));
    const QImage shot = corvane::help::windowScreenshot(programFolder, browsers);
    if (!shot.save(QString::fromLocal8Bit(pngPath), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", pngPath);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool screenshot = argc == 5 && std::string(argv[2]) == "--screenshot";
    if (argc != 4 && !screenshot) {
        std::fprintf(
            stderr,
            "usage: corvane-help-pdf PROGRAM_FOLDER SOURCE.html OUTPUT.pdf\n"
            "       corvane-help-pdf PROGRAM_FOLDER --screenshot OUTPUT.png ENGINE_PLUGIN\n");
        return 2;
    }
    // No screen is needed; the screenshot is at the window's own size.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", screenshot ? "1" : kPictureScale);
    if (screenshot) {
        // Only the bundled sample pages are shown, so the engine's sandbox is not needed; it
        // could not start in a build environment without user namespaces anyway.
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        corvane::WebBrowserViews::prepareEngine();
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Corvane Maths");
    corvane::registerFontSubstitutes();
    try {
        return screenshot ? writeScreenshot(argv[1], argv[3], argv[4])
                          : writePdf(argv[1], argv[2], argv[3]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
