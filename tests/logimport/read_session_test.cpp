#include "logimport/read_session.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "logimport/import_run.h"
#include "logimport/logline_store.h"
#include "tests/logimport/temp_site.h"

TEST(ReadSession, EveryWayOutClosesTheRecordsetAndForgetsTheRequests) {
    testsupport::TempSite site;
    ReadRec rec;
    std::string id;
    for (bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "ended by an error" : "ended normally");
        logimport::ImportRun run;
        try {
            logimport::ReadSession session(run, site.db);
            EXPECT_TRUE(run.LogLineRs.isOpen());
            // The page of a request is remembered for the rest of the read.
            id = STTA_LogLinePageID("/a.html?q=1", rec, run, true, site.db);
            EXPECT_EQ(run.requestPages().find("/a.html?q=1"), std::stol(id));
            if (fails) throw std::runtime_error("stop");
        } catch (const std::runtime_error&) {
        }
        EXPECT_FALSE(run.LogLineRs.isOpen());
        EXPECT_EQ(run.requestPages().find("/a.html?q=1"), -1);
    }
    // Outside a read the page is still found, from the page table.
    logimport::ImportRun other;
    EXPECT_EQ(STTA_LogLinePageID("/a.html?q=1", rec, other, false, site.db), id);
}
