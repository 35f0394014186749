// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/results_watch.h"

#include <QtConcurrent/QtConcurrentRun>

namespace corvane::teacher {

namespace {

constexpr int kSettleMs = 100;
constexpr int kPeriodicMs = 3000;

} // namespace

ResultsWatch::ResultsWatch(QObject* parent) : QObject(parent) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    periodic_.setInterval(kPeriodicMs);
    connect(&settle_, &QTimer::timeout, this, &ResultsWatch::rescan);
    connect(&periodic_, &QTimer::timeout, this, &ResultsWatch::rescan);
    connect(&notices_, &QFileSystemWatcher::directoryChanged, &settle_,
            qOverload<>(&QTimer::start));
    connect(&watcher_, &QFutureWatcher<Scan>::finished, this, &ResultsWatch::finished);
}

ResultsWatch::~ResultsWatch() {
    future_.waitForFinished();
}

void ResultsWatch::open(const QString& folder) {
    folder_ = folder;
    latest_ = Scan{};
    first_ = true;
    summarise_ = true;
    if (!notices_.directories().isEmpty()) notices_.removePaths(notices_.directories());
    periodic_.start();
    rescan();
}

void ResultsWatch::setLibrary(const QString& library) {
    library_ = library;
    summarise_ = true;
    rescan();
}

void ResultsWatch::setChoice(results::AttemptChoice choice) {
    choice_ = choice;
    summarise_ = true;
    rescan();
}

void ResultsWatch::rescan() {
    if (folder_.isEmpty()) return;
    if (future_.isRunning()) {
        again_ = true;
        return;
    }
    const bool same = latest_.folder == folder_;
    ScanRequest request{folder_,    library_,
                        choice_,    same ? latest_.files : ScanCache{},
                        summarise_, same ? latest_.unlisted : std::vector<results::Skipped>{}};
    summarise_ = false;
    future_ = QtConcurrent::run(scanFolder, std::move(request));
    watcher_.setFuture(future_);
}

void ResultsWatch::finished() {
    Scan scan = future_.result();
    if (scan.folder != folder_) { // a folder opened since; its own scan follows
        rescan();
        return;
    }
    const bool shown = scan.changed || scan.classList != latest_.classList;
    if (scan.changed) {
        latest_ = std::move(scan);
    } else { // the same records: only the class list may have changed
        latest_.files = std::move(scan.files);
        latest_.folders = std::move(scan.folders);
        latest_.unlisted = std::move(scan.unlisted);
        latest_.classList = std::move(scan.classList);
        latest_.added.clear();
    }
    const QStringList watched = notices_.directories();
    for (const QString& folder : latest_.folders)
        if (!watched.contains(folder)) notices_.addPath(folder);
    const bool fresh = !first_;
    first_ = false;
    if (shown) emit scanned(fresh);
    if (again_) {
        again_ = false;
        rescan();
    }
}

} // namespace corvane::teacher
