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

#include <algorithm>

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

QString notAnswering() {
    return QStringLiteral("the folder does not answer");
}

void append(std::vector<RecordKeeper::Kept>& to, std::vector<RecordKeeper::Kept> records) {
    to.insert(to.end(), std::make_move_iterator(records.begin()),
              std::make_move_iterator(records.end()));
}

RecordKeeper::Kept keptIn(const QString& dir, const QString& name, QByteArray bytes, int serial) {
    return {name, std::move(bytes), QDir(dir).filePath(name), {}, serial};
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
    // One thread each, so that a hanging results folder leaves keeping free.
    keepPool_.setMaxThreadCount(1);
    sendPool_.setMaxThreadCount(1);
    QObject::connect(&keepWatcher_, &QFutureWatcherBase::finished, &keepWatcher_,
                     [this] { keepFinished(); });
    QObject::connect(&sendWatcher_, &QFutureWatcherBase::finished, &sendWatcher_,
                     [this] { sendFinished(); });
}

RecordKeeper::~RecordKeeper() {
    keepWatcher_.disconnect();
    sendWatcher_.disconnect();
    keepFuture_.waitForFinished();
    sendFuture_.waitForFinished();
}

bool RecordKeeper::recordOn(const ProgramSettings& settings) {
    return !settings.resultsFolder.isEmpty() || !resultsSettingProblem(settings).isEmpty();
}

void RecordKeeper::useSettings(const ProgramSettings& settings) {
    problem_ = resultsSettingProblem(settings);
    target_ = problem_.isEmpty() ? settings.resultsFolder : QString();
}

void RecordKeeper::takeUpKept(const ProgramSettings& settings) {
    useSettings(settings);
    takeUp_ = true;
    if (!keeping_) startKeep();
}

void RecordKeeper::save(const ProgramSettings& settings, const ClassRecord& record) {
    useSettings(settings);
    latest_ = ++serial_;
    toKeep_.push_back({recordFileName(record, QRandomGenerator::system()->generate()),
                       recordCsv(record),
                       {},
                       {},
                       latest_});
    if (!keeping_) startKeep();
    tell();
}

void RecordKeeper::startKeep() {
    keeping_ = true;
    beingKept_ = std::move(toKeep_);
    toKeep_.clear();
    const bool takeUp = std::exchange(takeUp_, false);
    // On the keeping thread: the records of earlier runs when `takeUp`, then `batch` written.
    keepFuture_ = QtConcurrent::run(&keepPool_, [dir = keptFolder_, takeUp, batch = beingKept_] {
        KeepJob job;
        if (takeUp) {
            finishStrandedRecords(dir);
            for (const QString& name :
                 QDir(dir).entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name)) {
                QByteArray bytes = readRecordFile(QDir(dir).filePath(name));
                if (!bytes.isEmpty()) job.records.push_back(keptIn(dir, name, std::move(bytes), 0));
            }
        }
        const bool made = batch.empty() || QDir().mkpath(dir);
        for (Kept kept : batch) {
            QString error = QStringLiteral("the folder cannot be made");
            const QString name =
                made ? addRecordFile(dir, kept.name, kept.bytes, error) : QString();
            if (name.isEmpty())
                job.error = error;
            else
                kept = keptIn(dir, name, kept.bytes, kept.serial);
            job.records.push_back(std::move(kept));
        }
        return job;
    });
    keepWatcher_.setFuture(keepFuture_);
}

void RecordKeeper::keepFinished() {
    // The watcher's signal may come late, for work that closing has already taken over.
    if (!keeping_ || !keepFuture_.isFinished()) return;
    keeping_ = false;
    beingKept_.clear();
    KeepJob job = keepFuture_.result();
    if (!job.error.isEmpty()) keepError_ = job.error;
    append(kept_, std::move(job.records));
    if (!toKeep_.empty() || takeUp_) startKeep();
    send();
    tell();
}

void RecordKeeper::send() {
    if (target_.isEmpty() || kept_.empty()) return;
    if (sending_)
        again_ = true;
    else
        startSend();
}

void RecordKeeper::startSend() {
    sending_ = true;
    inFlight_ = std::move(kept_);
    kept_.clear();
    sendFuture_ = QtConcurrent::run(
        &sendPool_, [this, folder = target_, batch = inFlight_] { return sendAll(folder, batch); });
    sendWatcher_.setFuture(sendFuture_);
}

