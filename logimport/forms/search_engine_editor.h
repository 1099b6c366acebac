#pragma once
// The editor of the search-engine definitions: a grid of URL specs and parameter
// lists, and the dialog that puts general-domain and specific-domain definitions in
// order. Every save recompiles the program's tables.
#include <string>
#include <vector>


void STTA_SEDefsEdit();
void STTA_SEDefsResequence();

namespace logimport {

// The stored definitions, in order (none when nothing is stored).
std::vector<std::string> storedSEDefinitions();
// Writes the definitions as the stored list.
void storeSEDefinitions(const std::vector<std::string>& definitions);

}  // namespace logimport
