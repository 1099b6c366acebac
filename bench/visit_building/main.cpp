// Builds the visits of generated log lines (about six lines per visit, half of the
// visits from a search engine) and prints lines per second and the share of the
// time the ordered scan alone takes in SQLite, the floor any visit building pays.
//
// usage: bench_visit_building [LINES] [FOLDER]   (default 1000000 lines in /tmp)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "core/program_paths.h"
#include "core/shell_hooks.h"
#include "core/text.h"
#include "logimport/search_engine_store.h"
#include "logimport/visit_building.h"
#include "bench/timing.h"

namespace {

using bench::Clock;
using bench::since;
void makeTables(dao::Database& db) {
    db.execute(
        "CREATE TABLE logline (LogLnID INTEGER PRIMARY KEY, VisitID INTEGER, PageID INTEGER, Bytes INTEGER, "
        "CntDupes INTEGER, Timestamp INTEGER, IP TEXT, Referrer TEXT)");
    db.execute("CREATE INDEX Visit ON logline (VisitID) WHERE VisitID IS NOT NULL");
    db.execute("CREATE INDEX NewLines ON logline (IP, LogLnID) WHERE VisitID IS NULL");
    db.execute(
        "CREATE TABLE visit (VisitID INTEGER PRIMARY KEY, StartPageID INTEGER, StartLogLnID INTEGER, "
        "StartTimeStamp INTEGER, EndTimeStamp INTEGER, Files INTEGER, FirstIP TEXT, CDSIPs TEXT, SearchTerm TEXT, "
        "StzdSearchTerm TEXT, SearchEngine TEXT, CDSClickFurtherPageIDs TEXT, CDSBytesClickFurtherPageIDs TEXT, "
        "NONSERefr TEXT)");
    db.execute("CREATE INDEX IPEnd ON visit (FirstIP, EndTimeStamp)");
    db.execute("CREATE TABLE visitpages (visitID INTEGER, CDSClickFurtherPageIDs TEXT, CDSBytesClickFurtherPageIDs TEXT)");
    db.execute("CREATE INDEX visitID ON visitpages (visitID)");
}

void addLines(dao::Database& db, long lines) {
    std::mt19937 rnd(7);
    dao::Transaction tx(db, dao::Transaction::OnExit::Commit, 50000);
    long id = 0;
    long long second = 0;
    while (id < lines) {
        second += 2;
        std::string ip = std::to_string(11 + rnd() % 200) + "." + std::to_string(rnd() % 256) + "." +
                         std::to_string(rnd() % 256) + "." + std::to_string(1 + rnd() % 254);
        std::string ref = rnd() % 2 ? "http://www.google.com/search?q=term+" + std::to_string(rnd() % 3000) : "-";
        long n = 1 + static_cast<long>(rnd() % 11);
        for (long k = 0; k < n && id < lines; ++k) {
            long long s = second + k * 40;
            long long stamp = 20260101000000LL + (s / 86400 % 28) * 1000000 + (s / 3600 % 24) * 10000 +
                              (s / 60 % 60) * 100 + s % 60;
            db.execute("INSERT INTO logline (LogLnID, PageID, Bytes, CntDupes, Timestamp, IP, Referrer) "
                       "VALUES (?,?,?,0,?,?,?)",
                       {++id, static_cast<long>(rnd() % 70), static_cast<long>(rnd() % 90000), stamp, ip,
                        k == 0 ? ref : std::string("http://www.example.com/page.html")});
            tx.tick();
        }
    }
    tx.commit();
}

// The shell routes [Main] LastVisitID to the site's LastVals.ini.
class Routing : public core::ShellHooks {
public:
    std::string iniSectFileGet(const std::string& section, const std::string&) override {
        return section == "Main" ? gIniLastVals : std::string();
    }
};

}  // namespace

int main(int argc, char** argv) {
    long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
    std::string folder = argc > 2 ? argv[2] : "/tmp";
    std::string path = folder + "/bench_visits.db";
    unlink(path.c_str());
    TXT_CrLfInit();
    gIniDbDef = folder + "/bench_visits_dbdef.ini";
    gIniLastVals = folder + "/bench_visits_lastvals.ini";
    unlink(gIniDbDef.c_str());
    unlink(gIniLastVals.c_str());
    Routing routing;
    core::setShellHooks(&routing);
    logimport::setProgramSEDefs({"*.google.*/* ?q"});
    dao::Database db(path, dao::OpenOptions{.create = true});
    makeTables(db);
    addLines(db, lines);

    auto t0 = Clock::now();
    long scanned = 0;
    db.forEachRow("SELECT LogLnID, IP, PageID, Timestamp, Referrer FROM logline WHERE VisitID IS NULL ORDER BY IP, LogLnID",
                  {}, [&](const dao::Statement&) { ++scanned; });
    double scan = since(t0);

    ReadRec rec;
    rec.LastKeepVal = 1;
    bool interrupted = true;
    t0 = Clock::now();
    long done = LogLnRaw_Add(db, rec, interrupted);
    double build = since(t0);
    long long visits = 0;
    db.forEachRow("SELECT COUNT(*) FROM visit", {}, [&](const dao::Statement& s) { visits = s.column(0).asInteger(); });
    std::printf("lines %ld (scanned %ld), visits %lld, interrupted %d\n", done, scanned, visits, interrupted ? 1 : 0);
    std::printf("visit building %.2f s, %.0f lines/s; ordered scan alone %.2f s; ratio %.1f\n", build,
                done / (build > 0 ? build : 1), scan, build / (scan > 0 ? scan : 1));
    return interrupted ? 1 : 0;
}
