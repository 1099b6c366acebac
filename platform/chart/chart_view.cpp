#include "platform/chart/chart_view.h"

#include <QBarCategoryAxis>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QSet>
#include <QStringList>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/ui/qt_text.h"

namespace chart {

namespace {

// Qt Charts draws titles, legend entries and axis labels as rich text, and ours come
// from the data (a search term may hold "<b>" or "<img>"): every one is escaped here.
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
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    connect(chart_, &QChart::plotAreaChanged, this, [this] { uncutColumnLabels(); });
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
    chart_->legend()->setVisible(show);
}

void ChartView::setLegendLocation(LegendLocation where) {
    data_.setLegendLocation(where);
    chart_->legend()->setAlignment(where == LegendLocation::BottomRight ? Qt::AlignBottom : Qt::AlignRight);
}

void ChartView::setChartType(ChartType type) {
    data_.setChartType(type);
    redraw();
}

void ChartView::setTitle(const std::string& title) { chart_->setTitle(plain(title)); }

int ChartView::drawnSeriesCount() const {
    int count = 0;
    for (auto* s : chart_->series())
        if (auto* bars = qobject_cast<QBarSeries*>(s)) count += static_cast<int>(bars->count());
    return count;
}

double ChartView::drawnAxisMaximum() const { return axisMax_; }

std::vector<std::string> ChartView::drawnLabels() const {
    std::vector<std::string> labels;
    if (QBarCategoryAxis* axis = columnAxis())
        for (const QString& label : axis->categories()) labels.push_back(ui::fromQString(unescaped(label)));
    return labels;
}

void ChartView::redraw() {
    chart_->removeAllSeries();
    for (auto* axis : chart_->axes()) {
        chart_->removeAxis(axis);
        delete axis;
    }
    auto* bars = new QBarSeries;
    std::vector<int> hidden;
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
            hidden.push_back(static_cast<int>(bars->count()));
        }
        bars->append(set);
    }
    chart_->addSeries(bars);
    const QList<QLegendMarker*> markers = chart_->legend()->markers(bars);
    for (int i : hidden)
        if (i < markers.size()) markers[i]->setVisible(false);

    auto* categories = new QBarCategoryAxis;
    for (const std::string& c : data_.categories()) categories->append(plain(c));
    chart_->addAxis(categories, Qt::AlignBottom);
    bars->attachAxis(categories);
    auto* values = new QValueAxis;
    axisMax_ = top > 0 ? top : 1;
    values->setRange(0, axisMax_);
    values->applyNiceNumbers();
    axisMax_ = values->max();
    chart_->addAxis(values, Qt::AlignLeft);
    bars->attachAxis(values);
    chart_->legend()->setVisible(data_.showLegend());
    fitColumnLabels();
}

void ChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitColumnLabels();
}

// The column labels (dates, mostly) are read across while they fit beside each other;
// when they do not they stand upright, and where even upright labels would overlap
// their font shrinks. Upright labels taller than a quarter of the chart lose what follows
// their first " [" (the count after a date), so that none is cut to "01...".
void ChartView::fitColumnLabels() {
    QBarCategoryAxis* axis = columnAxis();
    if (!axis || axis->count() == 0) return;
    QStringList labels;
    for (const std::string& c : data_.categories()) labels.append(plain(c));
    // The plot area is laid out only after a resize: the widget less the value axis and
    // the margins stands in for it.
    const double across = std::max(1.0, width() - 80.0);
    const double each = across / static_cast<double>(labels.size());
    QFont font = chart_->font();
    QFontMetricsF metrics(font);
    labelsAngle_ = widestOf(labels, font) + 8 <= each ? 0 : -90;
    if (labelsAngle_ != 0) {
        while (font.pointSizeF() > kSmallestLabelPoints && metrics.height() > each) {
            font.setPointSizeF(font.pointSizeF() - 0.5);
            metrics = QFontMetricsF(font);
        }
        if (widestOf(labels, font) > height() / 4.0) labels = withoutCounts(labels);
    }
    showColumnLabels(axis, labels, font);
}

// Qt cuts an upright label that is taller than the room its axis gets below a title and
// a legend ("17..."): once the chart is laid out, such labels lose their counts and then
// shrink until Qt draws them whole.
void ChartView::uncutColumnLabels() {
    QBarCategoryAxis* axis = columnAxis();
    if (!axis || labelsAngle_ == 0) return;
    QFont font = axis->labelsFont();
    while (columnLabelsCut(axis->categories())) {
        const QStringList shorter = withoutCounts(axis->categories());
        if (shorter == axis->categories()) {
            if (font.pointSizeF() <= kSmallestLabelPoints) return;
            font.setPointSizeF(font.pointSizeF() - 0.5);
        }
        showColumnLabels(axis, shorter, font);
        chart_->layout()->activate();
    }
}

bool ChartView::columnLabelsCut(const QStringList& labels) const {
    for (QGraphicsItem* item : view_->scene()->items()) {
        auto* text = dynamic_cast<QGraphicsTextItem*>(item);
        if (!text || !text->isVisible()) continue;
        const QString drawn = text->toPlainText();
        if (!drawn.endsWith(QStringLiteral("..."))) continue;
        const QString kept = drawn.chopped(3);
        for (const QString& label : labels)
            if (const QString shown = unescaped(label); shown.size() > kept.size() && shown.startsWith(kept)) return true;
    }
    return false;
}

QBarCategoryAxis* ChartView::columnAxis() const {
    for (QAbstractAxis* a : chart_->axes(Qt::Horizontal))
        if (auto* axis = qobject_cast<QBarCategoryAxis*>(a)) return axis;
    return nullptr;
}

void ChartView::showColumnLabels(QBarCategoryAxis* axis, const QStringList& labels, const QFont& font) {
    if (axis->categories() != labels) axis->setCategories(labels);
    axis->setLabelsAngle(labelsAngle_);
    axis->setLabelsFont(font);
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
