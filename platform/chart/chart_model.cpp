#include "platform/chart/chart_model.h"

#include <algorithm>

#include "core/numbers.h"

namespace chart {

namespace {

std::string cellText(const core::Table2D& table, long row, long col) {
    return table.inBounds(row, col) ? ARR_Item2D(table, row, col) : std::string();
}

double cellValue(const core::Table2D& table, long row, long col) {
    if (!table.inBounds(row, col)) return 0;
    const core::Cell& cell = table(row, col);
    if (const auto* n = std::get_if<long>(&cell)) return static_cast<double>(*n);
    if (const auto* d = std::get_if<double>(&cell)) return *d;
    double value = 0;
    if (const auto* s = std::get_if<std::string>(&cell); s && core::parseNumber(*s, value)) return value;
    return 0;
}

bool isBlank(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

}  // namespace

void ChartModel::setTable(const core::Table2D& table) {
    table_ = table;
    columnCount_ = table.hasBounds() ? static_cast<int>(std::max(0L, table.colUBound())) : 0;
}

void ChartModel::setColumnCount(int count) {
    columnCount_ = std::max(0, count);
    if (table_.hasBounds() && table_.colUBound() < columnCount_) table_.redimPreserveCols(columnCount_);
}

void ChartModel::setColumnLabel(const std::string& label) {
    if (column_ < 1) return;
    if (!table_.hasBounds()) table_.redim(0, 0, 0, column_);
    if (table_.colUBound() < column_) table_.redimPreserveCols(column_);
    table_.set(0, column_, label);
}

std::vector<std::string> ChartModel::categories() const {
    std::vector<std::string> labels;
    if (!table_.hasBounds()) return labels;
    for (long row = 1; row <= table_.rowUBound(); ++row) labels.push_back(cellText(table_, row, 0));
    return labels;
}

std::vector<Series> ChartModel::series() const {
    std::vector<Series> all;
    if (!table_.hasBounds()) return all;
    for (int col = 1; col <= columnCount_; ++col) {
        Series s;
        s.label = cellText(table_, 0, col);
        s.hidden = isBlank(s.label);
        for (long row = 1; row <= table_.rowUBound(); ++row) s.values.push_back(cellValue(table_, row, col));
        all.push_back(std::move(s));
    }
    return all;
}

}  // namespace chart
