// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "teacher/source_check.h"

#include <QFutureWatcher>
#include <QObject>
#include <QTemporaryDir>
#include <QTimer>

#include <optional>

namespace corvane::teacher {

// Checks the editor's source off the window's thread, shortly after the last change. One
// check runs at a time; a request made while one runs replaces any request still waiting, and
// the result of a check that a newer request has superseded is dropped. Each check makes the
// test into a scratch library, where the preview shows it.
class LiveCheck : public QObject {
    Q_OBJECT
  public:
    explicit LiveCheck(QObject* parent = nullptr);
    ~LiveCheck() override;

    // Asks for a check of `source` after `delayMs` without a newer request.
    void request(const QByteArray& source, const QString& pictureFolder, int delayMs = 120);
    // The scratch library's folder: the test folder inside the preview's program folder.
    QString scratchProgramFolder() const { return scratch_.path(); }
    QString scratchLibrary() const { return scratch_.path() + QStringLiteral("/test"); }
    // Until the result of the last request is given (or dropped).
    bool busy() const { return running_ || delay_.isActive(); }

  signals:
    void checked(const corvane::teacher::SourceCheck& check);

  private:
    struct Request {
        int generation = 0;
        QByteArray source;
        QString pictureFolder;
    };
    void startWaiting();
    void finished();

    QTemporaryDir scratch_;
    QTimer delay_;
    QFutureWatcher<SourceCheck> watcher_;
    std::optional<Request> waiting_;
    int generation_ = 0;
    bool running_ = false; // till finished() ran: the future ends before its signal comes
};

} // namespace corvane::teacher
