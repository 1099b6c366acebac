#include "platform/chart/chart_view.h"

#include <QBarCategoryAxis>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QSet>
#include <QTimer>
#include <QStringList>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/ui/qt_text.h"

namespace chart {

namespace {

// Room a column label needs beside its text: Qt's padding on both sides and the
// margins of its text item.
constexpr double kLabelRoom = 16;
// A plot area that changes by less than this is the labels' own doing, not a resize.
constexpr double kRefitPixels = 8;
constexpr QChar kNoBreakSpace(0x00A0);
constexpr int kValueTicks = 5;

// Qt wraps a label that barely fits at its blanks and cuts the second line: labels
// are drawn with blanks that do not break.
QStringList unbreakable(QStringList labels) {
    for (QString& label : labels) label.replace(QChar(' '), kNoBreakSpace);
    return labels;
}

QStringList breakable(QStringList labels) {
    for (QString& label : labels) label.replace(kNoBreakSpace, QChar(' '));
    return labels;
}

// Qt Charts draws titles and axis labels as rich text, and ours come from the data (a
// search term may hold "<b>" or "<img>"): every one is escaped here.
QString plain(const std::string& text) { return ui::toQString(text).toHtmlEscaped(); }

// An escaped label as it reads on screen.
QString unescaped(QString html) {
    return html.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

}  // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    chart_ = new QChart;
    chart_->setAnimationOptions(QChart::NoAnimation);
    view_ = new QChartView(chart_, this);
    view_->setRenderHint(QPainter::Antialiasing);
    // A chart has no keys of its own: Tab passes it by, so that a window that regains
    // the focus gives it to its table rather than to its chart. A click still focuses
    // it, for the menu key.
    view_->setFocusPolicy(Qt::ClickFocus);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { emit contextMenuAt(view_->mapTo(this, p)); });
    // A chart's items change as a whole: repainting all of it leaves no old axis or
    // label behind.
    view_->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    chart_->legend()->setVisible(false);
    categories_ = new QBarCategoryAxis(chart_);
    values_ = new QValueAxis(chart_);
    chart_->addAxis(categories_, Qt::AlignBottom);
    chart_->addAxis(values_, Qt::AlignLeft);
    legend_ = new QLabel(this);
    legend_->setObjectName("legend");
    legend_->setTextFormat(Qt::RichText);
    legend_->setWordWrap(true);
    legend_->setContentsMargins(9, 0, 9, 4);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Where the columns are too narrow for any label, the first and the last are named
    // below the chart instead.
    range_ = new QLabel(this);
    range_->setObjectName("columnRange");
    range_->setTextFormat(Qt::PlainText);
    range_->setAlignment(Qt::AlignHCenter);
    range_->hide();
    layout->addWidget(view_, 1);
    layout->addWidget(range_);
    layout->addWidget(legend_);
    // Once laid out, the labels are fitted to the real plot area.
    connect(chart_, &QChart::plotAreaChanged, this, [this] { settleLabelsLater(); });
    redraw();
}

void ChartView::setChartData(const core::Table2D& table) {
    data_.setTable(table);
    redraw();
}

void ChartView::setColumnCount(int count) {
    data_.setColumnCount(count);
    redraw();
}

void ChartView::setColumnLabel(const std::string& label) {
    data_.setColumnLabel(label);
    redraw();
}

void ChartView::setShowLegend(bool show) {
    data_.setShowLegend(show);
    legend_->setVisible(show && !legend_->text().isEmpty());
}

// The legend stands below the chart wherever it is asked for.
void ChartView::setLegendLocation(LegendLocation where) { data_.setLegendLocation(where); }

void ChartView::setChartType(ChartType type) {
    data_.setChartType(type);
    redraw();
}

void ChartView::setTitle(const std::string& title) {
    title_ = plain(title);
    chart_->setTitle(title_);
}

int ChartView::drawnSeriesCount() const {
    int count = 0;
    for (auto* s : chart_->series())
        if (auto* bars = qobject_cast<QBarSeries*>(s)) count += static_cast<int>(bars->count());
    return count;
}

double ChartView::drawnAxisMaximum() const { return axisMax_; }

