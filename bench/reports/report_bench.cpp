// The report half on a large analysis: 100,000 search terms over 400 days. Times the
// All report written into its table, the results window filled from it, a numeric sort
// and a scroll to the end, and plots of the total row and of the top ten rows; the peer
// is a QStandardItemModel filled with the same cells and sorted the same way. Runs
// offscreen.
#include <QApplication>
#include <QStandardItemModel>
#include <cstdio>
#include <random>

#include "analysis/forms/results_window.h"
#include "analysis/results_data_form.h"
#include "bench/timing.h"
#include "core/dates.h"
#include "core/ini_store.h"
#include "core/shell_hooks.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "platform/grid/flex_grid.h"

namespace {

constexpr long kItems = 100'000;
constexpr long kDays = 400;
constexpr long kVisitsPerItemMax = 40;

// Users per term fall off like real search terms: a few common, most seen once or twice.
STTA_Results makeResults() {
    STTA_Results r;
    r.Analyzed_Field = kRkSearchTerm;
    r.VisitCount = 0;
    const double first = core::vbDateSerial(2025, 1, 1);
    for (long d = 0; d < kDays; ++d) r.DayList->push_back(core::vbFormat(core::DateTime{first + d}, "dd mmm yyyy"));
    r.DayRange = std::to_string(static_cast<long>(first)) + "|" + std::to_string(static_cast<long>(first) + kDays - 1);
    ValueListParts parts;
    parts.dayCnt = true;
    parts.counters[0] = parts.counters[1] = true;
    STTA_ValueListAlloc(*r.Vals, kItems, kDays, 0, parts);
    std::mt19937 rng(7);
    ValueListIncrements inc;
    inc.dayTables = {true, true, false, false, false, false, false};
    for (long i = 1; i <= kItems; ++i) {
        const std::string term = "search term " + std::to_string(i);
        const long visits = 1 + static_cast<long>(kVisitsPerItemMax * 1000 / (i + 1000)) + static_cast<long>(rng() % 3);
        for (long v = 0; v < visits; ++v) {
            inc.counters[0] = rng() % 2;
            inc.counters[1] = 1 + rng() % 5;
            STTA_ValueListAdd(static_cast<long>(rng() % kDays), *r.Vals, term, inc, -1);
            r.VisitCount += 1;
        }
    }
    return r;
}

// Routes the site's settings to one file, so that the bench can switch the deviation
// columns off and on.
class SettingsFile : public core::ShellHooks {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}
    std::string iniSectFileGet(const std::string&, const std::string&) override { return path_; }

private:
    std::string path_;
};

void line(const char* what, double ours, double peer) {
    if (peer > 0) std::printf("  %-34s %8.3f s  %8.3f s  ratio %6.3f\n", what, ours, peer, ours / peer);
    else std::printf("  %-34s %8.3f s\n", what, ours);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TXT_CrLfInit();
    double t = 0;
    t = bench::seconds([] { gResults = makeResults(); });
    std::printf("analysis record of %ld terms over %ld days made in %.2f s\n", kItems, kDays, t);
    DataForms forms;
    IfrmPtr form = forms.STTA_IfrmShow();

    SettingsFile settings("/tmp/report_bench_settings.ini");
    core::setShellHooks(&settings);
    const auto writeReport = [](ReportTable& t) {
        return bench::seconds([&] {
            STTA_ReportGridSetup(gResults.Targets, t, gResults.Analyzed_Field, gResults.AnalOpts);
            STTA_AllRowsWrite(gResults, t);
            STTA_TargetBandsColour(gResults, t);
        });
    };
    INI_Put("Main", "DevShow", "True", "::*");
    ReportTable withDeviations;
    const double writeWithDeviations = writeReport(withDeviations);
    INI_Put("Main", "DevShow", "False", "::*");
    ReportTable table;
    const double write = writeReport(table);
    const long rows = table.rows();
    SrchTmLstFrm* window = nullptr;
    const double show = bench::seconds([&] {
        window = new SrchTmLstFrm(table, form, "All Search Terms");
        window->resize(1200, 800);
        window->show();
        QApplication::processEvents();
    });
    grid::FlexGrid* grid = window->fSearchTerms();
    const double sort = bench::seconds([&] {
        grid->setCol(1);
        grid->setRow(1);
        grid->setRowSel(grid->Rows() - 3);
        grid->setSort(grid::kSortNumericDescending);
        QApplication::processEvents();
    });
    const double scroll = bench::seconds([&] {
        grid->setTopRow(grid->Rows() - 1);
        QApplication::processEvents();
    });
    const double plotTotal = bench::seconds([&] { window->pPlotRow(grid->Rows() - 1, {}, true); });
    const double plotTop = bench::seconds([&] {
        for (long r = 1; r <= 10; ++r) window->pPlotRow(r, {}, true);
    }) / 10;

    // The peer: the same cells in a QStandardItemModel, sorted on the same column.
    double peerFill = 0, peerSort = 0;
    {
        auto& model = *new QStandardItemModel;  // never deleted: its teardown is slow
        const int cols = table.cells.cols();
        peerFill = bench::seconds([&] {
            model.setColumnCount(cols);
            model.setRowCount(static_cast<int>(rows));
            for (long r = 0; r < rows; ++r)
                for (int c = 0; c < cols; ++c) {
                    const std::string_view text = table.cells.text(r, c);
                    if (text.empty()) continue;
                    auto* item = new QStandardItem;
                    if (c == 1) item->setData(QString::fromUtf8(text.data(), static_cast<int>(text.size())).toLongLong(), Qt::DisplayRole);
                    else item->setText(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
                    model.setItem(static_cast<int>(r), c, item);
                }
        });
        peerSort = bench::seconds([&] { model.sort(1, Qt::DescendingOrder); });
    }
    std::printf("All report of %ld rows: ours, QStandardItemModel, ours / model\n", rows - 1);
    line("write the report table", write, 0);
    line("  the same with deviation columns", writeWithDeviations, 0);
    line("fill and show the window (+ plot)", show, peerFill);
    line("sort by users", sort, peerSort);
    line("scroll to the end", scroll, 0);
    line("plot the total row, 400 days", plotTotal, 0);
    line("plot one top row, 400 days", plotTop, 0);
    std::fflush(stdout);
    core::setShellHooks(nullptr);
    std::remove("/tmp/report_bench_settings.ini");
    return 0;
}
