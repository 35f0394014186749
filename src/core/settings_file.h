// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The settings of a computer, from corvane-maths.ini: beside the program for a portable
// install, otherwise in /etc/corvane-maths/; then the drop-ins conf.d/*.ini beside that file,
// in the order of their names, each setting one of them gives replacing the value before. The
// program and every tool read them here.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace corvane {

inline constexpr char kSettingsFileName[] = "corvane-maths.ini";
inline constexpr char kSystemSettingsFile[] = "/etc/corvane-maths/corvane-maths.ini";
inline constexpr char kDropInFolder[] = "conf.d"; // beside the settings file

enum class DisplayOffer { Ask, Never };

// A line of a settings file that could not be used (line 0 stands for the whole file), or a
// setting whose folder cannot serve (`key` names it, as "library/folder").
struct SettingsProblem {
    int line = 0;
    QString text;
    QString file{}; // empty: the settings' main file ({} lets {line, text} leave it out)
    QString key{};
    QString section{}; // the [section] it is under, lower-case; empty for the whole file
};

// Where a setting was given.
struct SettingPlace {
    QString file;
    int line = 0;
};

struct ProgramSettings {
    QString file;               // the main file; empty when there is none
    QStringList dropIns;        // the drop-ins read after it, in order
    QString libraryFolder;      // empty: the samples beside the program are the library
    bool librarySamples = true; // list the samples too when the library is elsewhere
    QString resultsFolder;      // empty: the class record is off
    DisplayOffer displayOffer = DisplayOffer::Ask;
    QByteArray reviewPasswordSha256; // 64 lower-case hex digits; empty: the built-in password
    bool speechOn = true;            // the "Read it to me" control is offered
    int speechRate = 0;              // -10 (slow) .. 10 (fast)
    QString speechVoice;             // a voice by name; empty: the engine's English voice
    std::vector<SettingsProblem> problems;
    std::map<QString, SettingPlace> places; // "section/name" -> where its value was given
};

// Reads the file's bytes. Sections and names ignore letter case, values are taken as written
// (commas included, one pair of surrounding double quotes dropped); a folder starting with ~ is
// in `home`, a relative one is taken from `iniFolder`. Every line that cannot be used is a
// problem and sets nothing.
ProgramSettings parseSettings(const QByteArray& bytes, const QString& iniFolder,
                              const QString& home);

// Reads the file at `path` over `settings`: its settings replace those given before, and its
// problems are added, naming it.
void readSettingsFile(ProgramSettings& settings, const QString& path, const QString& home);

// The settings for the program in `programFolder`: its own corvane-maths.ini when there is
// one, else `systemFile`, else the defaults; then the drop-ins conf.d/*.ini beside that file.
ProgramSettings readProgramSettings(const QString& programFolder,
                                    const QString& systemFile = QString(kSystemSettingsFile));

// The settings for a command-line tool, which lies in the program's folder; their first
// mistake is written to stderr after "TOOL: ".
ProgramSettings readToolSettings(const char* tool);

// The folders whose tests the pupils see: the library, then the samples when they are asked
// for and are not the library.
std::vector<QString> testFolders(const ProgramSettings& settings, const QString& programFolder);

// One problem as a technician reads it: "FILE line 2: TEXT", or for a folder "TEXT (the
// setting library/folder, FILE line 2)." (without a file: "TEXT.").
QString describeProblem(const ProgramSettings& settings, const SettingsProblem& problem);

// The first problem as a teacher reads it, "corvane-maths.ini line 2: ... (FILE)", after
// "The class record is off: " when the record is off, or after "Results are kept on this
// computer until this is put right: " when the results setting is broken; empty without problems.
QString settingsProblemText(const ProgramSettings& settings);

// The first problem that may hide the results folder (under [results], under a section named
// like it, or in the file as a whole) as settingsProblemText words it; empty when the results
// setting can be used. Records are then kept on this computer, not sent.
QString resultsSettingProblem(const ProgramSettings& settings);

// Whether `typed` is the review password: the built-in one, or the text whose upper-cased
// bytes (a..z only) have the SHA-256 the settings name.
bool reviewPasswordAccepted(const ProgramSettings& settings, const std::string& typed);

} // namespace corvane
