#pragma once
// The program's search-engine definitions: read from [Main] `CDSsrchenginedefs` of
// logfmts.ini (else of the shipped lastinstvals.ini), compiled on the first
// extraction and after each save, and kept for the run.
#include <string>
#include <vector>

#include "logimport/search_engines.h"

namespace logimport {

// The program-wide compiled tables (empty until loaded).
const SEDefTables& programSEDefTables();

// Replaces the program-wide tables with these definitions and marks them loaded.
void setProgramSEDefs(const std::vector<std::string>& definitions);

}  // namespace logimport

// The stored definitions text: [Main] `CDSsrchenginedefs` of logfmts.ini, or of the
// program folder's param/lastinstvals.ini when that entry is missing or empty.
void STTA_SEDefsText(std::string& text);

// Reads and compiles all definitions into the program-wide tables. Throws
// sys::RtError 93 naming a URL spec that is not a valid pattern.
void STTA_SEDefsLoad();

// Compiles a parameter list into definition `definitionNo` of the loaded tables;
// error 9 when there is no such definition.
void STTA_SEDefParamsCompile(const std::string& params, long definitionNo);

// The search term of a referrer ("" when none), loading the definitions first when
// they never were. Sets the engine name when a term is found and tells whether any
// URL spec matched. With `collect`, referrers that matched a spec but gave no term
// are added to `unmatched` under that definition.
std::string STTA_RefrToSEandST(const std::string& referrer, core::StrArray& unmatched,
                               bool collect, std::string& engine, bool& specMatched);
