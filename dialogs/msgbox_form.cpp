#include "dialogs/msgbox_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTime>
#include <exception>

#include "core/delimited_lists.h"
#include "core/dialog_responder.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/shell_hooks.h"
#include "core/stored_text.h"
#include "dialogs/box_keys.h"
#include "dialogs/control_arrays.h"
#include "dialogs/control_geometry.h"
#include "dialogs/enabling_rules.h"
#include "dialogs/grid_save_dialog.h"
#include "dialogs/show_item_dialog.h"
#include "platform/grid/flex_grid.h"
#include "platform/ui/keys.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/twips.h"
#include "window/control_keys.h"
#include "window/event_guard.h"
#include "window/form_ops.h"
#include "window/grid_operations.h"
#include "window/list_keys.h"

namespace {

// Two boxes built within one timer tick still get different Tags.
long gFormSerial = 0;

std::string timerText() {
    const QTime now = QTime::currentTime();
    return core::vbStr(static_cast<float>(now.msecsSinceStartOfDay() / 1000.0));
}

// The design font: the platform's sans-serif family at 8 points.
QFont designFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(8);
    return font;
}

template <class W>
ui::ControlArray::Factory factory(std::function<void(W*)> setUp = {}) {
    return [setUp](QWidget* parent) -> QWidget* {
        auto* w = new W(parent);
        if (setUp) setUp(w);
        return w;
    };
}

// The mouse button as VB numbers it: 1 left, 2 right, 4 middle.
int vbButton(Qt::MouseButton b) { return b == Qt::LeftButton ? 1 : b == Qt::RightButton ? 2 : b == Qt::MiddleButton ? 4 : 0; }

// Messages quote log lines, file names and INI values: a "<" in them is text, never
// the start of markup.
void plainLabel(QLabel* label) { label->setTextFormat(Qt::PlainText); }

QLabel* hiddenLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    plainLabel(label);
    label->setObjectName(name);
    label->hide();
    return label;
}

}  // namespace

