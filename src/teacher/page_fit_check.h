// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "teacher/source_check.h"

#include <QHash>
#include <QObject>
#include <QTimer>

#include <optional>

namespace corvane {
class WebBrowserViews;
}

namespace corvane::teacher {

// Lays out the pages of the test a live check made, once the teacher has paused, and names
// those that do not fit the pupil's window. The engine lays out one page at a time, off screen,
// and says when it is done: the window's events go on meanwhile, with no event loop of the
// check's own. A newer start() or cancel() drops the pages still to do and the result of the
// page in hand. A page laid
// out before with the same content and pictures is not laid out again, so that after an edit
// only the pages it changed cost time.
class PageFitCheck : public QObject {
    Q_OBJECT
  public:
    explicit PageFitCheck(WebBrowserViews& engine, QObject* parent = nullptr);

    // Checks the pages of `check` (a check without mistakes) after `delayMs` without a newer
    // start() or cancel().
    void start(const SourceCheck& check, int delayMs = 500);
    void cancel();
    bool busy() const { return job_.has_value(); }

  signals:
    // Every page of the check with this generation was laid out.
    void checked(int generation, const corvane::make::SourceErrors& errors);

  private:
    struct Job {
        int id = 0;
        SourceCheck check;
        int next = 0; // the page to lay out next: 0 the front page, q question q's
        make::SourceErrors errors;
        QHash<QByteArray, make::SourceErrors> laidOut; // what this job found, by page
    };
    void step();
    void laidOut(int jobId, const QByteArray& key, const make::SourceErrors& errors,
                 bool wasLaidOut);
    void finish();
    QByteArray pageKey(const Job& job) const;

    WebBrowserViews& engine_;
    QTimer timer_;
    std::optional<Job> job_;
    int jobs_ = 0;                                // the id of the last job started or cancelled
    bool measuring_ = false;                      // a page is being laid out: the next waits for it
    QHash<QByteArray, make::SourceErrors> known_; // the last finished job's pages
};

} // namespace corvane::teacher
