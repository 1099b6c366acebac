// File > "Add new raw log data" driven as a user would, through the boxes.
#include <gtest/gtest.h>

#include "logimport/forms/add_log_data.h"
#include "logimport/forms/log_file_entry_dialog.h"
#include "logimport/search_engine_store.h"
#include "tests/logimport/generated_site.h"
#include "tests/logimport_forms/test_read_site.h"
#include "tests/support/scripted_responder.h"

namespace {

TEST(AddLogData, AGeneratedLogIsAddedFromTheDialogAndItsVisitsBuilt) {
    testsupport::TestReadSite s;
    const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
    gAppPath = src + "/resources/";
    STTA_SEDefsLoad();
    const std::string log = s.site.home / "gen.log", truthFile = s.site.home / "gen.truth";
    ASSERT_EQ(std::system(("python3 '" + src + "/tests/fixtures/genlog.py' 3000 --seed 5 -o '" + log + "' --truth '" +
                           truthFile + "'")
                              .c_str()),
              0);
    INI_Put("Main", "PAFNlog", STTA_LogFileEntryJoin(log, "Combined (Apache, NGINX)"), "::*");
    INI_Put("Main", "DoAdd", "1", "::*");

    testsupport::ScriptedResponder responder;
    responder.press("Select File to add", "Sta&rt. Read Log File")
        .press("Main Processing [add lines]", "&OK")
        .press("Total log lines read", "&OK")
        .press("Data added.", "Don&e");
    STTA_AddLogData();
    EXPECT_EQ(responder.pending(), 0u);

    const long long lines = s.site.count("SELECT COUNT(*) FROM logline");
    EXPECT_GT(lines, 2000);
    EXPECT_EQ(s.site.count("SELECT COUNT(*) FROM logline WHERE VisitID IS NULL"), 0);
    const auto truth = testsupport::readTruth(truthFile);
    EXPECT_EQ(s.site.count("SELECT COUNT(*) FROM visit WHERE StzdSearchTerm IS NOT NULL"),
              static_cast<long long>(truth.size()));
    // The completion box tells what was added.
    bool told = false;
    for (const auto& box : responder.shown())
        if (box.message.find("Added: ") != std::string::npos) told = true;
    EXPECT_TRUE(told);
    gAppPath.clear();
}

TEST(AddLogData, DoneLeavesAtOnceAndCancelReadsNothing) {
    testsupport::TestReadSite s;
    s.writeLog(testsupport::combinedLine("/index.html", "-", "Mozilla"));
    INI_Put("Main", "DoAdd", "1", "::*");
    testsupport::ScriptedResponder responder;
    responder.press("Select File to add", "Sta&rt. Read Log File")
        .press("Main Processing [add lines]", "&Cancel")
        .press("Select File to add", "Don&e");
    STTA_AddLogData();
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(s.site.count("SELECT COUNT(*) FROM logline"), 0);
}

}  // namespace
