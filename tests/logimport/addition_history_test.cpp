// The history of additions: the records and their companion files.
#include "logimport/addition_history.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "logimport/import_run.h"
#include "logimport/visit_building.h"
#include "tests/logimport/temp_site.h"
#include "tests/support/fake_user_interface.h"

namespace {

using Texts = std::vector<std::string>;

class AdditionHistory : public ::testing::Test {
protected:
    void SetUp() override {
        gIniFltrBots = site_.home / "fltrbots.ini";
        gIniLdLnFltr = site_.home / "site/param/LdLnFltr.ini";
        gIniFltrFiles = site_.home / "site/param/FltrFiles.ini";
        testsupport::writeFile(gIniFltrBots, "[Filters]\nSkipRobotUserAgents=bots\n[bots]\nTyp=2\nVal=bot\n");
        run_.File = ReadCounters{.LastStamp = 45369.5, .FirstStamp = 45366.25, .LinesMatched = 1200,
                                 .BytesMatched = 50000, .LinesAccepted = 1000, .BytesAccepted = 40000,
                                 .Duplicates = 12};
        rec_.RobotSet.Active = true;
        rec_.RobotSet.Hits = 150;
    }
    void TearDown() override {
        gIniFltrBots.clear();
        gIniLdLnFltr.clear();
        gIniFltrFiles.clear();
    }
    void closingRecord(const std::string& spec, const AddDataLogParts& parts) {
        STTA_AddDataLogWrite(spec, "2 minutes", rec_, run_, "", kHistoryDone, "** End ADD ** Totals. All Files.", parts,
                             "", "", "321");
    }
    std::string path(const std::string& name) { return site_.home / ("site/param/" + name); }

    testsupport::TempSite site_;
    testsupport::FakeUserInterface ui_;
    ReadRec rec_;
    logimport::ImportRun run_;
};

const AddDataLogParts kAll{.counters = true, .options = true, .filters = true, .problems = true};

TEST_F(AdditionHistory, AClosingRecordHasItsThirtySixFieldsWhateverTheyHold) {
    closingRecord("/logs/access?.log", kAll);
    rec_.RobotSet.Active = false;
    closingRecord("/logs/one\nline?two", {});
    const std::string text = testsupport::readFile(path("adddata.log"));
    const auto records = logimport::historyRecords();
    ASSERT_EQ(records.size(), 2u);
    // Every record line splits into exactly 36 fields: "?" and line breaks are escaped.
    size_t lines = 0;
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    EXPECT_EQ(lines, 2u);
    for (const auto& r : records) EXPECT_EQ(r.size(), 36u);

    const auto& full = records[0];
    EXPECT_EQ(full[0], "** Done **");
    EXPECT_EQ(full[1], "access*/*.log");
    EXPECT_EQ(full[3], "321");
    EXPECT_EQ(full[4], "15 Mar 2024 06:00.00");
    EXPECT_EQ(full[5], "18 Mar 2024 12:00.00");
    EXPECT_EQ((Texts{full[6], full[7], full[8], full[10], full[13], full[14], full[17]}),
              (Texts{"1,200", "1,000", "40,000", "12", "Yes", "150", "10,000"}));
    EXPECT_EQ(full[22], "/logs/access*/*.log");
    EXPECT_EQ(full[26], "2024-03-15 06:00.00");
    EXPECT_FALSE(full[33].empty());  // the robot filters' copy
    EXPECT_FALSE(full[34].empty());  // the problem lists' section

    const auto& bare = records[1];
    EXPECT_EQ(bare[22], "/logs/one line*/*two");
    // Without counters, options and filters their fields stay empty.
    for (int f : {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 28, 29, 30, 31, 32, 33})
        EXPECT_EQ(bare[static_cast<size_t>(f)], "") << "field " << f + 1;
}

TEST_F(AdditionHistory, ATestReadWritesNoHistory) {
    rec_.Test.Active = true;
    closingRecord("/logs/a.log", kAll);
    EXPECT_FALSE(std::filesystem::exists(path("adddata.log")));
    EXPECT_FALSE(std::filesystem::exists(path("AddLog_Errs.ini")));
}

TEST_F(AdditionHistory, UnchangedRobotFiltersShareOneCopy) {
    const std::string first = STTA_AddDataBotsCopy();
    EXPECT_EQ(STTA_AddDataBotsCopy(), first);
    EXPECT_EQ(testsupport::readFile(first), testsupport::readFile(gIniFltrBots));
    INI_Put("bots", "Val", "spider", gIniFltrBots);
    const std::string second = STTA_AddDataBotsCopy();
    EXPECT_NE(second, first);
    EXPECT_EQ(testsupport::readFile(second), testsupport::readFile(gIniFltrBots));
    EXPECT_EQ(INI_Get("Main", "LastBotPiniAdd", gIniLastVals, 3), second);
}

TEST_F(AdditionHistory, ProblemListsAndTheEngineSummaryReadBackFromTheirFiles) {
    rec_.ProblemFiles.redim(0, 0);
    rec_.ProblemTexts.redim(0, 0);
    rec_.ProblemFiles.append("/logs/a|b.log");
    rec_.ProblemTexts.append("Log file is empty or does not exist. File Skipped.|second ## problem");
    rec_.ProblemFiles.append("/logs/c.log");
    rec_.ProblemTexts.append("Log line does not match");
    EngineDayTally days;
    days.Keys.redim(0, 0);
    days.Counts.redim(0, 0);
    days.Keys.append("20240318|Finder");
    days.Counts.append(17);
    AddDataLogParts parts = kAll;
    parts.summary = &days;
    closingRecord("/logs/*.log", parts);
    closingRecord("/logs/*.log", parts);
    const auto record = logimport::historyRecords().back();
    EXPECT_EQ(record[34], "2");  // a section per closing record

    core::StrArray files, texts;
    STTA_AddDataSectionRead(record[34], files, texts);
    ASSERT_EQ(files.ubound(), 2);
    EXPECT_EQ(files[1], "/logs/a|b.log");
    EXPECT_EQ(texts[1], "Log file is empty or does not exist. File Skipped.|second ## problem");
    EXPECT_EQ(texts[2], "Log line does not match");

    core::StrArray keys;
    core::LngArray counts;
    ASSERT_TRUE(STTA_AddDataSummaryRead(record[35], keys, counts));
    ASSERT_EQ(keys.ubound(), 1);
    EXPECT_EQ(keys[1], "20240318|Finder");
    EXPECT_EQ(counts[1], 17);
}

TEST(AdditionHistoryList, HidingDropsOnlyStartRecordsThatTheNextRecordCloses) {
    auto rec = [](const std::string& first) {
        std::vector<std::string> r(36);
        r[0] = first;
        return r;
    };
    const std::vector<std::vector<std::string>> records{
        rec("Start Read File: /a.log"), rec("Done. Read File. 1/1"),
        rec("Start Read File: /b.log"), rec("File Read Stopped.1/1"), rec("** Done **")};
    EXPECT_EQ(logimport::historyShownRows(records, false), (std::vector<size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(logimport::historyShownRows(records, true), (std::vector<size_t>{1, 2, 3, 4}));
}

}  // namespace
