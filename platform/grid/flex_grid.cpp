#include "platform/grid/flex_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "core/numbers.h"
#include "platform/ui/colours.h"
#include "platform/ui/qt_text.h"
#include "platform/sys/rt_error.h"

namespace grid {

namespace {

constexpr int kTwipsPerInch = 1440;

[[noreturn]] void fail(int number, const char* description, const char* source)
{
    throw sys::RtError(number, description, source);
}

Qt::Alignment qtAlignment(int code, const std::string& text)
{
    if (code == FlexGrid::kGeneral) {
        double unused = 0;
        return Qt::AlignVCenter | (core::parseNumber(text, unused) ? Qt::AlignRight : Qt::AlignLeft);
    }
    static const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return horizontal[code / 3] | vertical[code % 3];
}

}  // namespace

FlexGrid::FlexGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    // A new grid has the control's design-time shape: one fixed row and column.
    setCols(2);
    setRows(2);
    fixedRows_ = 1;
    fixedCols_ = 1;
    row_ = rowSel_ = topRow_ = 1;
    col_ = colSel_ = leftCol_ = 1;
    syncScrollBars();
}

// ---- sizes ----------------------------------------------------------------------

void FlexGrid::setRows(long count)
{
    if (count < 0) fail(380, "Invalid property value", "FlexGrid.Rows");
    cells_.setRows(count);
    rowHeights_.resize(static_cast<std::size_t>(count), -1);
    fixedRows_ = std::min(fixedRows_, count);
    const long last = std::max(0L, count - 1);
    row_ = std::min(row_, last);
    rowSel_ = std::min(rowSel_, last);
    clampScroll();
}

void FlexGrid::setCols(int count)
{
    if (count < 0) fail(380, "Invalid property value", "FlexGrid.Cols");
    cells_.setCols(count);
    colWidths_.resize(static_cast<std::size_t>(count), -1);
    colAligns_.resize(static_cast<std::size_t>(count), kGeneral);
    fixedAligns_.resize(static_cast<std::size_t>(count), kGeneral);
    fixedCols_ = std::min(fixedCols_, count);
    const int last = std::max(0, count - 1);
    col_ = std::min(col_, last);
    colSel_ = std::min(colSel_, last);
    clampScroll();
}

void FlexGrid::setFixedRows(long count)
{
    if (count < 0 || count > Rows()) fail(380, "Invalid property value", "FlexGrid.FixedRows");
    fixedRows_ = count;
    clampScroll();
}

void FlexGrid::setFixedCols(int count)
{
    if (count < 0 || count > Cols()) fail(380, "Invalid property value", "FlexGrid.FixedCols");
    fixedCols_ = count;
    clampScroll();
}

void FlexGrid::checkRow(long row) const
{
    if (row < 0 || row >= Rows()) fail(30009, "Invalid Row value", "FlexGrid");
}

void FlexGrid::checkCol(int col) const
{
    if (col < 0 || col >= Cols()) fail(30010, "Invalid Col value", "FlexGrid");
}

// ---- cells ----------------------------------------------------------------------

std::string FlexGrid::TextMatrix(long row, int col) const
{
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols())
        fail(381, "Subscript out of range", "FlexGrid.TextMatrix");
    return std::string(cells_.text(row, col));
}

void FlexGrid::setTextMatrix(long row, int col, std::string_view text)
{
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols())
        fail(381, "Subscript out of range", "FlexGrid.TextMatrix");
    cells_.setText(row, col, text);
    scheduleRepaint();
}

long FlexGrid::RowData(long row) const
{
    checkRow(row);
    return cells_.rowData(row);
}

void FlexGrid::setRowData(long row, long value)
{
    checkRow(row);
    cells_.setRowData(row, value);
}

std::uint32_t FlexGrid::CellBackColor() const
{
    if (Rows() == 0 || Cols() == 0) return 0;
    return cells_.backColor(row_, col_);
}

void FlexGrid::setCellBackColor(std::uint32_t bgr)
{
    if (Rows() == 0 || Cols() == 0) return;
    for (long r = std::min(row_, rowSel_); r <= std::max(row_, rowSel_); ++r)
        for (int c = std::min(col_, colSel_); c <= std::max(col_, colSel_); ++c)
            cells_.setBackColor(r, c, bgr);
    scheduleRepaint();
}

