#pragma once
// What a chart shows, kept apart from the widget so that callers (and tests) can read
// back exactly what they wrote: the table of values, the column count, the legend and
// the chart type. No Qt.
//
// The table is laid out as the plot code writes it: row 0 holds the series labels,
// column 0 the category (period) labels, and cells (1..rows, 1..cols) the values.
#include <string>
#include <vector>

#include "core/table2d.h"

namespace chart {

// Where the legend sits; only the one the program asks for has a meaning of its own.
enum class LegendLocation : int { Default = 0, BottomRight = 7 };
// The kinds of chart the program draws.
enum class ChartType : int { Bar3D = 0, Bar2D = 1 };

// One series as drawn: its label and a value per category (cells that are empty or
// not numbers count 0).
struct Series {
    std::string label;
    std::vector<double> values;
    // A series whose label is blank is drawn invisibly: it only holds the value axis
    // up (the plot's scale value), so it must not look like data.
    bool hidden = false;
};

class ChartModel {
public:
    // The whole table; the column count follows its columns (less the label column).
    void setTable(const core::Table2D& table);
    const core::Table2D& table() const { return table_; }

    int columnCount() const { return columnCount_; }
    // Fewer columns hide the later ones; more add empty ones.
    void setColumnCount(int count);
    // The current column, which column-label writes address (1-based).
    int column() const { return column_; }
    void setColumn(int column) { column_ = column; }
    // Label of the current column (row 0 of the table), growing the table if needed.
    void setColumnLabel(const std::string& label);

    bool showLegend() const { return showLegend_; }
    void setShowLegend(bool show) { showLegend_ = show; }
    LegendLocation legendLocation() const { return legendLocation_; }
    void setLegendLocation(LegendLocation where) { legendLocation_ = where; }
    ChartType chartType() const { return chartType_; }
    void setChartType(ChartType type) { chartType_ = type; }

    // What to draw: the category labels (rows 1..) and one series per column 1..count.
    std::vector<std::string> categories() const;
    std::vector<Series> series() const;

private:
    core::Table2D table_;
    int columnCount_ = 0;
    int column_ = 1;
    bool showLegend_ = false;
    LegendLocation legendLocation_ = LegendLocation::Default;
    ChartType chartType_ = ChartType::Bar2D;
};

}  // namespace chart
