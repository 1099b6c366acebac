#pragma once
// The positional description of one extra control of a dialog: a type word and
// fields separated by "|~~|" (the Tag form), read by position with defaults per kind.
// Field numbers here are spec field numbers; an entry split from 1 numbers them one
// higher (entryField), which is why every field has one named constant.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/table2d.h"

namespace dlg {

inline constexpr std::string_view kFieldSep = "|~~|";
inline constexpr double kDefaultRowHeight = 285;
// The full width of a control leaves this much room right of it.
inline constexpr double kRightRoom = 240;

// Type words.
inline constexpr std::string_view kTypeTextBox = "TextBox";
inline constexpr std::string_view kTypeOptionButton = "OptionButton";
inline constexpr std::string_view kTypeCheckBox = "CheckBox";
inline constexpr std::string_view kTypeLabel = "Label";
inline constexpr std::string_view kTypeShape = "Shape";
inline constexpr std::string_view kTypeGrid = "Grid";
inline constexpr std::string_view kTypeComboBox = "ComboBox";
inline constexpr std::string_view kTypeListBox = "ListBox";
inline constexpr std::string_view kTypeCommandButton = "CommandButton";
inline constexpr std::string_view kTypeLine = "Line";
inline constexpr std::string_view kTypeJustAddHeight = "JustAddHeight";
inline constexpr std::string_view kTypeAddButtonsHere = "AddButtons before RestCtls";

// The control array a control is made from; the entry map stores these numbers.
enum KindCode : int {
    kKindNone = -1,
    kKindTextBox = 0,         // fTextBox
    kKindTextBoxM = 1,        // fTextBoxM, multi-line
    kKindOption = 2,          // fOption
    kKindCheck = 3,           // fCheck
    kKindLabel = 4,           // fLabel
    kKindShape = 5,           // fShape
    kKindGrid = 6,            // fGrid
    kKindComboStyle0 = 7,     // fComboBoxstyle0, editable
    kKindCombo = 8,           // fComboBox, drop-down list
    kKindListMulti2 = 9,      // fLBMulti2
    kKindListMulti1 = 10,     // fLBMulti1
    kKindList = 11,           // fListBox
    kKindButton = 12,         // fButton
    kKindImage = 13,          // fImage
    kKindLine = 14,           // fLine
};

// Spec fields. Where kinds read a field differently, the name gives the common use
// and the comment the others.
enum SpecField : int {
    kSfWidth = 1,           // caption (option, check), button gap, shape height %, line width
    kSfHeight = 2,          // line length, spacer height
    kSfBold = 3,            // shape style, line X1
    kSfItalic = 4,          // line Y1
    kSfFontSize = 5,        // line X2
    kSfFontName = 6,        // line Y2
    kSfFocus = 7,           // line BorderStyle
    kSfSelectAll = 8,       // item count (lists), left-aligned buttons, line BorderColor
    kSfBackColor = 9,       // label border, list double-click action, button picture, line gap
    kSfVariant = 10,        // multi-line, combo style, list selection mode, grid FixedRows,
                            // button tool tip, line advance
    kSfSelStart = 11,       // grid FixedCols - 1, list Tag item 8 off
    kSfSelLength = 12,      // grid column widths
    kSfEnabled = 13,        // grid alignments
    kSfScrollBars = 14,     // grid
    kSfCountFrom1 = 15,     // label ForeColor, grid GridLines
    kSfSkipBlank = 16,      // label underline, grid Tag item 7
    kSfSorted = 17,         // label BackColor
    kSfSortColumns = 18,    // grid "first_second"
    kSfClickAction = 19,    // lists and grids
    kSfRowHeights = 20,     // grid "{height|first|last}"
    kSfColumn0Width = 21,   // grid
    kSfEnabling = 22,       // "True", "False" or the controlling entry (+ticked, -clear)
};
constexpr int entryField(SpecField field) { return field + 1; }

// The type word without its same-row marker: one "_" before the word, or after it as
// some callers write it ("_TextBox", "ListBox_").
std::string_view typeWordOf(std::string_view raw, bool* sameRow = nullptr);
bool isListKind(std::string_view typeWord);  // "ListBox", "ComboBox", "Grid"

// Button numbers that click and double-click actions may name: 1 .. buttonCount.
// Double-click keeps -1 (nothing), -2 (show the item) and -3 (long-text viewer);
// anything else becomes -2. Click keeps -1 and -4 (item text in the text box); anything
// else becomes -1.
long listDoubleClickAction(std::string_view field, long buttonCount);
long listClickAction(std::string_view field, long buttonCount);

}  // namespace dlg

