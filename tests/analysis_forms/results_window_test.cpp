#include <gtest/gtest.h>

#include "analysis/forms/results_window.h"
#include "platform/grid/flex_grid.h"
#include "platform/ui/controls.h"

namespace {

STTA_Results smallResults() {
    STTA_Results r;
    r.Analyzed_Field = kRkSearchEngine;
    STTA_ValueListAlloc(*r.Vals, 2, 1, 2, {});
    ValueListIncrements inc;
    inc.cnt = 1234567;
    STTA_ValueListAdd(-1, *r.Vals, "google", inc, -1);
    inc.cnt = 5;
    STTA_ValueListAdd(-1, *r.Vals, "bing", inc, -1);
    return r;
}

ReportTable smallReport(const STTA_Results& r) {
    ReportTable t;
    STTA_ReportGridSetup(r.Targets, t, r.Analyzed_Field, r.AnalOpts);
    STTA_AllRowsWrite(r, t);
    return t;
}

TEST(ResultsWindow, ShowsTheReportTableInItsGrid) {
    const STTA_Results results = smallResults();
    const ReportTable table = smallReport(results);
    SrchTmLstFrm window(table, results, "All Srch Engines. Site: Test");
    grid::FlexGrid* grid = window.fSearchTerms();
    EXPECT_EQ(ui::tag(&window), "STLst");
    EXPECT_EQ(window.windowTitle().toStdString(), "All Srch Engines. Site: Test");
    ASSERT_EQ(grid->Rows(), table.rows());
    EXPECT_EQ(grid->FixedCols(), 3);
    for (long r = 0; r < table.rows(); ++r)
        for (int c = 0; c < table.cells.cols(); ++c) EXPECT_EQ(grid->TextMatrix(r, c), table.text(r, c)) << r << "," << c;
    EXPECT_EQ(grid->TextMatrix(1, 0), "google");
    // A count wider than its column's design width widens the column instead of being cut.
    EXPECT_GT(grid->ColWidth(1), 600);
    // The selection rests on the total row.
    EXPECT_EQ(grid->TextMatrix(grid->Row(), 0), ".. Total ..");
}

}  // namespace
