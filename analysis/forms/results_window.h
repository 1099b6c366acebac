#pragma once
// A results window: the report table of one report in the program's grid, as an MDI
// child of the main window. It keeps the table, so its rows still know which items
// they stand for after the user sorts them.
#include <QWidget>

#include "analysis/plot_data.h"
#include "analysis/report_table.h"

namespace grid {
class FlexGrid;
}
namespace chart {
class ChartView;
}

class SrchTmLstFrm : public QWidget {
    Q_OBJECT
public:
    // `results` is the record the report was written from; its counts are shared.
    SrchTmLstFrm(ReportTable table, const STTA_Results& results, const std::string& caption,
                 QWidget* parent = nullptr);

    grid::FlexGrid* fSearchTerms() const { return grid_; }
    chart::ChartView* fChart() const { return chart_; }
    const ReportTable& table() const { return table_; }

    // Plots the users of the row's items over the analysed days (the total row: of
    // every row); false when the row stands for no items.
    bool pPlotRow(long row);

private:
    void fillGrid();

    ReportTable table_;
    STTA_Results results_;
    grid::FlexGrid* grid_;
    chart::ChartView* chart_;
    long plotRow_ = -1;
};
