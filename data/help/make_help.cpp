// Writes the help document: lays out its HTML source with the pictures of the program's own
// screens and answer panels and prints it to a PDF file.
//   corvane-help-pdf SOURCE.html OUTPUT.pdf

#include "app/fonts.h"
#include "help_pictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

#include <cstdio>

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

// Every picture the source names must be one the generator draws: a typo fails the build.
QStringList unknownPictures(const QTextDocument& document, const QStringList& known) {
    QStringList unknown;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) continue;
            const QString name = format.toImageFormat().name();
            if (!known.contains(name)) unknown << name;
        }
    }
    return unknown;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: corvane-help-pdf SOURCE.html OUTPUT.pdf\n");
        return 2;
    }
    corvane::registerFontSubstitutes();

    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }

    QTextDocument document;
    QFont bodyFont("Liberation Sans");
    bodyFont.setPointSize(10);
    document.setDefaultFont(bodyFont);
    document.setDefaultStyleSheet(QString::fromLatin1(kStyle));
    const QStringList pictures = corvane::help::helpPictureNames();
    for (const QString& name : pictures)
        document.addResource(QTextDocument::ImageResource, QUrl(name),
                             corvane::help::helpPicture(name));
    document.setHtml(QString::fromUtf8(source.readAll()));

    const QStringList unknown = unknownPictures(document, pictures);
    if (!unknown.isEmpty()) {
        std::fprintf(stderr, "unknown pictures: %s\n", qPrintable(unknown.join(", ")));
        return 1;
    }

    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(300);
    writer.setTitle("Corvane Maths Help");
    writer.setCreator("Corvane Maths");
    document.print(&writer);
    return 0;
}