void FlexGrid::setSort(int code)
{
    if (code == kSortNone) return;
    if (!isSortCode(code)) fail(380, "Invalid property value", "FlexGrid.Sort");
    long first = std::min(row_, rowSel_), last = std::max(row_, rowSel_);
    if (first == last) {
        first = fixedRows_;
        last = Rows() - 1;
    }
    const std::vector<long> former = cells_.sortRows(first, last, std::min(col_, colSel_), std::max(col_, colSel_),
                                                     static_cast<SortCode>(code));
    // A row keeps its height: a tall row's lines go with it.
    std::vector<int> heights;
    heights.reserve(former.size());
    for (long row : former) heights.push_back(rowHeights_[static_cast<std::size_t>(row)]);
    std::copy(heights.begin(), heights.end(), rowHeights_.begin() + first);
    scheduleRepaint();
    emit sorted();
}

void FlexGrid::AddItem(const std::string& item, long index)
{
    if (index == -1) index = Rows();
    if (index < 0 || index > Rows()) fail(381, "Subscript out of range", "FlexGrid.AddItem");
    cells_.insertRow(index, item);
    rowHeights_.insert(rowHeights_.begin() + index, -1);
    clampScroll();
}

void FlexGrid::RemoveItem(long index)
{
    if (index < 0 || index >= Rows()) fail(381, "Subscript out of range", "FlexGrid.RemoveItem");
    cells_.removeRow(index);
    rowHeights_.erase(rowHeights_.begin() + index);
    fixedRows_ = std::min(fixedRows_, Rows());
    const long last = std::max(0L, Rows() - 1);
    row_ = std::min(row_, last);
    rowSel_ = std::min(rowSel_, last);
    clampScroll();
}

void FlexGrid::Clear()
{
    cells_.clearCells();
    scheduleRepaint();
}

// ---- selection and scrolling ----------------------------------------------------

void FlexGrid::setRow(long row)
{
    checkRow(row);
    row_ = rowSel_ = row;
    scheduleRepaint();
}

void FlexGrid::setCol(int col)
{
    checkCol(col);
    col_ = colSel_ = col;
    scheduleRepaint();
}

void FlexGrid::setRowSel(long row)
{
    checkRow(row);
    rowSel_ = row;
    scheduleRepaint();
}

void FlexGrid::setColSel(int col)
{
    checkCol(col);
    colSel_ = col;
    scheduleRepaint();
}

void FlexGrid::setTopRow(long row)
{
    checkRow(row);
    topRow_ = std::clamp(row, fixedRows_, maxTopRow());
    syncScrollBars();
    scheduleRepaint();
}

void FlexGrid::setLeftCol(int col)
{
    checkCol(col);
    leftCol_ = std::clamp(col, fixedCols_, maxLeftCol());
    syncScrollBars();
    scheduleRepaint();
}

// The lowest top row that still fills the view: scrolling stops at a full last page.
long FlexGrid::maxTopRow() const
{
    const int room = viewport()->height() - fixedRowsPixels();
    long top = Rows();
    int used = 0;
    while (top > fixedRows_) {
        const int h = rowPixels(top - 1);
        if (used + h > room && top < Rows()) break;
        used += h;
        --top;
    }
    return std::max(fixedRows_, std::min(top, Rows() - 1));
}

int FlexGrid::maxLeftCol() const
{
    const int room = viewport()->width() - fixedColsPixels();
    int left = Cols();
    int used = 0;
    while (left > fixedCols_) {
        const int w = colPixels(left - 1);
        if (used + w > room && left < Cols()) break;
        used += w;
        --left;
    }
    return std::max(fixedCols_, std::min(left, Cols() - 1));
}

void FlexGrid::clampScroll()
{
    topRow_ = std::max(fixedRows_, std::min(topRow_, maxTopRow()));
    leftCol_ = std::max(fixedCols_, std::min(leftCol_, maxLeftCol()));
    syncScrollBars();
    scheduleRepaint();
}

