#include "analysis/forms/word_combinations_dialog.h"

#include "analysis/forms/results_window.h"
#include "analysis/word_combinations.h"
#include "core/numbers.h"
#include "core/typed_array.h"
#include "dialogs/ready_dialogs.h"
#include "platform/grid/flex_grid.h"

namespace {

// Buttons: "&OK", then one per combination length.
constexpr long kOk = 1, kOneWord = 2, kFourWords = 5;

}  // namespace

void STTA_WordCombosShow(SrchTmLstFrm& window) {
    const grid::FlexGrid& grid = *window.fSearchTerms();
    std::vector<WordComboRow> rows;
    for (long r = 1; r < grid.Rows(); ++r)
        rows.emplace_back(grid.TextMatrix(r, 0), core::wholeOf<std::int64_t>(core::vbVal(grid.TextMatrix(r, 1))));
    const MB_SequenceArgs args{.spec = "10000|7000",
                               .extraButtons = "&OK|&1 Word|&2 Words|&3 Words|&4 Words",
                               .escOffset = kOk,
                               .noMove = true};
    int n = 1;
    for (;;) {
        core::StrArray items;
        for (const std::string& line : STTA_WordCombosList(rows, n)) items.append(line);
        if (!items.hasBounds()) items.append("");
        long selected = -1;
        const long r = MB_Sequence("Total users for each " + std::to_string(n) + " word combination in Search term",
                                   "|", items, 0, selected, args);
        if (r < kOneWord || r > kFourWords) return;
        n = static_cast<int>(r - kOneWord + 1);
    }
}
