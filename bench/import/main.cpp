// Imports one access log into a fresh site the way an addition of log data does:
// a new program folder and first site, the read (split, filter, store), then visit
// building with its clean-up and compaction. Every box is answered with its first button, as an
// unattended run would. Prints lines, visits and seconds per step; compare.sh adds
// the peers.
//
// usage: bench_import LOGFILE PROGRAM_FOLDER [--scan]
//   --scan: the visits are built by the scan over the stored lines after the read,
//   as for lines an earlier addition left without visits.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "core/program_paths.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "logimport/import_run.h"
#include "logimport/log_format.h"
#include "logimport/raw_log_reader.h"
#include "logimport/visit_building.h"
#include "logimport/read_record.h"
#include "platform/sys/program_folder.h"
#include "shell/sites.h"
#include "shell/start_up.h"
#include "bench/timing.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "bench/unattended_program.h"

namespace {

long long count(const char* sql) {
    auto rs = gDB.openRecordset(sql, dao::RecordsetType::Snapshot);
    return rs.field(0).asInteger();
}

// The search-engine visits per day and engine, sorted, for checksums.sh.
void writeEngineDays(const EngineDayTally& tally, const std::string& file) {
    std::set<std::string> rows;
    for (long i = tally.Keys.lbound(); tally.Keys.hasBounds() && i <= tally.Keys.ubound(); ++i)
        if (!tally.Keys[i].empty()) rows.insert(tally.Keys[i] + " " + std::to_string(tally.Counts[i]));
    std::ofstream out(file);
    for (const std::string& row : rows) out << row << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s LOGFILE PROGRAM_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string log = std::filesystem::absolute(argv[1]).string();
    const std::string folder = std::filesystem::absolute(argv[2]).string();
    bench::UnattendedProgram program(folder);
    sys::ensureProgramFolder(folder, sys::resourcesFolder(std::filesystem::path(argv[0]).parent_path().string()));
    program.load();
    // KEEP_NON_SE=1: the site keeps the visits that came from no search engine.
    if (const char* keep = std::getenv("KEEP_NON_SE"); keep && std::string(keep) == "1")
        INI_Put("Main", "EraseNonSE", false, gIniDbDef);

    // One import run, as an addition makes: the read, then the visit building. As the
    // add-data command reads, the visits are built next.
    logimport::ImportRun run;
    run.VisitsWhileReading = !(argc > 3 && std::string(argv[3]) == "--scan");
    auto t0 = bench::Clock::now();
    bool anyUsable = false;
    bool ok = RawLog_AddData_ReadLogFiles_OK(gDB, STTA_LogFileEntryJoin(log, "Combined (Apache, NGINX)"), "Add Log Data", "Add. Step 1/3: ", anyUsable, gReadRec, run);
    double read = bench::since(t0);
    // Lines taken in by the read; visits without a search term and their lines go later.
    const auto lines = static_cast<long long>(run.Run.LinesAccepted);
    std::printf("lines: %lld stored of the file's lines (read %s)\n", lines, ok ? "complete" : "stopped");
    std::printf("read, split, filter, store: %.2f s (%.0f lines/s, peak %ld MiB)\n", read, double(lines) / read,
                bench::peakMiB());

    auto tv = bench::Clock::now();
    bool interrupted = false;
    LogLnRaw_Add(gDB, gReadRec, run, interrupted);
    std::printf("visits: %lld, lines kept %lld (building %s)\n", count("SELECT COUNT(*) FROM visit"),
                count("SELECT COUNT(*) FROM logline"),
                interrupted ? "interrupted" : "complete");
    // Visit building ends with the clean-up and the compaction, as in an addition.
    std::printf("visit building, clean-up and compaction: %.2f s (peak %ld MiB)\n", bench::since(tv), bench::peakMiB());
    const double total = bench::since(t0);
    writeEngineDays(run.engineDays(), folder + "/engine-days.txt");
    std::printf("total: %.2f s (%.0f lines/s, peak %ld MiB)\n", total, double(lines) / total, bench::peakMiB());
    STTA_SiteDBClose();
    return ok && !interrupted ? 0 : 1;
}