Msgbxform::Msgbxform(QWidget* parent)
    : ui::Form(parent),
      fButton(this, "fButton", "CommandButton", factory<QPushButton>([this](QPushButton* b) {
                  b->setText("OK");
                  b->setToolTip("Press F1 for help");
                  connect(b, &QPushButton::clicked, this, [this, b] { fButton_Click(ui::controlIndex(b)); });
              })),
      fTextBox(this, "fTextBox", "TextBox", factory<QLineEdit>([](QLineEdit* t) { t->setText("Text1"); })),
      fTextBoxM(this, "fTextBoxM", "TextBox",
                factory<QPlainTextEdit>([](QPlainTextEdit* t) { t->setPlainText("Text1"); })),
      fCheck(this, "fCheck", "CheckBox", factory<dlg::TwoWayCheckBox>([this](QCheckBox* c) {
                 c->setText("Check1");
                 connect(c, &QCheckBox::clicked, this, [this, c] { fCheck_Click(ui::controlIndex(c)); });
             })),
      fOption(this, "fOption", "OptionButton", factory<QRadioButton>([this](QRadioButton* o) {
                  o->setText("Option1");
                  connect(o, &QRadioButton::clicked, this, [this, o] { fOption_Click(ui::controlIndex(o)); });
              })),
      fListBox(this, "fListBox", "ListBox", factory<QListWidget>([this](QListWidget* l) { wireList(l); })),
      fLBMulti1(this, "fLBMulti1", "ListBox", factory<QListWidget>([this](QListWidget* l) {
                    l->setSelectionMode(QAbstractItemView::MultiSelection);
                    wireList(l);
                })),
      fLBMulti2(this, "fLBMulti2", "ListBox", factory<QListWidget>([this](QListWidget* l) {
                    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
                    wireList(l);
                })),
      fComboBox(this, "fComboBox", "ComboBox", factory<QComboBox>()),
      fComboBoxstyle0(this, "fComboBoxstyle0", "ComboBox",
                      factory<QComboBox>([](QComboBox* c) { c->setEditable(true); })),
      fGrid(this, "fGrid", "MSFlexGrid", factory<grid::FlexGrid>([this](grid::FlexGrid* g) {
                g->setRows(2);
                connect(g, &grid::FlexGrid::mouseDown, this,
                        [this, g](Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
                            fGrid_MouseDown(ui::controlIndex(g), vbButton(b), ui::vbShift(m), x, y);
                        });
                connect(g, &grid::FlexGrid::dblClick, this, [this, g] { fGrid_DblClick(ui::controlIndex(g)); });
            })),
      fLabel(this, "fLabel", "Label", factory<QLabel>(plainLabel)),
      fLine(this, "fLine", "Line", factory<dlg::LineControl>()),
      fShape(this, "fShape", "Shape", factory<dlg::ShapeControl>()),
      fImage(this, "fImage", "Image", factory<QLabel>([](QLabel* l) {
                 plainLabel(l);
                 l->setScaledContents(true);
             })),
      fValiLabel(this, "fValiLabel", "Label", factory<QLabel>(plainLabel)) {
    setFont(designFont());

    fMsg = new QLabel(this);
    plainLabel(fMsg);
    fMsg->setObjectName("fMsg");
    ui::setVbType(fMsg, "Label");
    dlg::setTwRect(fMsg, QRectF(120, 120, 1215, 195));
    fIcon = new QLabel(this);
    plainLabel(fIcon);
    fIcon->setObjectName("fIcon");
    ui::setVbType(fIcon, "PictureBox");
    dlg::setTwRect(fIcon, QRectF(120, 120, 480, 480));
    fIcon->hide();
    fSzCtl = hiddenLabel(this, "fSzCtl");
    ui::setVbType(fSzCtl, "Label");

    fValiPic = new QFrame(this);
    fValiPic->setObjectName("fValiPic");
    fValiPic->setFrameShape(QFrame::Box);
    fValiPic->setAutoFillBackground(true);
    fValiPic->hide();
    // The panel's label sits in the panel, as its design has it.
    fValiLabel[0]->setParent(fValiPic);
    fValiButton = new QPushButton("OK", fValiPic);
    fValiButton->setObjectName("fValiButton");
    connect(fValiButton, &QPushButton::clicked, this, [this] { fValiButton_Click(); });

    fInvisibleFramex = new QFrame(this);
    fInvisibleFramex->setObjectName("fInvisibleFramex");
    fInvisibleFramex->hide();
    fOptions_IN = hiddenLabel(fInvisibleFramex, "fOptions_IN");
    fLastData_OUT = hiddenLabel(fInvisibleFramex, "fLastData_OUT");

    dlg::setTwRect(fButton[0], QRectF(120, 600, 1215, 375));
    for (ui::ControlArray* a : {&fTextBox, &fTextBoxM, &fListBox, &fLBMulti1, &fLBMulti2, &fComboBox,
                                &fComboBoxstyle0, &fGrid, &fLabel})
        dlg::setTwRect((*a)[0], QRectF(120, 600, 1215, 285));
    for (ui::ControlArray* a : {&fCheck, &fOption}) dlg::setTwRect((*a)[0], QRectF(120, 600, 0, 285));

    setKeyDownHandler([this](int& keyCode, int shift) {
        int s = shift;
        Form_KeyDown(keyCode, s);
    });
    qApp->installEventFilter(this);
    Form_Load();
}

Msgbxform::~Msgbxform() = default;

void Msgbxform::wireList(QListWidget* list) {
    // Mouse-downs on the list's viewport reach the form's event filter.
    connect(list, &QListWidget::itemClicked, this, [this, list] { fListBox_Click(list); });
    connect(list, &QListWidget::itemDoubleClicked, this, [this, list] { fListBox_DblClick(list); });
}

void Msgbxform::RememberMouseDown(int shift, double y) {
    dMouseDownShift = shift;
    dMouseDownY = y;
}

