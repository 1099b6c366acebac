// Visits built while an addition reads its lines must come out as the visit
// building's scan over the stored lines makes them: the same lines with the same
// visits, terms, engines, pages and repeats, whatever the order of the lines, the
// site's options, earlier additions or overlapping files. Visit numbers may differ,
// so visits are named by their first line.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/shell_hooks.h"
#include "logimport/import_run.h"
#include "logimport/logline_store.h"
#include "logimport/raw_log_reader.h"
#include "logimport/search_engine_store.h"
#include "logimport/visit_building.h"
#include "tests/logimport/temp_site.h"
#include "tests/support/fake_user_interface.h"

namespace {

class LastValsRouting : public core::ShellHooks {
public:
    std::string iniSectFileGet(const std::string& section, const std::string& key) override {
        return section == "Main" && key == "LastVisitID" ? gIniLastVals : std::string();
    }
};

// A combined-format line on day `day` of December 2026.
std::string line(const std::string& ip, int day, const std::string& time, const std::string& page,
                 const std::string& referrer = "-", const std::string& agent = "agent/1.0") {
    char date[16];
    std::snprintf(date, sizeof date, "%02d/Dec/2026", day);
    return ip + " - - [" + date + ":" + time + " +0000] \"GET " + page + " HTTP/1.1\" 200 700 \"" + referrer +
           "\" \"" + agent + "\"\n";
}

// Lines of many visitors, one every few seconds through day `day`: enough for the
// read to move on and release the visits it holds.
std::string crowd(int day, int from = 0, int count = 6000, bool searches = true) {
    std::string text;
    for (int i = from; i < from + count; ++i) {
        char time[16];
        const int s = i * 86399 / 12000;
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
        const std::string ref = searches && i % 3 == 0 ? "http://www.google.com/search?q=word" + std::to_string(i % 7) : "-";
        text += line("10.0." + std::to_string(i % 200) + "." + std::to_string(i % 7), day, time,
                     "/p" + std::to_string(i % 13) + ".html", ref);
    }
    return text;
}

std::string generated(int lines, int seed, int days) {
    const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
    const std::string out = testing::TempDir() + "visit_stream_gen.log";
    const std::string cmd = "python3 '" + src + "/tests/fixtures/genlog.py' " + std::to_string(lines) + " --seed " +
                            std::to_string(seed) + " --days " + std::to_string(days) + " -o '" + out + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The lines from the first to the last (1-based) of the text.
std::string linesOf(const std::string& text, size_t first, size_t last) {
    std::istringstream in(text);
    std::string out, l;
    for (size_t n = 1; std::getline(in, l); ++n)
        if (n >= first && n <= last) out += l + "\n";
    return out;
}

struct Scenario {
    const char* name;
    bool keepValues;
    bool eraseNonSE;
    long limit;
    std::vector<std::vector<std::string>> additions;  // the files of each addition
};

std::string rows(dao::Database& db, const std::string& sql) {
    std::string out;
    db.forEachRow(sql, {}, [&](const dao::Statement& s) {
        for (int i = 0; i < s.columnCount(); ++i) out += s.column(i).isNull() ? "~|" : s.column(i).asText() + "|";
        out += "\n";
    });
    return out;
}

// Everything an addition leaves, visits named by their first line.
std::string outcome(testsupport::TempSite& site, bool keepValues, long built, const EngineDayTally& tally) {
    std::string out = "built " + std::to_string(built) + "\n";
    out += rows(site.db, std::string("SELECT l.LogLnID, CASE WHEN l.VisitID < 0 THEN l.VisitID ELSE v.StartLogLnID "
                                     "END, l.VisitID IS NULL, l.PageID, l.Bytes, "
                                     "l.CntDupes, l.Timestamp, l.IP") +
                             (keepValues ? ", l.Referrer, l.Browser" : "") +
                             " FROM logline l LEFT JOIN visit v ON v.VisitID = l.VisitID ORDER BY l.LogLnID");
    out += rows(site.db,
                "SELECT StartLogLnID, StartPageID, StartTimeStamp, EndTimeStamp, Files, FirstIP, CDSIPs, SearchTerm, "
                "StzdSearchTerm, SearchEngine, CDSClickFurtherPageIDs, CDSBytesClickFurtherPageIDs FROM visit "
                "ORDER BY StartLogLnID");
    out += rows(site.db, "SELECT v.StartLogLnID, p.CDSClickFurtherPageIDs, p.CDSBytesClickFurtherPageIDs "
                         "FROM visitpages p JOIN visit v ON v.VisitID = p.visitID ORDER BY v.StartLogLnID, p.rowid");
    std::set<std::string> days;
    for (long i = 1; tally.Keys.hasBounds() && i <= tally.Keys.ubound(); ++i)
        days.insert(tally.Keys[i] + "=" + std::to_string(tally.Counts[i]));
    for (const std::string& d : days) out += d + "\n";
    return out;
}

// The outcome of each addition of the scenario, with the visits built while reading
// or by the scan afterwards.
std::vector<std::string> addAll(const Scenario& c, bool whileReading) {
    testsupport::TempSite site(c.keepValues);
    testsupport::FakeUserInterface ui;
    LastValsRouting routing;
    core::ScopedShellHooks routed(&routing);
    const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
    gIniLogFmts = src + "/resources/param/logfmts.ini";
    gAppPath = src + "/resources/";
    STTA_SEDefsLoad();
    INI_Put("Main", "LFmtDflt", "Combined (Apache, NGINX)", gIniLastVals);
    INI_Put("Main", "EraseNonSE", c.eraseNonSE ? "True" : "False", gIniDbDef);
    INI_Put("Main", "LmtVisitLines", c.limit, gIniDbDef);
    std::vector<std::string> outcomes;
    for (size_t a = 0; a < c.additions.size(); ++a) {
        std::string list;
        for (size_t f = 0; f < c.additions[a].size(); ++f) {
            const std::string path = site.home / ("logs/a" + std::to_string(a) + "f" + std::to_string(f) + ".log");
            testsupport::writeFile(path, c.additions[a][f]);
            list += (list.empty() ? "" : "|") + path;
        }
        ReadRec rec;
        rec.NoPromptInvalid = rec.NoPromptOverlap = true;
        rec.VisitsWhileReading = whileReading;
        rec.RobotSet = FltrSet{.Active = true, .Rules = {{}, {kFltrContains, "bot", false}}, .Any = true,
                               .ColTypes = {0, kFldUserAgent}};
        bool usable = false;
        logimport::ImportRun run(rec);
        EXPECT_TRUE(RawLog_AddData_ReadLogFiles_OK(site.db, list, "Test", "Add. Step 1/3: ", usable, rec));
        STTA_LogLineRsClose();
        bool interrupted = true;
        const long built = LogLnRaw_Add(site.db, rec, interrupted);
        EXPECT_FALSE(interrupted);
        EXPECT_EQ(site.count("SELECT COUNT(*) FROM logline WHERE VisitID IS NULL"), 0);
        outcomes.push_back(outcome(site, c.keepValues, built, run.engineDays()));
    }
    gAppPath.clear();
    gIniLogFmts.clear();
    return outcomes;
}

TEST(VisitsWhileReading, GiveWhatTheScanGives) {
    const std::string gen = generated(4000, 11, 2);
    // A visitor's plain visit, released and spilled once the crowd has moved the read
    // on, then revived by a late line from a search engine; another stays plain.
    const std::string revived = line("9.9.9.9", 10, "10:00:00", "/a.html") + line("9.9.9.9", 10, "10:05:00", "/b.html") +
                                line("8.8.8.8", 10, "10:01:00", "/a.html") + crowd(10) + crowd(11) +
                                line("9.9.9.9", 10, "10:20:00", "/c.html", "http://www.google.com/search?q=blue+hat") +
                                line("8.8.8.8", 10, "10:30:00", "/c.html") +
                                // Referrers as the store gives them back: codes, blanks, quotes.
                                line("5.5.5.5", 11, "23:00:00", "/d.html",
                                     "http://www.google.com/search?q=caf%C3%A9+%26+cr%C3%A8me+=x") +
                                line("5.5.5.6", 11, "23:00:01", "/d.html", "  http://www.bing.com/search?q=two+words  ") +
                                line("5.5.5.7", 11, "23:00:02", "/d.html", "'http://www.google.com/search?q=quoted'");
    // A robot over the cap whose visit ends without a term.
    std::string robot;
    for (int i = 0; i < 8; ++i) robot += line("7.7.7.7", 12, "09:0" + std::to_string(i) + ":00", "/r.html");
    const std::string laterDay = crowd(12) + robot + crowd(13, 6000);
    const std::string plain = crowd(12, 0, 6000, false) + robot + crowd(13, 6000, 6000, false);
    // A new line, repeats of lines read before (counted on the stored lines), a new
    // line: the file's dates overlap those lines.
    auto repeatsOf = [](const std::string& text) {
        return line("6.6.6.6", 12, "00:00:01", "/new.html") + linesOf(text, 5000, 5400) +
               line("6.6.6.6", 13, "23:59:59", "/new.html");
    };
    const Scenario cases[] = {
        {"generated, referrers in the store, plain visits erased, robot cap", false, true, 15, {{gen}}},
        {"generated, line values kept, plain visits kept", true, false, 1000, {{gen}}},
        {"late line revives a released visit", false, true, 5, {{revived}}},
        {"late line with kept values and no erasing", true, false, 5, {{revived}}},
        {"second addition continues the first one's visits", false, true, 15,
         {{linesOf(gen, 1, 2000)}, {linesOf(gen, 2001, 4000)}}},
        {"second file of a run overlaps the first, then a later addition", false, true, 5,
         {{laterDay, repeatsOf(laterDay)}, {repeatsOf(laterDay) + crowd(14, 0, 300)}}},
        {"second file overlaps lines only held back", false, true, 5, {{plain, repeatsOf(plain)}}},
        {"overlap with kept values", true, true, 5, {{laterDay, repeatsOf(laterDay)}}},
    };
    for (const Scenario& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> scanned = addAll(c, false);
        const std::vector<std::string> streamed = addAll(c, true);
        ASSERT_EQ(scanned.size(), streamed.size());
        for (size_t a = 0; a < scanned.size(); ++a) {
            SCOPED_TRACE("addition " + std::to_string(a + 1));
            EXPECT_NE(scanned[a].rfind("built 0\n", 0), 0u);  // lines were read and given visits
            EXPECT_EQ(streamed[a], scanned[a]);
        }
    }
}

}  // namespace
