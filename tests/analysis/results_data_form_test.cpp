#include <gtest/gtest.h>

#include "analysis/results_data_form.h"
#include "core/text.h"

namespace {

// One visit a day, each reaching the one target, on every day of the analysis.
STTA_Results oneVisitADay(long dayCount, const std::string& value = "shoes") {
    STTA_Results r;
    r.VisitCount = 100;
    r.DayList->assign(static_cast<std::size_t>(dayCount), "");
    ValueListParts parts;
    parts.dayCnt = true;
    parts.counters.fill(true);
    STTA_ValueListAlloc(*r.Vals, 1, dayCount, 0, parts);
    ValueListIncrements inc;
    inc.counters = {0, 0, 1, 0, 0, 0};
    inc.dayTables = {true, false, false, true};
    for (long day = 0; day < dayCount; ++day) STTA_ValueListAdd(day, *r.Vals, value, inc, -1);
    TargetSpec buy;
    buy.Typ = 4;
    buy.Rules.push_back(FltrRule{});
    buy.Rules.back().Val = "buy.html";
    r.Targets.push_back(buy);
    return r;
}

TEST(ResultsSummary, TheLastThirtyDaysAreThirtyAndShortAnalysesDivideByThirty) {
    TXT_CrLfInit();
    struct Case {
        long days;
        std::string lastLines;
    } cases[] = {
        {40, "Last 30 days Selected Visits: 30 [30% Average: 1.0/day]" + gCR +
                 "Last 30 days buy.html: 30 [30% Average: 1.0/day]"},
        {10, "Last 30 days Selected Visits: 10 [10% Average: 0.3/day]" + gCR +
                 "Last 30 days buy.html: 10 [10% Average: 0.3/day]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days);
        const std::string whole = std::to_string(c.days);
        EXPECT_EQ(STTA_ResultsSummaryText(oneVisitADay(c.days)),
                  "Total Visits: 100" + gCR + "Selected Visits: " + whole + " [" + whole + "%]" + gCR +
                      "buy.html: " + whole + " [" + whole + "%]" + gCRCR + std::string(60, '-') + gCRCR + gCR +
                      c.lastLines);
    }
}

// Visits counted at the empty value (item 0) are selected visits of the last 30 days too.
TEST(ResultsSummary, VisitsOfTheEmptyValueCountInTheLastThirtyDays) {
    TXT_CrLfInit();
    const STTA_Results r = oneVisitADay(10, "");
    ASSERT_EQ(r.Vals->Items.at(0), "");
    const std::string text = STTA_ResultsSummaryText(r);
    EXPECT_NE(text.find("Selected Visits: 10 [10%]"), std::string::npos) << text;
    EXPECT_NE(text.find("Last 30 days Selected Visits: 10 [10% Average: 0.3/day]" + gCR +
                        "Last 30 days buy.html: 10 [10% Average: 0.3/day]"),
              std::string::npos)
        << text;
}

}  // namespace