// One control's entry: the type word and its spec fields.
struct MB_CtlSpec {
    std::string type;   // the word without its same-row marker
    bool sameRow = false;
    std::vector<std::string> fields;  // [0] the word as written, [m] spec field m

    static MB_CtlSpec parse(std::string_view entry);

    long fieldCount() const { return static_cast<long>(fields.size()) - 1; }
    bool reaches(int m) const { return m >= 0 && m <= fieldCount(); }
    const std::string& text(int m) const;  // "" when its spec ends before m
    bool isEmpty(int m) const { return text(m).empty(); }
    double number(int m) const;  // an empty or missing field reads as 0
    bool flag(int m) const;      // False only for "False", "0" or empty

    // The array the control is made from; a button entry becomes images when its
    // picture file exists.
    dlg::KindCode kind(bool pictureExists = false) const;
    // Field 1 scaled for a large font and limited to the control column; the whole
    // column when empty.
    double width(double formWidth, double leftMargin, double fontSize) const;
    // Field 2 when positive, else the given default.
    double height(double dflt = dlg::kDefaultRowHeight) const;
    // How far a "JustAddHeight" spacer moves the next row: a row when its spec stops
    // before field 2, else field 2 when positive, else nothing.
    double spacerHeight() const;
    // The Tag items a list, combo box or grid carries for the form's handlers, as
    // (item number, text).
    std::vector<std::pair<int, std::string>> listTagItems(long buttonCount) const;
    // SelStart and SelLength of a text box of that length, when fields 11 and 12 ask.
    std::optional<std::pair<long, long>> textSelection(long textLength) const;
};

// A shape of `percent` of its row height, centred in the row: the new height and the
// offset of its top.
std::pair<double, double> MB_ShapeFit(double rowHeight, double percent);

// Lines continue from the line placed before them.
struct MB_LineState {
    bool any = false;
    double x1 = 0;
    double advance = 0;  // field 10 of the previous line
};
struct MB_LineGeometry {
    double borderWidth = 1, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int borderStyle = 1;
    long borderColor = 0;
};
MB_LineGeometry MB_LinePlace(const MB_CtlSpec& spec, MB_LineState& state, bool firstEntry,
                             double formWidth, double formHeight);

// Grid field 18 ("first_second"): Col and ColSel, or nothing when first is not a column.
std::optional<std::pair<long, long>> MB_GridSortColumns(std::string_view field, long cols);
// Grid field 20 ("height|first|last"): the height and the rows it applies to.
struct MB_RowHeights {
    double height = 1;
    long first = 0, last = 0;
};
MB_RowHeights MB_GridRowHeights(std::string_view field, long rows);

// Column 0 of a combo box's row: a "CBtxt" text, or the chosen position (an item
// number under field 15).
struct MB_ComboChoice {
    bool isText = false;
    std::string text;
    long position = -1;
};
MB_ComboChoice MB_ComboChoiceParse(std::string_view column0);

// Items 1 to 8 of the list as whole numbers (halves to even, missing ones 0), the
// items after the eighth in `rest`, and number 1 + 1 in `next`. With addOne every item
// of the list, and so every number, is increased by 1 and the list rewritten.
long MB_ParseNums8(std::string& list, std::array<long, 8>& nums, std::string& rest, long& next,
                   bool addOne);
// MB_ParseNums8 on the text of a cell of a rows table (the cell itself is left alone).
long MB_GridStateParse(const core::Table2D& rows, long row, long column, std::array<long, 8>& nums,
                       std::string& rest, long& next, bool addOne);