std::vector<std::string> ChartView::drawnLabels() const {
    std::vector<std::string> labels;
    if (!categories_->labelsVisible()) return labels;
    for (const QString& label : breakable(categories_->categories()))
        labels.push_back(ui::fromQString(unescaped(label)));
    return labels;
}

std::string ChartView::drawnColumnRange() const { return range_->isHidden() ? "" : ui::fromQString(range_->text()); }

void ChartView::fillLegend(QBarSeries& bars) {
    // The entries run on as the words of a paragraph, each behind a square of its
    // series' colour, and break onto further lines where the chart is narrow.
    QStringList entries;
    const std::vector<Series> series = data_.series();
    for (std::size_t i = 0; i < series.size() && i < static_cast<std::size_t>(bars.count()); ++i) {
        if (series[i].hidden) continue;
        const QColor colour = bars.barSets()[static_cast<qsizetype>(i)]->color();
        entries.append(QStringLiteral("<span style=\"color:%1\">&#9632;</span>&nbsp;%2")
                           .arg(colour.name(), ui::toQString(series[i].label).trimmed().toHtmlEscaped()));
    }
    legend_->setText(entries.join(QStringLiteral(" &nbsp; &nbsp; ")));
    legend_->setVisible(data_.showLegend() && !entries.isEmpty());
}

void ChartView::redraw() {
    chart_->removeAllSeries();
    auto* bars = new QBarSeries;
    double top = 0;
    for (const Series& s : data_.series()) {
        auto* set = new QBarSet(plain(s.label));
        for (double v : s.values) {
            *set << v;
            top = std::max(top, v);
        }
        if (s.hidden) {
            set->setColor(Qt::transparent);
            set->setBorderColor(Qt::transparent);
        }
        bars->append(set);
    }
    chart_->addSeries(bars);
    // The axes stay for the chart's life: axes taken away are deleted only later, and
    // till then Qt draws their labels beside the new ones.
    if (data_.categories().empty()) categories_->clear();
    bars->attachAxis(categories_);
    axisMax_ = top > 0 ? top : 1;
    values_->setTickCount(kValueTicks);  // nice numbers of the last plot changed it
    values_->setRange(0, axisMax_);
    values_->applyNiceNumbers();
    axisMax_ = values_->max();
    bars->attachAxis(values_);
    fillLegend(*bars);
    fitColumnLabels();
}

void ChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitColumnLabels();
}

// The column labels (dates, mostly) are read across while they fit beside each other;
// when they do not they stand upright, and where even upright labels would overlap
// their font shrinks. Upright labels taller than a quarter of the chart lose what follows
// their first " [" (the count after a date), so that none is cut to "01...", and are
// read across again where that makes them fit.
void ChartView::fitColumnLabels() {
    QStringList labels;
    for (const std::string& c : data_.categories()) labels.append(plain(c));
    if (!categories_->labelsVisible()) {  // they gave way at another size or to other data
        categories_->setLabelsVisible(true);
        range_->hide();
        settleLabelsLater();
    }
    if (labels.isEmpty()) return;
    // Before the chart is laid out the widget less the value axis and the margins
    // stands in for the plot area.
    if (chart_->title() != title_) chart_->setTitle(title_);
    const QRectF area = chart_->plotArea();
    fittedWidth_ = area.width();
    const double across = std::max(1.0, area.width() > 0 ? area.width() : width() - 80.0);
    const double each = across / static_cast<double>(labels.size());
    QFont font = chart_->font();
    const auto fitAcross = [&](const QStringList& shown) { return widestOf(shown, font) + kLabelRoom <= each; };
    labelsAngle_ = fitAcross(labels) ? 0 : -90;
    // Labels that would lose their counts upright anyway read better across.
    if (const QStringList shorter = withoutCounts(labels);
        labelsAngle_ != 0 && widestOf(labels, font) > height() / 4.0 && fitAcross(shorter)) {
        labels = shorter;
        labelsAngle_ = 0;
    }
    if (labelsAngle_ != 0) uprightLabels(labels, font, each);
    showColumnLabels(labels, font);
}

