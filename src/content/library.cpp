#include "content/library.h"

#include "content/app_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    const QString path = QFile::decodeName(QByteArray::fromStdString(folder));
    if (QDir::setCurrent(path)) return;
    const QFileInfo target(QDir::cleanPath(path));
    if (target.exists()) throw AppError("File access denied");
    // Linux reports a missing folder alike wherever the gap is; the parent tells them apart.
    throw AppError(target.dir().exists() ? "File not found" : "Invalid filename");
}

QStringList listTestEntries() {
    const QDir::Filters everyKind =
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    return QDir::current().entryList({QStringLiteral("*.txt")}, everyKind);
}

std::string entryFileName(const QString& entry) {
    return QFile::encodeName(entry).toStdString();
}

} // namespace corvane
