// Building, sizing and showing one box, and collecting its result.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "core/delimited_lists.h"
#include "core/dialog_responder.h"
#include "core/numbers.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "dialogs/box_driver.h"
#include "dialogs/button_rows.h"
#include "dialogs/control_arrays.h"
#include "dialogs/control_geometry.h"
#include "dialogs/control_layout.h"
#include "dialogs/control_spec.h"
#include "dialogs/dialog_fonts.h"
#include "dialogs/dialog_options.h"
#include "dialogs/message_text.h"
#include "dialogs/msgbox.h"
#include "dialogs/msgbox_form.h"
#include "dialogs/option_strings.h"
#include "dialogs/text_measurer.h"
#include "platform/grid/flex_grid.h"
#include "platform/ui/colours.h"
#include "platform/ui/forms.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/twips.h"
#include "window/event_guard.h"
#include "window/form_ops.h"
#include "window/grid_operations.h"
#include "window/placement.h"

using namespace dlg;

namespace {

struct StdSet {
    const char* captions;
    long esc;      // offset of the Esc button after the extra buttons; 0 none
    bool cancel;   // whether that button is the Cancel number callers compare with
};
constexpr StdSet kStdSets[] = {
    {"&OK", 1, false},          {"&OK|&Cancel", 2, true}, {"&Abort|&Retry|&Ignore", 0, false},
    {"&Yes|&No|&Cancel", 3, true}, {"&Yes|&No", 2, false},  {"&Retry|&Cancel", 2, true},
};

// A buttons value "0".."5" names a standard set.
const StdSet* stdSetOf(const std::string& buttons) {
    if (buttons.size() == 1 && buttons[0] >= '0' && buttons[0] <= '5') return &kStdSets[buttons[0] - '0'];
    return nullptr;
}

// A title bar holds one line: a caption that runs on over line breaks keeps its first
// line, without the blanks that padded it.
std::string windowCaption(std::string caption) {
    caption = caption.substr(0, caption.find_first_of("\r\n"));
    while (!caption.empty() && caption.back() == ' ') caption.pop_back();
    if (!caption.empty() && caption.front() == '-') return gProductName + " " + caption;
    if (!caption.empty()) return caption;
    if (!gProductName.empty()) return gProductName;
    return ui::fromQString(QCoreApplication::applicationName());
}

double textWidth(const QFont& font, const std::string& text) {
    return std::ceil(QFontMetricsF(font).horizontalAdvance(ui::toQString(text))) * ui::twipsPerPixelX();
}

// The box is modal to the window it was opened from. A form already unloaded (its
// deletion pending) would take the box with it.
// The window a box is modal to. With no active window (the program in the background,
// or no window manager) it is the box already up or else the main window, since a box
// without a parent would leave the menus usable and let commands run inside it.
QWidget* parentWindow() {
    auto usable = [](QWidget* w) {
        return w && w->isVisible() && !(qobject_cast<ui::Form*>(w) && !ui::isLoaded(w));
    };
    if (QWidget* active = QApplication::activeWindow(); usable(active)) return active;
    if (QWidget* modal = QApplication::activeModalWidget(); usable(modal)) return modal;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(top) && usable(top)) return top;
    return nullptr;
}

