#pragma once
// A site filled from a generated log by a whole addition (read, store, visits), with
// what the generator says it wrote for each search-engine visit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "core/ini_store.h"
#include "core/shell_hooks.h"
#include "core/program_paths.h"
#include "logimport/import_run.h"
#include "logimport/logline_store.h"
#include "logimport/raw_log_reader.h"
#include "logimport/search_engine_store.h"
#include "logimport/visit_building.h"
#include "tests/logimport/temp_site.h"

namespace testsupport {

// Routes the numbering entries of [Main] in "::*" to the site's LastVals.ini.
class LastValsRouting : public core::ShellHooks {
public:
    std::string iniSectFileGet(const std::string& section, const std::string& key) override {
        return section == "Main" && (key == "LastVisitID" || key == "LastLogLnID") ? gIniLastVals : std::string();
    }
};

struct SearchVisit {
    std::string engineHost, term;
};
// (IP, start stamp) -> the generator's engine host and term.
using SearchTruth = std::map<std::pair<std::string, std::string>, SearchVisit>;

inline SearchTruth readTruth(const std::string& path) {
    SearchTruth truth;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string ip, stamp, host, term;
        std::getline(fields, ip, '\t');
        std::getline(fields, stamp, '\t');
        std::getline(fields, host, '\t');
        std::getline(fields, term, '\t');
        truth[{ip, stamp}] = {host, term};
    }
    return truth;
}

struct GeneratedLog {
    SearchTruth truth;
    long long linesBuilt = 0;  // lines the visit building took
};

// Adds one log file to the site as the addition does (read with the shipped combined
// format, robots named in their user agents filtered, then the visits), with `rec`
// as the read record and `run` as the import run. The caller routes [Main] of "::*" to the site's LastVals.ini.
// `readThrough` is what the read is expected to give (false: it failed or stopped).
inline long long addLogFile(TempSite& site, const std::string& log, ReadRec& rec, logimport::ImportRun& run,
                            bool readThrough = true) {
    const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
    gIniLogFmts = src + "/resources/param/logfmts.ini";
    gAppPath = src + "/resources/";
    STTA_SEDefsLoad();
    INI_Put("Main", "LFmtDflt", "Combined (Apache, NGINX)", gIniLastVals);
    rec.NoPromptInvalid = true;
    rec.RobotSet = FltrSet{.Active = true,
                           .Rules = {{}, {kFltrContains, "bot", false}, {kFltrContains, "spider", false}},
                           .Any = true,
                           .ColTypes = {0, kFldUserAgent, kFldUserAgent}};
    bool usable = false;
    EXPECT_EQ(RawLog_AddData_ReadLogFiles_OK(site.db, log, "Test", "Add. Step 1/3: ", usable, rec, run), readThrough);
    bool interrupted = true;
    const long long built = LogLnRaw_Add(site.db, rec, run, interrupted);
    EXPECT_FALSE(interrupted);
    gAppPath.clear();
    gIniLogFmts.clear();
    return built;
}
// The same in a run of its own.
inline long long addLogFile(TempSite& site, const std::string& log, ReadRec& rec, bool readThrough = true) {
    logimport::ImportRun run;
    return addLogFile(site, log, rec, run, readThrough);
}

// Writes `lines` lines with the seed over `days` days from 1 January 2026 into `log`,
// and what the generator wrote for each search visit into `truthFile`.
inline void generateLog(const std::string& log, const std::string& truthFile, int lines, int seed, int days = 30) {
    const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
    const std::string cmd = "python3 '" + src + "/tests/fixtures/genlog.py' " + std::to_string(lines) + " --seed " +
                            std::to_string(seed) + " --days " + std::to_string(days) + " -o '" + log + "' --truth '" +
                            truthFile + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
}

// Generates `lines` lines with the seed over `days` days and adds them to the site.
inline GeneratedLog addGeneratedLog(TempSite& site, int lines, int seed, int days = 30) {
    const std::string log = site.home / "gen.log", truthFile = site.home / "gen.truth";
    generateLog(log, truthFile, lines, seed, days);
    ReadRec rec;
    GeneratedLog out;
    out.linesBuilt = addLogFile(site, log, rec);
    out.truth = readTruth(truthFile);
    return out;
}

}  // namespace testsupport
