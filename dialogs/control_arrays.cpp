#include "dialogs/control_arrays.h"

#include "core/numbers.h"
#include "core/stored_text.h"
#include "dialogs/control_spec.h"
#include "dialogs/msgbox_form.h"
#include "window/form_ops.h"

namespace {

int memberFor(bool create, long k, int kind, std::array<int, 15>& owners, core::StrArray& entryMap) {
    int m = 0;
    if (create) {
        if (owners[static_cast<std::size_t>(kind)] != 0) m = static_cast<int>(k);
        else owners[static_cast<std::size_t>(kind)] = static_cast<int>(k);
        if (entryMap.ubound() < k) entryMap.redimPreserve(k);
        entryMap.set(k, std::to_string(kind) + "|" + std::to_string(m));
    } else {
        m = owners[static_cast<std::size_t>(kind)] == k ? 0 : static_cast<int>(k);
    }
    return m;
}

void pick(Msgbxform* form, bool create, long k, int kind, std::array<int, 15>& owners,
          core::StrArray& entryMap) {
    const int m = memberFor(create, k, kind, owners, entryMap);
    ui::ControlArray* array = form->arrayOfKind(kind);
    if (create && m != 0) array->load(m);
    gMBCurCtl = (*array)[m];
}

// Field 10 as the style or selection mode, or the kind's default when empty.
double styleOf(const core::StrArray& fields, double dflt) {
    if (fields.ubound() < dlg::kSfVariant || fields[dlg::kSfVariant].empty()) return dflt;
    return TXT_Val(fields[dlg::kSfVariant]);
}

}  // namespace

namespace dlg {

QWidget* loadMember(Msgbxform* form, int kind, long k, std::array<int, 15>& owners,
                    core::StrArray& entryMap, int& member) {
    member = memberFor(true, k, kind, owners, entryMap);
    ui::ControlArray* array = form->arrayOfKind(kind);
    return member != 0 ? array->load(member) : (*array)[0];
}

}  // namespace dlg

bool MB_SpecIsMultiLine(const core::StrArray& fields) {
    return fields.ubound() >= dlg::kSfVariant && SYS32_StrIsTrue(fields[dlg::kSfVariant]);
}

void MB_LoadComboCtl(Msgbxform* form, bool create, long k, const core::StrArray& fields,
                     std::array<int, 15>& owners, core::StrArray& entryMap, int& kind) {
    kind = styleOf(fields, 2) == 0 ? dlg::kKindComboStyle0 : dlg::kKindCombo;
    pick(form, create, k, kind, owners, entryMap);
}

void MB_LoadListCtl(Msgbxform* form, bool create, long k, const core::StrArray& fields,
                    std::array<int, 15>& owners, core::StrArray& entryMap, int& kind) {
    const double mode = styleOf(fields, 0);
    kind = mode == 1 ? dlg::kKindListMulti1 : mode == 2 ? dlg::kKindListMulti2 : dlg::kKindList;
    pick(form, create, k, kind, owners, entryMap);
}

QWidget* MB_CtlByType(Msgbxform* form, const std::string& type, long m, bool& found) {
    static const std::pair<const char*, int> arrays[] = {
        {"CheckBox", dlg::kKindCheck},     {"ComboBox", dlg::kKindCombo},   {"CommandButton", dlg::kKindButton},
        {"Image", dlg::kKindImage},        {"Label", dlg::kKindLabel},      {"Line", dlg::kKindLine},
        {"ListBox", dlg::kKindList},       {"OptionButton", dlg::kKindOption}, {"Shape", dlg::kKindShape},
        {"TextBox", dlg::kKindTextBox},
    };
    found = false;
    for (const auto& [word, kind] : arrays) {
        if (type != word) continue;
        ui::ControlArray* array = form->arrayOfKind(kind);
        QPointer<QObject> out;
        found = FRMSND_ObjIsSet([&]() -> QObject* { return (*array)[static_cast<int>(m)]; }, out);
        return found ? static_cast<QWidget*>(out.data()) : nullptr;
    }
    return nullptr;
}

void MB_HideForm(Msgbxform* form, bool noHide) {
    if (!noHide) {
        form->hide();
        return;
    }
    form->setUpdatesEnabled(false);
    form->hide();
    // Shown again without a loop of its own, so the box stays while its caller goes on.
    // A modal show still running is ended first: the builder shows the box again once
    // the modal loop has returned, since a window's modality changes only while hidden.
    if (!form->shownNested && !form->isModal()) form->show();
    form->setUpdatesEnabled(true);
}