std::string rightTrim(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

QStyle::StandardPixmap iconPixmap(Icon icon) {
    switch (icon) {
    case Icon::Information: return QStyle::SP_MessageBoxInformation;
    case Icon::Exclamation: return QStyle::SP_MessageBoxWarning;
    case Icon::Question: return QStyle::SP_MessageBoxQuestion;
    default: return QStyle::SP_MessageBoxCritical;
    }
}

// The form side of the button placement.
class FormButtons : public ButtonHost {
public:
    explicit FormButtons(Msgbxform* form) : form_(form) {}
    double patternWidth() const override { return twRect(form_->fButton[0]).width(); }
    double patternHeight() const override { return twRect(form_->fButton[0]).height(); }
    double scaleHeight() const override { return form_->ScaleHeight(); }
    double frameWidth() const override { return form_->Width() - form_->ScaleWidth(); }
    void placeButton(const PlacedButton& b) override {
        const int m = static_cast<int>(b.number);
        auto* button = static_cast<QPushButton*>(form_->fButton.exists(m) ? form_->fButton[m] : form_->fButton.load(m));
        setTwRect(button, QRectF(b.left, b.top, b.width, b.height));
        setCaption(button, b.caption);
        button->setVisible(true);
        if (b.cancel) form_->setCancelButton(button);
        if (b.isDefault) button->setDefault(true);
        QFont font = button->font();
        font.setBold(b.style.bold);
        font.setItalic(b.style.italic);
        font.setUnderline(b.style.underline);
        button->setFont(font);
    }
    void hidePattern() override { form_->fButton[0]->hide(); }

private:
    Msgbxform* form_;
};

struct Call {
    const std::string& message;
    const std::string& buttons;
    const std::string& options;
    const std::string& caption;
    core::StrArray& entries;
    core::StrArray& values;
    core::Table2D& rows;
    std::string& state;
    Msgbxform*& form;
};

class Pass {
public:
    Pass(Call& call, MBButtspec& spec, double workW, double workH, bool rebuildPass)
        : c_(call), spec_(spec), workW_(workW), workH_(workH), rebuildPass_(rebuildPass) {}

    // The result; `rebuild` when the box must be built again.
    int run(bool& rebuild);

private:
    void build();
    void widthStep(double iconW, double buttonW, long buttonCount);
    void widen(double minWidth);
    void heightStep();
    void validationPanel();
    void initialFocus();
    QWidget* firstTextEntry();
    void show();
    int collect();
    void copyBack(long i);
    std::string gridSelection(grid::FlexGrid* g, const MB_CtlSpec& spec, int member);

    Call& c_;
    MBButtspec& spec_;
    double workW_, workH_;
    bool rebuildPass_;
    Msgbxform* form_ = nullptr;
    MBLayoutRec layout_;
    DialogOptions options_;
    std::array<int, 15> owners_{};
    core::StrArray captions_;
    bool iconShown_ = false;
    bool tooTall_ = false;
};

int Pass::run(bool& rebuild) {
    build();
    tooTall_ = !spec_.WontFit && form_->Height() > workH_ && form_->Width() < workW_ && spec_.FixedWidth < workW_;
    if (tooTall_) {
        spec_.FixedWidth = workW_;
        spec_.WidthForced = true;
    } else {
        if ((options_.noHide && options_.noHideUnloadOthers) || rebuildPass_) MB_UnloadStray(ui::tag(form_));
        form_->dInxCancel = gMBCancelNo;
        if (!options_.noShow) show();
        gMBForm = form_;
        gMBCancelNo = form_->dInxCancel;
        if (options_.noHide && options_.noHideUnloadOthers) FRMS_EnableAll(form_, false, true);
        MSE_DoEvents();
    }
    const int result = collect();
    rebuild = tooTall_ || result == -1;
    return result;
}

void Pass::build() {
    // Per-pass starts.
    const bool extras = c_.entries.ubound() >= 1;
    spec_.TopGap = extras ? 120 : 240;
    spec_.LeftX = spec_.Margin;
    spec_.MaxBpl = 99;
    spec_.DfltButton = 1;
    spec_.WontFit = false;
    layout_.Show = true;

    form_ = new Msgbxform(parentWindow());
    c_.form = form_;
    gMBForm = form_;
    const MB_FontRec base = MB_FontOf(form_->fSzCtl);
    const long extraButtons = MB_CountButtons(c_.entries, c_.values);

    form_->setWindowTitle(ui::toQString(windowCaption(c_.caption)));
    const StdSet* set = stdSetOf(c_.buttons);
    const std::string captions = set ? set->captions : c_.buttons;
    QLabel* msg = form_->fMsg;
    const double oneLineH = QFontMetricsF(msg->font()).height() * ui::twipsPerPixelY();
    setTwHeight(msg, oneLineH);

    options_ = parseOptions(c_.options);
    // Esc and the close box press the set's Cancel, or the way out among the caller's
    // own captions.
    long wayOut = set && set->esc ? extraButtons + set->esc : 0;
    if (!set) {
        core::StrArray own;
        CHUNKS_Split(captions, own, 1);
        if (const long way = dlg::wayOutButton(own)) wayOut = extraButtons + way;
    }
    spec_.EscButton = wayOut;
    if (set && set->cancel) gMBCancelNo = static_cast<int>(extraButtons + set->esc);
    applyOptions(options_, spec_);
    // "Esc=-1" is how the list wrappers say they have no Cancel of their own; only
    // "Esc=0" leaves a box that Esc cannot close.
    if (spec_.EscButton < 0) spec_.EscButton = wayOut;
    if (options_.escButton) gMBCancelNo = static_cast<int>(*options_.escButton);
    form_->dOptions += options_.formOptions;
    ui::setTag(form_->fOptions_IN, ui::tag(form_->fOptions_IN) + options_.optionsInTag);
    layout_.Show = !options_.noShow;
    if (options_.icon != Icon::None) {
        form_->fIcon->setPixmap(form_->style()->standardPixmap(iconPixmap(options_.icon)));
        form_->fIcon->setScaledContents(true);
        form_->fIcon->setVisible(true);
        iconShown_ = true;
    }
    if (options_.textBold || options_.textSize || options_.textFont) {
        QFont font = msg->font();
        if (options_.textBold) font.setBold(true);
        if (options_.textSize && *options_.textSize > 0) font.setPointSizeF(*options_.textSize);
        if (options_.textFont) font.setFamily(ui::toQString(*options_.textFont));
        msg->setFont(font);
    }

    const QRectF icon = twRect(form_->fIcon);
    const double iconW = icon.width() + 120;
    if (options_.controlsUnderMsg) layout_.CtlLeft = icon.left() + iconW;
    if (spec_.FixedWidth != 0) form_->setWidth(spec_.FixedWidth);

    double buttonW = 0;
    MB_MeasureCaptions(QtTextMeasurer(form_->fSzCtl->font()), spec_, captions, false, captions_, buttonW);
    buttonW += spec_.WidthPad;
    setTwWidth(form_->fButton[0], buttonW);
    if (spec_.FixedWidth == 0) widthStep(iconW, buttonW, captions_.count());
    layout_.FormW = form_->Width();

    const double labelLeft = twRect(msg).left();
    setTwWidth(msg, form_->Width() - 2 * labelLeft);
    if (iconShown_) {
        setTwLeft(msg, icon.left() + iconW);
        setTwWidth(msg, twRect(msg).width() - iconW);
        if (options_.buttonsNextToIcon) spec_.LeftX = twRect(msg).left();
    }
    // Line breaks after the last line would only leave empty room above the controls.
    const std::string message = c_.message.substr(0, c_.message.find_last_not_of("\r\n") + 1);
    const std::string text = messageCaption(message);
    setAutoSize(msg, true, true);
    setCaption(msg, text);
    if (twRect(msg).height() <= oneLineH) setAutoSize(msg, true, false);
    if (iconShown_ && twRect(msg).height() < icon.height()) spec_.TopGap += icon.height() - twRect(msg).height();
    if (twRect(msg).right() > form_->Width()) {
        MB_MsgTextSet(form_, text, form_->Width() - 2 * labelLeft);
        fitLabel(msg);
    }
    if (message.empty()) {
        msg->hide();
        layout_.NextTop = twRect(msg).top() - 60;
    } else {
        layout_.NextTop = twRect(msg).bottom();
    }
    if (options_.top) {
        form_->setTop(*options_.top);
        form_->setLeft(*options_.left);
    }

    FormButtons host(form_);
    auto placeMain = [&] { MB_PlaceButtons(host, layout_, spec_, captions_); };
    const MB_WidthRequest wanted =
        MB_LayoutControls(form_, base, layout_, spec_, workW_, owners_, form_->entryMap, captions_, c_.entries,
                          c_.values, c_.rows, 1, 0, placeMain);
    form_->member0Owners = owners_;
    if (wanted.tooWide) {
        spec_.WontFit = true;
        layout_.FormW = wanted.wantedWidth;
    }
    form_->setWidth(layout_.FormW);
    form_->fButton[0]->hide();
    setWidthFitting(msg, std::max(twRect(msg).width(), layout_.FormW - 2 * twRect(msg).left()));

    if (!spec_.ButtsPlaced) {
        if (captions_.count() == 0) {
            layout_.NextTop += spec_.TopGap + std::max(120.0, spec_.LineGap);
        } else {
            layout_.NextTop += spec_.TopGap;
            if (spec_.AtBottom) heightStep();
            placeMain();
        }
    }
    heightStep();
    if (!iconShown_) {
        setAutoSize(msg, false, msg->wordWrap());
        const double room = form_->Width() - 2 * twRect(msg).left();
        if (twRect(msg).width() > room) setTwWidth(msg, room - 30);
    }
    if (!options_.noHideText.empty()) validationPanel();
    if (!options_.top) {
        POS_FormPlace(form_);
        form_->syncPosition();
    }
    if (options_.backColor) FRMS_BackColorAll(form_, *options_.backColor);
    if (options_.foreColor) FRMS_ForeColorAll(form_, *options_.foreColor);
    initialFocus();
}

void Pass::widthStep(double iconW, double buttonW, long buttonCount) {
    const QFont font = form_->fMsg->font();
    const double labelLeft = twRect(form_->fMsg).left();
    core::StrArray lines;
    CHUNKS_SplitEx(TXT_Replace(c_.message, "\n", "\r", true), "\r", kChunksNoExclusion, lines, 0);
    if (!options_.defaultMinWidth) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double screenW = screen ? screen->geometry().width() * ui::twipsPerPixelX() : workW_;
        form_->setWidth(screenW * 2 / 3);
        double needed = 0;
        for (const std::string& line : lines.items())
            needed = std::max(needed, textWidth(font, displayCaption(messageCaption(rightTrim(line)))) + 2 * labelLeft + 120);
        if (iconShown_) needed += iconW;
        const long n = std::min(spec_.MaxBpl, buttonCount);
        // The row's margins are inside the window frame.
        needed = std::max(needed, n * (buttonW + spec_.ButtGap) - spec_.ButtGap + 2 * spec_.Margin + spec_.LeftX +
                                      form_->Width() - form_->ScaleWidth());
        if (form_->Width() > needed) form_->setWidth(needed);
    } else {
        form_->setWidth(*options_.defaultMinWidth);
    }
    layout_.FormW = form_->Width();

    double minWidth = 0;
    core::StrArray words;
    CHUNKS_SplitEx(TXT_Replace(c_.message, "\r", " ", true), " ", kChunksNoExclusion, words, 0);
    for (const std::string& word : words.items())
        minWidth = std::max(minWidth, textWidth(font, displayCaption(messageCaption(word))) + 2 * labelLeft + 120);
    if (iconShown_) minWidth += iconW;
    widen(minWidth);

    // Extra controls that ask for a width of their own.
    const MB_FontRec base = MB_FontOf(form_->fSzCtl);
    QRectF prev;
    MB_RowState row;
    for (long i = 1; i <= c_.entries.ubound(); ++i) {
        core::StrArray fields;
        const std::string type = MB_EntryType(c_.entries[i], fields);
        const MB_CtlSpec spec = MB_CtlSpec::parse(c_.entries[i]);
        QWidget* measured = nullptr;
        if (type == kTypeListBox || type == kTypeComboBox || type == kTypeGrid || type == kTypeTextBox) {
            measured = form_->fListBox[0];
            setTwLeft(measured, layout_.CtlLeft);
            if (!spec.isEmpty(kSfWidth)) {
                double w = spec.number(kSfWidth);
                if (measured->font().pointSizeF() != base.FontSize && base.FontSize / 8 > 1.2) w *= base.FontSize / 8;
                setTwWidth(measured, w);
            }
        } else if (type == kTypeOptionButton || type == kTypeCheckBox) {
            measured = type == kTypeOptionButton ? form_->fOption[0] : form_->fCheck[0];
            setTwLeft(measured, layout_.CtlLeft);
            MB_CtlFontApply(measured, fields, base);
            measured->setProperty("caption", QByteArray::fromStdString(rightTrim(spec.text(kSfWidth))));
            MB_FitWidthToText(form_, measured, 300, layout_.CtlLeft);
        }
        if (!measured) continue;
        widen(2 * twRect(measured).left() + twRect(measured).width());
        if (i > 1 && spec.sameRow && row.prev) {
            // The row's width, measured as the layout will place it.
            double rowWidth = 0;
            MBLayoutRec probe = layout_;
            MB_RowState r = row;
            r.counter = 0;
            QRectF saved = twRect(measured);
            MB_RowPlaceCtl(form_, probe, fields[0], r, measured, i, c_.entries, c_.values, rowWidth, base);
            setTwRect(measured, saved);
            setTwRect(row.prev, prev);
            widen(2 * layout_.CtlLeft + rowWidth);
        }
        prev = twRect(measured);
        row.prev = measured;
        row.prevRect = prev;
    }
    for (QWidget* w : {form_->fOption[0], form_->fCheck[0], form_->fLabel[0]}) w->setProperty("caption", QByteArray());
}

