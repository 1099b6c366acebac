#include "analysis/forms/results_window.h"

#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QKeyEvent>
#include <QScreen>
#include <QResizeEvent>
#include <algorithm>

#include "analysis/date_ranges.h"
#include "analysis/forms/analysis_options.h"
#include "analysis/forms/date_range_dialog.h"
#include "analysis/forms/search_term_groups.h"
#include "analysis/forms/word_combinations_dialog.h"
#include "analysis/report_names.h"
#include "core/delimited_lists.h"
#include "dialogs/box_keys.h"
#include "dialogs/grid_save_dialog.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/program_paths.h"
#include "core/site_name.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "platform/chart/chart_view.h"
#include "platform/grid/flex_grid.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/twips.h"
#include "window/event_guard.h"

namespace {

// The narrowest width that shows the text on two lines broken at one blank.
int twoLineWidth(const QFontMetrics& metrics, const QString& text) {
    int best = metrics.horizontalAdvance(text);
    for (qsizetype at = text.indexOf(' '); at >= 0; at = text.indexOf(' ', at + 1))
        best = std::min(best,
                        std::max(metrics.horizontalAdvance(text.left(at)), metrics.horizontalAdvance(text.mid(at + 1))));
    return best;
}

constexpr int kThinRowTwips = 240;
// The target stripe's width: wider columns hold text.
constexpr int kStripeTwips = 60;
// A distribution column grows to at most this many times its design width.
constexpr int kDistWidthLimit = 3;
constexpr int kRowMarginTwips = 60;
// Below this screen height (twips) the chart leaves out its legend and title.
constexpr double kSmallScreenTwips = 9000;
// Below this one the chart is lower and the dividing lines go.
constexpr double kShortScreenTwips = 11520;
constexpr int kChartTwips = 4200, kShortChartTwips = 3000;
// The description labels beside the grid and the chart.
constexpr int kDescWidthTwips = 3600;
// The grid never gets narrower or lower than this.
constexpr double kMinGridWidthTwips = 5400, kMinGridHeightTwips = 1500;

// Calls f with each line of a cell. CR LF, CR alone (the pages of a track) and LF alone
// each end a line, and a last line may lack one.
template <typename F>
void forEachLine(std::string_view text, F&& f) {
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        f(text.substr(0, end));
        if (end == std::string_view::npos) return;
        text.remove_prefix(end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1));
    }
}

long lineCount(std::string_view text) {
    long lines = 0;
    forEachLine(text, [&](std::string_view) { ++lines; });
    return std::max(1L, lines);
}

// The longest line of a column's data cells; digits and most letters share a width, so
// it is the widest or close to it.
std::string_view longestLine(const grid::CellStore& cells, int col) {
    std::string_view longest;
    for (long r = 1; r < cells.rows(); ++r)
        forEachLine(cells.text(r, col), [&](std::string_view line) {
            if (line.size() > longest.size()) longest = line;
        });
    return longest;
}

std::vector<long> itemNumbers(const std::string& list) {
    std::vector<long> items;
    core::StrArray parts;
    CHUNKS_Split(list, parts, 0);
    for (long i = parts.lbound(); parts.hasBounds() && i <= parts.ubound(); ++i)
        if (!parts[i].empty()) items.push_back(core::wholeOf<long>(core::vbVal(parts[i])));
    return items;
}

double screenTwipsHigh() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().height() * ui::twipsPerPixelY() : kShortScreenTwips;
}

bool smallScreen() { return screenTwipsHigh() < kSmallScreenTwips; }

QString labelText(const std::string& text) { return ui::toQString(TXT_Replace(text, gCR, "\n", true)); }

QAction* addItem(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

}  // namespace

