#include "dialogs/paged_list_dialog.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "core/delimited_lists.h"
#include "core/vb_format.h"
#include "dialogs/control_spec.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "dialogs/paged_lists.h"
#include "dialogs/remembered_controls.h"

namespace {

// Button numbers of one page; -1 for a button not shown.
struct PageButtons {
    std::string list;
    long first = -1, second = -1, prev = -1, next = -1, last = -1, lastPage = -1;

    // The caller's numbering: the shown paging buttons below it left out.
    long callerNumber(long pressed) const {
        long r = pressed;
        for (long b : {prev, next, last, lastPage})
            if (b != -1 && b < pressed) --r;
        return r;
    }
};

PageButtons addButtons(const MB_PagedListArgs& a, long firstItem, long count, long extraButtons) {
    PageButtons b;
    bool reset = false;
    gMBListCount = static_cast<int>(extraButtons);
    b.first = MB_AddToList(a.firstCaption, b.list, reset);
    if (!a.secondCaption.empty()) b.second = MB_AddToList(a.secondCaption, b.list, reset);
    if (firstItem > 1) b.prev = MB_AddToList("< &Prev", b.list, reset);
    if (firstItem < MB_LastPageStart(count, a.pageSize, !a.lastPageCaption.empty())) {
        b.next = MB_AddToList("&Next >", b.list, reset);
        b.last = MB_AddToList("Las&t >>", b.list, reset);
    }
    if (!a.lastPageCaption.empty() && b.next == -1) b.lastPage = MB_AddToList(a.lastPageCaption, b.list, reset);
    if (!a.furtherCaptions.empty())
        b.list += (a.furtherCaptions.front() == '|' ? "" : "|") + a.furtherCaptions;
    return b;
}

bool isCheckBoxColumn(std::string_view typeWords) {
    std::string_view word = typeWords.substr(0, typeWords.find('|'));
    const std::size_t a = word.find_first_not_of(' ');
    if (a == std::string_view::npos) return false;
    return word.substr(a, word.find_last_not_of(' ') - a + 1) == dlg::kTypeCheckBox;
}

// "1,234 checked. " or "None checked. ".
std::string tickedPrefix(const std::string& states) {
    core::StrArray s;
    CHUNKS_Split(states, s, 1);
    long ticked = 0;
    for (long i = 1; i <= s.ubound(); ++i) ticked += s[i] == "1";
    return (ticked == 0 ? std::string("None") : TXT_FormatLng(ticked, "#,###,##0")) + " checked. ";
}

// Writes one page's controls back into the list: check boxes into the states, text
// boxes into the items, an emptied text box dropping its item unless `keepEmpty`.
// Positions past the list's end are new items; empty ones after the row of the last
// filled one are not added.
void takeBack(const MB_CtlEntry& work, const core::LngArray& map, long first, long columns, bool keepEmpty,
              core::StrArray& items, std::string& states) {
    const long count = std::max(0L, items.ubound());
    const long span = map.ubound();
    core::StrArray oldStates;
    CHUNKS_Split(states, oldStates, 1);
    bool keepStates = !states.empty();

    long lastNew = 0;  // the last position past the list's end holding text
    for (long p = 1; p <= span; ++p)
        if (map[p] != 0 && first + p - 1 > count && !work.values[map[p]].empty()) lastNew = p;
    // Rows start at the page's first item; a new row is kept whole, so that rows of
    // pairs stay pairs.
    lastNew = (lastNew + columns - 1) / columns * columns;

    std::vector<std::string> newItems, newStates;
    for (long n = 1; n < first && n <= count; ++n) {
        newItems.push_back(items[n]);
        newStates.push_back(LLIST_StrArrItem(oldStates, n, ""));
    }
    for (long p = 1; p <= span; ++p) {
        const long k = map[p];
        if (k == 0) continue;
        const long n = first + p - 1;
        const bool exists = n <= count;
        const std::string& value = work.values[k];
        const std::string& entry = work.entries[k];
        if (entry.substr(0, entry.find(dlg::kFieldSep)) == dlg::kTypeCheckBox) {
            if (!exists) continue;
            newItems.push_back(items[n]);
            newStates.push_back(value);
            keepStates = true;
            continue;
        }
        const bool dropped = exists ? value.empty() && !keepEmpty : p > lastNew || (value.empty() && !keepEmpty);
        if (dropped) continue;
        newItems.push_back(value);
        newStates.push_back(exists ? LLIST_StrArrItem(oldStates, n, "") : std::string());
    }
    for (long n = first + span; n <= count; ++n) {
        newItems.push_back(items[n]);
        newStates.push_back(LLIST_StrArrItem(oldStates, n, ""));
    }

    const std::string zero = items.inBounds(0) ? items[0] : std::string();
    items.redim(0, static_cast<long>(newItems.size()));
    items.set(0, zero);
    core::StrArray joined;
    joined.redim(0, static_cast<long>(newStates.size()));
    for (std::size_t i = 0; i < newItems.size(); ++i) {
        items.set(static_cast<long>(i) + 1, newItems[i]);
        joined.set(static_cast<long>(i) + 1, newStates[i]);
    }
    if (keepStates) states = newItems.empty() ? std::string() : CHUNKS_Join(joined, 1);
}

}  // namespace

