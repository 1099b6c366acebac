// Fills and sorts a report grid of a million rows, then compares it with a
// QStandardItemModel on the same input. The peer is measured on fewer rows because it
// needs minutes for a million; the ratio is taken at that size. Runs offscreen.
#include <QApplication>
#include <QElapsedTimer>
#include <QStandardItemModel>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/grid/flex_grid.h"

namespace {

constexpr long kGridRows = 1'000'000;
constexpr long kPeerRows = 200'000;
constexpr int kCols = 4;

struct Input {
    std::vector<std::string> terms;
    std::vector<std::string> counts;
};

Input makeInput(long rows)
{
    std::mt19937 rng(42);
    Input in;
    in.terms.reserve(rows);
    in.counts.reserve(rows);
    for (long i = 0; i < rows; ++i) {
        in.terms.push_back("search term " + std::to_string(rng() % 500000));
        in.counts.push_back(std::to_string(rng() % 100000));
    }
    return in;
}

struct Times {
    double fill, sortNumeric, sortString;
};

Times timeGrid(const Input& in)
{
    const long rows = static_cast<long>(in.terms.size());
    grid::FlexGrid g;
    g.resize(800, 600);
    QElapsedTimer t;
    t.start();
    g.setRedraw(false);
    g.setCols(kCols);
    g.setRows(rows + 1);
    for (long r = 0; r < rows; ++r) {
        g.setTextMatrix(r + 1, 0, in.terms[r]);
        g.setTextMatrix(r + 1, 1, in.counts[r]);
        g.setTextMatrix(r + 1, 2, in.counts[r]);
        g.setTextMatrix(r + 1, 3, "x");
    }
    g.setRedraw(true);
    Times times{};
    times.fill = t.restart() / 1000.0;
    g.setCol(1);
    g.setRow(1);
    g.setSort(grid::kSortNumericDescending);
    times.sortNumeric = t.restart() / 1000.0;
    g.setCol(0);
    g.setSort(grid::kSortStringAscending);
    times.sortString = t.restart() / 1000.0;
    return times;
}

Times timeModel(const Input& in)
{
    const int rows = static_cast<int>(in.terms.size());
    // Never deleted: tearing down a sorted model of this size takes minutes.
    QStandardItemModel& m = *new QStandardItemModel;
    QElapsedTimer t;
    t.start();
    m.setColumnCount(kCols);
    m.setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        m.setItem(r, 0, new QStandardItem(QString::fromStdString(in.terms[r])));
        auto* count = new QStandardItem;
        count->setData(std::stoi(in.counts[r]), Qt::DisplayRole);
        m.setItem(r, 1, count);
        m.setItem(r, 2, new QStandardItem(QString::fromStdString(in.counts[r])));
        m.setItem(r, 3, new QStandardItem(QStringLiteral("x")));
    }
    Times times{};
    times.fill = t.restart() / 1000.0;
    m.sort(1, Qt::DescendingOrder);
    times.sortNumeric = t.restart() / 1000.0;
    m.sort(0, Qt::AscendingOrder);
    times.sortString = t.restart() / 1000.0;
    return times;
}

void print(const char* title, const Times& a, const Times* peer)
{
    std::printf("%s\n", title);
    auto line = [&](const char* what, double grid, double other) {
        if (peer) std::printf("  %-26s %8.3f s  %8.3f s  ratio %6.3f\n", what, grid, other, grid / other);
        else std::printf("  %-26s %8.3f s\n", what, grid);
    };
    line("fill", a.fill, peer ? peer->fill : 0);
    line("sort numeric, descending", a.sortNumeric, peer ? peer->sortNumeric : 0);
    line("sort string, ascending", a.sortString, peer ? peer->sortString : 0);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const Times big = timeGrid(makeInput(kGridRows));
    print("grid, 1,000,000 rows x 4 columns", big, nullptr);

    const Input small = makeInput(kPeerRows);
    const Times grid = timeGrid(small);
    const Times peer = timeModel(small);
    print("200,000 rows x 4 columns: grid, QStandardItemModel, grid / model", grid, &peer);
    return 0;
}
