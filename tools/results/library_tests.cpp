// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/results/library_tests.h"

#include "core/app_error.h"
#include "core/class_record.h"
#include "core/library.h"
#include "core/question_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QStandardPaths>

#include <libxml/HTMLparser.h>

#include <memory>

namespace corvane::results {

namespace {

// A kept version: the test file, and its questions' headings one a line.
const QString kKeptTest = QStringLiteral("test.txt");
const QString kKeptHeadings = QStringLiteral("headings.txt");

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

LibraryTests::LibraryTests(const QString& folder, const QString& kept) : kept_(kept) {
    add(folder);
    keepVersions();
}

LibraryTests::LibraryTests(const std::vector<QString>& folders, const QString& kept) : kept_(kept) {
    for (const QString& folder : folders)
        add(folder);
    keepVersions();
}

void LibraryTests::add(const QString& folder) {
    std::vector<TestEntry> entries;
    try {
        entries = listTestEntries(QFile::encodeName(folder).toStdString());
    } catch (const AppError&) {
        return; // no library: the questions keep their numbers alone
    }
    for (const TestEntry& entry : entries) {
        const QString path = QDir(folder).filePath(QFile::decodeName(entry.fileName.c_str()));
        const QByteArray bytes = fileBytes(path);
        const QString checksum = QString::fromLatin1(checksumHex(bytes));
        if (!bytes.isEmpty() && !files_.contains(checksum)) files_.insert(checksum, path);
    }
}

void LibraryTests::keepVersions() {
    if (kept_.isEmpty()) return;
    for (auto file = files_.cbegin(); file != files_.cend(); ++file) {
        const QDir version(kept_ + u'/' + file.key());
        if (version.exists(kKeptTest)) continue;
        // The headings first: a version with its test file is complete.
        if (!QDir().mkpath(version.path())) return; // nowhere to keep them: nothing is lost now
        QSaveFile headingsFile(version.filePath(kKeptHeadings));
        QSaveFile test(version.filePath(kKeptTest));
        const QByteArray bytes = fileBytes(file.value());
        if (headingsFile.open(QIODevice::WriteOnly) &&
            headingsFile.write(headings(file.key()).join(u'\n').toUtf8()) >= 0 &&
            headingsFile.commit() && test.open(QIODevice::WriteOnly) &&
            test.write(bytes) == bytes.size())
            test.commit();
    }
}

QString LibraryTests::testFile(const QString& checksum) const {
    if (const auto found = files_.constFind(checksum); found != files_.cend()) return *found;
    if (kept_.isEmpty() || checksum.isEmpty()) return {};
    const QString kept = kept_ + u'/' + checksum + u'/' + kKeptTest;
    return QFileInfo::exists(kept) ? kept : QString();
}

QStringList LibraryTests::headings(const QString& checksum) const {
    auto cached = headings_.find(checksum);
    if (cached != headings_.end()) return *cached;
    QStringList headings;
    if (const QString file = files_.value(checksum); !file.isEmpty()) {
        for (int n = 1; n <= kMaxQuestions; ++n)
            headings << pageHeading(
                fileBytes(pageFolder(file) + QStringLiteral("/question%1.htm").arg(n)));
    } else if (!testFile(checksum).isEmpty()) {
        headings = QString::fromUtf8(
                       fileBytes(QFileInfo(testFile(checksum)).dir().filePath(kKeptHeadings)))
                       .split(u'\n');
    }
    while (headings.size() < kMaxQuestions)
        headings << QString();
    return *headings_.insert(checksum, headings);
}

QString LibraryTests::heading(const QString& checksum, int q) const {
    if (q < 1 || q > kMaxQuestions) return {};
    return headings(checksum).at(q - 1);
}

QString keptVersionsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Corvane Maths/test versions");
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

namespace {

QString versionLabel(const TestSummary& test, const std::vector<TestSummary>& tests,
                     const LibraryTests& library) {
    bool others = false;
    bool newer = false; // another version is in the library or was first used later
    for (const TestSummary& other : tests)
        if (other.test == test.test && other.checksum != test.checksum) {
            others = true;
            newer = newer || library.inLibrary(other.checksum) || other.firstUsed > test.firstUsed;
        }
    if (!others) return {};
    if (library.inLibrary(test.checksum)) return QStringLiteral("in the library now");
    const QDate first = test.firstUsed.date();
    const QString day = QLocale::c().toString(first, first.year() == QDate::currentDate().year()
                                                         ? QStringLiteral("d MMM")
                                                         : QStringLiteral("d MMM yyyy"));
    return (newer ? QStringLiteral("earlier version, first used %1")
                  : QStringLiteral("not in the library, first used %1"))
        .arg(day);
}

} // namespace

void addHeadings(std::vector<TestSummary>& tests, const LibraryTests& library) {
    for (TestSummary& test : tests) {
        for (QuestionShare& share : test.shares)
            share.heading = library.heading(test.checksum, share.number);
        test.version = versionLabel(test, tests, library);
    }
}

} // namespace corvane::results