void FlexGrid::syncScrollBars()
{
    const long top = topRow_;
    const int left = leftCol_;
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    // The ranges go out unblocked, since the scroll area shows or hides a bar on them;
    // a bar that goes resizes the view, which measures the ranges again.
    v->setRange(static_cast<int>(fixedRows_), static_cast<int>(maxTopRow()));
    h->setRange(fixedCols_, maxLeftCol());
    topRow_ = std::clamp(top, static_cast<long>(v->minimum()), static_cast<long>(v->maximum()));
    leftCol_ = std::clamp(left, h->minimum(), h->maximum());
    const QSignalBlocker blockV(v);
    const QSignalBlocker blockH(h);
    v->setPageStep(std::max(1, viewport()->height() / std::max(1, twipsToPixelsY(kDefaultRowHeight))));
    v->setValue(static_cast<int>(topRow_));
    h->setPageStep(1);
    h->setValue(leftCol_);
}

void FlexGrid::scrollContentsBy(int, int)
{
    topRow_ = std::clamp<long>(verticalScrollBar()->value(), fixedRows_, std::max(fixedRows_, Rows() - 1));
    leftCol_ = std::clamp(horizontalScrollBar()->value(), fixedCols_, std::max(fixedCols_, Cols() - 1));
    scheduleRepaint();
}

void FlexGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    clampScroll();
}

// A scroll bar that appears or goes resizes the view alone; the ranges follow it.
bool FlexGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Resize) clampScroll();
    return QAbstractScrollArea::viewportEvent(event);
}

// ---- geometry -------------------------------------------------------------------

int FlexGrid::twipsToPixelsX(int twips) const
{
    return static_cast<int>((static_cast<long long>(twips) * logicalDpiX() + kTwipsPerInch / 2) / kTwipsPerInch);
}

int FlexGrid::twipsToPixelsY(int twips) const
{
    return static_cast<int>((static_cast<long long>(twips) * logicalDpiY() + kTwipsPerInch / 2) / kTwipsPerInch);
}

int FlexGrid::Width() const { return width() * kTwipsPerInch / logicalDpiX(); }
int FlexGrid::Height() const { return height() * kTwipsPerInch / logicalDpiY(); }

int FlexGrid::RowHeight(long row) const
{
    checkRow(row);
    const int h = rowHeights_[static_cast<std::size_t>(row)];
    return h < 0 ? kDefaultRowHeight : h;
}

void FlexGrid::setRowHeight(long row, int twips)
{
    checkRow(row);
    if (twips < -1) fail(380, "Invalid property value", "FlexGrid.RowHeight");
    rowHeights_[static_cast<std::size_t>(row)] = twips;
    clampScroll();
}

int FlexGrid::ColWidth(int col) const
{
    checkCol(col);
    const int w = colWidths_[static_cast<std::size_t>(col)];
    return w < 0 ? kDefaultColWidth : w;
}

void FlexGrid::setColWidth(int col, int twips)
{
    checkCol(col);
    if (twips < -1) fail(380, "Invalid property value", "FlexGrid.ColWidth");
    colWidths_[static_cast<std::size_t>(col)] = twips;
    clampScroll();
}

int FlexGrid::ColAlignment(int col) const
{
    checkCol(col);
    return colAligns_[static_cast<std::size_t>(col)];
}

void FlexGrid::setColAlignment(int col, int alignment)
{
    checkCol(col);
    if (alignment < kLeftTop || alignment > kGeneral) fail(380, "Invalid property value", "FlexGrid.ColAlignment");
    colAligns_[static_cast<std::size_t>(col)] = alignment;
    scheduleRepaint();
}

int FlexGrid::FixedAlignment(int col) const
{
    checkCol(col);
    return fixedAligns_[static_cast<std::size_t>(col)];
}

void FlexGrid::setFixedAlignment(int col, int alignment)
{
    checkCol(col);
    if (alignment < kLeftTop || alignment > kGeneral) fail(380, "Invalid property value", "FlexGrid.FixedAlignment");
    fixedAligns_[static_cast<std::size_t>(col)] = alignment;
    scheduleRepaint();
}