void Msgbxform::fGrid_MouseDown(int, int, int shift, double, double y) {
    handler("fGrid_MouseDown", [&] { RememberMouseDown(shift, y); });
}

void Msgbxform::fListBox_MouseDown(QWidget*, int, int shift, double, double y) {
    handler("fListBox_MouseDown", [&] { RememberMouseDown(shift, y); });
}

void Msgbxform::fListBox_Click(QWidget* list) {
    handler("fListBox_Click", [&] { MBX_ShowItemClick(this, list); });
}

ui::ControlArray* Msgbxform::arrayOfKind(int kind) {
    switch (kind) {
    case 0: return &fTextBox;
    case 1: return &fTextBoxM;
    case 2: return &fOption;
    case 3: return &fCheck;
    case 4: return &fLabel;
    case 5: return &fShape;
    case 6: return &fGrid;
    case 7: return &fComboBoxstyle0;
    case 8: return &fComboBox;
    case 9: return &fLBMulti2;
    case 10: return &fLBMulti1;
    case 11: return &fListBox;
    case 12: return &fButton;
    case 13: return &fImage;
    case 14: return &fLine;
    default: return nullptr;
    }
}

QWidget* Msgbxform::entryControl(long entry) {
    if (entry < 1 || entry > entryMap.ubound() || entryMap[entry].empty()) return nullptr;
    ui::ControlArray* array = arrayOfKind(static_cast<int>(CHUNKS_GetNum(1, entryMap[entry])));
    const int member = static_cast<int>(CHUNKS_GetNum(2, entryMap[entry]));
    return array && array->exists(member) ? (*array)[member] : nullptr;
}

void Msgbxform::setLeft(double twips) {
    left_ = twips;
    move(ui::toPixelsX(left_), ui::toPixelsY(top_));
}

void Msgbxform::setTop(double twips) {
    top_ = twips;
    move(ui::toPixelsX(left_), ui::toPixelsY(top_));
}

void Msgbxform::setWidth(double twips) {
    width_ = twips;
    resize(std::max(1, ui::toPixelsX(ScaleWidth())), std::max(1, ui::toPixelsY(ScaleHeight())));
}

void Msgbxform::setHeight(double twips) {
    height_ = twips;
    resize(std::max(1, ui::toPixelsX(ScaleWidth())), std::max(1, ui::toPixelsY(ScaleHeight())));
}

void Msgbxform::syncPosition() {
    left_ = static_cast<double>(ui::toTwipsX(pos().x()));
    top_ = static_cast<double>(ui::toTwipsY(pos().y()));
}

// Every handler reports its errors through the error handler and the box stays up;
// a box nobody expected in a test is let through, so that the test fails with it.
template <class Work>
void Msgbxform::handler(const char* procName, Work&& work) {
    std::exception_ptr unexpected;
    window::guarded(this, procName, window::Guard::RunWhileYielding, [&] {
        try {
            work();
        } catch (const core::UnexpectedDialog&) {
            unexpected = std::current_exception();
        }
    });
    if (unexpected) std::rethrow_exception(unexpected);
}

void Msgbxform::Form_Load() {
    handler("Form_Load", [this] {
        MB_FormLoadFonts(this);
        dFirstActivate = true;
        ui::setTag(this, "MsgBxForm|" + timerText() + "|" + std::to_string(++gFormSerial));
    });
}

void Msgbxform::Form_Activate() {
    handler("Form_Activate", [this] {
        if (!dFirstActivate) return;
        dFirstActivate = false;
        MB_FormFirstActivate(this, dKeyDownDone);
    });
}

void Msgbxform::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
}

void Msgbxform::fButton_Click(int index) {
    handler("fButton_Click", [this, index] { MB_FormSetResult(this, index); });
}

