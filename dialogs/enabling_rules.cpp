#include "dialogs/enabling_rules.h"

#include <QCheckBox>
#include <QRadioButton>
#include <cmath>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "dialogs/control_spec.h"
#include "dialogs/extra_controls.h"
#include "dialogs/msgbox_form.h"

namespace {

const std::string kProtected = "{}";

}  // namespace

void MB_EnableRuleAdd(const std::string& field22, QWidget* control, int kind, int member,
                      core::StrArray& ruleLists) {
    if (field22.empty()) return;
    if (field22 == "True" || field22 == "False") {
        control->setEnabled(field22 == "True");
        return;
    }
    const double n = TXT_Val(field22);
    const long controller = static_cast<long>(std::fabs(std::trunc(n)));
    const std::string rule =
        std::string(n > 0 ? "1" : "2") + "|" + std::to_string(kind) + "|" + std::to_string(member);
    if (ruleLists.ubound() < controller) ruleLists.redimPreserve(controller);
    const std::string& list = ruleLists[controller];
    ruleLists.set(controller, list.empty() ? rule : list + std::string(dlg::kFieldSep) + rule);
}

void MB_EnableRulesStore(Msgbxform* form, const core::StrArray& ruleLists,
                         const core::StrArray& entries, const core::LngArray& members) {
    for (long i = 1; i <= ruleLists.ubound() && i <= entries.ubound(); ++i) {
        if (ruleLists[i].empty() || i > members.ubound()) continue;
        core::StrArray fields;
        const std::string type = MB_EntryType(entries[i], fields);
        std::string* store = type == dlg::kTypeCheckBox ? &form->dDynamicEna_CheckAcs_SWithSQC
                             : type == dlg::kTypeOptionButton ? &form->dDynamicEna_OptionAcs_SWithSQC
                                                               : nullptr;
        if (store) CHUNKS_SetEx(members[i] + 1, *store, "|", kProtected, ruleLists[i]);
    }
    MB_EnableRulesInit(form);
}

void MB_EnableRulesInit(Msgbxform* form) {
    core::StrArray options, checks;
    CHUNKS_SplitEx(form->dDynamicEna_OptionAcs_SWithSQC, "|", kProtected, options, 1);
    for (long k = 1; k <= options.ubound(); ++k) {
        const int member = static_cast<int>(k - 1);
        if (!options[k].empty() && form->fOption.exists(member))
            MB_EnableRulesApply(form, options[k], static_cast<QRadioButton*>(form->fOption[member])->isChecked());
    }
    CHUNKS_SplitEx(form->dDynamicEna_CheckAcs_SWithSQC, "|", kProtected, checks, 1);
    for (long k = 1; k <= checks.ubound(); ++k) {
        const int member = static_cast<int>(k - 1);
        if (!checks[k].empty() && form->fCheck.exists(member))
            MB_EnableRulesApply(form, checks[k],
                                static_cast<QCheckBox*>(form->fCheck[member])->checkState() == Qt::Checked);
    }
}

void MB_EnableRulesApply(Msgbxform* form, const std::string& rules, bool state) {
    core::StrArray list;
    CHUNKS_SplitEx(rules, dlg::kFieldSep, kChunksNoExclusion, list, 1);
    for (const std::string& rule : list.items()) {
        const long sense = static_cast<long>(CHUNKS_GetNum(1, rule));
        ui::ControlArray* array = form->arrayOfKind(static_cast<int>(CHUNKS_GetNum(2, rule)));
        const int member = static_cast<int>(CHUNKS_GetNum(3, rule));
        if (!array || !array->exists(member)) continue;
        if (sense == 1) (*array)[member]->setEnabled(state);
        else if (sense == 2) (*array)[member]->setEnabled(!state);
    }
}