void FlexGrid::setScrollBars(int which)
{
    if (which < 0 || which > 3) fail(380, "Invalid property value", "FlexGrid.ScrollBars");
    scrollBars_ = which;
    setHorizontalScrollBarPolicy(which & 1 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(which & 2 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void FlexGrid::setGridLines(bool on)
{
    gridLines_ = on;
    scheduleRepaint();
}

void FlexGrid::setFixedRowsWordWrap(bool on)
{
    fixedRowsWrap_ = on;
    scheduleRepaint();
}

int FlexGrid::fixedRowsPixels() const
{
    int sum = 0;
    for (long r = 0; r < fixedRows_; ++r) sum += rowPixels(r);
    return sum;
}

int FlexGrid::fixedColsPixels() const
{
    int sum = 0;
    for (int c = 0; c < fixedCols_; ++c) sum += colPixels(c);
    return sum;
}

bool FlexGrid::rowSpan(long row, int& top, int& height) const
{
    if (row < 0 || row >= Rows()) return false;
    const bool fixed = row < fixedRows_;
    if (!fixed && row < topRow_) return false;
    int y = fixed ? 0 : fixedRowsPixels();
    for (long r = fixed ? 0 : topRow_; r < row; ++r) {
        y += rowPixels(r);
        if (y >= viewport()->height()) return false;
    }
    top = y;
    height = rowPixels(row);
    return true;
}

bool FlexGrid::colSpan(int col, int& left, int& width) const
{
    if (col < 0 || col >= Cols()) return false;
    const bool fixed = col < fixedCols_;
    if (!fixed && col < leftCol_) return false;
    int x = fixed ? 0 : fixedColsPixels();
    for (int c = fixed ? 0 : leftCol_; c < col; ++c) {
        x += colPixels(c);
        if (x >= viewport()->width()) return false;
    }
    left = x;
    width = colPixels(col);
    return true;
}

QRect FlexGrid::cellRect(long row, int col) const
{
    int top = 0, height = 0, left = 0, width = 0;
    if (!rowSpan(row, top, height) || !colSpan(col, left, width)) return {};
    return {left, top, width, height};
}

long FlexGrid::rowAtPixel(int y) const
{
    if (y < 0) return -1;
    int edge = 0;
    for (long r = 0; r < fixedRows_; ++r)
        if (y < (edge += rowPixels(r))) return r;
    for (long r = topRow_; r < Rows() && edge <= viewport()->height(); ++r)
        if (y < (edge += rowPixels(r))) return r;
    return -1;
}

int FlexGrid::colAtPixel(int x) const
{
    if (x < 0) return -1;
    int edge = 0;
    for (int c = 0; c < fixedCols_; ++c)
        if (x < (edge += colPixels(c))) return c;
    for (int c = leftCol_; c < Cols() && edge <= viewport()->width(); ++c)
        if (x < (edge += colPixels(c))) return c;
    return -1;
}

// ---- painting -------------------------------------------------------------------

void FlexGrid::setRedraw(bool on)
{
    redraw_ = on;
    viewport()->setUpdatesEnabled(on);
    if (on) clampScroll();
}

void FlexGrid::Refresh()
{
    if (redraw_) viewport()->repaint();
}

void FlexGrid::scheduleRepaint()
{
    if (redraw_) viewport()->update();
}

void FlexGrid::paintCell(QPainter& p, long row, int col, const QRect& rect) const
{
    const bool fixed = row < fixedRows_ || col < fixedCols_;
    const bool selected = !fixed && row >= std::min(row_, rowSel_) && row <= std::max(row_, rowSel_) &&
                          col >= std::min(col_, colSel_) && col <= std::max(col_, colSel_);
    const bool current = row == row_ && col == col_;
    // In a grid of one column (a list to pick from) the chosen row is the current cell,
    // and it is highlighted as a chosen row of a list is; a wider grid frames it only.
    // The fixed cells of the current row (its label and first counts) are highlighted
    // too, so that the whole row reads as the chosen one.
    const bool rowLabel = row == row_ && row >= fixedRows_ && col < fixedCols_;
    const bool highlighted = (selected && (!current || Cols() - fixedCols_ == 1)) || rowLabel;
    const std::uint32_t bgr = cells_.backColor(row, col);
    QColor fill = fixed ? palette().color(QPalette::Button) : palette().color(QPalette::Base);
    if (bgr != 0) fill = ui::toQColor(static_cast<long>(bgr), palette());
    if (highlighted) {
        fill = palette().color(QPalette::Highlight);
    } else if (current && !fixed) {
        // The current cell of a wider grid (a found value, a clicked cell) is tinted, so
        // that it is plain to see also when the grid does not have the focus.
        const QColor mark = palette().color(QPalette::Highlight);
        fill = QColor((fill.red() * 2 + mark.red()) / 3, (fill.green() * 2 + mark.green()) / 3,
                      (fill.blue() * 2 + mark.blue()) / 3);
    }
    p.fillRect(rect, fill);

    if (gridLines_ || fixed) {
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(rect.topRight(), rect.bottomRight());
        p.drawLine(rect.bottomLeft(), rect.bottomRight());
    }

    const std::string text(cells_.text(row, col));
    if (!text.empty()) {
        p.setPen(palette().color(highlighted ? QPalette::HighlightedText : QPalette::Text));
        const int alignment = row < fixedRows_ ? fixedAligns_[col] : colAligns_[col];
        const int wrap = row < fixedRows_ && fixedRowsWrap_ ? Qt::TextWordWrap : 0;
        const QRect inner = rect.adjusted(2, 0, -3, -1);
        const QString shown = ui::toDisplayText(text);
        Qt::Alignment align = qtAlignment(alignment, text);
        // A text wider than its cell keeps its start in view: cut on the right, never
        // on the left, where the start of a number or a name would be lost.
        if (!(align & Qt::AlignLeft) && !wrap &&
            p.fontMetrics().boundingRect(inner, Qt::AlignLeft, shown).width() > inner.width())
            align = (align & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft;
        p.drawText(inner, static_cast<int>(align) | wrap, shown);
    }
    if (current && !fixed && hasFocus()) {
        p.setPen(QPen(palette().color(highlighted ? QPalette::HighlightedText : QPalette::Highlight), 2));
        p.drawRect(rect.adjusted(1, 1, -2, -2));
    }
}

void FlexGrid::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Dark));
    const int viewH = viewport()->height(), viewW = viewport()->width();

    // Fixed rows first, then rows from TopRow until the view is full; columns alike.
    std::vector<std::pair<long, int>> rows;
    int y = 0;
    for (long r = 0; r < fixedRows_ && y < viewH; ++r) { rows.emplace_back(r, y); y += rowPixels(r); }
    for (long r = topRow_; r < Rows() && y < viewH; ++r) { rows.emplace_back(r, y); y += rowPixels(r); }
    std::vector<std::pair<int, int>> cols;
    int x = 0;
    for (int c = 0; c < fixedCols_ && x < viewW; ++c) { cols.emplace_back(c, x); x += colPixels(c); }
    for (int c = leftCol_; c < Cols() && x < viewW; ++c) { cols.emplace_back(c, x); x += colPixels(c); }

    for (const auto& [r, top] : rows) {
        const int h = rowPixels(r);
        if (h <= 0) continue;
        for (const auto& [c, left] : cols) {
            const int w = colPixels(c);
            if (w > 0) paintCell(p, r, c, QRect(left, top, w, h));
        }
    }
}

// ---- mouse and keys -------------------------------------------------------------

void FlexGrid::setSelection(long row, int col, long rowSel, int colSel)
{
    if (row == row_ && col == col_ && rowSel == rowSel_ && colSel == colSel_) return;
    row_ = row;
    col_ = col;
    rowSel_ = rowSel;
    colSel_ = colSel;
    scheduleRepaint();
    emit selChange();
}

void FlexGrid::trackMouse(const QPoint& pos)
{
    mouseRow_ = rowAtPixel(pos.y());
    mouseCol_ = colAtPixel(pos.x());
}

// A click on a non-fixed cell selects it; on a fixed row it selects the whole column
// below, on a fixed column the whole row, as a header click does.
void FlexGrid::selectAt(const QPoint& pos, bool extend)
{
    const long r = rowAtPixel(pos.y());
    const int c = colAtPixel(pos.x());
    if (r < 0 || c < 0 || Rows() <= fixedRows_ || Cols() <= fixedCols_) return;
    const bool fixedRow = r < fixedRows_, fixedCol = c < fixedCols_;
    if (fixedRow && fixedCol) return;
    if (fixedRow) {
        setSelection(fixedRows_, extend ? col_ : c, Rows() - 1, c);
    } else if (fixedCol) {
        setSelection(extend ? row_ : r, fixedCols_, r, Cols() - 1);
    } else if (extend) {
        setSelection(row_, col_, r, c);
    } else {
        setSelection(r, c, r, c);
    }
}

void FlexGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    trackMouse(pos);
    if (event->button() == Qt::LeftButton) {
        selectAt(pos, event->modifiers() & Qt::ShiftModifier);
        dragging_ = mouseRow_ >= fixedRows_ && mouseCol_ >= fixedCols_;
    }
    emit mouseDown(event->button(), event->modifiers(), pos.x() * kTwipsPerInch / logicalDpiX(),
                   pos.y() * kTwipsPerInch / logicalDpiY());
}

void FlexGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    trackMouse(pos);
    if (dragging_ && (event->buttons() & Qt::LeftButton) && mouseRow_ >= fixedRows_ && mouseCol_ >= fixedCols_)
        setSelection(row_, col_, mouseRow_, mouseCol_);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    trackMouse(pos);
    dragging_ = false;
    emit mouseUp(event->button(), event->modifiers(), pos.x() * kTwipsPerInch / logicalDpiX(),
                 pos.y() * kTwipsPerInch / logicalDpiY());
    if (event->button() == Qt::LeftButton) emit click();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    trackMouse(event->position().toPoint());
    if (event->button() == Qt::LeftButton) emit dblClick();
}

// Brings a cell into view by moving TopRow or LeftCol as little as needed.
void FlexGrid::showCell(long row, int col)
{
    int top = 0, h = 0;
    if (row >= fixedRows_) {
        if (row < topRow_) {
            topRow_ = row;
        } else {
            while (topRow_ < row && (!rowSpan(row, top, h) || top + h > viewport()->height())) ++topRow_;
        }
    }
    int left = 0, w = 0;
    if (col >= fixedCols_) {
        if (col < leftCol_) {
            leftCol_ = col;
        } else {
            while (leftCol_ < col && (!colSpan(col, left, w) || left + w > viewport()->width())) ++leftCol_;
        }
    }
    clampScroll();
}

