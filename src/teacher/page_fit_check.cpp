// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/page_fit_check.h"

#include "core/app_error.h"
#include "tools/make/page_fit.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace corvane::teacher {

namespace {

int pageLine(const SourceCheck& check, int page) {
    return page == 0 ? check.nameLine : check.questionLines.at(static_cast<std::size_t>(page - 1));
}

} // namespace

PageFitCheck::PageFitCheck(WebBrowserViews& engine, QObject* parent)
    : QObject(parent), engine_(engine) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &PageFitCheck::step);
}

void PageFitCheck::start(const SourceCheck& check, int delayMs) {
    job_.emplace();
    job_->id = ++jobs_;
    job_->check = check;
    timer_.start(delayMs);
}

void PageFitCheck::cancel() {
    ++jobs_;
    job_.reset();
    timer_.stop();
}

QByteArray PageFitCheck::pageKey(const Job& job) const {
    const QString name = job.next == 0 ? QStringLiteral("front.htm")
                                       : QStringLiteral("question%1.htm").arg(job.next);
    QFile page(QDir(job.check.pageFolder).filePath(name));
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(job.next) + '\0' + job.check.pictures);
    if (page.open(QIODevice::ReadOnly)) hash.addData(&page);
    return hash.result();
}

void PageFitCheck::step() {
    if (measuring_ || !job_) return;
    const make::MakeResult made = madeBy(job_->check);
    for (; job_->next <= made.questionCount; ++job_->next) {
        const int page = job_->next;
        const QByteArray key = pageKey(*job_);
        const auto known = known_.constFind(key);
        if (known == known_.cend()) {
            measuring_ = true;
            try {
                make::checkPageFitsLater(
                    made, page, engine_, this,
                    [this, id = job_->id, key](const make::SourceErrors& errors, bool wasLaidOut) {
                        laidOut(id, key, errors, wasLaidOut);
                    });
            } catch (const AppError& error) {
                laidOut(job_->id, key, {make::pagesNotChecked(made.nameLine, error)}, false);
            }
            return;
        }
        make::SourceErrors errors = *known;
        for (make::SourceError& error : errors)
            error.line = pageLine(job_->check, page);
        job_->laidOut.insert(key, errors);
        job_->errors.insert(job_->errors.end(), errors.begin(), errors.end());
    }
    finish();
}

void PageFitCheck::laidOut(int jobId, const QByteArray& key, const make::SourceErrors& errors,
                           bool wasLaidOut) {
    measuring_ = false;
    if (!job_ || job_->id != jobId) {
        // Superseded while the page was laid out: the newer job starts in its turn.
        if (job_ && !timer_.isActive()) timer_.start(0);
        return;
    }
    job_->errors.insert(job_->errors.end(), errors.begin(), errors.end());
    if (!wasLaidOut) { // the other pages would wait as long: stop here
        finish();
        return;
    }
    job_->laidOut.insert(key, errors);
    ++job_->next;
    timer_.start(0); // the next page from the event loop, not from the engine's call
}

void PageFitCheck::finish() {
    const int generation = job_->check.generation;
    const make::SourceErrors errors = std::move(job_->errors);
    known_ = std::move(job_->laidOut);
    job_.reset();
    emit checked(generation, errors);
}

} // namespace corvane::teacher
