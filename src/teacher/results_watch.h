// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Keeps a results folder's scan up to date: change notices from the file system, and a rescan
// every few seconds for network folders that send none. Scans run off the window's thread; a
// change during a scan asks for one more.
#include "teacher/results_scan.h"

#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QObject>
#include <QTimer>

namespace corvane::teacher {

class ResultsWatch : public QObject {
    Q_OBJECT
  public:
    explicit ResultsWatch(QObject* parent = nullptr);
    ~ResultsWatch() override;

    // Forgets what was read and starts watching `folder`.
    void open(const QString& folder);
    void setLibrary(const QString& library);
    void setChoice(results::AttemptChoice choice);
    // Scans at once (or as soon as the scan under way ends).
    void rescan();

    const Scan& latest() const { return latest_; }
    bool busy() const { return future_.isRunning(); }

  signals:
    // A scan finished; `fresh` is false for the first scan of a folder.
    void scanned(bool fresh);

  private:
    void finished();

    QString folder_;
    QString library_;
    results::AttemptChoice choice_ = results::AttemptChoice::Latest;
    Scan latest_;
    bool first_ = true;
    bool again_ = false;
    bool summarise_ = true; // the next scan summarises even when no file came or went
    QFileSystemWatcher notices_;
    QTimer settle_;   // notices come in bursts: one scan after they settle
    QTimer periodic_; // for folders without notices
    QFuture<Scan> future_;
    QFutureWatcher<Scan> watcher_;
};

} // namespace corvane::teacher
