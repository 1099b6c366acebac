#pragma once
// The check of the page-component file filter against a log file: a test read tallies
// the file names of a log, and the dialogs list the page names the filter would skip,
// accept, or add as new pages to the site database (logimport/page_name_check.h).
#include <string>

#include "core/typed_array.h"
#include "logimport/page_name_check.h"

// The check dialog. A new read comes first when the last test read did not tally file
// names, or when `newRead` is set and the log-file entry changed since.
void STTA_FileFltrCheck(bool newRead);
// The page-name table of file names (items from 1) with their line counts. True means:
// show the check dialog again.
bool STTA_PageNamesList(const std::string& caption, const core::StrArray& fileNames, const core::LngArray& counts,
                        bool dropQuery, bool dropFragment, bool skipErrors);
// The full file names (items from 0) with their counts and page names.
void STTA_FileNamesList(const std::string& notes, const core::StrArray& fileNames, const core::LngArray& counts,
                        bool dropQuery, bool dropFragment);

namespace logimport {

// The message of the check dialog.
std::string fileFltrCheckMessage(const std::string& logFileSpec, bool changed, long fileNames, double lines);

}  // namespace logimport
