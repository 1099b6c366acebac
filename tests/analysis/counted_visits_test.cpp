// Every number a report shows for a listed value counts all of that value's visits,
// including those seen before it passed its threshold; and every item row has its
// target cells.
#include <gtest/gtest.h>

#include <map>

#include "analysis/plot_data.h"
#include "analysis/report_table.h"
#include "core/program_paths.h"
#include "core/vb_format.h"
#include "tests/analysis/hand_made_site.h"

namespace {

constexpr int kFirstTargetColumn = 6;  // each target has four columns from here

// The hand-made site from 1 February to 3 March 2026 with targets "contact" (visits 2,
// 5, 6, 7, 10) and "shoes", a target no visit reaches, and four visits of "held shoes":
// 10 February from bing, stayed and reached "contact"; 20 February, left at once;
// 1 March, stayed; 3 March, stayed and reached "contact". With ThresholdST 4 the first
// three are held and the fourth passes.
class CountedVisits : public testsupport::HandMadeSite {
protected:
    void SetUp() override {
        HandMadeSite::SetUp();
        struct Visit {
            long id;
            long long stamp;
            const char *further, *bytes, *engine;
        } visits[] = {{7, 20260210100000, "4", "500", "bing"},
                      {8, 20260220100000, "", "", "google"},
                      {9, 20260301120000, "2", "800", "google"},
                      {10, 20260303120000, "4", "300", "google"}};
        for (const Visit& v : visits)
            site.db.execute(
                "INSERT INTO visit (VisitID, StartPageID, StartTimeStamp, EndTimeStamp, CDSClickFurtherPageIDs, "
                "CDSBytesClickFurtherPageIDs, StzdSearchTerm, SearchEngine, NONSERefr) "
                "VALUES (?,1,?,?,?,?,'held shoes',?,'')",
                {dao::Value(static_cast<long long>(v.id)), dao::Value(v.stamp), dao::Value(v.stamp + 500),
                 dao::Value(std::string(v.further)), dao::Value(std::string(v.bytes)),
                 dao::Value(std::string(v.engine))});
        gIniTargets = site.home / "targets.ini";
        testsupport::writeFile(gIniTargets,
                               "[Main]\nLstTgts=Target 1 : contact|Target 2 : shoes|Target 3 : nowhere\n"
                               "[Target 1]\nTyp=4\nFltrLst=Target 1TFltr0\n[Target 1TFltr0]\nTyp=2\nVal=contact\n"
                               "[Target 2]\nTyp=4\nFltrLst=Target 2TFltr0\n[Target 2TFltr0]\nTyp=2\nVal=shoes\n"
                               "[Target 3]\nTyp=4\nFltrLst=Target 3TFltr0\n[Target 3TFltr0]\nTyp=2\nVal=nowhere\n");
        setMain("AnalStartEnd", "2026-02-01|2026-03-03");
        setMain("ShowDist2", "True");
        setMain("ShowClickThru", "True");
        setMain("DevShow", "True");
        setMain("DevDays", "5");
    }
    void TearDown() override {
        gIniTargets.clear();
        HandMadeSite::TearDown();
    }

