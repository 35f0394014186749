// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/page_sandbox.h"

#include <climits>
#include <cstdlib>

namespace corvane {

namespace {

// The path of a file address as the file system's bytes (a name that is not UTF-8 stays
// as it was percent-encoded), or empty for any other address.
QByteArray localPath(const QUrl& url) {
    if (url.scheme() != QLatin1String("file") || !url.host().isEmpty()) return {};
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

QByteArray realPath(const QByteArray& path) {
    if (path.isEmpty()) return {};
    char resolved[PATH_MAX];
    return ::realpath(path.constData(), resolved) ? QByteArray(resolved) : QByteArray();
}

} // namespace

QByteArray sandboxFolder(const QUrl& page) {
    const QByteArray path = localPath(page);
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return {};
    const QByteArray folder = realPath(slash == 0 ? QByteArray("/") : path.left(slash));
    // The root is no test's folder: a page there would open the whole disk.
    return folder == "/" ? QByteArray() : folder;
}

bool sandboxAllows(const QUrl& request, const QByteArray& folder) {
    if (folder.isEmpty()) return false;
    const QByteArray path = realPath(localPath(request));
    return path.startsWith(folder + '/');
}

} // namespace corvane
