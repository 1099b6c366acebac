#pragma once
// The ready-made dialogs most callers use: input boxes, the large text box, boxes whose
// extra controls are defined and remembered in an INI file and validated before they
// close, the box that need not be shown again, and the re-sequence dialog. Each fills
// its own control arrays, calls MB_Show once or in a loop and turns what it hands back
// into the result its callers want. Errors of MB_Show and the add routines reach the
// caller.
#include <array>
#include <string>

#include "core/table2d.h"
#include "core/typed_array.h"
#include "dialogs/remembered_controls.h"

// An input box with "&OK|&Cancel": the entered text when OK was pressed, else "" (Cancel,
// or a key that closed the box). `button` receives the raw button number.
std::string MB_Input(const std::string& prompt, const std::string& caption = {},
                     const std::string& dflt = {}, std::string* state = nullptr, long* button = nullptr);

struct MB_InputExArgs {
    bool messageBold = false;
    long minWidthPct = -1;  // minimum width in percent of the work area; -1 none
    bool boxBold = false;
    float boxHeight = -1;   // -1 none
    float boxWidth = 0;     // 0 or less: 10000
    std::string extraCaptions{};  // "|" list of buttons after the first and cancel ones
    bool multiLine = false;
    bool enabledField = false;  // writes "True" into the box's Enabled field (spec field 13)
    std::string options{};        // the caller's options
    std::string firstCaption{};   // "" adds no first button
    std::string cancelCaption{};  // "" adds no cancel button
};
// The extended input box. `button` is the pressed number less the count of the first and
// cancel captions given: with both, the first gives -1, cancel 0, the extra buttons 1, 2,
// ... The text is "" after cancel. `firstValue` receives values(0) (the last key record).
std::string MB_InputEx(const std::string& prompt, const std::string& caption, const std::string& dflt,
                       const MB_InputExArgs& args, long& button, std::string* firstValue = nullptr);

// A large multi-line text box (12000 x 8000 twips unless `entry`, a whole control entry,
// says otherwise); `text` comes back edited. Buttons "" means "0" ("&OK").
int MB_ShowTextBox(const std::string& message, const std::string& buttons, const std::string& options,
                   const std::string& caption, const std::string& entry, std::string& text);

struct MB_ShowExArgs {
    MB_RememberedCtls controls;
    std::string validation{};       // a problem text shown with the first pass, normally ""
    long validatingButton = -1;   // the entries are checked after this button; -1 after every one
    bool shift = false;           // number the box's own buttons from 1, after the extra ones
    long dfltButton = -1;         // -1 none
    long escButton = -1;          // -1 none
};
// A box whose extra controls come from their INI definition with their remembered values.
// It is shown again, with the problem and the focus on the failing control, until the
// entries pass their rules or Cancel is pressed; the values are saved unless cancelled.
// Buttons "" means "1" ("&OK|&Cancel"). The result is the pressed number, less the extra
// button count under `shift`; `extraButtons` receives that count.
long MB_ShowEx(const std::string& message, const std::string& buttons, const std::string& options,
               const std::string& caption, const MB_ShowExArgs& args, std::string* state = nullptr,
               long* extraButtons = nullptr);

// A message with the check box "Do &not Show this Message again" & suffix. With
// `suppressed` already true nothing is shown, gMBCancelNo becomes -4 and the result is -1;
// a ticked box sets it. `plain` shows the message without the check box or remembered
// controls and leaves `suppressed` alone.
int MB_DontShowAgain(const std::string& message, bool& suppressed, const std::string& buttons,
                     const std::string& options, const std::string& caption,
                     const std::string& suffix = {}, bool plain = false, bool addCheckBox = true,
                     MB_RememberedCtls remembered = {});

// MB_DontShowAgain with the suppression kept in an INI entry (written True once ticked).
// Mode 2 shows "&OK" with Esc as OK, whatever the buttons and options say.
int MB_Once(long mode, const std::string& message, const std::string& section, const std::string& entry,
            const std::string& iniFile, int notFoundMode, const std::string& buttons,
            const std::string& options, const std::string& caption, const std::string& suffix = {},
            bool addCheckBox = true, MB_RememberedCtls remembered = {});

struct MB_SequenceArgs {
    bool numbered = false;        // show "i. item"
    std::string spec{};             // the list's spec; "" 6000 x 4000 twips
    std::string options{};
    std::string closingCaption{};   // "" none
    std::string extraButtons{};     // appended to the button list as they are
    long escOffset = 0;           // 1 or more: Esc presses that extra button
    bool noMove = false;          // no "&Up" and "Do&wn"
};
// Lets the user move items[first..] up and down until the closing or an extra button;
// `selected` (-1: first) follows the chosen item. Returns the ending button.
long MB_Sequence(const std::string& message, const std::string& caption, core::StrArray& items,
                 long first, long& selected, const MB_SequenceArgs& args);

// A spec with "|" between its fields in the Tag form ("|~~|"); a brace group holding "|"
// stays one field.
std::string MB_SpecToTagForm(const std::string& spec);

// Reads the state record MB_Show fills: any-key flag, Width, Height, and the closing
// key's code, Shift and two further items.
void MB_ResultRecParse(const std::string& record, bool& anyKey, float& width, float& height,
                       int& keyCode, int& shift, std::string& third, std::string& fourth);

// Writes the state item of a list or grid row into cell (row, 0): the chosen position,
// then the seven position values (texts 2 and 4 replaced by the numbers under `numbers`).
void MB_ListStateSet(long row, core::Table2D& rows, long chosen, const std::array<std::string, 7>& texts,
                     bool numbers = false, long number1 = 0, long number2 = 0);
