#include "logimport/read_session.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "logimport/import_run.h"
#include "logimport/logline_store.h"
#include "tests/logimport/temp_site.h"

TEST(ReadSession, EveryWayOutClosesTheRecordsetAndUnlinksTheRun) {
    testsupport::TempSite site;
    ReadRec rec;
    std::string id;
    for (bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "ended by an error" : "ended normally");
        try {
            logimport::ImportRun run(rec);
            logimport::ReadSession session(run, site.db);
            EXPECT_TRUE(gLogLineRs.isOpen());
            EXPECT_EQ(rec.CurrentRun, &run);
            // The page of a request is remembered for the rest of the read.
            id = STTA_LogLinePageID("/a.html?q=1", rec, true, site.db);
            EXPECT_EQ(run.requestPages().find("/a.html?q=1"), std::stol(id));
            if (fails) throw std::runtime_error("stop");
        } catch (const std::runtime_error&) {
        }
        EXPECT_FALSE(gLogLineRs.isOpen());
        EXPECT_EQ(rec.CurrentRun, nullptr);
    }
    // Outside a read the page is still found, from the page table.
    EXPECT_EQ(STTA_LogLinePageID("/a.html?q=1", rec, false, site.db), id);
}
