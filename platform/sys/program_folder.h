#pragma once
// Where the program keeps its writable files (sites, program-wide INI files) and
// where the read-only resources it starts from are found.
#include <string>

namespace sys {

// $DRAVOLIN_HOME, else $XDG_DATA_HOME/dravolin, else ~/.local/share/dravolin; no
// trailing "/". "~" is $HOME, else the user's home in the password database; with
// neither, RtError 76 says so and what to set.
std::string programFolder();

// The error log used while no site log path is set:
// $XDG_STATE_HOME/dravolin/errors.log, else ~/.local/state/dravolin/errors.log, else
// (no home at all) errors.log in the program folder.
std::string fallbackErrorLogPath();

// The shipped resources: the nearest share/dravolin above the program's folder (the
// install prefix's, or the build folder's link to the source tree's resources/).
std::string resourcesFolder(const std::string& executableDir);

// Creates the program folder from the resources on the first start (when it is
// missing or empty). Existing files are never overwritten. Throws RtError.
void ensureProgramFolder(const std::string& folder, const std::string& resources);

}  // namespace sys
