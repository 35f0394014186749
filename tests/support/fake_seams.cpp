// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fake_seams.h"

#include "core/app_error.h"

#include <QThread>
#include <QWidget>

namespace corvane::testing {

bool FakeDialogs::nextYes() {
    if (yesAnswers.empty()) return false;
    const bool yes = yesAnswers.front();
    yesAnswers.pop_front();
    return yes;
}

void FakeDialogs::showMessage(const QString& text) {
    shown.push_back({"message", text, {}});
}

bool FakeDialogs::confirm(const QString& text) {
    shown.push_back({"confirm", text, {}});
    return nextYes();
}

QString FakeDialogs::inputBox(const QString& title, const QString& prompt,
                              const QString& defaultText, bool hidden) {
    shown.push_back({"input", prompt, title, hidden});
    if (inputAnswers.empty()) return defaultText;
    const QString answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

void FakeDialogs::errorBox(const QString& text, const QString& caption) {
    shown.push_back({"error", text, caption});
}

bool FakeDialogs::offerDisplayMode(const QString& text, const QString& caption) {
    shown.push_back({"display", text, caption});
    return nextYes();
}

QStringList FakeDialogs::texts(const QString& kind) const {
    QStringList result;
    for (const Shown& dialog : shown)
        if (dialog.kind == kind) result << dialog.text;
    return result;
}

namespace {

class FakeBrowserView : public BrowserView {
  public:
    FakeBrowserView(QWidget* parent, const QString& name, FakeBrowserViews& owner)
        : widget_(new QWidget(parent)), name_(name), owner_(owner) {
        widget_->setObjectName(name);
    }
    QWidget* widget() override { return widget_; }
    void Navigate(const std::string& url) override {
        if (owner_.refuse) throw AppError("Navigation refused");
        owner_.navigations[name_].push_back(url);
    }
    void setZoom(double factor) override { owner_.zooms[name_] = factor; }

  private:
    QWidget* widget_;
    QString name_;
    FakeBrowserViews& owner_;
};

} // namespace

std::unique_ptr<BrowserView> FakeBrowserViews::create(QWidget* parent, const QString& name) {
    return std::make_unique<FakeBrowserView>(parent, name, *this);
}

std::string FakeBrowserViews::lastUrl(const QString& view) const {
    const auto found = navigations.find(view);
    return found == navigations.end() || found->second.empty() ? std::string()
                                                               : found->second.back();
}

bool FakePrinter::print(const Report& report) {
    printed.push_back(report);
    return true;
}

bool FakeResultsFolder::save(const QString& folder, const QString& name, const QByteArray& bytes,
                             QString& error) {
    ++attempts;
    QThread::msleep(delayMs);
    std::lock_guard lock(mutex_);
    if (!error_.isEmpty()) {
        error = error_;
        return false;
    }
    saved_.push_back({folder, name, bytes});
    return true;
}

std::vector<SavedRecord> FakeResultsFolder::saved() const {
    std::lock_guard lock(mutex_);
    return saved_;
}

void FakeResultsFolder::failWith(const QString& error) {
    std::lock_guard lock(mutex_);
    error_ = error;
}

void FakeSpeech::say(const QString& text, const SpeechVoice& voice) {
    if (!available)
        return tell(State::Unavailable, QStringLiteral("no speech engine is installed"));
    said << text;
    lastVoice = voice;
    tell(State::Speaking);
}

void FakeSpeech::stop() {
    ++stops;
    if (state == State::Speaking) tell(State::Ready);
}

void FakeSpeech::finish() {
    if (state == State::Speaking) tell(State::Ready);
}

void FakeSpeech::listen(QObject* context, Listener listener) {
    listeners_.emplace_back(context, std::move(listener));
}

void FakeSpeech::tell(State now, const QString& reason) {
    state = now;
    for (const auto& [context, listener] : std::vector(listeners_))
        if (context) listener(now, reason);
}

} // namespace corvane::testing
