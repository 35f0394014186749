// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QMap>
#include <QStringList>

namespace corvane::testing {

// Watches folders for writes: notes every file and folder under them (path, size, modification
// time) when it starts, and also hears of every creation, change, move and removal in the
// folders while it watches (so a file written and removed again is caught too).
class WriteWatch {
  public:
    explicit WriteWatch(const QStringList& roots);
    ~WriteWatch();
    WriteWatch(const WriteWatch&) = delete;
    WriteWatch& operator=(const WriteWatch&) = delete;

    // Everything written since the start: entries added, removed or changed, and what was heard.
    QStringList writes();

  private:
    struct Entry {
        qint64 size = 0;
        QDateTime modified;
        bool operator==(const Entry&) const = default;
    };
    QMap<QString, Entry> entries() const;

    QStringList roots_;
    QMap<QString, Entry> before_;
    int notifier_ = -1;
    QMap<int, QString> folders_; // watch descriptor -> folder
};

} // namespace corvane::testing
