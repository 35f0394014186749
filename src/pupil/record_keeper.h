// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Saves the class record off the window's thread, so that Finish never waits on a folder. Every
// record is first kept on this computer (a folder of the user's data, as the results folder's
// file) and leaves it only once it is in the results folder: it is sent with every Finish, at
// closing and at the next start, so that a failing or hanging folder, a crash or a power cut
// loses nothing. Keeping and sending run on threads of their own, so that a results folder that
// hangs does not hold up keeping the next pupil's record. The pupil is told on the results
// screen where her record is; closing says what is still kept.
#include "core/class_record.h"
#include "core/settings_file.h"
#include "platform/seams.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QThreadPool>

#include <chrono>
#include <functional>
#include <vector>

namespace corvane {

class RecordKeeper {
  public:
    // A record file waiting to be sent: kept in `path`, or only in memory when `path` is empty.
    struct Kept {
        QString name;
        QByteArray bytes;
        QString path;
        QString error; // why the last send failed; empty before the first try
        int serial = 0;
    };

    RecordKeeper(ResultsFolder& folder, Dialogs& dialogs);
    ~RecordKeeper(); // waits for the work under way; reports nothing

    // Where records are kept: "unsent" in the user's data folder of the application, made when
    // first needed.
    static QString keptFolder();

    // Called on the window's thread with the line for the pupil about her last record whenever
    // it changes; the line's second line, if any, is for her teacher.
    void setTell(std::function<void(const QString&)> tell) { tell_ = std::move(tell); }

    // Whether a finished test makes a record: the results folder is set, or its setting is
    // broken (the record is then kept here until it is put right).
    static bool recordOn(const ProgramSettings& settings);

    // At start: takes up the records that earlier runs kept, finishing those that a killed run
    // left whole under their temporary names, and sends them to the results folder of
    // `settings` unless its setting is broken.
    void takeUpKept(const ProgramSettings& settings);
    // Keeps `record` on this computer, then sends it with every kept record to the results
    // folder of `settings` unless its setting is broken.
    void save(const ProgramSettings& settings, const ClassRecord& record);
    // At closing, once: waits at most `limit` for the work under way, tries the kept records
    // once more and says which are still not saved.
    void saveKeptBeforeClosing(std::chrono::milliseconds limit = std::chrono::seconds(5));

    // Keeping or sending is under way.
    bool saving() const { return keeping_ || sending_ || !toKeep_.empty(); }
    // Work is still running after closing gave up on it (a hung folder).
    bool stillSending() const {
        return (keeping_ && !keepFuture_.isFinished()) || (sending_ && !sendFuture_.isFinished());
    }
    std::size_t kept() const { return kept_.size(); }

  private:
    struct KeepJob {
        std::vector<Kept> records;
        QString error; // why a record could not be kept
    };

    void useSettings(const ProgramSettings& settings);
    void startKeep();
    void keepFinished();
    void send();
    void startSend();
    void sendFinished();
    std::vector<Kept> sendAll(const QString& folder, std::vector<Kept> batch);
    void tell();
    QString pupilLine() const;
    QString keptText(const std::vector<Kept>& records) const;

    ResultsFolder& folder_;
    Dialogs& dialogs_;
    std::function<void(const QString&)> tell_;
    QString keptFolder_;
    QString keepError_;        // why the last record could not be kept on this computer
    QString lastError_;        // why the last send failed
    QString target_;           // the results folder; empty: keep only
    QString problem_;          // why the results folder is not used
    std::vector<Kept> toKeep_; // waiting to be kept
    std::vector<Kept> beingKept_;
    std::vector<Kept> kept_; // waiting to be sent
    std::vector<Kept> inFlight_;
    QThreadPool keepPool_;
    QThreadPool sendPool_;
    QFuture<KeepJob> keepFuture_;
    QFuture<std::vector<Kept>> sendFuture_;
    QFutureWatcher<KeepJob> keepWatcher_;
    QFutureWatcher<std::vector<Kept>> sendWatcher_;
    bool takeUp_ = false; // the records of earlier runs are still to be taken up
    bool sending_ = false;
    bool keeping_ = false;
    bool again_ = false; // more to send once the send under way is over
    bool closed_ = false;
    int serial_ = 0;
    int latest_ = 0; // the serial of this run's last record
};

// "The result could not be saved in FOLDER: ERROR"
QString saveFailureText(const QString& folder, const QString& error);

} // namespace corvane
