// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/write_watch.h"

#include <QDirIterator>
#include <QFileInfo>

#include <sys/inotify.h>
#include <unistd.h>

namespace corvane::testing {
namespace {

constexpr std::uint32_t kWrites =
    IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE;

QString describe(std::uint32_t mask) {
    QStringList what;
    if (mask & IN_CREATE) what << "created";
    if (mask & IN_MODIFY) what << "modified";
    if (mask & IN_CLOSE_WRITE) what << "closed after writing";
    if (mask & (IN_MOVED_TO | IN_MOVED_FROM)) what << "moved";
    if (mask & IN_DELETE) what << "deleted";
    if (mask & IN_Q_OVERFLOW) what << "too many writes to list";
    return what.join(", ");
}

} // namespace

WriteWatch::WriteWatch(const QStringList& roots) : roots_(roots) {
    before_ = entries();
    notifier_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notifier_ < 0) return;
    QStringList folders = roots;
    for (auto entry = before_.cbegin(); entry != before_.cend(); ++entry)
        if (QFileInfo(entry.key()).isDir()) folders << entry.key();
    for (const QString& folder : folders) {
        const int watch = inotify_add_watch(notifier_, QFile::encodeName(folder).constData(),
                                            kWrites | IN_ONLYDIR | IN_DONT_FOLLOW);
        if (watch >= 0) folders_.insert(watch, folder);
    }
}

WriteWatch::~WriteWatch() {
    if (notifier_ >= 0) ::close(notifier_);
}

QMap<QString, WriteWatch::Entry> WriteWatch::entries() const {
    QMap<QString, Entry> found;
    for (const QString& root : roots_) {
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            found.insert(info.filePath(), {info.isDir() ? 0 : info.size(),
                                           info.fileTime(QFileDevice::FileModificationTime)});
        }
    }
    return found;
}

QStringList WriteWatch::writes() {
    QStringList writes;
    const QMap<QString, Entry> after = entries();
    for (auto entry = after.cbegin(); entry != after.cend(); ++entry) {
        if (!before_.contains(entry.key()))
            writes << "new: " + entry.key();
        else if (before_.value(entry.key()) != entry.value())
            writes << "changed: " + entry.key();
    }
    for (auto entry = before_.cbegin(); entry != before_.cend(); ++entry)
        if (!after.contains(entry.key())) writes << "gone: " + entry.key();

    alignas(inotify_event) char buffer[16384];
    for (ssize_t length;
         notifier_ >= 0 && (length = ::read(notifier_, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            const QString name = event->len ? QFile::decodeName(event->name) : QString();
            writes << QString("heard: %1/%2 %3")
                          .arg(folders_.value(event->wd), name, describe(event->mask));
            at += sizeof(inotify_event) + event->len;
        }
    }
    return writes;
}

} // namespace corvane::testing
