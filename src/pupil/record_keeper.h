// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Saves the class record off the window's thread. Every record is first kept on this computer
// (a folder of the user's data, as the results folder's file) and leaves it only once it is in
// the results folder: it is sent with every Finish, at closing and at the next start, so that a
// failing folder, a crash or a power cut loses nothing. The teacher is told what is kept.
#include "core/class_record.h"
#include "platform/seams.h"

#include <QFuture>
#include <QFutureWatcher>

#include <chrono>
#include <vector>

namespace corvane {

class RecordKeeper {
  public:
    // A record file waiting to be sent: kept in `path`, or only in memory when `path` is empty.
    struct Kept {
        QString name;
        QByteArray bytes;
        QString path;
    };

    // Takes up the records that earlier runs kept.
    RecordKeeper(ResultsFolder& folder, Dialogs& dialogs);
    ~RecordKeeper(); // waits for a send under way; reports nothing

    // Where records are kept: "unsent" in the user's data folder of the application, made when
    // first needed.
    static QString keptFolder();

    // Keeps `record` on this computer, then sends it and every kept record to `folder`; a
    // failure is told once the send is over.
    void save(const QString& folder, const ClassRecord& record);
    // Sends the records kept by earlier runs to `folder` (empty: the record is off), quietly.
    void sendKept(const QString& folder);
    // At closing, once: waits at most `limit` for the sends, tries the kept records once more
    // and says which are still not saved.
    void saveKeptBeforeClosing(std::chrono::milliseconds limit = std::chrono::seconds(5));

    bool saving() const { return saving_; }
    // A send is still running after closing gave up on it (a hung folder).
    bool stillSending() const { return saving_ && !future_.isFinished(); }
    std::size_t kept() const { return kept_.size(); }

  private:
    struct Failure {
        Kept kept;
        QString error;
    };
    using Failures = std::vector<Failure>;

    void send(bool report);
    void start();
    void finished(bool report);
    Failures sendAll(const QString& folder, std::vector<Kept> batch);
    QString keptText(const std::vector<Kept>& records, bool closing) const;

    ResultsFolder& folder_;
    Dialogs& dialogs_;
    QString keptFolder_;
    QString keepError_; // why the last record could not be kept on this computer
    QString lastError_; // why the last send failed
    QString target_;    // the results folder
    std::vector<Kept> kept_;
    std::vector<Kept> inFlight_;
    QFuture<Failures> future_;
    QFutureWatcher<Failures> watcher_;
    bool saving_ = false;
    bool again_ = false;  // more to send once the send under way is over
    bool report_ = false; // the send under way is told when it fails
    bool reportNext_ = false;
    bool closed_ = false;
};

// "The result could not be saved in FOLDER: ERROR"
QString saveFailureText(const QString& folder, const QString& error);

} // namespace corvane
