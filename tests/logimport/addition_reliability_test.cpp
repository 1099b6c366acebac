// The addition under repetition, interruption and bad input: whatever happened
// before, the site's tables end as one clean addition leaves them, and nothing
// already stored is lost.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/ini_store.h"
#include "core/shell_hooks.h"
#include "logimport/referrer_store.h"
#include "tests/logimport/generated_site.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

namespace {

class LastValsRouting : public core::ShellHooks {
public:
    std::string iniSectFileGet(const std::string& section, const std::string& key) override {
        return section == "Main" && (key == "LastVisitID" || key == "LastLogLnID") ? gIniLastVals : std::string();
    }
};

// Every row of every table, as text, in key order.
using Tables = std::map<std::string, std::vector<std::string>>;

Tables tablesOf(dao::Database& db) {
    Tables tables;
    for (const auto& t : db.listTables()) {
        if (t.isQuery) continue;
        auto& rows = tables[t.name];
        db.forEachRow("SELECT * FROM " + t.name + " ORDER BY 1", {}, [&](const dao::Statement& s) {
            std::string row;
            for (int c = 0; c < s.columnCount(); ++c) row += (s.columnIsNull(c) ? "<null>" : s.column(c).asText()) + "|";
            rows.push_back(row);
        });
    }
    return tables;
}

class Addition : public ::testing::TestWithParam<bool> {
protected:
    Addition() : site(GetParam()) {
        core::setShellHooks(&routing);
        INI_Put("Main", "EraseNonSE", "True", gIniDbDef);
        log = site.home / "gen.log";
        testsupport::generateLog(log, site.home / "gen.truth", 1500, 3, 3);
    }
    ~Addition() override { core::setShellHooks(nullptr); }
    long long add() {
        ReadRec rec;
        return testsupport::addLogFile(site, log, rec);
    }

    testsupport::TempSite site;
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder boxes;
    LastValsRouting routing;
    std::string log;
};

// Lines the clean-up took out (visits without a search term) must be known when the
// file comes again, or they are stored anew and every later repeat is counted.
TEST_P(Addition, AddingTheSameFileAgainChangesNoTable) {
    add();
    const Tables once = tablesOf(site.db);
    ASSERT_GT(once.at("visit").size(), 10u);
    boxes.press("Do you want to add records from this file anyway?", "&Yes");
    add();
    const Tables twice = tablesOf(site.db);
    for (const auto& [name, rows] : once) {
        SCOPED_TRACE(name);
        EXPECT_EQ(twice.at(name).size(), rows.size());
        EXPECT_TRUE(twice.at(name) == rows);
    }
}

INSTANTIATE_TEST_SUITE_P(KeptAndStoredReferrers, Addition, ::testing::Bool());

std::string combinedLine(const std::string& ip, const std::string& time, const std::string& page,
                         const std::string& referrer = "-") {
    return ip + " - - [10/Oct/2025:" + time + " +0000] \"GET " + page + " HTTP/1.1\" 200 512 \"" + referrer +
           "\" \"Mozilla/5.0\"\n";
}

// A run killed after handing referrers to the store but before its lines were
// committed leaves referrers for numbers the next run gives to other lines.
TEST(StoredReferrers, ThoseOfLinesNeverStoredAreNotHandedToTheLinesThatTakeTheirNumbers) {
    testsupport::TempSite site(false);
    testsupport::FakeUserInterface ui;
    LastValsRouting routing;
    core::setShellHooks(&routing);
    INI_Put("Main", "EraseNonSE", "False", gIniDbDef);
    std::filesystem::create_directories(STTA_RefrStoreFolder());
    STTA_RefrStore(1, "http://www.google.com/search?q=stale+one");
    STTA_RefrStore(2, "http://www.google.com/search?q=stale+two");
    STTA_RefrStoreFlush();

    const std::string log = site.home / "plain.log";
    testsupport::writeFile(log, combinedLine("10.0.0.1", "10:00:00", "/a.html") +
                                    combinedLine("10.0.0.2", "10:00:05", "/b.html"));
    ReadRec rec;
    testsupport::addLogFile(site, log, rec);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM visit"), 2);
    EXPECT_EQ(site.count("SELECT COUNT(*) FROM visit WHERE StzdSearchTerm IS NOT NULL"), 0);
    core::setShellHooks(nullptr);
}

}  // namespace
