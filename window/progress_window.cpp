#include "window/progress_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/program_paths.h"
#include "core/progress.h"
#include "core/stored_text.h"
#include "core/user_interface.h"
#include "platform/sys/rt_error.h"
#include "platform/ui/colours.h"
#include "platform/ui/controls.h"
#include "platform/ui/keys.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/twips.h"
#include "window/event_guard.h"
#include "window/progress_reports.h"

namespace {

using window::Guard;
using window::guarded;

constexpr const char* kWaitSwitch = "!!.Confirm req.!!.";
constexpr int kShiftCtrl = ui::kShiftMask | ui::kCtrlMask;

// The separator byte is not UTF-8 on its own: show each part and join them.
QString lineText(const std::string& bytes) {
    QString out;
    size_t start = 0;
    for (;;) {
        const size_t sep = bytes.find('\xA0', start);
        out += ui::toDisplayText(bytes.substr(start, sep - start));
        if (sep == std::string::npos) return out;
        out += QChar(0x00A0);
        start = sep + 1;
    }
}

QLabel* label(QWidget* parent, const char* name, const char* text) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setTextFormat(Qt::PlainText);  // messages name log files, whatever their names hold
    l->setObjectName(name);
    return l;
}

}  // namespace

ProgressBarPicture::ProgressBarPicture(QWidget* parent) : QWidget(parent) {
    ui::setVbType(this, "PictureBox");
}

void ProgressBarPicture::setColours(long bar, long ground) {
    bar_ = bar;
    ground_ = ground;
    update();
}

void ProgressBarPicture::paintBox(double fromTwips, double toTwips) {
    painted_ = std::max({painted_, fromTwips, toTwips});
    update();
}

void ProgressBarPicture::clear() {
    painted_ = 0;
    update();
}

double ProgressBarPicture::widthTwips() const { return ui::toTwipsX(width()); }

void ProgressBarPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), ui::toQColor(ground_, palette()));
    const int x = std::min(width(), ui::toPixelsX(painted_));
    if (x > 0) p.fillRect(QRect(0, 0, x, height()), ui::toQColor(bar_, palette()));
}

ProgressInfoform::ProgressInfoform(QWidget* parent) : ui::Form(parent) {
    setObjectName("ProgressInfoform");
    setWindowTitle("status");
    ui::setBackColor(this, ui::rgb(192, 192, 192));
    fOpinformationlabel = label(this, "fOpinformationlabel", "please wait ..........");
    fOpinformationlabel->setWordWrap(true);
    fUnitsdonelabel = label(this, "fUnitsdonelabel", "nnn units of mmm done");
    fActiondonelabel = label(this, "fActiondonelabel", "Last action completed");
    fActiondonelabel->setWordWrap(true);
    fLabel2 = label(this, "fLabel2", "Step sec.s:");
    fTimesteplabel = label(this, "fTimesteplabel", " ");
    fLabel1 = label(this, "fLabel1", "Total:");
    fTimetotallabel = label(this, "fTimetotallabel", " ");
    fOpProgressBarpicture = new ProgressBarPicture(this);
    fOpProgressBarpicture->setObjectName("fOpProgressBarpicture");
    fOpProgressBarpicture->setMinimumSize(ui::toPixelsX(2535), ui::toPixelsY(225));
    fOpProgressWordslabel = label(fOpProgressBarpicture, "fOpProgressWordslabel", " ");
    fOpProgressWordslabel->setAlignment(Qt::AlignCenter);
    fOpProgressWordslabel->installEventFilter(this);
    auto* barLayout = new QHBoxLayout(fOpProgressBarpicture);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->addWidget(fOpProgressWordslabel);
    fOK = new QPushButton("&OK", this);
    fOK->setObjectName("fOK");
    fOK->setDefault(true);
    fOK->hide();
    fCancel = new QPushButton("Sto&p", this);
    fCancel->setObjectName("fCancel");
    fCancel->setAutoDefault(false);  // Enter must never mean Stop
    fCancel->hide();

    // Each line of text has the whole width and wraps there; the seconds sit on a row
    // of their own, so that no line runs into another whatever its length.
    fUnitsdonelabel->setWordWrap(true);
    auto* grid = new QGridLayout(this);
    grid->addWidget(fOpinformationlabel, 0, 0, 1, 5);
    grid->addWidget(fUnitsdonelabel, 1, 0, 1, 5);
    grid->addWidget(fActiondonelabel, 2, 0, 1, 5);
    grid->addWidget(fLabel2, 3, 1);
    grid->addWidget(fTimesteplabel, 3, 2);
    grid->addWidget(fLabel1, 3, 3);
    grid->addWidget(fTimetotallabel, 3, 4);
    grid->addWidget(fOpProgressBarpicture, 4, 0, 1, 3);
    grid->addWidget(fOK, 4, 3);
    grid->addWidget(fCancel, 4, 4);
    grid->setColumnStretch(0, 1);
    setMinimumSize(ui::toPixelsX(7200), ui::toPixelsY(1965));

    connect(fCancel, &QPushButton::clicked, this, [this] { fCancel_Click(); });
    connect(fOK, &QPushButton::clicked, this, [this] { fOK_Click(); });
}