void Pass::widen(double minWidth) {
    if (spec_.FixedWidth == 0 && minWidth > form_->Width()) form_->setWidth(std::min(workW_, minWidth));
    layout_.FormW = form_->Width();
}

void Pass::heightStep() {
    const double frame = form_->Height() - form_->ScaleHeight();
    if (options_.fixedHeight && options_.fixedHeightExact) form_->setHeight(*options_.fixedHeight);
    else form_->setHeight(std::max(options_.fixedHeight.value_or(0), layout_.NextTop + frame));
    if (options_.minHt > 0 && form_->Height() < options_.minHt) form_->setHeight(options_.minHt);
}

void Pass::validationPanel() {
    QFrame* panel = form_->fValiPic;
    const double w = form_->ScaleWidth() / 2;
    double h = form_->ScaleHeight() / 2;
    auto* label = static_cast<QLabel*>(form_->fValiLabel[0]);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    setTwWidth(label, w - 240);
    setAutoSize(label, true, true);
    setCaption(label, messageCaption(options_.noHideText));
    const double labelH = twRect(label).height();
    const double buttonH = twRect(form_->fButton[0]).height();
    // The panel holds its whole text above its button, growing the box when the box is
    // too low for it: a cut text, or a button drawn over it, would hide the problem.
    h = std::max(std::min(h, 2 * labelH + 450), labelH + buttonH + 3 * 120.0);
    if (h + 240 > form_->ScaleHeight()) form_->setHeight(form_->Height() + h + 240 - form_->ScaleHeight());
    setTwRect(panel, QRectF((form_->ScaleWidth() - w) / 2, (form_->ScaleHeight() - h) / 2, w, h));
    setTwLeft(label, (w - twRect(label).width()) / 2);
    setTwTop(label, (h - labelH - 120 - buttonH) / 2);
    label->setVisible(true);
    QPushButton* ok = form_->fValiButton;
    setTwRect(ok, QRectF((w - 1215) / 2, h - 120 - buttonH, 1215, buttonH));
    ok->setVisible(true);
    ok->setDefault(true);
    panel->setVisible(true);
    panel->raise();
    ui::setTag(ok, std::to_string(spec_.EscButton) + "|" + std::to_string(spec_.DfltButton) + "|" +
                       (layout_.FocusSet ? "True" : "False"));
    if (layout_.FocusSet) gMBValiFocusCtl = gMBFocusCtl;
    layout_.FocusSet = false;
    spec_.DfltButton = -1;
    ok->setFocus();
}

