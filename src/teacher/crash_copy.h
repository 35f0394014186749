// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace corvane::teacher {

// A copy of the source being edited, kept while it has unsaved changes so that a crash loses
// at most the last half minute. It lies in the program's data folder for this user.
class CrashCopy {
  public:
    struct Kept {
        QString text;
        QString sourcePath; // where the source was opened from; empty for a new one
    };

    // `folder` empty: the program's data folder.
    explicit CrashCopy(const QString& folder = QString());

    bool write(const QString& text, const QString& sourcePath) const;
    void remove() const;
    std::optional<Kept> find() const;

  private:
    QString textPath_;
    QString pathPath_;
};

} // namespace corvane::teacher
