// The road of a new user: a new site, a generated log added to it from File > "Add new
// raw log data" with the shipped default format and filters, the completion and the
// summary per search engine checked against what the generator wrote, and the addition
// found again in File > "List raw log data added".
#include <gtest/gtest.h>

#include <algorithm>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "logimport/forms/add_log_data.h"
#include "logimport/forms/addition_history_list.h"
#include "logimport/forms/test_reads.h"
#include "logimport/search_engine_store.h"
#include "logimport/visit_building.h"
#include "shell/forms/new_site_dialog.h"
#include "shell/log_import_hooks.h"
#include "tests/logimport/generated_site.h"
#include "tests/shell/shell_home.h"

namespace {

using Texts = std::vector<std::string>;

// The message and every caption of the box.
std::string textOf(const core::DlgView& v) {
    std::string text = v.caption + "\n" + v.message;
    for (const auto& c : v.ctls) text += "\n" + c.caption;
    return text;
}

const core::CtlView& gridOf(const core::DlgView& v) {
    for (const auto& c : v.ctls)
        if (c.type == "Grid") return c;
    throw std::runtime_error("no grid in " + v.caption);
}

std::string column(const std::string& row, long n) { return CHUNKS_GetEx(n, "\t", kChunksNoExclusion, row, ""); }

long long number(const std::string& text) { return static_cast<long long>(TXT_Val(TXT_Replace(text, ",", "", true))); }

class NewUserRoad : public ShellHome {
protected:
    void SetUp() override {
        ShellHome::SetUp();
        startWithFirstSite("Shop");
        shell::setLogImportHooks({.addLogData = [] { STTA_AddLogData(); }});
        STTA_SEDefsLoad();
        gReadRec = ReadRec{};
    }
    void TearDown() override {
        shell::setLogImportHooks({});
        gReadRec = ReadRec{};
        ShellHome::TearDown();
    }
};

TEST_F(NewUserRoad, ANewSiteGetsAGeneratedLogAndItsHistory) {
    const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
    const std::string log = home / "logs/gen.log", truthFile = home / "logs/gen.truth";
    std::filesystem::create_directories(home / "logs");
    ASSERT_EQ(std::system(("python3 '" + src + "/tests/fixtures/genlog.py' 3000 --seed 11 -o '" + log +
                           "' --truth '" + truthFile + "'")
                              .c_str()),
              0);
    const auto truth = testsupport::readTruth(truthFile);
    ASSERT_GT(truth.size(), 100u);
    // The current site's log file is its own: the new site starts without one.
    INI_Put("Main", "PAFNlog", home / "logs/other-site.log", "::*");

    std::string completion;
    Texts engineRows;
    testsupport::Answer name = answer("Enter a name for the new site database", "Blog", "&OK");
    name.sets.push_back({"cap:Skip &404s [Skip Log Lines with HTTP status 4xx or 5xx]", "0"});
    boxes.expect(name)
        .press("Site DB >>Blog<< created.", "&Yes")
        .press("Select File to add", "Log &File ...")
        .expect({.expectMessage = "Enter (UN-compressed) Log File Specification. Site DB: Blog",
                 .sets = {{"#2", log}},
                 .press = "&OK"})
        .expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_NE(v.notice.find("File added to list."), std::string::npos);
            d.press("OK");  // the notice's own
            d.press("&OK");
        }})
        .press("Select File to add", "Sta&rt. Read Log File")
        .press("Main Processing [add lines]", "&OK")
        .expect({.act =
                     [&](const core::DlgView& v, core::DlgDriver& d) {
                         completion = v.message;
                         d.press("Show SE Summar&y");
                     }})
        .expect({.act =
                     [&](const core::DlgView& v, core::DlgDriver& d) {
                         EXPECT_NE(textOf(v).find("This is a summary of data you have just added."),
                                   std::string::npos);
                         engineRows = gridOf(v).items;
                         d.press("Don&e");
                     }})
        .press("Data added.", "Don&e");
    shell::newSiteCommand();
    ASSERT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(STTA_SiteParmGet(), "Blog");
    EXPECT_EQ(INI_Get("Main", "Skip404", gIniDbDef, 3), "False");  // as ticked off in the new-site dialog
    EXPECT_EQ(INI_Get("Main", "RemQuery", gIniDbDef, 3), "True");

    // Every line was read; the lines stored all have their visit.
    EXPECT_NE(completion.find("Total log lines read: 3,000 in "), std::string::npos) << completion;
    EXPECT_NE(completion.find("Skip robots n crawlers: Yes"), std::string::npos);
    EXPECT_NE(completion.find("Data from 01 Jan 2026 to "), std::string::npos);
    const long long stored = [] {
        auto rs = gDB.openRecordset("SELECT COUNT(*) FROM logline", dao::RecordsetType::Snapshot);
        return rs.field(0).asInteger();
    }();

    // One summary row per engine, its visitors those the generator sent from that engine.
    ASSERT_FALSE(engineRows.empty());
    long long visitors = 0;
    for (const auto& row : engineRows) {
        const std::string engine = core::lowerAscii(column(row, 1));
        const auto written = std::count_if(truth.begin(), truth.end(), [&](const auto& t) {
            return t.second.engineHost.find(engine) != std::string::npos;
        });
        EXPECT_EQ(number(column(row, 3)), written) << row;
        visitors += number(column(row, 3));
    }
    EXPECT_EQ(visitors, static_cast<long long>(truth.size()));
    // The terms stored are the generator's.
    Texts terms, written;
    gDB.forEachRow("SELECT StzdSearchTerm FROM visit WHERE StzdSearchTerm IS NOT NULL ORDER BY 1", {},
                   [&](const dao::Statement& s) { terms.push_back(s.column(0).asText()); });
    for (const auto& t : truth) written.push_back(t.second.term);
    std::sort(written.begin(), written.end());
    EXPECT_EQ(terms, written);

    // The history holds the run, and the list of additions shows it.
    Texts all, hidden;
    boxes
        .expect({.act =
                     [&](const core::DlgView& v, core::DlgDriver& d) {
                         EXPECT_NE(textOf(v).find("Logged Additions of raw log data to this site database"),
                                   std::string::npos);
                         all = gridOf(v).items;
                         d.press("&Hide Lines: \"Start Read File\"");
                     }})
        .expect({.act =
                     [&](const core::DlgView& v, core::DlgDriver& d) {
                         hidden = gridOf(v).items;
                         d.choose(gridOf(v).entry, {1});  // "Done. Read File"
                         d.press("SE Summar&y");
                     }})
        .press("First select a line with \"** Done **\" in first column.", "&OK")
        .expect({.act =
                     [&](const core::DlgView& v, core::DlgDriver& d) {
                         d.choose(gridOf(v).entry, {2});  // the closing record
                         d.press("List Proble&ms");
                     }})
        .press("Files were all read without problems.", "&OK")
        .expect({.act =
                     [&](const core::DlgView& v, core::DlgDriver& d) {
                         d.choose(gridOf(v).entry, {2});
                         d.press("SE Summar&y");
                     }})
        .expect({.act =
                     [&](const core::DlgView& v, core::DlgDriver& d) {
                         EXPECT_EQ(gridOf(v).items, engineRows);  // the run's summary, kept with its record
                         d.press("Don&e");
                     }})
        .expect({.expectCaption = "Logged Additions", .press = "Don&e"});
    STTA_AddDataLogList();
    ASSERT_EQ(boxes.pending(), 0u);
    ASSERT_EQ(all.size(), 3u);  // file start, file done, closing record: one file needs no run start
    EXPECT_EQ(column(all[0], 1), "Start Read File: " + log);
    EXPECT_EQ(column(all[1], 1), "Done. Read File. 1/1");
    EXPECT_EQ(column(all[1], 2), "gen.log");
    const std::string closing = all[2];
    EXPECT_EQ(column(closing, 1), "** Done **");
    EXPECT_EQ(column(closing, 2), "gen.log");
    EXPECT_EQ(column(closing, 3), "** End ADD ** Totals. All Files.");
    EXPECT_GE(number(column(closing, 4)), stored);  // lines given a visit, robots' later removed
    EXPECT_EQ(column(closing, 7), "3,000");
    EXPECT_NE(completion.find("Added: " + column(closing, 8)), std::string::npos);
    EXPECT_EQ(column(closing, 23), log);
    EXPECT_EQ(hidden, (Texts{all[1], all[2]}));
}

}  // namespace