    static ReportTable allRows(const STTA_Results& r) {
        ReportTable t;
        STTA_ReportGridSetup(r.Targets, t, r.Analyzed_Field, r.AnalOpts);
        STTA_AllRowsWrite(r, t);
        STTA_TargetBandsColour(r, t);
        return t;
    }
    static long rowOf(const ReportTable& t, const std::string& label) {
        for (long row = 1; row < t.rows(); ++row)
            if (t.text(row, 0) == label) return row;
        return -1;
    }
    // The users per day of the items, as the plot shows them, from 10 February, the
    // first day with visits.
    static std::vector<std::string> plotted(const STTA_Results& r, const std::vector<long>& items) {
        PlotRequest plot;
        plot.items = items;
        const PlotTable table = PlotTtl4IndexesSTByDate(r, plot);
        std::vector<std::string> perDay;
        for (long row = 1; row <= table.table.rowUBound(); ++row) perDay.push_back(ARR_Item2D(table.table, row, 1));
        return perDay;
    }
};

TEST_F(CountedVisits, HeldSightingsAreCountedAsTheVisitsTheyWere) {
    struct Case {
        long kind;
        const char *threshold, *item, *dist1;
    } cases[] = {{kRkSearchTerm, "ThresholdST", "held shoes", "google 3 [75%]\r\nbing 1 [25%]\r\n"},
                 {kRkSingleWords, "ThresholdWrd", "held", "held shoes 4 [100%]\r\n"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        setMain(c.threshold, "1");
        const STTA_Results everyVisit = analyse(c.kind);
        setMain(c.threshold, "4");
        const STTA_Results held = analyse(c.kind);
        ASSERT_EQ(held.AnalOpts.MinCount, 3);
        const ReportTable t = allRows(held), truth = allRows(everyVisit);
        const long row = rowOf(t, c.item);
        ASSERT_GT(row, 0);

        EXPECT_EQ(t.text(row, 1), "4");
        EXPECT_EQ(t.text(row, 2), "3");  // 10 February, 1 and 3 March stayed
        EXPECT_EQ(t.text(row, 3), "75 %");
        EXPECT_EQ(t.text(row, 4), "1.0");
        const int contact = kFirstTargetColumn;
        EXPECT_EQ(t.text(row, contact), "2");
        EXPECT_EQ(t.text(row, contact + 1), "50 %");
        EXPECT_EQ(t.text(row, contact + 2), "67 %");
        EXPECT_EQ(t.text(row, t.col.Dist0), c.dist1);
        EXPECT_EQ(t.text(row, t.col.DistClickThru), "contact.html 2 [50%]\r\nproducts/shoes.html 1 [25%]\r\n");
        // Last month's average users per day: 2 visits in the 19 days from 10 February.
        EXPECT_EQ(t.text(row, t.col.Deviation + 12), "0.11");
        // Each cell of the row is what counting every visit of the value gives; only
        // the share of all visitors differs, since fewer values are listed.
        const long truthRow = rowOf(truth, c.item);
        for (int col = 1; col < t.cells.cols(); ++col) {
            if (col == 5) continue;
            EXPECT_EQ(t.text(row, col), truth.text(truthRow, col)) << t.text(0, col) << " " << col;
        }

        std::vector<std::string> perDay(22, "0");
        for (int day : {0, 10, 19, 21}) perDay[static_cast<std::size_t>(day)] = "1";
        EXPECT_EQ(plotted(held, {held.Vals->find(c.item)}), perDay);
    }
}

// The Total row plots every listed value's visits on their days: "red shoes" (two
// visits on 1 March, one each on 2 and 3 March) and "held shoes"; the values seen less
// often than the threshold are in no row.
TEST_F(CountedVisits, TheTotalRowPlotsEveryVisitOfTheListedValuesOnItsDay) {
    setMain("ThresholdST", "4");
    const STTA_Results r = analyse(kRkSearchTerm);
    ASSERT_EQ(r.Vals->Items, (std::vector<std::string>{"", "red shoes", "held shoes"}));
    const ReportTable t = allRows(r);
    const long total = rowOf(t, ".. Total ..");
    ASSERT_GT(total, 0);
    EXPECT_EQ(t.text(total, 1), "8");
    std::vector<std::string> perDay(22, "0");
    for (const auto& [day, users] : std::map<int, const char*>{{0, "1"}, {10, "1"}, {19, "3"}, {20, "1"}, {21, "2"}})
        perDay[static_cast<std::size_t>(day)] = users;
    EXPECT_EQ(plotted(r, {0, 1, 2}), perDay);
}

// Target 2 was reached by "blue shoes" but by no visit of the last item (the visit
// from no engine); target 3 by no visit at all. Every item row still gets its cells.
TEST_F(CountedVisits, EveryItemRowHasItsTargetCells) {
    setMain("ThresholdST", "1");
    const STTA_Results r = analyse(kRkSearchTerm);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(r.Vals->CntTgt(k).size(), r.Vals->Items.size()) << k;
    const ReportTable t = allRows(r);
    const long total = rowOf(t, ".. Total ..");
    ASSERT_EQ(total, static_cast<long>(r.Vals->Items.size()) + 2);
    auto cells = [&](long row, int target) {
        const int c = kFirstTargetColumn + 4 * (target - 1);
        return std::vector<std::string>{t.text(row, c), t.text(row, c + 1), t.text(row, c + 2)};
    };
    auto zero = [&](long row) {
        auto share = [&](int divisorColumn) { return t.text(row, divisorColumn) == "0" ? "na %" : "0 %"; };
        return std::vector<std::string>{"0", share(1), share(2)};
    };
    const long last = rowOf(t, r.Vals->Items.back());
    ASSERT_EQ(STTA_ValueList::at(r.Vals->CntTgt(1), r.Vals->find(r.Vals->Items.back())), 1);
    EXPECT_EQ(cells(last, 2), zero(last));
    EXPECT_EQ(cells(rowOf(t, "blue shoes"), 2)[0], "1");
    for (long row = 1; row < total - 1; ++row) {
        SCOPED_TRACE(t.text(row, 0));
        EXPECT_EQ(cells(row, 3), zero(row));
    }
    EXPECT_EQ(cells(total, 3), zero(total));
}

}  // namespace
