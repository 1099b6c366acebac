#pragma once
// The program's chart: a bar chart on Qt Charts that draws a ChartModel. Every setter
// stores into the data first and then redraws, so what a caller reads back is what it
// wrote, whatever Qt made of it.
#include <QWidget>

#include "platform/chart/chart_model.h"

QT_BEGIN_NAMESPACE
class QBarCategoryAxis;
class QBarSeries;
class QChart;
class QChartView;
class QLabel;
class QValueAxis;
QT_END_NAMESPACE

namespace chart {

class ChartView : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);

    const ChartModel& model() const { return data_; }

    const core::Table2D& ChartData() const { return data_.table(); }
    void setChartData(const core::Table2D& table);
    int ColumnCount() const { return data_.columnCount(); }
    void setColumnCount(int count);
    int Column() const { return data_.column(); }
    void setColumn(int column) { data_.setColumn(column); }
    void setColumnLabel(const std::string& label);
    bool ShowLegend() const { return data_.showLegend(); }
    void setShowLegend(bool show);
    LegendLocation legendLocation() const { return data_.legendLocation(); }
    void setLegendLocation(LegendLocation where);
    ChartType chartType() const { return data_.chartType(); }
    void setChartType(ChartType type);
    // The chart's title (empty hides it); a chart too low for it and its column labels
    // leaves it out.
    void setTitle(const std::string& title);

    // What the last redraw put on screen, for callers that check the drawing.
    int drawnSeriesCount() const;
    double drawnAxisMaximum() const;
    // The angle of the column labels: 0 across, -90 upright where they do not fit across.
    int drawnLabelsAngle() const { return labelsAngle_; }
    // The column labels as drawn (shortened where upright ones would not fit); none
    // where the columns are too narrow for any, and the line below the chart names
    // the first and the last column ("" while the labels show).
    std::vector<std::string> drawnLabels() const;
    std::string drawnColumnRange() const;

signals:
    // A right click on the chart, at a point of this widget (the pop-up menu's cue).
    void contextMenuAt(const QPoint& where);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void redraw();
    void fillLegend(QBarSeries& bars);
    void fitColumnLabels();
    void uprightLabels(QStringList& labels, QFont& font, double each) const;
    void uncutColumnLabels();
    void labelsGiveWay(const QStringList& labels);
    void settleLabelsLater();
    bool columnLabelsCut(const QStringList& labels) const;
    void showColumnLabels(const QStringList& labels, const QFont& font);
    static QStringList withoutCounts(const QStringList& labels);
    static double widestOf(const QStringList& labels, const QFont& font);

    static constexpr double kSmallestLabelPoints = 5;

    ChartModel data_;
    QChart* chart_ = nullptr;
    QChartView* view_ = nullptr;
    QBarCategoryAxis* categories_ = nullptr;
    QValueAxis* values_ = nullptr;
    // Qt's legend runs its entries along one line and cuts them; ours wraps them.
    QLabel* legend_ = nullptr;
    QLabel* range_ = nullptr;
    QString title_;
    double axisMax_ = 0;
    int labelsAngle_ = 0;
    double fittedWidth_ = 0;  // the plot area's width the labels were last fitted to
    bool settlePending_ = false;
};

}  // namespace chart
