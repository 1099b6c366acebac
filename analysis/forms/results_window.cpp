#include "analysis/forms/results_window.h"

#include <QFontMetrics>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "platform/chart/chart_view.h"
#include "platform/grid/flex_grid.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/twips.h"

SrchTmLstFrm::SrchTmLstFrm(ReportTable table, const STTA_Results& results, const std::string& caption,
                           QWidget* parent)
    : QWidget(parent), table_(std::move(table)), grid_(new grid::FlexGrid), chart_(new chart::ChartView) {
    STTA_ResultsCopy(results, results_);
    setObjectName("SrchTmLstFrm");
    setAttribute(Qt::WA_DeleteOnClose);
    ui::setTag(this, "STLst");
    ui::registerForm(this);
    setWindowTitle(ui::toQString(caption));
    grid_->setObjectName("fSearchTerms");
    chart_->setObjectName("fChart");
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(grid_);
    split->addWidget(chart_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);
    fillGrid();
    connect(grid_, &grid::FlexGrid::selChange, this, [this] {
        if (grid_->Row() != plotRow_) pPlotRow(grid_->Row());
    });
    pPlotRow(grid_->Row());
}

bool SrchTmLstFrm::pPlotRow(long row) {
    std::string list = table_.GetSTs4Row(row);
    if (list.empty() && table_.text(row, 0) == ".. Total ..") list = table_.allSTs;
    PlotRequest request;
    core::StrArray items;
    CHUNKS_Split(list, items, 0);
    for (long i = items.lbound(); items.hasBounds() && i <= items.ubound(); ++i)
        if (!items[i].empty()) request.items.push_back(static_cast<long>(core::vbVal(items[i])));
    if (request.items.empty()) return false;
    plotRow_ = row;
    request.periodDays = std::max(1L, static_cast<long>(core::vbVal(INI_Get("Main", "DaysToPlot", "::*", 3))));
    request.dateRange = table_.plotStartEndDate;
    request.percentView = INI_GetFlag("Main", "Plotpct", "::*", 3);
    request.dateTitles = INI_GetFlag("Main", "ColTitDt", "::*", 3);
    request.numberTitles = INI_GetFlag("Main", "ColTitNum", "::*", 3);
    const PlotTable plot = STTA_PlotTable(results_, request);
    chart_->setShowLegend(true);
    chart_->setLegendLocation(chart::LegendLocation::BottomRight);
    chart_->setChartType(chart::ChartType::Bar2D);
    chart_->setChartData(plot.table);
    chart_->setTitle(table_.text(row, 0));
    return true;
}

void SrchTmLstFrm::fillGrid() {
    const grid::CellStore& cells = table_.cells;
    grid_->setRedraw(false);
    grid_->setRows(std::max(2L, cells.rows()));
    grid_->setCols(std::max(table_.fixedCols + 1, cells.cols()));
    grid_->setFixedRows(1);
    grid_->setFixedCols(std::min(table_.fixedCols, cells.cols() - 1));
    for (long r = 0; r < cells.rows(); ++r)
        for (int c = 0; c < cells.cols(); ++c) {
            const std::string_view text = cells.text(r, c);
            if (!text.empty()) grid_->setTextMatrix(r, c, text);
        }
    const QFontMetrics metrics(grid_->font());
    const int distColumns[] = {table_.col.Dist0, table_.col.DistAlternate, table_.col.DistClickThru};
    for (int c = 0; c < cells.cols(); ++c) {
        int width = static_cast<std::size_t>(c) < table_.colWidth.size() ? table_.colWidth[static_cast<std::size_t>(c)] : 960;
        // Numbers are never cut: a count column grows to its widest cell.
        if (c > 0 && std::find(std::begin(distColumns), std::end(distColumns), c) == std::end(distColumns) && width > 60) {
            int widest = 0;
            for (long r = 1; r < cells.rows(); ++r)
                widest = std::max(widest, metrics.horizontalAdvance(ui::toQString(std::string(cells.text(r, c)))));
            width = std::max(width, static_cast<int>((widest + 8) * ui::twipsPerPixelX()));
        }
        grid_->setColWidth(c, width);
        if (static_cast<std::size_t>(c) < table_.colAlignment.size())
            grid_->setColAlignment(c, table_.colAlignment[static_cast<std::size_t>(c)]);
        // The writer colours whole columns (the target bands).
        if (const std::uint32_t colour = cells.backColor(0, c); colour != 0 && cells.rows() > 1) {
            grid_->setRow(1);
            grid_->setCol(c);
            grid_->setRowSel(cells.rows() - 1);
            grid_->setColSel(c);
            grid_->setCellBackColor(colour);
        }
    }
    grid_->setRowHeight(0, table_.captionRowHeight);
    // The selection ends on the total row, at the first scrolling column.
    if (cells.rows() > 1) {
        grid_->setRow(cells.rows() - 1);
        grid_->setCol(std::min(table_.fixedCols, cells.cols() - 1));
    }
    grid_->setRedraw(true);
}
