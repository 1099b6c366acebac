#pragma once
// Operations on every control of a form, and the tests of whether a form or object
// still exists. Property failures are suppressed: each operation reports through its
// result where it has one and never raises.
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

class QObject;
class QWidget;

// Makes the form's command buttons, text boxes, check boxes and combo boxes enabled
// or not; greying (silver on dark grey) applies only when disabling. Yields at the end.
void FRMS_EnableAll(QWidget* form, bool grey, bool enabled);
// Element 0 of each table is the colour to set; elements 1 onward are the colours that
// qualify a control (an empty table qualifies every colour). `typeList` is a "|" list
// of VB type names, empty for all.
void FRMS_Recolour(QWidget* form, const std::vector<long>& backColours,
                   const std::vector<long>& foreColours, const std::string& typeList, bool formToo);
void FRMS_BackColorAll(QWidget* form, long colour);
void FRMS_ForeColorAll(QWidget* form, long colour);

// Element 0 is empty (nullptr); then every loaded form whose Tag's first "|" item
// equals `text` exactly.
using FRMS_Forms = std::vector<QWidget*>;
void FRMS_FindForm(const std::string& text, FRMS_Forms& forms);
// The same list, returned to the caller rather than kept in a module array.
FRMS_Forms FRMS_FindFormDefault(const std::string& text);
// "" for a form that is no longer loaded.
std::string FRMS_FormTag(const QWidget* form);
// Width in twips of the widest line in the form's font; the work-area width when the
// form is gone.
double FRMS_TextWidth(const QWidget* form, const std::string& text);

bool FRMSND_FormIsAlive(const QWidget* form);
// Fetches the object (a control-array member may not exist) into `out`; false when
// the fetch failed or gave nothing.
bool FRMSND_ObjIsSet(const std::function<QObject*()>& fetch, QPointer<QObject>& out);

// The control's VB type name and the text of the property that holds its value;
// "Unrecognised." and "" for other controls.
void CTLSIMPLE_TypeName(const QObject* control, std::string& value, std::string& typeName);
// Clamps to -1 .. count - 1 (below 0 clears the selection).
void CTLSIMPLE_ListIndexSet(QWidget* list, long index);
