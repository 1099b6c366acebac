#pragma once
// A results window: the report table of one report in the program's grid, and below it
// a chart of the selected row over time, as an MDI child of the main window. It keeps
// the table, so its rows still know which items they stand for after the user sorts
// them, and the data form of its analysis, whose record it makes current before it
// plots.
#include <QWidget>
#include <functional>

#include "analysis/plot_data.h"
#include "analysis/report_table.h"
#include "analysis/results_data_form.h"

class QFrame;
class QLabel;
class QMenu;
namespace grid {
class FlexGrid;
}
namespace chart {
class ChartView;
}

class SrchTmLstFrm : public QWidget {
    Q_OBJECT
public:
    SrchTmLstFrm(ReportTable table, IfrmPtr form, const std::string& caption, QWidget* parent = nullptr);

    grid::FlexGrid* fSearchTerms() const { return grid_; }
    chart::ChartView* fChart() const { return chart_; }
    QLabel* fPlotDesc() const { return plotDesc_; }
    QLabel* fExtractDesc() const { return extractDesc_; }
    QMenu* fPUMnu() const { return gridMenu_; }
    QMenu* fPUMnu_Chart() const { return chartMenu_; }
    const ReportTable& table() const { return table_; }
    const IfrmPtr& dIfrmData() const { return form_; }

    // Shows another results window (the row detail); set by whoever places windows.
    std::function<void(SrchTmLstFrm*)> showWindow;

    // The items of the grid row, wherever a sort has put it ("" for a row of no items).
    std::string GetSTs4Row(long row) const;
    // Plots the users of the row's items over the dates (empty: the window's plot
    // range); the same row again only when forced. False when nothing was plotted.
    bool pPlotRow(long row, const std::string& dates = {}, bool force = false);

    long dPlotRow = 0;
    std::string dPlotStartEndDate;
    long dPlotColsToRemove = 0;
    std::string dPlotColLabelsCDS;

    // Grid and description above, chart and plot description below; the grid keeps a
    // minimum size and the rest follows it.
    void Form_Resize();
    // The chart's pop-up menu on a right click.
    void fChart_MouseUp(Qt::MouseButton button, const QPoint& where);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fillGrid();
    void buildMenus();
    // The grid's menu for the current row, at a screen position.
    void showGridMenu(const QPoint& where);
    // Below the current cell, scrolled into view: where the keyboard opens the menu.
    QPoint currentRowPoint();
    void setRowHeights(bool thick);
    void databaseCheck();

    ReportTable table_;
    IfrmPtr form_;
    grid::FlexGrid* grid_;
    chart::ChartView* chart_;
    QLabel* plotDesc_;
    QLabel* extractDesc_;
    QFrame* line1_;
    QFrame* line2_;
    QMenu* gridMenu_;
    QMenu* chartMenu_;
    long lastRowSeen_ = -1;
    long plottedEntry_ = 0;  // the row data of the plotted row, which a sort moves
    int chartTwips_ = 0;  // the chart's design height
    std::string findText_;
};

// The chart's pop-up and View menu commands on a results window.
void STTA_PlotRemoveFirstCol(SrchTmLstFrm& window);
void STTA_PlotColLabelsShow(SrchTmLstFrm& window);
// Plots the last plotted row again, first clearing the removed columns when asked.
void STTA_PlotColsRestore(SrchTmLstFrm& window, bool clearRemoved);
// Asks for the dates to plot and plots them; false when cancelled.
bool STTA_PlotRangeEnter(SrchTmLstFrm& window);
// A second results window with one row per member of the selected row.
void STTA_RowDetailShow(SrchTmLstFrm& window);
