#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QFontMetricsF>
#include <QLabel>
#include <QTextDocumentFragment>
#include <QChartView>
#include <QValueAxis>

#include "platform/chart/chart_view.h"

namespace {

// A plot-shaped table: row 0 series labels, column 0 period labels.
core::Table2D plotTable() {
    core::Table2D t;
    t.redim(0, 3, 0, 3);
    t.set(0, 1, std::string("Users"));
    t.set(0, 2, std::string("Stayed"));
    t.set(0, 3, std::string(" "));  // scale holder
    const char* periods[] = {"01 Jan", "02 Jan", "03 Jan"};
    for (long r = 1; r <= 3; ++r) {
        t.set(r, 0, std::string(periods[r - 1]));
        t.set(r, 1, r * 2);
        t.set(r, 2, std::string(r == 2 ? "1" : "0"));
    }
    t.set(3, 3, 10L);
    return t;
}

TEST(ChartModel, TableReadsBackAsWrittenAndDrawsOneSeriesPerColumn) {
    chart::ChartModel data;
    data.setTable(plotTable());
    EXPECT_EQ(data.columnCount(), 3);
    EXPECT_EQ(ARR_Item2D(data.table(), 0, 2), "Stayed");
    EXPECT_EQ(data.categories(), (std::vector<std::string>{"01 Jan", "02 Jan", "03 Jan"}));
    const auto series = data.series();
    ASSERT_EQ(series.size(), 3u);
    EXPECT_EQ(series[0].values, (std::vector<double>{2, 4, 6}));
    EXPECT_EQ(series[1].values, (std::vector<double>{0, 1, 0}));  // numbers given as text
    EXPECT_FALSE(series[0].hidden);
    EXPECT_TRUE(series[2].hidden);  // blank label: only holds the axis up
    EXPECT_EQ(series[2].values, (std::vector<double>{0, 0, 10}));
}

TEST(ChartModel, ColumnCountAndLabelsOfTheCurrentColumn) {
    chart::ChartModel data;
    data.setTable(plotTable());
    data.setColumnCount(2);
    EXPECT_EQ(data.series().size(), 2u);
    data.setColumnCount(5);
    data.setColumn(5);
    data.setColumnLabel("Target 3");
    EXPECT_EQ(ARR_Item2D(data.table(), 0, 5), "Target 3");
    EXPECT_EQ(data.series().size(), 5u);
    EXPECT_EQ(data.series()[4].values, (std::vector<double>{0, 0, 0}));

    chart::ChartModel empty;
    EXPECT_TRUE(empty.series().empty());
    EXPECT_TRUE(empty.categories().empty());
}

TEST(ChartView, DrawsTheStoredDataAndKeepsSettings) {
    chart::ChartView view;
    view.setChartData(plotTable());
    view.setShowLegend(true);
    view.setLegendLocation(chart::LegendLocation::BottomRight);
    view.setChartType(chart::ChartType::Bar2D);
    EXPECT_EQ(view.drawnSeriesCount(), 3);
    EXPECT_GE(view.drawnAxisMaximum(), 10);  // the scale holder lifts the axis
    EXPECT_TRUE(view.ShowLegend());
    EXPECT_EQ(view.legendLocation(), chart::LegendLocation::BottomRight);
    EXPECT_EQ(ARR_Item2D(view.ChartData(), 2, 1), "4");

    // The scale is chosen afresh for each plot, as a new chart would choose it.
    const auto scale = [](chart::ChartView& v) {
        const auto* axis = qobject_cast<QValueAxis*>(v.findChild<QChartView*>()->chart()->axes(Qt::Vertical).at(0));
        return std::pair(axis->max(), axis->tickCount());
    };
    for (long top : {7L, 23L, 150L, 7L, 1000L, 9L}) {
        SCOPED_TRACE(top);
        core::Table2D t = plotTable();
        t.set(3, 3, top);
        view.setChartData(t);
        chart::ChartView fresh;
        fresh.setChartData(t);
        EXPECT_EQ(scale(view), scale(fresh));
    }
    EXPECT_EQ(view.findChild<QChartView*>()->chart()->axes(Qt::Vertical).size(), 1);

    view.setChartData(core::Table2D());
    EXPECT_EQ(view.ColumnCount(), 0);
    EXPECT_EQ(view.drawnSeriesCount(), 0);
}

TEST(ChartView, ColumnLabelsStandUprightWhereTheyDoNotFitAcrossAndLoseTheirCountWhereTheChartIsLow) {
    chart::ChartView view;
    struct Case {
        int days, height;
        int angle;
        const char* firstLabel;
    } cases[] = {{3, 450, 0, "1 Jan 2026 [10]"},
                 {33, 450, -90, "1 Jan 2026 [10]"},
                 {365, 450, -90, "1 Jan 2026 [10]"},
                 {33, 150, -90, "1 Jan 2026"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.days) + " days, " + std::to_string(c.height) + " high");
        view.resize(600, c.height);
        core::Table2D table;
        table.redim(0, c.days, 0, 1);
        table.set(0, 1, std::string("users"));
        for (long d = 1; d <= c.days; ++d) {
            table.set(d, 0, std::to_string(d) + " Jan 2026 [" + std::to_string(d + 9) + "]");
            table.set(d, 1, std::to_string(d));
        }
        view.setChartData(table);
        view.setColumnCount(1);
        EXPECT_EQ(view.drawnLabelsAngle(), c.angle);
        ASSERT_EQ(view.drawnLabels().size(), static_cast<std::size_t>(c.days));
        EXPECT_EQ(view.drawnLabels().front(), c.firstLabel);
        EXPECT_EQ(ARR_Item2D(view.ChartData(), 1, 0), "1 Jan 2026 [10]");  // the data keeps its labels
    }
}

