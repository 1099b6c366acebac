#pragma once
// The program's grid: fixed rows at the top and fixed columns at the left stay put
// while the rest scrolls by whole rows and columns. Sizes are in twips at this API and
// become pixels only when painting. Only visible cells are painted; the cells live in a
// CellStore, so reports of a million rows fill, sort and scroll at once.
//
// Invalid indexes raise sys::RtError: 381 for a cell, 30009 for a row, 30010 for a
// column, 380 for another property value. TopRow and LeftCol clamp instead, so a
// caller can test whether a scroll took by reading the value back.
#include <QAbstractScrollArea>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/grid/cell_store.h"

class QPainter;

namespace grid {

class FlexGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Alignment codes of ColAlignment: left/centre/right by top/centre/bottom, and
    // general (texts left, numbers right).
    enum Alignment : int {
        kLeftTop = 0, kLeftCenter, kLeftBottom,
        kCenterTop, kCenterCenter, kCenterBottom,
        kRightTop, kRightCenter, kRightBottom,
        kGeneral,
    };
    static constexpr int kDefaultRowHeight = 240;
    static constexpr int kDefaultColWidth = 960;

    explicit FlexGrid(QWidget* parent = nullptr);

    long Rows() const { return cells_.rows(); }
    void setRows(long count);
    int Cols() const { return cells_.cols(); }
    void setCols(int count);
    long FixedRows() const { return fixedRows_; }
    void setFixedRows(long count);
    int FixedCols() const { return fixedCols_; }
    void setFixedCols(int count);

    std::string TextMatrix(long row, int col) const;
    void setTextMatrix(long row, int col, std::string_view text);
    // A number the caller keeps with the row; it moves with the row when rows are
    // sorted, added or removed.
    long RowData(long row) const;
    void setRowData(long row, long value);

    // Setting Row or Col also collapses RowSel or ColSel onto it.
    long Row() const { return row_; }
    void setRow(long row);
    int Col() const { return col_; }
    void setCol(int col);
    long RowSel() const { return rowSel_; }
    void setRowSel(long row);
    int ColSel() const { return colSel_; }
    void setColSel(int col);

    long TopRow() const { return topRow_; }
    void setTopRow(long row);
    int LeftCol() const { return leftCol_; }
    void setLeftCol(int col);

    int RowHeight(long row) const;
    void setRowHeight(long row, int twips);
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    int ColAlignment(int col) const;
    void setColAlignment(int col, int alignment);
    // Alignment of the column's fixed cells.
    int FixedAlignment(int col) const;
    void setFixedAlignment(int col, int alignment);
    // 0 none, 1 horizontal, 2 vertical, 3 both; shown only when needed.
    int ScrollBars() const { return scrollBars_; }
    void setScrollBars(int which);
    bool GridLines() const { return gridLines_; }
    void setGridLines(bool on);
    // Texts of the fixed rows break at blanks onto further lines of a taller row.
    bool FixedRowsWordWrap() const { return fixedRowsWrap_; }
    void setFixedRowsWordWrap(bool on);
    // The visible size in twips.
    int Width() const;
    int Height() const;

    // Reads the cell (Row, Col); writing colours every cell of the selection. VB
    // colours (BGR, or a system colour); 0 is the default.
    std::uint32_t CellBackColor() const;
    void setCellBackColor(std::uint32_t bgr);

    // Sorts rows Row..RowSel (every non-fixed row when they are equal) on the key
    // columns Col..ColSel; codes in cell_store.h.
    void setSort(int code);

    bool Redraw() const { return redraw_; }
    void setRedraw(bool on);
    void Refresh();

    // Inserts a row of tab-separated fields at `index`, or appends with -1.
    void AddItem(const std::string& item, long index = -1);
    void RemoveItem(long index);
    // Empties every cell; sizes and selection stay.
    void Clear();

    // The row and column under the mouse at its last event, -1 outside the cells.
    long MouseRow() const { return mouseRow_; }
    int MouseCol() const { return mouseCol_; }
    // The row or column at a viewport pixel position, -1 when none.
    long rowAtPixel(int y) const;
    int colAtPixel(int x) const;

    // A visible cell's rectangle on the viewport; empty when it is scrolled away.
    QRect cellRect(long row, int col) const;
    // Scrolls a cell into view, moving TopRow or LeftCol as little as needed.
    void showCell(long row, int col);

    int twipsToPixelsX(int twips) const;
    int twipsToPixelsY(int twips) const;

signals:
    void selChange();
    // Rows were sorted: what a row index stood for may now stand elsewhere.
    void sorted();
    void click();
    void dblClick();
    // Buttons and modifiers as Qt gives them; x and y in twips.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    // The event is the widget's own; a handler may accept() it to stop navigation.
    void keyDown(QKeyEvent* event);
    void keyUp(QKeyEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void checkRow(long row) const;
    void checkCol(int col) const;
    long maxTopRow() const;
    int maxLeftCol() const;
    int fixedRowsPixels() const;
    int fixedColsPixels() const;
    int rowPixels(long row) const { return twipsToPixelsY(RowHeight(row)); }
    int colPixels(int col) const { return twipsToPixelsX(ColWidth(col)); }
    // Pixel span of a visible row or column, false when it is scrolled away.
    bool rowSpan(long row, int& top, int& height) const;
    bool colSpan(int col, int& left, int& width) const;
    void clampScroll();
    void syncScrollBars();
    void scheduleRepaint();
    void setSelection(long row, int col, long rowSel, int colSel);
    void trackMouse(const QPoint& pos);
    void selectAt(const QPoint& pos, bool extend);
    void paintCell(QPainter& p, long row, int col, const QRect& rect) const;

    CellStore cells_;
    long fixedRows_ = 0;
    int fixedCols_ = 0;
    long row_ = 0, rowSel_ = 0, topRow_ = 0;
    int col_ = 0, colSel_ = 0, leftCol_ = 0;
    std::vector<int> rowHeights_;   // twips, -1 = default
    std::vector<int> colWidths_;    // twips, -1 = default
    std::vector<int> colAligns_;
    std::vector<int> fixedAligns_;
    int scrollBars_ = 3;
    bool gridLines_ = true;
    bool fixedRowsWrap_ = false;
    bool redraw_ = true;
    bool dragging_ = false;
    long mouseRow_ = -1;
    int mouseCol_ = -1;
};

}  // namespace grid
