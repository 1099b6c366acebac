#pragma once
// Which control array and member an extra control gets, the lookup of a member by
// type word, and hiding the box when a result is written.
#include <QPointer>
#include <array>
#include <string>

#include "core/typed_array.h"

class Msgbxform;
class QWidget;

// The list or combo box the last load picked.
inline QPointer<QWidget> gMBCurCtl;

// True when the fields reach field 10 and it reads true.
bool MB_SpecIsMultiLine(const core::StrArray& fields);

// Pick the array by field 10 and the member by the member-0 rule: with `create` the
// first control of a kind takes member 0 and records entry k as its owner (the entry
// map gets "kind|member"), later ones load member k; without it, entry k is member 0
// only when it owns it. Sets gMBCurCtl and the kind code.
void MB_LoadComboCtl(Msgbxform* form, bool create, long k, const core::StrArray& fields,
                     std::array<int, 15>& owners, core::StrArray& entryMap, int& kind);
void MB_LoadListCtl(Msgbxform* form, bool create, long k, const core::StrArray& fields,
                    std::array<int, 15>& owners, core::StrArray& entryMap, int& kind);

namespace dlg {
// The member-0 rule for the other kinds: the first control of a kind takes member 0,
// later ones load the member with their entry number. Records the entry map.
QWidget* loadMember(Msgbxform* form, int kind, long k, std::array<int, 15>& owners,
                    core::StrArray& entryMap, int& member);
}  // namespace dlg

// Member m of the array a type word names ("CheckBox", "ComboBox", "CommandButton",
// "Image", "Label", "Line", "ListBox", "OptionButton", "Shape", "TextBox"); nullptr and
// found false for other words and for members that do not exist. Never raises.
QWidget* MB_CtlByType(Msgbxform* form, const std::string& type, long m, bool& found);

// Hides the box, which ends its modal show. With noHide the box is shown again at
// once, modeless and without flicker, unless its modal show began inside another one.
void MB_HideForm(Msgbxform* form, bool noHide);