// The texts Qt drew cut short ("17 Jan...") on the chart's scene.
std::vector<std::string> cutTexts(chart::ChartView& view) {
    std::vector<std::string> cut;
    for (QGraphicsItem* item : view.findChild<QChartView*>()->scene()->items())
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item);
            text && text->isVisible() && text->toPlainText().endsWith("..."))
            cut.push_back(text->toPlainText().toStdString());
    return cut;
}

TEST(ChartView, DrawsEveryColumnLabelWholeBelowATitleAndALegendInALowChart) {
    for (int height : {200, 280, 450}) {
        SCOPED_TRACE(std::to_string(height) + " high");
        chart::ChartView view;
        view.setTitle("Top Search Terms: web analytics");
        view.setShowLegend(true);
        view.setLegendLocation(chart::LegendLocation::BottomRight);
        core::Table2D table;
        table.redim(0, 17, 0, 1);
        table.set(0, 1, std::string("users"));
        for (long d = 1; d <= 17; ++d) {
            table.set(d, 0, (d < 10 ? "0" : "") + std::to_string(d) + " Jan [" + std::to_string(100 + d) + "]");
            table.set(d, 1, d);
        }
        view.setChartData(table);
        view.setColumnCount(1);
        view.resize(900, height);
        view.show();
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        EXPECT_EQ(cutTexts(view), std::vector<std::string>{});
        EXPECT_EQ(view.drawnLabels().size(), 17u);
    }
}

// A plot of 11 days with its three series, as a report window draws it: full size,
// cascaded, tiled, on a low screen. A chart too low for its labels and its title goes
// without the title.
TEST(ChartView, LabelsAndLegendShowWholeAtEverySize) {
    core::Table2D table;
    table.redim(0, 11, 0, 3);
    const std::string legend[] = {"Total Users for selected (group of) Search Terms",
                                  "Users who Stayed on site - surfed to other pages",
                                  "  [Use menu item Analysis Options - Targets to Analyse [Optional] to define target(s)]"};
    for (int c = 1; c <= 3; ++c) table.set(0, c, legend[c - 1]);
    for (long d = 1; d <= 11; ++d) {
        table.set(d, 0, (d < 10 ? "0" : "") + std::to_string(d) + " May [" + std::to_string(d % 3 == 0 ? 0 : 5 * d) + "]");
        table.set(d, 1, 5 * d);
        table.set(d, 2, 2 * d);
    }
    for (const QSize size : {QSize(1000, 280), QSize(590, 280), QSize(420, 280), QSize(700, 200), QSize(400, 200)}) {
        SCOPED_TRACE(std::to_string(size.width()) + " x " + std::to_string(size.height()));
        chart::ChartView view;
        view.setTitle("ranking how");
        view.setShowLegend(true);
        view.setLegendLocation(chart::LegendLocation::BottomRight);
        view.setChartData(table);
        view.resize(size);
        view.show();
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        EXPECT_EQ(cutTexts(view), std::vector<std::string>{});
        // No label broke onto a second line, which Qt cuts.
        for (QGraphicsItem* item : view.findChild<QChartView*>()->scene()->items()) {
            if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible()) {
                EXPECT_LT(text->boundingRect().height(), 1.8 * QFontMetricsF(text->font()).height())
                    << text->toPlainText().toStdString();
            }
        }
        // The legend says every series' label whole, below the chart.
        const auto* shown = view.findChild<QLabel*>("legend");
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(shown->isVisible());
        const QString text = QTextDocumentFragment::fromHtml(shown->text()).toPlainText();
        for (const std::string& label : legend) EXPECT_TRUE(text.contains(QString::fromStdString(label).trimmed()));
        EXPECT_GE(shown->height(), shown->heightForWidth(shown->width()));
        EXPECT_LE(shown->geometry().bottom(), view.height());
    }
}

