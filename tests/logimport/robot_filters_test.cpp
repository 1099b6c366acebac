#include <gtest/gtest.h>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "logimport/robot_filters.h"
#include "tests/support/temp_home.h"

namespace {

using testsupport::TempHome;
using testsupport::writeFile;

// "both" satisfies two skip filters; "gone" names a filter without a section.
const char kSkipFilters[] =
    "[Filters]\n"
    "skipFtrs=moz|firefox|gone\n"
    "[moz]\n"
    "Typ=1\n"
    "Val=mozilla\n"
    "MC=False\n"
    "[firefox]\n"
    "Typ=2\n"
    "Val=Firefox\n"
    "MC=True\n";

struct Found {
    std::vector<std::string> agents;
    std::vector<long> counts;
};

Found apply(const Found& in) {
    core::StrArray agents;
    core::LngArray counts;
    agents.redim(0, 0);
    counts.redim(0, 0);
    for (std::size_t i = 0; i < in.agents.size(); ++i) {
        agents.append(in.agents[i]);
        counts.append(in.counts[i]);
    }
    STTA_SkipUAsApply(agents, counts);
    Found out;
    for (long i = 1; i <= agents.ubound(); ++i) out.agents.push_back(agents[i]);
    for (long i = 1; i <= counts.ubound(); ++i) out.counts.push_back(counts[i]);
    return out;
}

class SkipFilters : public ::testing::Test {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        gIniPPFindBotsSkipUAs = home_ / "ppfindbotsskipuas.ini";
        writeFile(gIniPPFindBotsSkipUAs, kSkipFilters);
    }
    void TearDown() override { gIniPPFindBotsSkipUAs.clear(); }

    TempHome home_;
};

}  // namespace

TEST_F(SkipFilters, RemoveEachMatchingUserAgentOnceWithItsCount) {
    const Found in{{"MOZILLA/5.0 Firefox", "crawler", "Mozilla/4.0", "firefox lower", "bot"}, {7, 3, 5, 2, 9}};
    const Found out = apply(in);
    EXPECT_EQ(out.agents, (std::vector<std::string>{"crawler", "firefox lower", "bot"}));
    EXPECT_EQ(out.counts, (std::vector<long>{3, 2, 9}));
}

TEST_F(SkipFilters, WithoutSkipFiltersNothingIsRemoved) {
    INI_Put("Filters", "skipFtrs", "", gIniPPFindBotsSkipUAs);
    const Found in{{"Mozilla/5.0", "bot"}, {1, 2}};
    const Found out = apply(in);
    EXPECT_EQ(out.agents, in.agents);
    EXPECT_EQ(out.counts, in.counts);
}
