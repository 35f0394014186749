// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/record_keeper.h"

#include "core/record_reader.h"
#include "platform/file_results_folder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>
#include <QtConcurrent>

namespace corvane {
namespace {

constexpr int kPollMs = 10;

// "Ann (Shapes, 4 out of 5)", or the file's name when it is no record.
QString describe(const RecordKeeper::Kept& kept) {
    const RecordParse parse = parseRecord(kept.bytes);
    if (!parse.error.isEmpty()) return kept.name;
    const Record& record = parse.record;
    return QStringLiteral("%1 (%2, %3 out of %4)")
        .arg(record.pupil, record.test)
        .arg(record.score)
        .arg(record.questions.size());
}

} // namespace

QString saveFailureText(const QString& folder, const QString& error) {
    return QStringLiteral("The result could not be saved in %1: %2").arg(folder, error);
}

QString RecordKeeper::keptFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/unsent");
}

RecordKeeper::RecordKeeper(ResultsFolder& folder, Dialogs& dialogs)
    : folder_(folder), dialogs_(dialogs), keptFolder_(keptFolder()) {
    QObject::connect(&watcher_, &QFutureWatcherBase::finished, &watcher_,
                     [this] { finished(true); });
    const QDir dir(keptFolder_);
    for (const QString& name : dir.entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            kept_.push_back({name, file.readAll(), file.fileName()});
    }
}

RecordKeeper::~RecordKeeper() {
    watcher_.disconnect();
    future_.waitForFinished();
}

void RecordKeeper::save(const QString& folder, const ClassRecord& record) {
    target_ = folder;
    Kept kept{
        recordFileName(record, QRandomGenerator::system()->generate()), recordCsv(record), {}};
    keepError_.clear();
    QString localName;
    if (QDir().mkpath(keptFolder_))
        localName = addRecordFile(keptFolder_, kept.name, kept.bytes, keepError_);
    else
        keepError_ = QStringLiteral("the folder cannot be made");
    if (!localName.isEmpty()) {
        kept.name = localName;
        kept.path = QDir(keptFolder_).filePath(localName);
    }
    kept_.push_back(std::move(kept));
    send(true);
}

void RecordKeeper::sendKept(const QString& folder) {
    target_ = folder;
    if (!folder.isEmpty() && !kept_.empty()) send(false);
}

void RecordKeeper::send(bool report) {
    reportNext_ = reportNext_ || report;
    if (saving_)
        again_ = true;
    else
        start();
}

void RecordKeeper::start() {
    saving_ = true;
    report_ = reportNext_;
    reportNext_ = false;
    inFlight_ = std::move(kept_);
    kept_.clear();
    future_ = QtConcurrent::run(
        [this, folder = target_, batch = inFlight_] { return sendAll(folder, batch); });
    watcher_.setFuture(future_);
}

RecordKeeper::Failures RecordKeeper::sendAll(const QString& folder, std::vector<Kept> batch) {
    Failures failures;
    for (Kept& kept : batch) {
        QString error;
        if (folder_.save(folder, kept.name, kept.bytes, error)) {
            // A file that stays is sent again later and found there already.
            if (!kept.path.isEmpty()) removeDurably(kept.path);
            continue;
        }
        failures.push_back({std::move(kept), error});
    }
    return failures;
}

void RecordKeeper::finished(bool report) {
    // The watcher's signal may come late, for a send that closing has already taken over.
    if (!saving_ || !future_.isFinished()) return;
    saving_ = false;
    inFlight_.clear();
    Failures failures = future_.result();
    std::vector<Kept> back;
    for (Failure& failure : failures)
        back.push_back(std::move(failure.kept));
    kept_.insert(kept_.begin(), std::make_move_iterator(back.begin()),
                 std::make_move_iterator(back.end()));
    if (!failures.empty()) lastError_ = failures.front().error;
    const QString message =
        report && report_ && !failures.empty()
            ? saveFailureText(target_, lastError_) + u'\n' + keptText(kept_, false)
            : QString();
    if (again_) {
        again_ = false;
        start();
    }
    if (!message.isEmpty()) dialogs_.showMessage(message);
}

void RecordKeeper::saveKeptBeforeClosing(std::chrono::milliseconds limit) {
    // Quit closes the window too: the second call has nothing more to do or to say.
    if (closed_) return;
    closed_ = true;
    const QDeadlineTimer deadline(limit);
    auto waitForSends = [&] {
        while (saving_ && !deadline.hasExpired()) {
            if (future_.isFinished())
                finished(false);
            else
                QThread::msleep(kPollMs);
        }
    };
    waitForSends();
    if (target_.isEmpty()) return;
    if (!saving_ && !kept_.empty()) {
        start();
        waitForSends();
    }
    std::vector<Kept> notSaved = kept_;
    QString error = lastError_;
    if (saving_) {
        notSaved.insert(notSaved.end(), inFlight_.begin(), inFlight_.end());
        error = QStringLiteral("the folder does not answer");
    }
    if (notSaved.empty()) return;
    dialogs_.showMessage(saveFailureText(target_, error) + u'\n' + keptText(notSaved, true));
}

QString RecordKeeper::keptText(const std::vector<Kept>& records, bool closing) const {
    QStringList onDisk, inMemory;
    for (const Kept& kept : records)
        (kept.path.isEmpty() ? inMemory : onDisk) << describe(kept);
    QStringList lines;
    const QString folder = QDir::toNativeSeparators(keptFolder_);
    if (!onDisk.isEmpty())
        lines << QStringLiteral("Not yet saved, kept on this computer in %1: %2")
                     .arg(folder, onDisk.join(QStringLiteral("; ")));
    if (!inMemory.isEmpty())
        lines << QStringLiteral("%1 (they cannot be kept on this computer in %2: %3): %4")
                     .arg(closing ? QStringLiteral("These results are lost")
                                  : QStringLiteral("Not yet saved"),
                          folder, keepError_, inMemory.join(QStringLiteral("; ")));
    return lines.join(u'\n');
}

} // namespace corvane
