#include "dialogs/paged_lists.h"

#include <algorithm>
#include <string>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "dialogs/control_spec.h"
#include "platform/sys/rt_error.h"

using namespace dlg;

namespace {

std::string trimSpaces(std::string_view text) {
    std::size_t a = text.find_first_not_of(' ');
    if (a == std::string_view::npos) return {};
    return std::string(text.substr(a, text.find_last_not_of(' ') - a + 1));
}

class PageBuilder {
public:
    PageBuilder(const MB_PageRequest& page, MB_CtlEntry& ctl, bool& reset, core::LngArray& map,
                long first)
        : page_(page), ctl_(ctl), reset_(reset), map_(map), first_(first) {
        std::string list = trimSpaces(page.typeWords);
        if (list.empty() || list.back() != '|') list += '|';
        CHUNKS_Split(list, words_, 1);
        wordCount_ = words_.ubound() - 1;  // not the part after the closing bar
    }

    std::string word(long n) const {
        return words_[(n - 1) % wordCount_ + 1];
    }
    // Rows start at the page's first item.
    bool beginsRow(long n) const { return (n - first_) % page_.columns == 0; }
    std::string typeOf(long n) const { return (beginsRow(n) ? "" : "_") + word(n); }

    // Appends the control standing for item number n; `itemText` is what the focus
    // rule for empty items looks at.
    void add(long n, const std::string& type, std::string spec, const std::string& value,
             const std::string& itemText) {
        bool focus = false;
        if (page_.focusOnEmpty) {
            focus = !focusGiven_ && itemText.empty();
            focusGiven_ = focusGiven_ || focus;
        } else if (page_.focusOnFirst) {
            focus = reset_;
        }
        if (focus) CHUNKS_SetEx(kSfFocus, spec, kFieldSep, kChunksNoExclusion, "True");
        long k = MB_AddControl(type, spec, value, ctl_, reset_);
        reset_ = false;
        map_.set(n - first_ + 1, k);
    }

private:
    const MB_PageRequest& page_;
    MB_CtlEntry& ctl_;
    bool& reset_;
    core::LngArray& map_;
    long first_;
    core::StrArray words_;
    long wordCount_ = 1;
    bool focusGiven_ = false;
};

// The base spec with field 1, the caption, replaced.
std::string withCaption(std::string_view base, const std::string& caption) {
    std::size_t bar = base.find('|');
    return caption + (bar == std::string_view::npos ? std::string() : std::string(base.substr(bar)));
}

}  // namespace

void MB_AddPageCtls(const MB_PageRequest& page, const core::StrArray& items, MB_CtlEntry& ctl,
                    bool& reset, core::LngArray& itemMap) {
    if (page.columns < 1) sys::raise(5, "MB_AddPageCtls");
    const long count = std::max(0L, items.ubound());
    const long first = std::max(1L, page.firstItem);
    const long last = std::min(first - 1 + page.pageSize, count);
    const bool extraDue = last == count && page.extraRow;
    core::StrArray states;
    CHUNKS_Split(page.states, states, 1);

    itemMap.redim(0, std::max(0L, last - first + 1) + 2 * page.columns);
    PageBuilder builder(page, ctl, reset, itemMap, first);

    for (long n = first; n <= last; ++n) {
        const std::string type = builder.typeOf(n);
        if (type == kTypeCheckBox) {
            std::string state = LLIST_StrArrItem(states, n, "");
            builder.add(n, type, withCaption(page.baseSpec, items[n]), core::vbStr(TXT_Val(state)),
                        "");
        } else {
            builder.add(n, type, std::string(page.baseSpec), items[n], items[n]);
        }
    }
    // Fillers complete the row of the list's last item, never standing for an item.
    long n = std::max(last + 1, first);
    for (; n > count && !builder.beginsRow(n); ++n)
        builder.add(n, "_" + builder.word(n), std::string(page.baseSpec), "", "");
    const long covered = n - 1;  // the last item number with a position

    itemMap.redimPreserve(covered - first + 1 + (extraDue ? page.columns : 0));
    if (extraDue && covered - first + 1 != page.pageSize) {
        for (long m = covered + 1; m <= covered + page.columns; ++m)
            builder.add(m, builder.typeOf(m), std::string(page.baseSpec), "", "");
    }
}
