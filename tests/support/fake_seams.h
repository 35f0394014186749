// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/class_record.h"
#include "platform/seams.h"
#include "platform/speech.h"

#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace corvane::testing {

// Records every dialog and answers from a script; an empty script answers No / Cancel.
class FakeDialogs : public Dialogs {
  public:
    struct Shown {
        QString kind; // "message", "confirm", "input", "error", "display"
        QString text;
        QString caption;
        bool hidden = false; // an input box that shows bullets for what is typed
    };

    void showMessage(const QString& text) override;
    bool confirm(const QString& text) override;
    QString inputBox(const QString& title, const QString& prompt, const QString& defaultText,
                     bool hidden) override;
    void errorBox(const QString& text, const QString& caption) override;
    bool offerDisplayMode(const QString& text, const QString& caption) override;

    std::deque<bool> yesAnswers;      // for confirm and offerDisplayMode
    std::deque<QString> inputAnswers; // for inputBox; missing means Cancel
    std::vector<Shown> shown;

    QStringList texts(const QString& kind) const;
    void clear() { shown.clear(); }

  private:
    bool nextYes();
};

// Browser views that record the URLs they are asked to show.
class FakeBrowserViews : public BrowserViews {
  public:
    std::unique_ptr<BrowserView> create(QWidget* parent, const QString& name) override;

    std::map<QString, std::vector<std::string>> navigations; // view name -> URLs
    std::map<QString, double> zooms;                         // view name -> zoom factor
    bool refuse = false; // when set, Navigate throws as a refusing browser would

    std::string lastUrl(const QString& view) const;
};

class FakeDisplayModes : public DisplayModes {
  public:
    QSize screenSize() override { return size; }
    void setMode(int width, int height) override { modes.emplace_back(width, height); }

    QSize size{1024, 768};
    std::vector<QSize> modes;
};

// Records the documents opened; a set `failure` is reported as the viewer's reason.
class FakeDocuments : public Documents {
  public:
    void open(const std::string& path, QObject*,
              std::function<void(const QString&)> failed) override {
        opened.push_back(path);
        if (!failure.isEmpty()) failed(failure);
    }
    std::vector<std::string> opened;
    QString failure;
};

class FakeProgramFolder : public ProgramFolder {
  public:
    std::string path() override { return folder; }
    std::string folder = "/nonexistent-program-folder";
};

// Prints at once, without a dialog, and keeps every report printed.
class FakePrinter : public ReportPrinter {
  public:
    bool print(const Report& report) override;
    std::vector<Report> printed;
};

// `values` as they are, with `folder` as results/folder (off by default).
class FakeSettings : public Settings {
  public:
    ProgramSettings read() override {
        ProgramSettings read = values;
        read.resultsFolder = folder;
        return read;
    }
    QString folder;
    ProgramSettings values;
};

// A record file as the results folder was given it.
struct SavedRecord {
    QString folder;
    QString name;
    QByteArray bytes;
};

// Keeps the records saved in memory. `error` makes every save fail with it; `delayMs` makes each
// save take that long. Saves come from another thread.
class FakeResultsFolder : public ResultsFolder {
  public:
    bool save(const QString& folder, const QString& name, const QByteArray& bytes,
              QString& error) override;

    std::vector<SavedRecord> saved() const;
    void failWith(const QString& error);
    std::atomic<int> delayMs = 0;
    std::atomic<int> attempts = 0;

  private:
    mutable std::mutex mutex_;
    QString error_;
    std::vector<SavedRecord> saved_;
};

// Keeps what it was asked to say. Speaking starts at once, and ends with stop() or finish();
// without `available` every request is answered as a computer without a speech engine does.
class FakeSpeech : public Speech {
  public:
    void say(const QString& text, const SpeechVoice& voice) override;
    void stop() override;
    void warmUp() override { ++warmUps; }
    void listen(QObject* context, Listener listener) override;
    void finish(); // the words have all been said

    bool available = true;
    QStringList said;
    SpeechVoice lastVoice;
    int stops = 0;
    int warmUps = 0;
    State state = State::Ready;

  private:
    void tell(State state, const QString& reason = {});
    std::vector<std::pair<QPointer<QObject>, Listener>> listeners_;
};

// All fakes together, ready to hand to a TForm1.
struct FakeDesktop {
    FakeDialogs dialogs;
    FakeBrowserViews browsers;
    FakeDisplayModes display;
    FakeDocuments documents;
    FakeProgramFolder programFolder;
    FakePrinter printer;
    FakeSettings settings;
    FakeResultsFolder resultsFolder;
    FakeSpeech speech;

    Seams seams() {
        return {dialogs, browsers, display,       documents, programFolder,
                printer, settings, resultsFolder, &speech};
    }
};

} // namespace corvane::testing
