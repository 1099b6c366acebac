#pragma once
// A small site worked out by hand, for the analysis and report tests.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "analysis/visit_analysis.h"
#include "core/ini_store.h"
#include "shell/hooks.h"
#include "tests/logimport/temp_site.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

namespace testsupport {

// A small site worked out by hand: five pages (one image, one missing page), six
// visits over three days.
class HandMadeSite : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto [id, name] : std::vector<std::pair<long, const char*>>{
                 {1, "index.html"}, {2, "products/shoes.html"}, {3, "img/logo.gif"}, {4, "contact.html"},
                 {5, ".. Page does not exist .."}})
            site.db.execute("INSERT INTO page (PageID, Filename) VALUES (?, ?)",
                            {dao::Value(static_cast<long long>(id)), dao::Value(std::string(name))});
        struct Visit {
            long id, start;
            long long stamp;
            const char *further, *bytes, *term, *engine;
        } visits[] = {
            {1, 1, 20260301100000, "2|3", "900|100", "red shoes", "google"},
            {2, 1, 20260301110000, "4", "500", "red shoes", "bing"},
            {3, 2, 20260302090000, "", "", "red shoes", "google"},
            {4, 1, 20260302100000, "2", "800", "blue shoes", "google"},
            {5, 5, 20260303080000, "4", "400", "", ""},
            {6, 2, 20260303090000, "2|4", "10|20", "red shoes", "google"},
        };
        for (const Visit& v : visits)
            site.db.execute(
                "INSERT INTO visit (VisitID, StartPageID, StartTimeStamp, EndTimeStamp, CDSClickFurtherPageIDs, "
                "CDSBytesClickFurtherPageIDs, StzdSearchTerm, SearchEngine, NONSERefr) VALUES (?,?,?,?,?,?,?,?,'')",
                {dao::Value(static_cast<long long>(v.id)), dao::Value(static_cast<long long>(v.start)),
                 dao::Value(v.stamp), dao::Value(v.stamp + 500), dao::Value(std::string(v.further)),
                 dao::Value(std::string(v.bytes)), dao::Value(std::string(v.term)),
                 dao::Value(std::string(v.engine))});
        setMain("AnalStartEnd", "2026-03-01|2026-03-03");
        setMain("CDSNoCntSurfToFileTypes", "gif|jpg");
        setMain("CDSCntAsPageForAvgPages", "html");
        setMain("ShowNotSEitem", "True");
        setMain("ShowDist1", "True");
        setMain("ThresholdST", "2");
        setMain("ThresholdPg", "1");
        setMain("ThresholdWrd", "1");
        setMain("ThresholdTrk", "1");
    }
    void setMain(const std::string& entry, const std::string& value) { INI_Put("Main", entry, value, "::*"); }

    STTA_Results analyse(long kind) {
        STTA_Results r;
        EXPECT_TRUE(STTA_VisitsAnalyse(site.db, r, 10, kind));
        return r;
    }
    static std::int64_t cnt(const STTA_Results& r, const std::string& item) {
        const long i = r.Vals->find(item);
        return i < 0 ? -1 : r.Vals->Cnt[static_cast<std::size_t>(i)];
    }

    testsupport::TempSite site;
    shell::AppShellHooks hooks;
    core::ScopedShellHooks hooksInstalled{&hooks};
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder responder;
};

}  // namespace testsupport
