#pragma once
// The one generic dialog form. The builder loads a fresh instance per box, lays the
// caller's controls out on it, writes the options into the hidden protocol labels,
// shows it and reads the result back from fLastData_OUT. The form's own side is here:
// its fixed controls and control arrays, loading the dialog font, the result step,
// the close box, Esc, the keys that close a box and the validation panel's OK.
//
// Geometry is twips. Every control keeps the rectangle it was given (read back
// exactly, see control_geometry.h); the form keeps its outer frame, the client area
// being smaller by a fixed frame allowance.
#include <QPointer>
#include <array>
#include <map>
#include <string>

#include "core/program_paths.h"
#include "core/typed_array.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"

class QFrame;
class QLabel;
class QListWidget;
#include <QPushButton>

// The control that asked for the focus in the layout, and the one the validation
// panel gives the focus back to.
inline QPointer<QWidget> gMBFocusCtl;
inline QPointer<QWidget> gMBValiFocusCtl;

class Msgbxform : public ui::Form {
    Q_OBJECT
public:
    // Frame allowances: Width - ScaleWidth and Height - ScaleHeight.
    static constexpr double kFrameWidth = 120;
    static constexpr double kFrameHeight = 420;

    explicit Msgbxform(QWidget* parent = nullptr);
    ~Msgbxform() override;

    // Fixed controls.
    QLabel* fMsg;
    QLabel* fIcon;
    QLabel* fSzCtl;  // hidden; measures texts in the dialog font
    QFrame* fValiPic;
    QPushButton* fValiButton;
    QFrame* fInvisibleFramex;
    QLabel* fOptions_IN;    // its Tag carries option items to the handlers
    QLabel* fLastData_OUT;  // its Caption the result, its Tag the last key record

    // Control arrays; member 0 of each is the hidden design-time control.
    ui::ControlArray fButton, fTextBox, fTextBoxM, fCheck, fOption, fListBox, fLBMulti1,
        fLBMulti2, fComboBox, fComboBoxstyle0, fGrid, fLabel, fLine, fShape, fImage, fValiLabel;

    // Public form variables.
    std::string dOptions;
    int dInxCancel = 0;
    int dLastKeyCode_B4IntrprtKeyPadKeys = 0;
    int dLastShift_B4IntrprtKeyPadKeys = 0;
    std::string dDynamicEna_CheckAcs_SWithSQC;
    std::string dDynamicEna_OptionAcs_SWithSQC;
    std::string dGridFindText;
    // Shift and Y (twips) of the last mouse-down on a list or grid.
    int dMouseDownShift = 0;
    double dMouseDownY = 0;

    // What the layout left for the copy-back and the driver: the entry map ("kind|member"
    // per entry) and the member-0 owners by kind code.
    core::StrArray entryMap;
    std::array<int, 15> member0Owners{};
    // Col|ColSel of the last header sort of each grid member.
    std::map<int, std::string> gridSortCols;

    // The array of a kind code (0-14, 12 buttons), or nullptr.
    ui::ControlArray* arrayOfKind(int kind);
    // The control of an entry (from 1) by the entry map, or nullptr.
    QWidget* entryControl(long entry);

    // Outer frame in twips.
    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    double ScaleWidth() const { return width_ - kFrameWidth; }
    double ScaleHeight() const { return height_ - kFrameHeight; }
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);
    // Reads Left and Top back after the window was moved by other code.
    void syncPosition();

    // Handlers (each routes its errors to the error handler).
    void Form_Load();
    void Form_Activate();
    void fButton_Click(int index);
    // UnloadMode 0 is the close box; true when the form may unload.
    bool Form_QueryUnload(int unloadMode);
    void Form_KeyDown(int& keyCode, int& shift);
    void Form_KeyUp(int& keyCode, int& shift);
    void fCheck_Click(int index);
    void fOption_Click(int index);
    void fValiButton_Click();
    void fGrid_KeyDown(int index, int keyCode, int shift);
    void fTextBoxM_KeyDown(int index, int keyCode, int shift);
    void fGrid_DblClick(int index);
    void fListBox_DblClick(QWidget* list);
    // Any list of the box (fListBox, fLBMulti1, fLBMulti2): its single click.
    void fListBox_Click(QWidget* list);
    // Mouse-downs on a grid or list: Shift and Y (twips, control coordinates) are kept
    // for the click or double-click that follows.
    void fGrid_MouseDown(int index, int button, int shift, double x, double y);
    void fListBox_MouseDown(QWidget* list, int button, int shift, double x, double y);

    // The result step: the number into fLastData_OUT, then hide (or hide and show again
    // under "NoHide").
    void setResult(int number);
    // Whether a result step ran since the box was shown.
    bool resultWritten() const { return resultWritten_; }
    void clearResultWritten() { resultWritten_ = false; }

    // Whether the box's modal show began while another modal show was open.
    bool shownNested = false;

    // Cancel and Default of the box's buttons: one cancel button per form.
    QPushButton* cancelButton() const { return cancel_; }
    void setCancelButton(QPushButton* button) { cancel_ = button; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wireList(QListWidget* list);
    void RememberMouseDown(int shift, double y);
    template <class Work>
    void handler(const char* procName, Work&& work);

    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool dFirstActivate = true;
    bool dKeyDownDone = true;
    bool dKeyDownSeen = false;
    bool resultWritten_ = false;
    QPointer<QPushButton> cancel_;
};

// The result number into the form, then MB_HideForm with "NoHide" as found in the Tag
// of fOptions_IN.
void MB_FormSetResult(Msgbxform* form, int number);
// Reads the dialog font from "MB formats" of gMBIniFile and gives it to every control
// whose Tag item 5 does not hold "-FIXFONT-"; without a font name nothing changes.
void MB_FormLoadFonts(Msgbxform* form);
// The first activation of a box: no hot key for a key released that was pressed
// elsewhere, and the key bound to the current command named in the caption.
void MB_FormFirstActivate(Msgbxform* form, bool& keyDownDone);