// Qt gives the focus on showing to the widget chosen before.
void Pass::initialFocus() {
    if (!layout_.Show) return;
    if (layout_.FocusSet && gMBFocusCtl) {
        gMBFocusCtl->setFocus();
        return;
    }
    // A box that asks for text opens in its first entry, unless a button is named for
    // the focus: a letter typed on a button would press the button it is a key of.
    const bool focBut = options_.focBut >= 1 && options_.focBut <= spec_.LastButton;
    if (!focBut && !form_->fValiPic->isVisibleTo(form_)) {
        if (QWidget* entry = firstTextEntry()) {
            entry->setFocus();
            return;
        }
    }
    const long b = initialFocusButton(options_.focBut, spec_.DfltButton, spec_.LastButton);
    if (b >= 1 && form_->fButton.exists(static_cast<int>(b))) form_->fButton[static_cast<int>(b)]->setFocus();
}

QWidget* Pass::firstTextEntry() {
    for (long i = 1; i <= form_->entryMap.ubound(); ++i) {
        QWidget* w = form_->entryControl(i);
        if (!w || !w->isVisibleTo(form_) || !w->isEnabled()) continue;
        auto* combo = qobject_cast<QComboBox*>(w);
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || (combo && combo->isEditable())) return w;
    }
    return nullptr;
}

