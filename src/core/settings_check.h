// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The folders the settings name, as the account running the program finds them: whether the
// library can be listed and the results folder takes records as a drop box should.
#include "core/settings_file.h"

#include <optional>

namespace corvane {

// What keeps the library folder from serving tests: it or its parent is missing, it is not a
// folder, it cannot be read, or it is empty (a network share that is not mounted leaves its
// empty mount point). None without a library folder setting.
std::optional<SettingsProblem> libraryFolderProblem(const ProgramSettings& settings);

// What keeps the results folder from taking the pupils' records or keeping them private: it is
// missing or not a folder, this account cannot add files to it, or other accounts can write
// into it (a drop box for a room) but it lacks a drop box's modes (3773: others may add files
// but not list the folder; setgid, so each record gets the folder's group; sticky, so only its
// owner removes a record). Run as root, it also says when other accounts cannot add files.
std::vector<SettingsProblem> resultsFolderProblems(const ProgramSettings& settings);

// Every problem: the lines of the settings files that could not be used, then the folders.
std::vector<SettingsProblem> settingsProblems(const ProgramSettings& settings);

} // namespace corvane