bool Msgbxform::Form_QueryUnload(int unloadMode) {
    if (unloadMode != 0) return true;
    handler("Form_QueryUnload", [this] {
        // While the validation panel is up its OK holds the Cancel role.
        if (!fValiPic->isHidden()) {
            fValiButton_Click();
            return;
        }
        if (cancel_ && ui::controlIndex(cancel_) >= 0) MB_FormSetResult(this, ui::controlIndex(cancel_));
    });
    return false;
}

void Msgbxform::Form_KeyDown(int& keyCode, int& shift) {
    if (keyCode == 16 || keyCode == 17 || keyCode == 18) return;
    handler("Form_Keydown", [&] { MB_FormKeyDown(this, keyCode, shift, dKeyDownDone, dKeyDownSeen); });
    // The control's own key handler runs after the form's, as with key preview.
    QWidget* focus = focusWidget();
    const int index = focus ? ui::controlIndex(focus) : -1;
    if (fGrid.exists(index) && fGrid[index] == focus) fGrid_KeyDown(index, keyCode, shift);
    if (fTextBoxM.exists(index) && fTextBoxM[index] == focus) fTextBoxM_KeyDown(index, keyCode, shift);
}

void Msgbxform::Form_KeyUp(int& keyCode, int& shift) {
    handler("Form_KeyUp", [&] { MB_FormKeyUp(this, keyCode, shift, dKeyDownDone, dKeyDownSeen); });
}

void Msgbxform::fGrid_KeyDown(int index, int keyCode, int) {
    auto* g = static_cast<grid::FlexGrid*>(fGrid[index]);
    if (keyCode == 114) handler("fGrid_KeyDown", [&] { MB_FormGridFind(this, *g); });
    if (keyCode == 113) handler("fGrid_KeyDown", [&] { GRID_SaveAsCsv(*g); });
}

void Msgbxform::fTextBoxM_KeyDown(int index, int keyCode, int) {
    if (keyCode != 114) return;
    handler("fTextBoxM_KeyDown", [&] { MB_FormTextFind(this, fTextBoxM[index]); });
}

void Msgbxform::fGrid_DblClick(int index) {
    handler("fGrid_DblClick", [&] {
        auto* g = static_cast<grid::FlexGrid*>(fGrid[index]);
        MB_FormListDblClick(this, g, dMouseDownShift, dMouseDownY <= GRID_FixedRowsHeight(*g));
    });
}

void Msgbxform::fListBox_DblClick(QWidget* list) {
    handler("fListBox_DblClick", [&] { MB_FormListDblClick(this, list, dMouseDownShift, false); });
}

void Msgbxform::fCheck_Click(int index) {
    handler("fCheck_Click", [this, index] {
        const std::string rules = CHUNKS_GetEx(index + 1, "|", "{}", dDynamicEna_CheckAcs_SWithSQC, "");
        if (rules.empty()) return;
        auto* box = static_cast<QCheckBox*>(fCheck[index]);
        MB_EnableRulesApply(this, rules, box->checkState() == Qt::Checked);
    });
}

void Msgbxform::fOption_Click(int index) {
    handler("fOption_Click", [this, index] {
        if (dDynamicEna_OptionAcs_SWithSQC.empty()) return;
        core::StrArray all;
        CHUNKS_SplitEx(dDynamicEna_OptionAcs_SWithSQC, "|", "{}", all, 1);
        for (const std::string& rules : all.items())
            if (!rules.empty()) MB_EnableRulesApply(this, rules, false);
        const std::string mine = CHUNKS_GetEx(index + 1, "|", "{}", dDynamicEna_OptionAcs_SWithSQC, "");
        if (!mine.empty())
            MB_EnableRulesApply(this, mine, static_cast<QRadioButton*>(fOption[index])->isChecked());
    });
}