void Pass::show() {
    form_->clearResultWritten();
    core::DlgResponder* responder = core::dialogResponder();
    if (!responder) {
        form_->shownNested = gInModalShow;
        // Modal to its parent window only, so the help window stays usable.
        form_->setWindowModality(Qt::WindowModal);
        MSE_ShowModal(form_);
        form_->setWindowModality(Qt::NonModal);
        if (form_->resultWritten() && options_.noHide && !form_->shownNested) form_->show();
        return;
    }
    const core::DlgView view = boxView(form_, c_.message, options_.noHideText, c_.entries, c_.values);
    BoxDriver driver(form_, c_.entries);
    // The flags a modal show keeps, so that the box's handlers behave as when shown.
    form_->shownNested = gInModalShow;
    gModalWasNested = gInModalShow;
    const bool wasModal = gInModalShow;
    gInModalShow = true;
    try {
        responder->respond(view, driver);
    } catch (...) {
        gInModalShow = wasModal;
        throw;
    }
    gInModalShow = wasModal;
    if (!form_->resultWritten())
        throw core::UnexpectedDialog("the box \"" + view.caption + "\" was left unanswered: " + c_.message);
}

int Pass::collect() {
    c_.values.set(0, ui::tag(form_->fLastData_OUT));
    CHUNKS_Set(1, c_.state, "False");
    CHUNKS_Set(2, c_.state, plainNumber(form_->Width()));
    CHUNKS_Set(3, c_.state, plainNumber(form_->Height()));
    CHUNKS_Set(4, c_.state, ui::tag(form_->fLastData_OUT));
    const int result = core::vbCInt(TXT_Val(ui::fromQString(form_->fLastData_OUT->text())));
    for (long i = 1; i <= c_.entries.ubound(); ++i) copyBack(i);
    if (ui::tag(form_->fOptions_IN).find("NoHide") == std::string::npos) {
        ui::unloadForm(form_);
        c_.form = nullptr;
        if (gMBForm == form_) gMBForm = nullptr;
    }
    return result;
}