void ChartView::uprightLabels(QStringList& labels, QFont& font, double each) const {
    QFontMetricsF metrics(font);
    while (font.pointSizeF() > kSmallestLabelPoints && metrics.height() > each) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        metrics = QFontMetricsF(font);
    }
    if (widestOf(labels, font) > height() / 4.0) labels = withoutCounts(labels);
}

// Qt lays the chart out in steps of its own: the labels are checked once it is done.
void ChartView::settleLabelsLater() {
    if (settlePending_) return;
    settlePending_ = true;
    QTimer::singleShot(0, this, [this] {
        settlePending_ = false;
        if (std::abs(chart_->plotArea().width() - fittedWidth_) >= kRefitPixels) fitColumnLabels();
        uncutColumnLabels();
    });
}

// Qt cuts a label that is wider than the room its axis gets ("17..."): once the chart
// is laid out, cut labels lose their counts, then stand upright, then shrink, and at
// last take the title's room, until Qt draws them whole. Qt gives an upright label a
// column's width less its padding: where that is less than the smallest font's height
// it draws "..." for every label, and the labels give way to a line naming the first
// and the last column.
void ChartView::uncutColumnLabels() {
    QBarCategoryAxis* axis = categories_;
    if (!axis->labelsVisible()) return;
    QFont font = axis->labelsFont();
    chart_->layout()->activate();
    while (columnLabelsCut(axis->categories())) {
        QStringList labels = breakable(axis->categories());
        if (const QStringList shorter = withoutCounts(labels); shorter != labels) {
            labels = shorter;
        } else if (labelsAngle_ == 0) {
            labelsAngle_ = -90;
            uprightLabels(labels, font, chart_->plotArea().width() / static_cast<double>(labels.size()));
        } else if (font.pointSizeF() > kSmallestLabelPoints) {
            font.setPointSizeF(font.pointSizeF() - 0.5);
        } else if (!chart_->title().isEmpty()) {
            chart_->setTitle({});
        } else {
            labelsGiveWay(labels);
            return;
        }
        showColumnLabels(labels, font);
        chart_->layout()->activate();
    }
}

void ChartView::labelsGiveWay(const QStringList& labels) {
    const QStringList shown = withoutCounts(breakable(labels));
    categories_->setLabelsVisible(false);
    range_->setText(unescaped(shown.front()) + QStringLiteral(" - ") + unescaped(shown.back()));
    range_->show();
    chart_->setTitle(title_);
}

bool ChartView::columnLabelsCut(const QStringList& labels) const {
    for (QGraphicsItem* item : view_->scene()->items()) {
        auto* text = dynamic_cast<QGraphicsTextItem*>(item);
        if (!text || !text->isVisible()) continue;
        // The plain text of a drawn label has its blanks back.
        const QString drawn = text->toPlainText();
        if (!drawn.endsWith(QStringLiteral("..."))) continue;
        const QString kept = drawn.chopped(3);
        for (const QString& label : breakable(labels))
            if (const QString shown = unescaped(label); shown.size() > kept.size() && shown.startsWith(kept))
                return true;
    }
    return false;
}

void ChartView::showColumnLabels(const QStringList& labels, const QFont& font) {
    QBarCategoryAxis* axis = categories_;
    const QStringList shown = unbreakable(labels);
    if (axis->categories() == shown && axis->labelsAngle() == labelsAngle_ && axis->labelsFont() == font) return;
    if (axis->categories() != shown) axis->setCategories(shown);
    axis->setLabelsAngle(labelsAngle_);
    axis->setLabelsFont(font);
    settleLabelsLater();
}

// The labels less what follows their first " [" (the count after a date), unless two
// columns of one date need the long ones to tell them apart.
QStringList ChartView::withoutCounts(const QStringList& labels) {
    QStringList shorter;
    for (const QString& label : labels) shorter.append(label.left(label.indexOf(QStringLiteral(" ["))));
    return QSet<QString>(shorter.begin(), shorter.end()).size() == shorter.size() ? shorter : labels;
}

double ChartView::widestOf(const QStringList& labels, const QFont& font) {
    const QFontMetricsF metrics(font);
    double widest = 0;
    for (const QString& label : labels) widest = std::max(widest, metrics.horizontalAdvance(unescaped(label)));
    return widest;
}

}  // namespace chart