// 16 days in a tiled window: columns narrower than the smallest upright label, which
// Qt would draw as "..." each. The line below the chart names the first and the last
// day instead, the chart keeps its title, and a wider window brings the labels back.
TEST(ChartView, ColumnsTooNarrowForAnyLabelNameTheirFirstAndLast) {
    core::Table2D table;
    table.redim(0, 16, 0, 2);
    table.set(0, 1, std::string("Total Users for selected (group of) Srch Engines"));
    table.set(0, 2, std::string("Users who Stayed on site - surfed to other pages"));
    for (long d = 1; d <= 16; ++d) {
        table.set(d, 0, (d < 10 ? "0" : "") + std::to_string(d) + " Jan [" + std::to_string(400 + d) + " /1d.]");
        table.set(d, 1, 400 + d);
        table.set(d, 2, 300 + d);
    }
    chart::ChartView view;
    view.setTitle(".. Total ..");
    view.setShowLegend(true);
    view.setChartData(table);
    for (const QSize size : {QSize(370, 260), QSize(330, 320), QSize(1000, 280), QSize(370, 260)}) {
        SCOPED_TRACE(std::to_string(size.width()) + " x " + std::to_string(size.height()));
        view.resize(size);
        view.show();
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        EXPECT_EQ(cutTexts(view), std::vector<std::string>{});
        const bool wide = size.width() == 1000;
        EXPECT_EQ(view.drawnLabels().size(), wide ? 16u : 0u);
        EXPECT_EQ(view.drawnColumnRange(), wide ? "" : "01 Jan - 16 Jan");
        EXPECT_EQ(view.findChild<QChartView*>()->chart()->title().toStdString(), ".. Total ..");
    }
}

// 25 days in a cascaded window, plotted row after row: no label is drawn over another,
// as a layout nested in Qt's own once left the old ones beside the new.
TEST(ChartView, ColumnLabelsNeverOverlap) {
    chart::ChartView view;
    view.setTitle("domain statistics crawler");
    view.setShowLegend(true);
    view.resize(590, 250);
    view.show();
    for (int plot = 1; plot <= 3; ++plot) {
        SCOPED_TRACE(plot);
        core::Table2D table;
        table.redim(0, 25, 0, 2);
        table.set(0, 1, std::string("Total Users for selected (group of) Search Terms"));
        table.set(0, 2, std::string("Users who Stayed on site - surfed to other pages"));
        for (long d = 1; d <= 25; ++d) {
            table.set(d, 0, (d < 10 ? "0" : "") + std::to_string(d) + " Feb [" + std::to_string((d * plot) % 7) + "]");
            table.set(d, 1, (d * plot) % 7);
        }
        view.setChartData(table);
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        std::vector<QRectF> drawn;
        for (QGraphicsItem* item : view.findChild<QChartView*>()->scene()->items())
            if (auto* text = dynamic_cast<QGraphicsTextItem*>(item);
                text && text->isVisible() && text->toPlainText().contains("Feb"))
                drawn.push_back(text->sceneBoundingRect());
        EXPECT_EQ(drawn.size(), 25u);
        for (std::size_t a = 0; a < drawn.size(); ++a)
            for (std::size_t b = a + 1; b < drawn.size(); ++b) {
                const QRectF both = drawn[a].intersected(drawn[b]);
                EXPECT_LT(both.width() * both.height(), 4.0) << a << " " << b;
            }
    }
}

// Labels come from logs: markup in them is text on the chart, in the title, the
// legend and the column labels alike.
TEST(ChartView, MarkupInTheDataIsDrawnAsText) {
    const std::string term = "<b>bold</b><img src=x> & \"more\"";
    chart::ChartView view;
    view.resize(700, 450);
    view.show();
    core::Table2D table;
    table.redim(0, 2, 0, 1);
    table.set(0, 1, term + " users");
    table.set(1, 0, "<i>1 Jan</i>");
    table.set(1, 1, 3L);
    table.set(2, 0, "2 Jan");
    table.set(2, 1, 4L);
    view.setChartData(table);
    view.setShowLegend(true);
    view.setTitle("Top Search Terms: " + term);
    QCoreApplication::processEvents();
    std::vector<std::string> drawn;
    for (QGraphicsItem* item : view.findChild<QChartView*>()->scene()->items())
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible())
            drawn.push_back(text->toPlainText().toStdString());
    for (const std::string& expected : {"Top Search Terms: " + term, std::string("<i>1 Jan</i>")}) {
        SCOPED_TRACE(expected);
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), expected), drawn.end());
    }
    EXPECT_EQ(view.drawnLabels().front(), "<i>1 Jan</i>");
    const auto* legend = view.findChild<QLabel*>("legend");
    ASSERT_NE(legend, nullptr);
    const std::string legendText = QTextDocumentFragment::fromHtml(legend->text()).toPlainText().toStdString();
    EXPECT_NE(legendText.find(term + " users"), std::string::npos) << legendText;
}

}  // namespace
