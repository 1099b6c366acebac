#include "logimport/search_engine_store.h"

#include "platform/sys/rt_error.h"

namespace logimport {
namespace {

// Program-wide: the visit builder and the test reads share one compiled set.
SEDefTables gTables;
bool gLoaded = false;

}  // namespace

const SEDefTables& programSEDefTables() { return gTables; }

void setProgramSEDefs(const std::vector<std::string>& definitions) {
    gTables = SEDefTables(definitions);
    gLoaded = true;
}

}  // namespace logimport

void STTA_SEDefParamsCompile(const std::string& params, long definitionNo) {
    if (definitionNo < 0 || !logimport::gTables.recompileParams(size_t(definitionNo), params)) {
        sys::raise(sys::kErrSubscript, "STTA_SEDefParamsCompile");
    }
}

std::string STTA_RefrToSEandST(const std::string& referrer, core::StrArray& unmatched,
                               bool collect, std::string& engine, bool& specMatched) {
    const logimport::SEMatch match =
        logimport::programSEDefTables().extract(referrer, collect ? &unmatched : nullptr);
    specMatched = match.specMatched;
    if (match.found) engine = match.engine;
    return match.term;
}