void Msgbxform::fValiButton_Click() {
    handler("fValiButton_Click", [this] {
        const std::string roles = ui::tag(fValiButton);
        const long esc = static_cast<long>(CHUNKS_GetNum(1, roles));
        const long dflt = static_cast<long>(CHUNKS_GetNum(2, roles));
        fValiPic->hide();
        fValiButton->setDefault(false);
        if (esc >= 0) cancel_ = static_cast<QPushButton*>(fButton[static_cast<int>(esc)]);
        if (CHUNKS_GetIsTrue(3, roles) && gMBValiFocusCtl) gMBValiFocusCtl->setFocus();
        else if (dflt >= 0) fButton[static_cast<int>(dflt)]->setFocus();
        // After the focus has moved: the box then takes this button as its default
        // again, where Enter finds it (a button that kept its mark would not tell it).
        if (dflt >= 0) {
            auto* b = static_cast<QPushButton*>(fButton[static_cast<int>(dflt)]);
            b->setDefault(false);
            b->setDefault(true);
        }
    });
}

void Msgbxform::setResult(int number) {
    fLastData_OUT->setText(QString::number(number));
    resultWritten_ = true;
    MB_HideForm(this, ui::tag(fOptions_IN).find("NoHide") != std::string::npos);
}

void Msgbxform::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (core::gInDoEvents) return;
    Form_QueryUnload(0);
}

void Msgbxform::reject() { Form_QueryUnload(0); }

bool Msgbxform::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* list = qobject_cast<QListWidget*>(watched->parent());
        if (list && list->window() == this && watched == list->viewport()) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            fListBox_MouseDown(list, vbButton(mouse->button()), ui::vbShift(mouse->modifiers()),
                               static_cast<double>(ui::toTwipsX(mouse->position().toPoint().x())),
                               static_cast<double>(ui::toTwipsY(mouse->position().toPoint().y())));
        }
        return false;
    }
    if (event->type() != QEvent::KeyRelease || !watched->isWidgetType()) return ui::Form::eventFilter(watched, event);
    if (static_cast<QWidget*>(watched)->window() != this) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat()) return false;
    // A release reaches the focus widget and then its parents: act on it once.
    if (watched != (focusWidget() ? static_cast<QObject*>(focusWidget()) : this)) return false;
    const ui::VbKey vb = ui::vbKey(*key);
    if (vb.keyCode == 0) return false;
    int code = vb.keyCode, shift = vb.shift;
    Form_KeyUp(code, shift);
    return false;
}

void MB_FormSetResult(Msgbxform* form, int number) { form->setResult(number); }

void MB_FormLoadFonts(Msgbxform* form) {
    ui::setTag(form->fSzCtl, "Occ0 used for sizing");
    if (gMBIniFile.empty()) return;
    const std::string section = "MB formats", prefix = "MB all ";
    const std::string name = INI_Get(section, prefix + "Fontname", gMBIniFile, kIniMissingMarker);
    if (name == kIniNotFound) return;
    const double size = TXT_Val(INI_Get(section, prefix + "Size", gMBIniFile, kIniMissingDefault, "0"));
    const bool bold = SYS32_StrIsTrue(INI_Get(section, prefix + "Bold", gMBIniFile, kIniMissingDefault, "False"));
    const bool italic = SYS32_StrIsTrue(INI_Get(section, prefix + "Italic", gMBIniFile, kIniMissingDefault, "False"));
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (CHUNKS_Get(5, ui::tag(w)).find("-FIXFONT-") != std::string::npos) continue;
        QFont font = w->font();
        font.setFamily(ui::toQString(name));
        if (size > 0) font.setPointSizeF(size);
        font.setBold(bold);
        font.setItalic(italic);
        w->setFont(font);
    }
    // The form measures texts in the sizing label's font, bold.
    QFont formFont = form->fSzCtl->font();
    formFont.setBold(true);
    form->setFont(formFont);
}

void MB_FormFirstActivate(Msgbxform* form, bool& keyDownDone) {
    keyDownDone = true;
    int shift = 0;
    std::string keyText, element;
    if (KEYS_KeyForAction(core::shellHooks().currentCommand(), 0, shift, keyText, element) >= 0)
        form->setWindowTitle(form->windowTitle() + ui::toQString(" [" + keyText + "]"));
}