SrchTmLstFrm::SrchTmLstFrm(ReportTable table, IfrmPtr form, const std::string& caption, QWidget* parent)
    : QWidget(parent),
      table_(std::move(table)),
      form_(std::move(form)),
      grid_(new grid::FlexGrid),
      chart_(new chart::ChartView),
      plotDesc_(new QLabel),
      extractDesc_(new QLabel),
      line1_(new QFrame),
      line2_(new QFrame),
      gridMenu_(new QMenu(this)),
      chartMenu_(new QMenu(this)) {
    setObjectName("SrchTmLstFrm");
    setAttribute(Qt::WA_DeleteOnClose);
    ui::setTag(this, "STLst");
    ui::registerForm(this);
    setWindowTitle(ui::toQString(caption));
    dPlotStartEndDate = table_.plotStartEndDate;
    grid_->setObjectName("fSearchTerms");
    chart_->setObjectName("fChart");
    plotDesc_->setObjectName("fPlotDesc");
    extractDesc_->setObjectName("fExtractDesc");
    line1_->setObjectName("Line1");
    line2_->setObjectName("Line2");
    line1_->setFrameShape(QFrame::HLine);
    line2_->setFrameShape(QFrame::VLine);
    for (QLabel* label : {plotDesc_, extractDesc_}) {
        label->setTextFormat(Qt::PlainText);  // they quote search terms and pages from the logs
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        label->setFixedWidth(ui::toPixelsX(kDescWidthTwips));
    }
    extractDesc_->setText(labelText(table_.extractDesc));
    extractDesc_->setTextInteractionFlags(Qt::TextSelectableByMouse);  // to copy into a note
    // Design heights; a small screen gives the grid more room.
    const bool shortScreen = screenTwipsHigh() < kShortScreenTwips;
    chartTwips_ = shortScreen ? kShortChartTwips : kChartTwips;
    plotDesc_->setFixedHeight(ui::toPixelsY(chartTwips_ - 360));
    line1_->setVisible(!shortScreen);
    line2_->setVisible(!shortScreen);
    // The grid first: a window shown gives the keys to its first child that takes them.
    for (QWidget* w : std::initializer_list<QWidget*>{grid_, chart_, line2_, line1_, plotDesc_, extractDesc_})
        w->setParent(this);
    buildMenus();
    fillGrid();
    if (table_.thickRows) setRowHeights(true);
    const auto plotIfRowChanged = [this] {
        if (grid_->Row() != lastRowSeen_) pPlotRow(grid_->Row());
        lastRowSeen_ = grid_->Row();
    };
    connect(grid_, &grid::FlexGrid::selChange, this, [this, plotIfRowChanged] {
        window::guarded(this, "fSearchTerms_SelChange", window::Guard::SkipWhileYielding, plotIfRowChanged);
    });
    connect(grid_, &grid::FlexGrid::mouseUp, this, [this, plotIfRowChanged](Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
        window::guarded(this, "fSearchTerms_MouseUp", window::Guard::SkipWhileYielding, [&] {
            if (button == Qt::RightButton) {
                // The row clicked becomes current and is plotted first: the menu acts on it.
                if (const long row = grid_->MouseRow(); row >= grid_->FixedRows()) {
                    grid_->setRow(row);
                    if (grid_->MouseCol() >= grid_->FixedCols()) grid_->setCol(grid_->MouseCol());
                }
                plotIfRowChanged();
                showGridMenu(QCursor::pos());
            } else {
                plotIfRowChanged();
            }
        });
    });
    // The plotted row keeps its plot through a sort, wherever the sort has put it.
    connect(grid_, &grid::FlexGrid::sorted, this, [this] {
        for (long r = grid_->FixedRows(); plottedEntry_ != 0 && r < grid_->Rows(); ++r)
            if (grid_->RowData(r) == plottedEntry_) dPlotRow = r;
    });
    // The grid's own keys: F2 saves it as CSV, F3 finds a value, the menu key or
    // Shift+F10 opens the grid's menu at the current row, which is otherwise a right
    // click away only.
    connect(grid_, &grid::FlexGrid::keyDown, this, [this](QKeyEvent* event) {
        const bool menu = event->key() == Qt::Key_Menu ||
                          (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
        if (event->key() != Qt::Key_F2 && event->key() != Qt::Key_F3 && !menu) return;
        event->accept();
        window::guarded(this, "fSearchTerms_KeyDown", window::Guard::SkipWhileYielding, [&] {
            if (menu) showGridMenu(currentRowPoint());
            else if (event->key() == Qt::Key_F2) GRID_SaveAsCsv(*grid_);
            else MB_GridFind(*grid_, findText_);
        });
    });
    connect(grid_, &grid::FlexGrid::keyUp, this, [this, plotIfRowChanged](QKeyEvent* event) {
        window::guarded(this, "fSearchTerms_KeyUp", window::Guard::SkipWhileYielding, [&] {
            if (event->key() == Qt::Key_F12) databaseCheck();
            plotIfRowChanged();
        });
    });
    connect(grid_, &grid::FlexGrid::dblClick, this, [this] {
        window::guarded(this, "fSearchTerms_DblClick", window::Guard::SkipWhileYielding, [this] {
            core::ui().info(grid_->TextMatrix(grid_->Row(), grid_->Col()), "");
        });
    });
    connect(chart_, &chart::ChartView::contextMenuAt, this, [this](const QPoint& where) {
        window::guarded(this, "fChart_MouseUp", window::Guard::SkipWhileYielding,
                        [&] { fChart_MouseUp(Qt::RightButton, where); });
    });
    pPlotRow(grid_->Row());
    lastRowSeen_ = grid_->Row();
}

void SrchTmLstFrm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void SrchTmLstFrm::Form_Resize() {
    const double sw = width() * ui::twipsPerPixelX(), sh = height() * ui::twipsPerPixelY();
    const double descWidth = extractDesc_->width() * ui::twipsPerPixelX();
    const double chartHeight = chartTwips_;
    const double gw = std::max(kMinGridWidthTwips, sw - descWidth - 120 - 360);
    const double gh = std::max(kMinGridHeightTwips, sh - (chartHeight - 390) - 120 - 360);
    const auto place = [](QWidget* w, double left, double top, double width, double height) {
        w->setGeometry(ui::toPixelsX(left), ui::toPixelsY(top), ui::toPixelsX(width), ui::toPixelsY(height));
    };
    place(grid_, 90, 90, gw + 30, gh);
    place(extractDesc_, gw + 60 + 360, 90, descWidth, gh);
    const double plotTop = gh + 60 + 360;
    place(plotDesc_, gw + 60 + 360, plotTop, descWidth, plotDesc_->height() * ui::twipsPerPixelY());
    // The chart reaches down to the window's bottom edge, not past it.
    place(chart_, 0, plotTop - 135, gw + 30 + 300, std::max(0.0, sh - (plotTop - 135)));
    place(line2_, gw + 60 + 180 - 15, 0, 30, sh);
    place(line1_, 0, gh + 60 + 180 - 15, sw, 30);
}

void SrchTmLstFrm::buildMenus() {
    gridMenu_->setObjectName("fPUMnu");
    QAction* thin = addItem(gridMenu_, "fMnu_N", "Thi&n Lines");
    QAction* thick = addItem(gridMenu_, "fMnu_K", "Thic&k Lines");
    thin->setCheckable(true);
    thick->setCheckable(true);
    thin->setChecked(true);
    const auto guard = [this](const char* name, std::function<void()> work) {
        return [this, name, work = std::move(work)] {
            window::guarded(this, name, window::Guard::SkipWhileYielding, work);
        };
    };
    connect(thin, &QAction::triggered, this, guard("fMnu_N_Click", [this] { setRowHeights(false); }));
    connect(thick, &QAction::triggered, this, guard("fMnu_K_Click", [this] { setRowHeights(true); }));
    QAction* group = addItem(gridMenu_, "fMnu_S", "&Select Terms to be Grouped");
    connect(group, &QAction::triggered, this, guard("fMnu_S_Click", [this] {
                form_->GetSrchTrmData();
                if (gResults.Analyzed_Field == kRkSearchTerm) STTA_STGroupsEdit(gResults, "STgrps", "Groups");
            }));
    QAction* list = addItem(gridMenu_, "fMnu_L", "&List Terms in Group for selected line");
    connect(list, &QAction::triggered, this, guard("fMnu_L_Click", [this] { STTA_RowDetailShow(*this); }));
    gridMenu_->addSeparator();
    QAction* summary = addItem(gridMenu_, "fMnu_M", "Su&mmary");
    connect(summary, &QAction::triggered, this, guard("fMnu_M_Click", [this] {
                form_->GetSrchTrmData();
                core::ui().info(STTA_ResultsSummaryText(gResults), "");
            }));
    QAction* words = addItem(gridMenu_, "fMnu_W", "Show &Word Frequencies");
    connect(words, &QAction::triggered, this, guard("fMnu_W_Click", [this] { STTA_WordCombosShow(*this); }));

    chartMenu_->setObjectName("fPUMnu_Chart");
    QAction* labels = addItem(chartMenu_, "fPUmnu_Chart_H", "S&how Dates and Exact Counts for Columns");
    QAction* remove = addItem(chartMenu_, "fPUmnu_Chart_E", "R&emove first line");
    QAction* restore = addItem(chartMenu_, "fPUMnu_Chart_S", "Re&store all lines");
    connect(labels, &QAction::triggered, this, guard("fPUmnu_Chart_H_Click", [this] { STTA_PlotColLabelsShow(*this); }));
    connect(remove, &QAction::triggered, this, guard("fPUmnu_Chart_E_Click", [this] { STTA_PlotRemoveFirstCol(*this); }));
    connect(restore, &QAction::triggered, this, guard("fPUMnu_Chart_S_Click", [this] { STTA_PlotColsRestore(*this, true); }));
}

void SrchTmLstFrm::fChart_MouseUp(Qt::MouseButton button, const QPoint& where) {
    if (button == Qt::RightButton) chartMenu_->popup(chart_->mapToGlobal(where));
}

QPoint SrchTmLstFrm::currentRowPoint() {
    grid_->showCell(grid_->Row(), grid_->Col());
    const QRect cell = grid_->cellRect(grid_->Row(), grid_->Col());
    return grid_->viewport()->mapToGlobal(cell.isEmpty() ? QPoint(0, 0) : cell.bottomLeft());
}

void SrchTmLstFrm::showGridMenu(const QPoint& where) {
    findChild<QAction*>("fMnu_L")->setVisible(table_.grouped);
    findChild<QAction*>("fMnu_S")->setVisible(form_->data().Analyzed_Field == kRkSearchTerm);
    findChild<QAction*>("fMnu_W")->setVisible(form_->data().Analyzed_Field == kRkSearchTerm);
    gridMenu_->popup(where);
}

void SrchTmLstFrm::setRowHeights(bool thick) {
    findChild<QAction*>("fMnu_N")->setChecked(!thick);
    findChild<QAction*>("fMnu_K")->setChecked(thick);
    const double lineTwips = QFontMetrics(grid_->font()).lineSpacing() * ui::twipsPerPixelY();
    for (long r = 1; r < grid_->Rows(); ++r) {
        // A thick row is as tall as the most lines of its cells need, read from the grid,
        // whose rows a sort may have moved.
        long lines = 1;
        for (int c = 0; thick && c < grid_->Cols(); ++c) lines = std::max(lines, lineCount(grid_->TextMatrix(r, c)));
        const int needed = static_cast<int>(lines * lineTwips + kRowMarginTwips);
        grid_->setRowHeight(r, thick ? std::max(kThinRowTwips, needed) : kThinRowTwips);
    }
}

void SrchTmLstFrm::databaseCheck() {
    form_->GetSrchTrmData();
    if (gResults.SiteDefPath == gIniDbDef) return;
    core::ui().info("This option only available when current database is same as that used to create report." + gCRCR +
                        "Database used for report: " + gResults.SiteDBName + gCR +
                        "Current Site Database: " + STTA_SiteParmGet(),
                    "");
}

std::string SrchTmLstFrm::GetSTs4Row(long row) const {
    if (row < 1 || row >= grid_->Rows()) return {};
    return table_.STsOfEntry(grid_->RowData(row));
}

bool SrchTmLstFrm::pPlotRow(long row, const std::string& dates, bool force) {
    if (row == dPlotRow && !force) return false;
    const std::string range = dates.empty() ? dPlotStartEndDate : dates;
    const std::string label = row >= 0 && row < grid_->Rows() ? grid_->TextMatrix(row, 0) : std::string();
    std::string terms = GetSTs4Row(row);
    if (terms.empty() && label == ".. Total ..") terms = table_.allSTs;
    PlotRequest request;
    request.items = itemNumbers(terms);
    if (request.items.empty()) return false;
    form_->GetSrchTrmData();
    request.percentView = INI_GetFlag("Main", "Plotpct", "::*", kIniMissingEmpty);
    std::string desc = STTA_PlotDescText(gResults, range, dPlotColsToRemove, request.percentView);
    request.periodDays =
        std::max(1L, core::wholeOf<long>(core::vbVal(INI_Get("Main", "DaysToPlot", "::*", kIniMissingEmpty))));
    request.dateRange = range;
    request.removedColumns = dPlotColsToRemove;
    request.dateTitles = INI_GetFlag("Main", "ColTitDt", "::*", kIniMissingEmpty);
    request.numberTitles = INI_GetFlag("Main", "ColTitNum", "::*", kIniMissingEmpty);
    const PlotTable plot = request.items.size() == 1 ? STTA_PlotSTs(gResults, request.items.front(), request)
                                                     : PlotTtl4IndexesSTByDate(gResults, request);
    if (!plot.notice.empty()) {
        core::ui().info(plot.notice, "");
        dPlotStartEndDate = request.dateRange;
    }
    if (request.items.size() > 1) {
        desc += " Group: " + gCR + label + gCR + gCR + std::to_string(request.items.size()) + " Grouped Vals Incl:" +
                gCR + STTA_IndexesToText(request.items, gResults.Vals->Items, ", ", 400, "..");
    } else {
        desc += ": " + gCR + label;
    }
    const bool small = smallScreen();
    chart_->setShowLegend(!small && INI_GetFlag("Main", "ShowPlotLegend", "::*", kIniMissingTrue));
    chart_->setLegendLocation(chart::LegendLocation::BottomRight);
    chart_->setChartType(chart::ChartType::Bar2D);
    chart_->setChartData(plot.table);
    chart_->setTitle(small ? std::string() : label);
    dPlotColLabelsCDS = plot.columnLabels;
    dPlotRow = row;
    plottedEntry_ = row >= 0 && row < grid_->Rows() ? grid_->RowData(row) : 0;
    plotDesc_->setText(labelText("Plotted: " + std::to_string(request.periodDays) + " day periods." + gCRCR + desc));
    return true;
}

void SrchTmLstFrm::fillGrid() {
    const grid::CellStore& cells = table_.cells;
    grid_->setRedraw(false);
    grid_->setRows(std::max(2L, cells.rows()));
    grid_->setCols(std::max(table_.fixedCols + 1, cells.cols()));
    grid_->setFixedRows(1);
    grid_->setFixedCols(std::min(table_.fixedCols, cells.cols() - 1));
    for (long r = 0; r < cells.rows(); ++r) {
        for (int c = 0; c < cells.cols(); ++c) {
            const std::string_view text = cells.text(r, c);
            if (!text.empty()) grid_->setTextMatrix(r, c, text);
        }
        grid_->setRowData(r, cells.rowData(r));
    }
    const QFontMetrics metrics(grid_->font());
    const int distColumns[] = {table_.col.Dist0, table_.col.DistAlternate, table_.col.DistClickThru};
    const auto twipsWide = [](int pixels) { return static_cast<int>((pixels + 8) * ui::twipsPerPixelX()); };
    for (int c = 0; c < cells.cols(); ++c) {
        int width = static_cast<std::size_t>(c) < table_.colWidth.size() ? table_.colWidth[static_cast<std::size_t>(c)] : 960;
        // Hidden columns and the narrow target stripes keep their width; columns meant
        // for text grow so that neither caption nor number is cut.
        const bool forText = c > 0 && width > kStripeTwips;
        // Captions wrap at blanks onto the two lines of the caption row.
        if (forText)
            width = std::max(width, twipsWide(twoLineWidth(metrics, ui::toQString(std::string(cells.text(0, c))))));
        // Numbers are never cut: a count column grows to its widest cell. The lines of
        // a distribution column grow it too, up to a limit, so that a long page name
        // does not push the other columns away.
        if (forText) {
            const bool distribution =
                std::find(std::begin(distColumns), std::end(distColumns), c) != std::end(distColumns);
            const int widest = twipsWide(metrics.horizontalAdvance(ui::toQString(std::string(longestLine(cells, c)))));
            width = std::max(width, distribution ? std::min(widest, kDistWidthLimit * width) : widest);
        }
        grid_->setColWidth(c, width);
        if (static_cast<std::size_t>(c) < table_.colAlignment.size())
            grid_->setColAlignment(c, table_.colAlignment[static_cast<std::size_t>(c)]);
        // The writer colours whole columns (the target bands), captions included.
        if (const std::uint32_t colour = cells.backColor(0, c); colour != 0) {
            grid_->setRow(0);
            grid_->setCol(c);
            grid_->setRowSel(cells.rows() - 1);
            grid_->setColSel(c);
            grid_->setCellBackColor(colour);
        }
    }
    grid_->setFixedRowsWordWrap(true);
    grid_->setRowHeight(0, std::max(table_.captionRowHeight,
                                    static_cast<int>((2 * metrics.lineSpacing() + 4) * ui::twipsPerPixelY())));
    // The selection ends on the total row, at the first scrolling column.
    if (cells.rows() > 1) {
        grid_->setRow(cells.rows() - 1);
        grid_->setCol(std::min(table_.fixedCols, cells.cols() - 1));
    }
    grid_->setRedraw(true);
}

void STTA_PlotRemoveFirstCol(SrchTmLstFrm& window) {
    core::Table2D table = window.fChart()->ChartData();
    if (!STTA_PlotRemoveFirstCol(table)) return;
    ++window.dPlotColsToRemove;
    window.fChart()->setChartData(table);
    if (INI_GetFlag("Main", "Plotpct", "::*", kIniMissingEmpty)) window.pPlotRow(window.dPlotRow, {}, true);
}

void STTA_PlotColLabelsShow(SrchTmLstFrm& window) {
    core::StrArray parts;
    CHUNKS_Split(window.dPlotColLabelsCDS, parts, 0);
    std::vector<std::string> items;
    for (long i = parts.lbound(); parts.hasBounds() && i <= parts.ubound(); ++i) items.push_back(parts[i]);
    std::string chosen;
    // One column wide enough for a period's dates and its count.
    core::ui().listPick(items, "Plotted periods [users]", "4200|3600||||||||1||{3900}", "&OK", "", "", chosen);
}

void STTA_PlotColsRestore(SrchTmLstFrm& window, bool clearRemoved) {
    if (clearRemoved) window.dPlotColsToRemove = 0;
    window.pPlotRow(window.dPlotRow, {}, true);
}

void STTA_RowDetailShow(SrchTmLstFrm& window) {
    const long row = window.fSearchTerms()->Row();
    if (row < 1) {
        core::ui().info("First select row.", "");
        return;
    }
    const std::vector<long> items = itemNumbers(window.GetSTs4Row(row));
    const std::string label = window.fSearchTerms()->TextMatrix(row, 0);
    if (items.empty()) {
        core::ui().info("The row \"" + label + "\" stands for no single values to list.", "");
        return;
    }
    window.dIfrmData()->GetSrchTrmData();
    ReportTable table;
    STTA_ReportGridSetup(gResults.Targets, table, gResults.Analyzed_Field, gResults.AnalOpts);
    STTA_IndexRowsWrite(items, gResults, table);
    STTA_TargetBandsColour(gResults, table);
    std::string caption =
        STTA_ReportTitlePlural(gResults.Analyzed_Field) + " for group: " + label + ". Site: " + STTA_SiteParmGet();
    STTA_ReportDescSet(*window.dIfrmData(), table, caption);
    auto* detail = new SrchTmLstFrm(std::move(table), window.dIfrmData(), caption);
    detail->showWindow = window.showWindow;
    if (window.showWindow) window.showWindow(detail);
    else detail->show();
}

bool STTA_PlotRangeEnter(SrchTmLstFrm& window) {
    window.dIfrmData()->GetSrchTrmData();
    DateRangeEnterArgs args;
    args.firstAvailable = core::vbVal(CHUNKS_Get(1, gResults.DayRange));
    args.lastAvailable = core::vbVal(CHUNKS_Get(2, gResults.DayRange));
    // The dialog shows and keeps short dates; the window keeps the analysis's day texts.
    std::string range;
    for (int k = 1; k <= 2; ++k)
        if (const std::optional<long> day = analysis::typedDay(CHUNKS_Get(k, window.dPlotStartEndDate)))
            range += (k == 2 ? "|" : "") + analysis::shortDate(*day);
    // The plot options below the dates are kept with the site's other last values.
    STTA_MissingMeaningsPut({{"DaysToPlot", "1"}, {"ShowPlotLegend", "True"}});
    args.options = {.section = "PlotOpt", .entry = "Ctls", .iniFile = gIniScreens, .valuesFile = gIniLastVals};
    MB_CtlEntry ctl;
    const std::string note = "to plot" + gCR +
                             "NB if dates are included that are outside range of dates to analyse, they will only be "
                             "plotted after data has been read and analysed again." + gCR +
                             "Use New Analysis from the Analysis menu.";
    if (STTA_DateRangeEnter(range, note, ctl, args) != 1) return false;
    window.dPlotStartEndDate = range;
    STTA_PlotColsRestore(window, true);
    return true;
}
