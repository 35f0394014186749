#pragma once

// Saves the class record off the window's thread. A record that could not be saved is kept
// and tried again with the next one and when the window closes; the teacher is told each time.
#include "core/class_record.h"
#include "platform/seams.h"

#include <QFuture>
#include <QFutureWatcher>

#include <vector>

namespace corvane {

class RecordKeeper {
  public:
    struct Pending {
        QString folder;
        QString testFile; // its checksum is taken off the window's thread
        ClassRecord record;
    };

    RecordKeeper(ResultsFolder& folder, Dialogs& dialogs);
    ~RecordKeeper(); // waits for a save under way; reports nothing

    // Starts saving `pending` and every kept record, or queues them behind a save under way.
    void save(Pending pending);
    // At closing: waits for a save under way, tries every kept record once more and says
    // which are lost.
    void saveKeptBeforeClosing();

    bool saving() const { return saving_; }
    std::size_t kept() const { return kept_.size(); }

  private:
    struct Failure {
        Pending pending;
        QString error;
    };
    using Failures = std::vector<Failure>;

    void start();
    void finished(bool report);
    Failures saveAll(std::vector<Pending> batch);

    ResultsFolder& folder_;
    Dialogs& dialogs_;
    std::vector<Pending> queued_;
    std::vector<Pending> kept_;
    QFuture<Failures> future_;
    QFutureWatcher<Failures> watcher_;
    bool saving_ = false;
};

// "The result could not be saved in FOLDER: ERROR"
QString saveFailureText(const QString& folder, const QString& error);

} // namespace corvane
