// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/results/library_tests.h"

#include "core/app_error.h"
#include "core/class_record.h"
#include "core/library.h"
#include "core/question_store.h"

#include <QDir>
#include <QFile>

#include <libxml/HTMLparser.h>

#include <memory>

namespace corvane::results {

namespace {

// A test file is a few kilobytes; a larger one is not a test.
constexpr qint64 kMaxTestBytes = 1 << 20;

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxTestBytes) return {};
    return file.readAll();
}

bool isNamed(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE &&
           xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

// The first element in document order whose name is one of `names`.
const xmlNode* firstElement(const xmlNode* node, std::initializer_list<const char*> names) {
    for (; node; node = node->next) {
        for (const char* name : names)
            if (isNamed(node, name)) return node;
        if (const xmlNode* found = firstElement(node->children, names)) return found;
    }
    return nullptr;
}

// The text of `node` and what lies in it; a typeset formula (role="math") reads as its spoken
// form, not as the parts it is drawn with.
void appendText(const xmlNode* node, QByteArray& text) {
    for (; node; node = node->next) {
        if (node->type == XML_TEXT_NODE && node->content) {
            text += reinterpret_cast<const char*>(node->content);
            continue;
        }
        if (node->type != XML_ELEMENT_NODE) continue;
        xmlChar* role = xmlGetProp(node, reinterpret_cast<const xmlChar*>("role"));
        xmlChar* label = xmlGetProp(node, reinterpret_cast<const xmlChar*>("aria-label"));
        if (role && label && xmlStrcmp(role, reinterpret_cast<const xmlChar*>("math")) == 0)
            text += reinterpret_cast<const char*>(label);
        else
            appendText(node->children, text);
        xmlFree(role);
        xmlFree(label);
    }
}

QString textOf(const xmlNode* node) {
    if (!node) return {};
    QByteArray text;
    appendText(node->children, text);
    return QString::fromUtf8(text).simplified();
}

} // namespace

LibraryTests::LibraryTests(const QString& folder) {
    std::vector<TestEntry> entries;
    try {
        entries = listTestEntries(QFile::encodeName(folder).toStdString());
    } catch (const AppError&) {
        return; // no library: the questions keep their numbers alone
    }
    for (const TestEntry& entry : entries) {
        const QString path = QDir(folder).filePath(QFile::decodeName(entry.fileName.c_str()));
        const QByteArray bytes = fileBytes(path);
        if (!bytes.isEmpty()) files_.insert(QString::fromLatin1(checksumHex(bytes)), path);
    }
}

QString LibraryTests::testFile(const QString& checksum) const {
    return files_.value(checksum);
}

QString LibraryTests::heading(const QString& checksum, int q) const {
    if (q < 1 || q > kMaxQuestions) return {};
    auto cached = headings_.find(checksum);
    if (cached == headings_.end()) {
        QStringList headings;
        const QString file = testFile(checksum);
        for (int n = 1; n <= kMaxQuestions && !file.isEmpty(); ++n)
            headings << pageHeading(
                fileBytes(pageFolder(file) + QStringLiteral("/question%1.htm").arg(n)));
        while (headings.size() < kMaxQuestions)
            headings << QString();
        cached = headings_.insert(checksum, headings);
    }
    return cached->at(q - 1);
}

QString pageHeading(const QByteArray& html) {
    if (html.isEmpty()) return {};
    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                        HTML_PARSE_NONET | HTML_PARSE_NOIMPLIED;
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        htmlReadMemory(html.constData(), static_cast<int>(html.size()), nullptr, nullptr, options),
        xmlFreeDoc);
    if (!doc) return {};
    const xmlNode* root = doc->children;
    QString heading = textOf(firstElement(root, {"h1", "h2", "h3"}));
    if (heading.isEmpty()) heading = textOf(firstElement(root, {"title"}));
    return heading;
}

QString pageFolder(const QString& testFile) {
    return QFile::decodeName(removeTxt(QFile::encodeName(testFile).toStdString()).c_str());
}

void addHeadings(std::vector<TestSummary>& tests, const LibraryTests& library) {
    for (TestSummary& test : tests)
        for (QuestionShare& share : test.shares)
            share.heading = library.heading(test.checksum, share.number);
}

} // namespace corvane::results