long MB_LastPageStart(long count, long pageSize, bool extra) {
    return std::max(1L, count + 1 - pageSize + (extra ? 1 : 0));
}

bool MB_CheckListPaged(const MB_PagedListArgs& args, core::StrArray& items, std::string& states,
                       MB_CtlEntry& controls, long& result) {
    const bool withRemembered = !args.remembered.iniFile.empty();
    long first = std::max(1L, args.firstItem);
    for (;;) {
        MB_CtlEntry work = controls;
        bool reset = args.resetControls;
        core::LngArray map;
        const MB_PageRequest page{.typeWords = args.typeWords,
                                  .baseSpec = args.baseSpec,
                                  .columns = args.columns,
                                  .firstItem = first,
                                  .pageSize = args.pageSize,
                                  .states = states,
                                  .focusOnEmpty = args.focusOnEmpty,
                                  .focusOnFirst = args.focusOnFirst,
                                  .extraRow = !args.lastPageCaption.empty()};
        MB_AddPageCtls(page, items, work, reset, map);

        MB_RememberedCtls remembered = args.remembered;
        core::IntArray numbers;
        if (withRemembered) {
            long ignored = 0;
            dlg::loadRemembered(remembered, work, numbers, reset, ignored);
        }

        const long count = std::max(0L, items.ubound());
        // Counted after every control is in, so the remembered ones' buttons count too.
        const PageButtons b = addButtons(args, first, count, MB_ExtraButtonCount(work));
        std::string message = args.message;
        if (args.showCount && isCheckBoxColumn(args.typeWords)) message = tickedPrefix(states) + message;
        const long esc = b.second != -1 ? b.second : b.first;
        const std::string options = dlg::joinOptions(MB_OptEsc(esc), args.options);

        std::string state;
        Msgbxform* form = nullptr;
        const long pressed = MB_Show(message, b.list, options, args.caption, work, state, form);

        if (args.endOnSecond && b.second != -1 && pressed == b.second) {
            result = pressed;
            return false;
        }
        if (withRemembered) dlg::saveRemembered(remembered, work, numbers);
        takeBack(work, map, first, args.columns, args.keepEmpty, items, states);
        const long now = std::max(0L, items.ubound());

        auto is = [pressed](long button) { return button != -1 && pressed == button; };
        if (is(b.prev)) {
            first = std::max(1L, first - args.pageSize);
        } else if (is(b.next)) {
            first = std::min(first + args.pageSize, now);
        } else if (is(b.last)) {
            first = MB_LastPageStart(now, args.pageSize, !args.lastPageCaption.empty());
        } else if (is(b.lastPage)) {
            if (first - 1 + args.pageSize == now) first += args.pageSize;
        } else {
            controls.values = work.values;
            controls.rows = work.rows;
            result = b.callerNumber(pressed);
            return true;
        }
    }
}
