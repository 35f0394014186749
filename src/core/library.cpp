// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/library.h"

#include "core/app_error.h"

#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <memory>

#include <dirent.h>
#include <unistd.h>

namespace corvane {

Text removeTxt(const Text& text) {
    static const Text extension = ".txt";
    Text result;
    std::size_t from = 0;
    for (std::size_t at = text.find(extension); at != Text::npos; at = text.find(extension, from)) {
        result.append(text, from, at - from);
        from = at + extension.size();
    }
    result.append(text, from);
    return result;
}

void enterFolder(const std::string& folder) {
    if (::chdir(folder.c_str()) != 0) raiseOpenError(errno, folder);
}

namespace {

// The pattern "*.txt": the name ends in ".txt", letter case ignored.
bool endsInTxt(const std::string& name) {
    if (name.size() < 4) return false;
    return upperCase(name.substr(name.size() - 4)) == ".TXT";
}

// The capital of a small Latin-1 letter (a..z, à..þ but not the division sign); every other
// character as it is.
QChar latin1Capital(QChar c) {
    const char16_t code = c.unicode();
    const bool small =
        (code >= u'a' && code <= u'z') || (code >= 0xE0 && code <= 0xFE && code != 0xF7);
    return small ? QChar(char16_t(code - 32)) : c;
}

} // namespace

std::vector<TestEntry> listTestEntries(const std::string& folder) {
    std::vector<TestEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), &::closedir);
    if (!listing) raiseOpenError(errno, folder);
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string name = entry->d_name;
        if (endsInTxt(name)) entries.push_back({shownName(name), name});
    }
    return entries;
}

bool listsBefore(const QString& left, const QString& right) {
    const qsizetype n = std::min(left.size(), right.size());
    for (qsizetype i = 0; i < n; ++i) {
        const QChar a = latin1Capital(left[i]);
        const QChar b = latin1Capital(right[i]);
        if (a != b) return a < b;
    }
    return left.size() < right.size();
}

QString shownName(const std::string& fileName) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(QByteArrayView(fileName.data(), qsizetype(fileName.size())));
    return utf8.hasError() ? toQt(fileName) : decoded;
}

} // namespace corvane