void Pass::copyBack(long i) {
    core::StrArray fields;
    const std::string type = MB_EntryType(c_.entries[i], fields);
    const MB_CtlSpec spec = MB_CtlSpec::parse(c_.entries[i]);
    if (i > form_->entryMap.ubound() || form_->entryMap[i].empty()) return;
    ui::ControlArray* array = form_->arrayOfKind(static_cast<int>(CHUNKS_GetNum(1, form_->entryMap[i])));
    const int member = static_cast<int>(CHUNKS_GetNum(2, form_->entryMap[i]));
    if (!array || !array->exists(member)) return;
    QWidget* w = (*array)[member];
    if (type == kTypeTextBox) {
        if (auto* multi = qobject_cast<QPlainTextEdit*>(w))
            c_.values.set(i, TXT_Replace(ui::fromQString(multi->toPlainText()), "\n", "\r\n", true));
        else c_.values.set(i, ui::fromQString(static_cast<QLineEdit*>(w)->text()));
    } else if (type == kTypeOptionButton) {
        c_.values.set(i, static_cast<QRadioButton*>(w)->isChecked() ? "True" : "False");
    } else if (type == kTypeCheckBox) {
        const Qt::CheckState s = static_cast<QCheckBox*>(w)->checkState();
        c_.values.set(i, s == Qt::Checked ? "1" : s == Qt::PartiallyChecked ? "2" : "0");
    } else if (type == kTypeComboBox) {
        auto* combo = static_cast<QComboBox*>(w);
        c_.rows.set(i, 0, std::to_string(combo->currentIndex()) + "|" + ui::fromQString(combo->currentText()));
    } else if (type == kTypeListBox) {
        auto* list = static_cast<QListWidget*>(w);
        // Item numbers only where the fill gave them (count from 1).
        const bool itemData = spec.flag(kSfCountFrom1);
        auto valueOf = [&](int row) -> long {
            return itemData ? list->item(row)->data(Qt::UserRole).toLongLong() : row;
        };
        std::vector<int> selected;
        for (int r = 0; r < list->count(); ++r)
            if (list->item(r)->isSelected()) selected.push_back(r);
        if (list->selectionMode() == QAbstractItemView::SingleSelection) {
            c_.rows.set(i, 0, selected.empty() ? -1L : valueOf(selected.front()));
        } else {
            std::string joined;
            for (int r : selected) joined += (joined.empty() ? "" : "|") + std::to_string(valueOf(r));
            c_.rows.set(i, 0, joined.empty() ? std::string("-1") : joined);
        }
    } else if (type == kTypeGrid) {
        c_.rows.set(i, 0, gridSelection(static_cast<grid::FlexGrid*>(w), spec, member));
    }
}

