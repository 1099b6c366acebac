#pragma once
// Twips rectangles of the dialog's controls. A control keeps the rectangle it was
// given, so reading Left or Width back gives exactly what was set (the layout does
// its arithmetic on those values); the widget itself is placed in whole pixels.
#include <QCheckBox>
#include <QRectF>
#include <QWidget>

namespace dlg {

QRectF twRect(const QWidget* w);
void setTwRect(QWidget* w, const QRectF& r);
void setTwLeft(QWidget* w, double left);
void setTwTop(QWidget* w, double top);
void setTwWidth(QWidget* w, double width);
void setTwHeight(QWidget* w, double height);

// A line or a shape drawn in the form, as the design controls of those kinds.
class LineControl : public QWidget {
public:
    explicit LineControl(QWidget* parent);
    // Form coordinates in twips; the widget covers the line's bounding box.
    void setEnds(double x1, double y1, double x2, double y2);
    int borderWidth = 1;
    int borderStyle = 1;
    long borderColor = 0;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
};

class ShapeControl : public QWidget {
public:
    explicit ShapeControl(QWidget* parent);
    int shape = 0;  // 0 rectangle, 1 square, 2 oval, 3 circle, 4 rounded rectangle, 5 rounded square

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A check box whose grey "partly" state only the program sets: a click by the user
// toggles between ticked and unticked.
class TwoWayCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }
};

}  // namespace dlg
