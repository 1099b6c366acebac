#pragma once
// A program folder made by an earlier version lacks what later versions ship: the help
// pages, and the dialog definitions and settings that new commands need. They are
// added at start-up without changing anything the folder already holds.
#include <string>

#include "platform/profile/profile.h"

namespace profile {

// Adds to the INI file every section and entry of the shipped one that it lacks,
// written as the shipped file writes them; its own entries stay as they are. Nothing
// is written when nothing is missing, or when either file is missing.
WriteResult addMissingEntries(const std::string& file, const std::string& shipped);

// The help pages the program folder lacks, and the missing entries of its
// param/screens.ini. Throws RtError when a copy or a write fails.
void addMissingShippedFiles(const std::string& folder, const std::string& resources);

}  // namespace profile
