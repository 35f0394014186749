#include "pupil/record_keeper.h"

#include <QFile>
#include <QtConcurrent>

namespace corvane {

QString saveFailureText(const QString& folder, const QString& error) {
    return QStringLiteral("The result could not be saved in %1: %2").arg(folder, error);
}

RecordKeeper::RecordKeeper(ResultsFolder& folder, Dialogs& dialogs)
    : folder_(folder), dialogs_(dialogs) {
    QObject::connect(&watcher_, &QFutureWatcherBase::finished, &watcher_,
                     [this] { finished(true); });
}

RecordKeeper::~RecordKeeper() {
    watcher_.disconnect();
    future_.waitForFinished();
}

void RecordKeeper::save(Pending pending) {
    std::move(kept_.begin(), kept_.end(), std::back_inserter(queued_));
    kept_.clear();
    queued_.push_back(std::move(pending));
    if (!saving_) start();
}

void RecordKeeper::start() {
    saving_ = true;
    future_ = QtConcurrent::run(
        [this, batch = std::move(queued_)]() mutable { return saveAll(std::move(batch)); });
    queued_.clear();
    watcher_.setFuture(future_);
}

RecordKeeper::Failures RecordKeeper::saveAll(std::vector<Pending> batch) {
    Failures failures;
    for (Pending& pending : batch) {
        QString error;
        ClassRecord& record = pending.record;
        if (record.testChecksum.isEmpty()) {
            QFile test(pending.testFile);
            if (test.open(QIODevice::ReadOnly)) record.testChecksum = checksumHex(test.readAll());
        }
        if (record.testChecksum.isEmpty())
            error = QStringLiteral("the test file %1 cannot be read").arg(pending.testFile);
        else if (folder_.save(pending.folder, record, error))
            continue;
        failures.push_back({std::move(pending), error});
    }
    return failures;
}

void RecordKeeper::finished(bool report) {
    if (!saving_) return;
    saving_ = false;
    Failures failures = future_.result();
    const QString message =
        failures.empty() ? QString()
                         : saveFailureText(failures.front().pending.folder, failures.front().error);
    for (Failure& failure : failures)
        kept_.push_back(std::move(failure.pending));
    if (!queued_.empty()) start();
    if (report && !message.isEmpty()) dialogs_.showMessage(message);
}

void RecordKeeper::saveKeptBeforeClosing() {
    while (saving_) {
        future_.waitForFinished();
        finished(false);
    }
    if (kept_.empty()) return;
    const Failures failures = saveAll(std::move(kept_));
    kept_.clear();
    if (failures.empty()) return;
    QStringList lost;
    for (const Failure& failure : failures)
        lost << QStringLiteral("%1 (%2)").arg(toQt(failure.pending.record.pupil),
                                              toQt(failure.pending.record.test));
    dialogs_.showMessage(saveFailureText(failures.front().pending.folder, failures.front().error) +
                         QStringLiteral("\nThese results are lost: ") + lost.join(", "));
}

} // namespace corvane
