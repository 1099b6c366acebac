// The summary per search engine: rows per engine and per day from the day tally.
#include "logimport/engine_summary.h"

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::string>;

struct Tally {
    core::StrArray keys;
    core::LngArray counts;
    explicit Tally(const std::vector<std::pair<std::string, long>>& items) {
        keys.redim(0, 0);
        counts.redim(0, 0);
        for (const auto& [key, n] : items) {
            keys.append(key);
            counts.append(n);
        }
    }
};

TEST(EngineSummary, OneRowPerEngineWithDaysRangeAverageAndShare) {
    Tally t({{"20240301|Finder", 3}, {"20240303|Finder", 1}, {"20240302|Seeker", 4}});
    EXPECT_EQ(logimport::seSummaryRows(t.keys, t.counts),
              (Rows{"Finder\t2 days. [2024-03-01 to 2024-03-03 ]\t4\t2.0\t50.0 %",
                    "Seeker\t1 days. [2024-03-02 to 2024-03-02 ]\t4\t4.0\t50.0 %"}));
}

TEST(EngineSummary, ZeroCountsGiveZeroSharesAndDeviationsNotAFault) {
    Tally t({{"20240301|Finder", 0}, {"20240302|Finder", 0}});
    EXPECT_EQ(logimport::seSummaryRows(t.keys, t.counts),
              (Rows{"Finder\t2 days. [2024-03-01 to 2024-03-02 ]\t0\t0.0\t0.0 %"}));
    double average = -1;
    EXPECT_EQ(logimport::seDetailRows(t.keys, t.counts, "Finder", average),
              (Rows{"Finder\t2024-03-01\t0\t0 %", "Finder\t2024-03-02\t0\t0 %"}));
    EXPECT_EQ(average, 0);
    EXPECT_TRUE(logimport::seSummaryRows(Tally({}).keys, Tally({}).counts).empty());
}

TEST(EngineSummary, DeviationFromTheEnginesAveragePerDay) {
    Tally t({{"20240301|Finder", 2}, {"20240302|Finder", 4}, {"20240303|Finder", 6}, {"20240301|Other", 9}});
    double average = 0;
    EXPECT_EQ(logimport::seDetailRows(t.keys, t.counts, "Finder", average),
              (Rows{"Finder\t2024-03-01\t2\t-50 %", "Finder\t2024-03-02\t4\t0 %", "Finder\t2024-03-03\t6\t+50 %"}));
    EXPECT_EQ(average, 4);
}

TEST(EngineSummary, SortingGroupsEnginesWithTheirDaysAscendingAndKeepsCounts) {
    Tally t({{"20240302|Seeker", 1}, {"20240303|Finder", 2}, {"20240301|Seeker", 3}, {"20240301|Finder", 4}});
    logimport::seDayKeysSort(t.keys, t.counts);
    EXPECT_EQ(t.keys.ubound(), 4);
    const Rows keys{t.keys[1], t.keys[2], t.keys[3], t.keys[4]};
    EXPECT_EQ(keys, (Rows{"20240301|Finder", "20240303|Finder", "20240301|Seeker", "20240302|Seeker"}));
    EXPECT_EQ((std::vector<long>{t.counts[1], t.counts[2], t.counts[3], t.counts[4]}),
              (std::vector<long>{4, 2, 3, 1}));
    EXPECT_EQ(logimport::seEngines(t.keys), (Rows{"Finder", "Seeker"}));
}

}  // namespace