std::string Pass::gridSelection(grid::FlexGrid* g, const MB_CtlSpec& spec, int member) {
    long firstRow = 0, lastRow = 0, firstCol = 0, lastCol = 0;
    GRID_SelRowRange(*g, firstRow, lastRow);
    GRID_SelColRange(*g, firstCol, lastCol);
    // Grids that sort on a header double-click also report the sorted columns and
    // every selected row's item number.
    const bool sortable = spec.flag(kSfSkipBlank);
    const std::string sortCols = form_->gridSortCols.count(member) ? form_->gridSortCols[member] : std::string();
    std::string out = GRDFLX_CellText(*g, g->Row(), 0) + "|" + std::to_string(g->Col() - 1) + "|";
    out += (sortable ? CHUNKS_Get(1, sortCols) : GRDFLX_CellText(*g, firstRow, 0)) + "|";
    out += std::to_string(firstCol - 1) + "|";
    out += (sortable ? CHUNKS_Get(2, sortCols) : GRDFLX_CellText(*g, lastRow, 0)) + "|";
    out += std::to_string(lastCol - 1) + "|" + GRDFLX_CellText(*g, g->TopRow(), 0) + "|" + std::to_string(g->LeftCol());
    if (sortable)
        for (long r = firstRow; r <= lastRow; ++r) out += "|" + GRDFLX_CellText(*g, r, 0);
    return out;
}

}  // namespace

int MB_Show(const std::string& message, const std::string& buttons, const std::string& options,
            const std::string& caption, core::StrArray& entries, core::StrArray& values, core::Table2D& rows,
            std::string& state, Msgbxform*& form) {
    gMBCancelNo = -99;
    double workW = 0, workH = 0;
    ACTIVAT_GetWorkArea(workW, workH, kUnitsTwips);
    MBButtspec spec;
    Call call{message, buttons, options, caption, entries, values, rows, state, form};
    bool rebuild = false;
    bool rebuildPass = false;
    for (;;) {
        const int result = Pass(call, spec, workW, workH, rebuildPass).run(rebuild);
        if (!rebuild) return result;
        rebuildPass = true;
    }
}

int MB_Show(const std::string& message, const std::string& buttons, const std::string& options,
            const std::string& caption, MB_CtlEntry& controls, std::string& state, Msgbxform*& form) {
    if (!controls.values.hasBounds()) controls.values.redim(0, 0);
    if (!controls.rows.hasBounds()) controls.rows.redim(0, 0, 0, 0);
    return MB_Show(message, buttons, options, caption, controls.entries, controls.values, controls.rows, state, form);
}

void MB_UnloadStray(const std::string& keepTag) {
    for (QWidget* f : ui::loadedForms()) {
        const std::string tag = ui::tag(f);
        if (CHUNKS_Get(1, tag) != "MsgBxForm" || (!keepTag.empty() && tag == keepTag)) continue;
        if (gMBForm == f) gMBForm = nullptr;
        ui::unloadForm(f);
    }
}
