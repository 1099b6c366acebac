#pragma once
// The window of one open progress report. The progress service fills and updates
// it; the window adds only the user's side: Stop, the OK that releases a report
// waiting at its end, the switch that makes a report wait, and the switch that shows
// the timing table. Its close box acts as Stop (or as OK while the report waits);
// Esc presses Stop and never hides the window.
#include <QWidget>
#include <string>

#include "platform/ui/forms.h"

class QLabel;
class QPushButton;

// The bar: painted from the left up to the furthest point reached, on a ground colour.
class ProgressBarPicture : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBarPicture(QWidget* parent = nullptr);
    void setColours(long bar, long ground);
    // Paints the bar colour between two points (twips); the bar never shrinks.
    void paintBox(double fromTwips, double toTwips);
    // The whole bar in the ground colour.
    void clear();
    double paintedTwips() const { return painted_; }
    double widthTwips() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double painted_ = 0;
    long bar_ = 0x00FF00;
    long ground_ = 0xFFFFFF;
};

class ProgressInfoform : public ui::Form {
    Q_OBJECT
public:
    explicit ProgressInfoform(QWidget* parent = nullptr);

    // The lines hold bytes (the separator byte 0xA0 included); the labels show them.
    const std::string& infoLine() const { return info_; }
    void setInfoLine(const std::string& text);
    const std::string& unitsLine() const { return units_; }
    void setUnitsLine(const std::string& text);
    const std::string& actionLine() const { return action_; }
    void setActionLine(const std::string& text);

    void Form_Load();
    void fCancel_Click();
    void fOK_Click();
    void fOpProgressWordslabel_MouseUp(Qt::MouseButton button, int shift);
    void Form_MouseUp(Qt::MouseButton button, int shift);

    QLabel* fOpinformationlabel;
    QLabel* fUnitsdonelabel;
    QLabel* fActiondonelabel;
    QLabel* fLabel2;
    QLabel* fTimesteplabel;
    QLabel* fLabel1;
    QLabel* fTimetotallabel;
    ProgressBarPicture* fOpProgressBarpicture;
    QLabel* fOpProgressWordslabel;
    QPushButton* fOK;
    QPushButton* fCancel;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitLines();

    std::string info_, units_, action_;
};
