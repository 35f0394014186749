// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/page_fit_check.h"

#include "core/app_error.h"
#include "tools/make/page_fit.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QPointer>

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
    job_->check = check;
    timer_.start(delayMs);
}

void PageFitCheck::cancel() {
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
    // The engine runs the window's events while it lays a page out: a step that comes then
    // waits for the page in hand.
    if (measuring_ || !job_) return;
    const int generation = job_->check.generation;
    const make::MakeResult made = madeBy(job_->check);
    while (job_->next <= made.questionCount) {
        const int page = job_->next;
        const QByteArray key = pageKey(*job_);
        make::SourceErrors errors;
        const auto known = known_.constFind(key);
        if (known != known_.cend()) {
            errors = *known;
            for (make::SourceError& error : errors)
                error.line = pageLine(job_->check, page);
        } else {
            const QPointer<PageFitCheck> alive(this);
            bool laidOut = true;
            measuring_ = true;
            try {
                errors = make::checkPageFits(made, page, engine_, &laidOut);
            } catch (const AppError& error) {
                errors = {make::pagesNotChecked(made.nameLine, error)};
                laidOut = false;
            }
            if (!alive) return;
            measuring_ = false;
            if (!job_ || job_->check.generation != generation) {
                // Superseded while the page was laid out: the newer job starts in its turn.
                if (job_ && !timer_.isActive()) timer_.start(0);
                return;
            }
            if (!laidOut) { // the other pages would wait as long: stop here
                job_->errors.insert(job_->errors.end(), errors.begin(), errors.end());
                break;
            }
        }
        job_->laidOut.insert(key, errors);
        job_->errors.insert(job_->errors.end(), errors.begin(), errors.end());
        ++job_->next;
        if (known == known_.cend()) {
            timer_.start(0); // the window's events between pages
            return;
        }
    }
    const make::SourceErrors errors = std::move(job_->errors);
    known_ = std::move(job_->laidOut);
    job_.reset();
    emit checked(generation, errors);
}

} // namespace corvane::teacher
