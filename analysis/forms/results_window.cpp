#include "analysis/forms/results_window.h"

#include <QFontMetrics>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/grid/flex_grid.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/twips.h"

SrchTmLstFrm::SrchTmLstFrm(ReportTable table, const std::string& caption, QWidget* parent)
    : QWidget(parent), table_(std::move(table)), grid_(new grid::FlexGrid(this)) {
    setObjectName("SrchTmLstFrm");
    setAttribute(Qt::WA_DeleteOnClose);
    ui::setTag(this, "STLst");
    ui::registerForm(this);
    setWindowTitle(ui::toQString(caption));
    grid_->setObjectName("fSearchTerms");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
    fillGrid();
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