void ProgressInfoform::setInfoLine(const std::string& text) {
    info_ = text;
    fOpinformationlabel->setText(lineText(text));
    fitLines();
}

void ProgressInfoform::setUnitsLine(const std::string& text) {
    units_ = text;
    fUnitsdonelabel->setText(lineText(text));
    fitLines();
}

void ProgressInfoform::setActionLine(const std::string& text) {
    action_ = text;
    fActiondonelabel->setText(lineText(text));
    fitLines();
}

// A line that wraps onto more lines than before makes the window taller: the layout
// alone never grows a window for wrapped text.
void ProgressInfoform::fitLines() {
    QLayout* grid = layout();
    grid->activate();
    const int need = grid->hasHeightForWidth() ? grid->totalHeightForWidth(width()) : grid->totalSizeHint().height();
    if (need > height()) resize(width(), need);
}

void ProgressInfoform::Form_Load() {
    guarded(this, "Form_Load", Guard::SkipWhileYielding, [this] {
        setWindowTitle(ui::toQString(gProductName) + " - " + windowTitle());
    });
}

// Works while the operation yields: that is when the user needs it.
void ProgressInfoform::fCancel_Click() {
    guarded(this, "fCancel_Click", Guard::RunWhileYielding, [this] {
        if (SYS32_StrIsTrue(CHUNKS_Get(3, ui::tag(fCancel)))) {
            gPISAbort = sys::kErrUserAbort;
            return;
        }
        if (core::ui().msgBox("Abort requested. Press OK to confirm abort or Cancel to continue.",
                              "&OK|&Cancel", "", "") == 1)
            gPISAbort = sys::kErrUserAbort;
    });
}

void ProgressInfoform::fOK_Click() {
    guarded(this, "fOK_Click", Guard::SkipWhileYielding, [this] { hide(); });
}

void ProgressInfoform::fOpProgressWordslabel_MouseUp(Qt::MouseButton button, int shift) {
    guarded(this, "fOpProgressWordslabel_MouseUp", Guard::SkipWhileYielding, [&] {
        if (button != Qt::RightButton || shift != kShiftCtrl) return;
        const std::string t = ui::tag(this);
        const std::string prefix = "Progress report no: ";
        const size_t at = t.rfind(prefix);
        if (at == std::string::npos) return;
        PIS_ShowTimings(core::wholeOf<long>(TXT_Val(t.substr(at + prefix.size()))));
    });
}

// Strips exactly the switch it adds, so a message of the user's own that contains
// "!!." is never cut.
void ProgressInfoform::Form_MouseUp(Qt::MouseButton button, int shift) {
    guarded(this, "Form_MouseUp", Guard::SkipWhileYielding, [&] {
        if (button != Qt::RightButton || shift != kShiftCtrl) return;
        const std::string sw = kWaitSwitch;
        if (info_.compare(0, sw.size(), sw) == 0)
            setInfoLine(info_.substr(sw.size()));
        else
            setInfoLine(sw + info_);
    });
}

void ProgressInfoform::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (fOK->isVisible())
        fOK_Click();
    else if (fCancel->isVisible())
        fCancel_Click();
}

void ProgressInfoform::reject() {
    if (fCancel->isVisible()) fCancel->click();
}

void ProgressInfoform::mouseReleaseEvent(QMouseEvent* event) {
    Form_MouseUp(event->button(), ui::vbShift(event->modifiers()));
}

bool ProgressInfoform::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fOpProgressWordslabel && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        fOpProgressWordslabel_MouseUp(mouse->button(), ui::vbShift(mouse->modifiers()));
        return true;
    }
    return ui::Form::eventFilter(watched, event);
}
