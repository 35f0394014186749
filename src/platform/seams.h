// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/settings_file.h"

#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QObject;
class QWidget;

namespace corvane {

struct Report;
class Speech;

// The desktop as the window sees it. Each seam has the real implementation in this folder
// and a fake in tests/support/.

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual void showMessage(const QString& text) = 0; // OK
    virtual bool confirm(const QString& text) = 0;     // Yes / No; true on Yes
    // The default on Cancel; `hidden` shows the typed characters as bullets (a password).
    virtual QString inputBox(const QString& title, const QString& prompt,
                             const QString& defaultText, bool hidden = false) = 0;
    virtual void errorBox(const QString& text, const QString& caption) = 0;         // stop icon, OK
    virtual bool offerDisplayMode(const QString& text, const QString& caption) = 0; // Yes / No
};

// One embedded browser view: a widget of the window that can be asked to show a page.
class BrowserView {
  public:
    virtual ~BrowserView() = default;
    virtual QWidget* widget() = 0;
    // Shows the page at `url` exactly as built ("file://" + path); throws AppError on refusal.
    virtual void Navigate(const std::string& url) = 0;
    // Zooms this page and the pages shown after it (1.0 = the pages' own size).
    virtual void setZoom(double factor) = 0;
    // Loads the page at `url` out of sight, so that a later Navigate to it shows it at once.
    // Never throws and never changes what is shown; a view that cannot load ahead ignores it.
    virtual void loadAhead(const std::string& url) { static_cast<void>(url); }
};

class BrowserViews {
  public:
    virtual ~BrowserViews() = default;
    virtual std::unique_ptr<BrowserView> create(QWidget* parent, const QString& name) = 0;
};

class DisplayModes {
  public:
    virtual ~DisplayModes() = default;
    virtual QSize screenSize() = 0;
    virtual void setMode(int width, int height) = 0; // failures are not reported
};

class Documents {
  public:
    virtual ~Documents() = default;
    // Opens the document with the system's viewer; when no viewer could show it, calls `failed`
    // with the reason, now or later, on the window's thread, unless `context` is gone by then.
    virtual void open(const std::string& path, QObject* context,
                      std::function<void(const QString& reason)> failed) = 0;
};

class ProgramFolder {
  public:
    virtual ~ProgramFolder() = default;
    virtual std::string path() = 0; // the folder of the running executable, no trailing separator
};

// The system's print dialog and a printer.
class ReportPrinter {
  public:
    virtual ~ReportPrinter() = default;
    // Asks for a printer and prints the report on it; false when the pupil cancelled.
    virtual bool print(const Report& report) = 0;
};

// The teacher's settings for this computer, read afresh at each call.
class Settings {
  public:
    virtual ~Settings() = default;
    virtual ProgramSettings read() = 0;
};

// Where the class record's files go. Called off the window's thread.
class ResultsFolder {
  public:
    virtual ~ResultsFolder() = default;
    // Adds a record file (its name as recordFileName gives it, and its bytes) to `folder`,
    // complete or not at all, never over another file. On failure returns false with what went
    // wrong in `error`.
    virtual bool save(const QString& folder, const QString& name, const QByteArray& bytes,
                      QString& error) = 0;
};

// Everything TForm1 needs from the desktop, handed over at construction.
struct Seams {
    Dialogs& dialogs;
    BrowserViews& browsers;
    DisplayModes& display;
    Documents& documents;
    ProgramFolder& programFolder;
    ReportPrinter& printer;
    Settings& settings;
    ResultsFolder& resultsFolder;
    Speech* speech = nullptr; // reads the screen aloud; none: the window offers no reading
};

} // namespace corvane
