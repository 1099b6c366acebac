#pragma once
// Keyboard and font support for the lists and controls of the generic dialog: a
// control's font kept in the INI store, type-ahead that moves a list to the next item
// starting with a letter or digit while keeping a multiple selection, and saving and
// restoring a list's selection. Lists are QListWidget (list boxes, file lists) or
// QComboBox.
#include <string>
#include <vector>

class QComboBox;
class QListWidget;
class QWidget;

// "g" reads the font stored under the entries prefix + "Fontname", "Size", "Bold",
// "Italic" into the control (a section without them leaves it alone), "p" stores the
// control's font there, "c" copies the stored font from the first to the second
// section of the "|" list `section`.
void CTLNOMB_FontIni(const std::string& mode, QWidget* control, const std::string& section,
                     const std::string& entryPrefix, const std::string& iniFile);

// The VB type name and value text of the form's focused control; "Not defined" and ""
// when no control of the form has the focus.
void CTLNOMB_ActiveCtlType(const QWidget* form, std::string& value, std::string& typeName);

// Type-ahead for a list's key down (VB key codes, Shift bits 1/2/4). Only 0-9 and A-Z
// count. When Shift equals [Main] "SHIFT MASK REPOSition LB" (0 when missing), or the
// key is a digit and `digits` is set, the key is left to the caller: handled and the
// result are True. Otherwise the list moves to the next item starting with the
// character (a list box only for Shift 0 or 2, keeping its selection) and the result
// is False: the list has already moved, so the caller must not pass the key on.
bool CTLNOMB_ListTypeAhead(QWidget* list, int keyCode, int shift, const std::string& iniFile, bool& handled,
                           bool digits);

// Element 0 the current item's text or " -1 " without one; then the selected items.
void CTLNOMB_ListSelSave(const QListWidget* list, std::vector<std::string>& record);
void CTLNOMB_ListSelRestore(QListWidget* list, const std::vector<std::string>& record);
void CTLNOMB_ListSelClear(QListWidget* list);
// When the flag is set: clears it and leaves only the current item selected.
void CTLNOMB_ListSelCurrent(QListWidget* list, bool& request);
// The item's text, or the part of it from `start` (1-based) of `length` characters
// when both are at least 0 and inside the text; "" for an item that does not exist.
std::string CTLNOMB_ListItemText(const QListWidget* list, int index, long start, long length);
// Moves a combo box, or a list box keeping its selection, to the next item (after the
// current one, wrapping) whose text starts with the key's character, case ignored.
void CTLNOMB_ListRepositionSingle(QComboBox* list, int keyCode);
void CTLNOMB_ListRepositionMulti(QListWidget* list, int keyCode);
