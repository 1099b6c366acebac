#include "analysis/forms/search_term_groups.h"

#include "analysis/report_names.h"
#include "core/typed_array.h"
#include "dialogs/item_groups.h"
#include "dialogs/list_dialog.h"
#include "dialogs/two_list_selector.h"

namespace {

// The dialog builder's group dialog, called from this one place.
int groupDialog(const std::string& listName, const std::string& listKey, const core::StrArray& all,
                const core::LngArray& counts, MBX_SelectParams& params, MB_ListDlgArgs& listArgs) {
    std::string group;
    return MBX_SelectGroup(listName, listKey, all, counts, params, "Group", listArgs, group);
}

}  // namespace

int STTA_STGroupsEdit(const STTA_Results& results, const std::string& listKey, const std::string& listName) {
    std::string col2, col1;
    const std::string title = STTA_ReportTypeName(results.Analyzed_Field, col2, col1);
    core::StrArray all;
    core::LngArray counts;
    for (std::size_t i = 0; i < results.Vals->Items.size(); ++i) {
        all.append(results.Vals->Items[i]);
        counts.append(static_cast<long>(STTA_ValueList::at(results.Vals->Cnt, static_cast<long>(i))));
    }
    MBX_SelectParams params;
    params.itemWord = title;
    params.message = "to group when create reports and plot:";
    params.copyToSkipCaption = "&";
    MB_ListDlgArgs listArgs;
    listArgs.itemWord = title + " Group";
    dlg::useStandardListButtons(listArgs);
    listArgs.further = true;
    listArgs.furtherCaption = "&Cancel";
    listArgs.delimiter = "|";
    listArgs.exclusionSpec = "Do not exclude any part";
    return groupDialog(listName, listKey, all, counts, params, listArgs);
}
