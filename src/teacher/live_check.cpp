// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/live_check.h"

#include <QDir>
#include <QtConcurrent>

namespace corvane::teacher {

LiveCheck::LiveCheck(QObject* parent) : QObject(parent) {
    QDir(scratch_.path()).mkpath(QStringLiteral("test"));
    delay_.setSingleShot(true);
    connect(&delay_, &QTimer::timeout, this, &LiveCheck::startWaiting);
    connect(&watcher_, &QFutureWatcher<SourceCheck>::finished, this, &LiveCheck::finished);
}

LiveCheck::~LiveCheck() {
    // The check in flight writes into the scratch folder: it ends before the folder goes.
    watcher_.waitForFinished();
}

void LiveCheck::request(const QByteArray& source, const QString& pictureFolder, int delayMs) {
    waiting_ = Request{++generation_, source, pictureFolder};
    delay_.start(delayMs);
}

void LiveCheck::startWaiting() {
    if (!waiting_ || watcher_.isRunning()) return;
    const Request request = std::move(*waiting_);
    waiting_.reset();
    const QString library = scratchLibrary();
    running_ = true;
    watcher_.setFuture(QtConcurrent::run([request, library] {
        SourceCheck check = checkSource(request.source, request.pictureFolder, library);
        check.generation = request.generation;
        return check;
    }));
}

void LiveCheck::finished() {
    const SourceCheck check = watcher_.result();
    running_ = false;
    if (check.generation == generation_) emit checked(check);
    if (!delay_.isActive()) startWaiting();
}

} // namespace corvane::teacher