void FlexGrid::keyPressEvent(QKeyEvent* event)
{
    // A handler that accepts the event has dealt with the key.
    event->ignore();
    emit keyDown(event);
    if (event->isAccepted() || Rows() <= fixedRows_ || Cols() <= fixedCols_) return;

    const bool extend = event->modifiers() & Qt::ShiftModifier;
    long r = extend ? rowSel_ : row_;
    int c = extend ? colSel_ : col_;
    const long page = std::max(1L, static_cast<long>(verticalScrollBar()->pageStep()));
    switch (event->key()) {
    case Qt::Key_Up: --r; break;
    case Qt::Key_Down: ++r; break;
    case Qt::Key_Left: --c; break;
    case Qt::Key_Right: ++c; break;
    case Qt::Key_PageUp: r -= page; break;
    case Qt::Key_PageDown: r += page; break;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier) r = 0;
        else c = 0;
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) r = Rows() - 1;
        else c = Cols() - 1;
        break;
    default:
        return;
    }
    event->accept();
    r = std::clamp(r, fixedRows_, Rows() - 1);
    c = std::clamp(c, fixedCols_, Cols() - 1);
    if (extend) setSelection(row_, col_, r, c);
    else setSelection(r, c, r, c);
    showCell(r, c);
}

void FlexGrid::keyReleaseEvent(QKeyEvent* event)
{
    event->ignore();
    emit keyUp(event);
}

}  // namespace grid
