#include "logimport/search_engine_store.h"

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "platform/sys/rt_error.h"

namespace logimport {
namespace {

// Program-wide: the visit builder and the test reads share one compiled set.
SEDefTables gTables;
bool gLoaded = false;

const std::string kDefsEntry = "CDSsrchenginedefs";

}  // namespace

const SEDefTables& programSEDefTables() { return gTables; }

void setProgramSEDefs(const std::vector<std::string>& definitions) {
    gTables = SEDefTables(definitions);
    gLoaded = true;
}

}  // namespace logimport

void STTA_SEDefsText(std::string& text) {
    text.clear();
    if (!gIniLogFmts.empty()) text = INI_Get("Main", logimport::kDefsEntry, gIniLogFmts, kIniMissingEmpty);
    if (text.empty()) {
        text = INI_Get("Main", logimport::kDefsEntry, gAppPath + "param/lastinstvals.ini", kIniMissingEmpty);
    }
}

void STTA_SEDefsLoad() {
    std::string text;
    STTA_SEDefsText(text);
    std::vector<std::string> definitions;
    if (!text.empty()) {
        core::StrArray items;
        CHUNKS_Split(text, items, 0);
        definitions = items.items();
    }
    logimport::setProgramSEDefs(definitions);
}

void STTA_SEDefParamsCompile(const std::string& params, long definitionNo) {
    if (definitionNo < 0 || !logimport::gTables.recompileParams(size_t(definitionNo), params)) {
        sys::raise(sys::kErrSubscript, "STTA_SEDefParamsCompile");
    }
}

std::string STTA_RefrToSEandST(const std::string& referrer, core::StrArray& unmatched,
                               bool collect, std::string& engine, bool& specMatched) {
    if (!logimport::gLoaded) STTA_SEDefsLoad();
    const logimport::SEMatch match =
        logimport::gTables.extract(referrer, collect ? &unmatched : nullptr);
    specMatched = match.specMatched;
    if (match.found) engine = match.engine;
    return match.term;
}
