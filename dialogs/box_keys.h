#pragma once
// The dialog box's own keyboard and list actions: the closing keys, one-letter hot keys
// for labels ("[n]") and buttons ("&n") without Alt, type-ahead in lists, the font keys
// D, I and F (plain or with Ctrl) that rebuild the box in a new font, double-clicks on
// lists and grids, and F3 (find) in grids. Key codes and Shift bits are VB's (Shift 1,
// Ctrl 2, Alt 4); keypad keys act as their main-keyboard keys.
#include <string>

class Msgbxform;
class QWidget;
namespace grid {
class FlexGrid;
}

// Set by type-ahead when it left the key to the list; the key-up then keeps only the
// current item selected.
inline bool gMBListReselect = false;

// Records the key (raw and normalised), offers it to the shell's hook, then to the box:
// type-ahead, text entry, font keys (result -1: the box is rebuilt).
void MB_FormKeyDown(Msgbxform* form, int& keyCode, int& shift, bool& keyDownDone, bool& keyDownSeen);
// True when the key was consumed: left to a list or a text entry, or a font key.
bool MB_FormKeyDownLocal(Msgbxform* form, int keyCode, int shift, long listOption, bool& consumed,
                         const std::string& typeName);
// Hot keys of a key that nothing consumed, then the closing keys (result -2).
void MB_FormKeyUp(Msgbxform* form, int& keyCode, int& shift, bool& keyDownDone, bool& keyDownSeen);
// A label whose caption holds "[c]" sends the focus on; the first button, check box or
// option button whose caption holds "&c" acts (not with Alt, which Qt's own mnemonics
// serve).
void MB_FormHotKey(Msgbxform* form, int keyCode, int shift, bool act, bool& handled);
// A double-click on a list or grid (Shift 2: Ctrl held): a header sort, the control's
// action from Tag item 6 (-1 nothing, -2 show the text, -3 the text viewer, any other
// number closes the box with that result).
void MB_FormListDblClick(Msgbxform* form, QWidget* control, int shift, bool header);
// F3 in a grid: asks for a text and selects the next cell holding it (case ignored),
// wrapping once to the top. An empty or cancelled answer looks for nothing.
void MB_FormGridFind(Msgbxform* form, grid::FlexGrid& grid);
// The same for any grid: asks for the text (offering the last one) and selects the next
// cell that holds it, from the current cell on and round to the top once.
void MB_GridFind(grid::FlexGrid& grid, std::string& findText);
// F3 in a multi-line text box of a box whose options hold "FndLastVal": asks for a text
// (offering the last one) and selects its next occurrence; the text is kept in the
// options for the next F3.
void MB_FormTextFind(Msgbxform* form, QWidget* textBox);