// Runs on the sending thread; returns the records not sent, each with its reason.
std::vector<RecordKeeper::Kept> RecordKeeper::sendAll(const QString& folder,
                                                      std::vector<Kept> batch) {
    std::vector<Kept> failed;
    for (Kept& kept : batch) {
        QString error;
        if (folder_.save(folder, kept.name, kept.bytes, error)) {
            // A file that stays is sent again later and found there already.
            if (!kept.path.isEmpty()) removeDurably(kept.path);
            continue;
        }
        kept.error = error;
        failed.push_back(std::move(kept));
    }
    return failed;
}

void RecordKeeper::sendFinished() {
    if (!sending_ || !sendFuture_.isFinished()) return;
    sending_ = false;
    inFlight_.clear();
    std::vector<Kept> failed = sendFuture_.result();
    if (!failed.empty()) lastError_ = failed.front().error;
    kept_.insert(kept_.begin(), std::make_move_iterator(failed.begin()),
                 std::make_move_iterator(failed.end()));
    if (std::exchange(again_, false)) send();
    tell();
}

void RecordKeeper::tell() {
    if (tell_ && latest_ != 0) tell_(pupilLine());
}

// Where this run's last record is, in words for a child; a second line for the teacher.
QString RecordKeeper::pupilLine() const {
    const Kept* latest = nullptr;
    for (const std::vector<Kept>* list : {&toKeep_, &beingKept_, &kept_, &inFlight_})
        for (const Kept& kept : *list)
            if (kept.serial == latest_) latest = &kept;
    if (!latest) return QStringLiteral("Your result has been sent to your teacher.");
    const QString safe = QStringLiteral("Your result is kept safe on this computer. ");
    const QString keptHere = QDir::toNativeSeparators(keptFolder_);
    if (target_.isEmpty())
        return safe +
               QStringLiteral("It will be sent to your teacher when the results setting "
                              "is put right.\nFor your teacher: ") +
               problem_;
    if (latest->path.isEmpty() && latest->error.isEmpty())
        return QStringLiteral("Saving your result...");
    if (latest->path.isEmpty())
        return QStringLiteral("Your result could not be saved. Please tell your teacher now.\n"
                              "For your teacher: %1; it cannot be kept on this computer in %2: "
                              "%3")
            .arg(saveFailureText(target_, latest->error), keptHere, keepError_);
    if (latest->error.isEmpty()) return safe + QStringLiteral("It is being sent to your teacher.");
    return safe + QStringLiteral("It will be sent to your teacher later.\nFor your teacher: ") +
           saveFailureText(target_, latest->error);
}

void RecordKeeper::saveKeptBeforeClosing(std::chrono::milliseconds limit) {
    // Quit closes the window too: the second call has nothing more to do or to say.
    if (closed_) return;
    closed_ = true;
    const QDeadlineTimer deadline(limit);
    auto waitForWork = [&] {
        while ((keeping_ || sending_) && !deadline.hasExpired()) {
            const bool kept = keeping_ && keepFuture_.isFinished();
            const bool sent = sending_ && sendFuture_.isFinished();
            if (kept) keepFinished();
            if (sent) sendFinished();
            if (!kept && !sent) QThread::msleep(kPollMs);
        }
    };
    waitForWork();
    if (!sending_ && !target_.isEmpty() && !kept_.empty()) {
        startSend();
        waitForWork();
    }
    std::vector<Kept> notSaved = toKeep_;
    if (keeping_) {
        append(notSaved, beingKept_);
        keepError_ = notAnswering();
    }
    append(notSaved, kept_);
    QString error = lastError_;
    if (sending_) {
        append(notSaved, inFlight_);
        error = notAnswering();
    }
    const bool lost = std::any_of(notSaved.begin(), notSaved.end(),
                                  [](const Kept& kept) { return kept.path.isEmpty(); });
    // Without a results folder the kept records wait for one, as the start screen says.
    if (notSaved.empty() || (target_.isEmpty() && !lost)) return;
    const QString header = target_.isEmpty() ? problem_ : saveFailureText(target_, error);
    dialogs_.showMessage(header + u'\n' + keptText(notSaved));
}

QString RecordKeeper::keptText(const std::vector<Kept>& records) const {
    QStringList onDisk, inMemory;
    for (const Kept& kept : records)
        (kept.path.isEmpty() ? inMemory : onDisk) << describe(kept);
    QStringList lines;
    const QString folder = QDir::toNativeSeparators(keptFolder_);
    if (!onDisk.isEmpty())
        lines << QStringLiteral("Not yet saved, kept on this computer in %1: %2")
                     .arg(folder, onDisk.join(QStringLiteral("; ")));
    if (!inMemory.isEmpty())
        lines << QStringLiteral("These results are lost (they cannot be kept on this computer in "
                                "%1: %2): %3")
                     .arg(folder, keepError_, inMemory.join(QStringLiteral("; ")));
    return lines.join(u'\n');
}

} // namespace corvane
