#include "content/library.h"

#include "content/app_error.h"

#include <QStringDecoder>

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

} // namespace

std::vector<TestEntry> listTestEntries() {
    std::vector<TestEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir("."), &::closedir);
    if (!folder) raiseOpenError(errno, ".");
    while (const dirent* entry = ::readdir(folder.get())) {
        const std::string name = entry->d_name;
        if (endsInTxt(name)) entries.push_back({shownName(name), name});
    }
    return entries;
}

QString shownName(const std::string& fileName) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(QByteArrayView(fileName.data(), qsizetype(fileName.size())));
    return utf8.hasError() ? toQt(fileName) : decoded;
}

} // namespace corvane
