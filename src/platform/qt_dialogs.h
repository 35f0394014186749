// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"

namespace corvane {

class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    void showMessage(const QString& text) override;
    bool confirm(const QString& text) override;
    QString inputBox(const QString& title, const QString& prompt, const QString& defaultText,
                     bool hidden) override;
    void errorBox(const QString& text, const QString& caption) override;
    bool offerDisplayMode(const QString& text, const QString& caption) override;

  private:
    QWidget* owner_;
};

} // namespace corvane
