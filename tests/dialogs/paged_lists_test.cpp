#include "dialogs/paged_lists.h"

#include <gtest/gtest.h>

#include "dialogs/control_spec.h"
#include "platform/sys/rt_error.h"

namespace {

core::StrArray numbered(long count) {
    core::StrArray items;
    items.redim(0, count);
    for (long i = 1; i <= count; ++i) items.set(i, "item" + std::to_string(i));
    return items;
}

struct Built {
    MB_CtlEntry ctl;
    core::LngArray map;
    bool reset = true;

    // The raw type word and the value of the control at a page position.
    std::string type(long position) const {
        return MB_CtlSpec::parse(ctl.entries[map[position]]).fields[0];
    }
    std::string value(long position) const { return ctl.values[map[position]]; }
    bool focus(long position) const {
        return MB_CtlSpec::parse(ctl.entries[map[position]]).flag(dlg::kSfFocus);
    }
    long focusCount() const {
        long n = 0;
        for (long i = 1; i <= ctl.entries.ubound(); ++i)
            n += MB_CtlSpec::parse(ctl.entries[i]).flag(dlg::kSfFocus);
        return n;
    }
};

Built build(const MB_PageRequest& page, const core::StrArray& items, bool reset = true) {
    Built b;
    b.reset = reset;
    if (!reset) MB_AddControl("Label", "", "caller's", b.ctl, true);
    MB_AddPageCtls(page, items, b.ctl, b.reset, b.map);
    return b;
}

TEST(PagedLists, ACheckBoxColumnCarriesCaptionsAndStates) {
    core::StrArray items;
    items.redim(0, 3);
    items.set(1, "a");
    items.set(2, "b");
    items.set(3, "c");
    auto b = build({.typeWords = "CheckBox", .states = "1|x"}, items);
    ASSERT_EQ(b.map.ubound(), 3);
    const char* values[] = {"1", "0", "0"};  // a state that is not a number is clear
    for (long p = 1; p <= 3; ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(b.map[p], p);
        EXPECT_EQ(b.type(p), "CheckBox");
        EXPECT_EQ(MB_CtlSpec::parse(b.ctl.entries[p]).text(dlg::kSfWidth), items[p]);
        EXPECT_EQ(b.value(p), values[p - 1]);
    }
    EXPECT_EQ(b.focusCount(), 0);
    EXPECT_FALSE(b.reset);
}

TEST(PagedLists, RowsOfTwoWithFillersAndAnExtraRow) {
    struct Case {
        const char* name;
        bool extraRow;
        std::vector<std::string> types;
        long mapUBound;
    } cases[] = {
        {"no extra row", false, {"TextBox", "_TextBox", "TextBox", "_TextBox", "TextBox", "_TextBox"},
         6},
        {"extra row",
         true,
         {"TextBox", "_TextBox", "TextBox", "_TextBox", "TextBox", "_TextBox", "TextBox",
          "_TextBox"},
         8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = build({.typeWords = " TextBox ", .columns = 2, .extraRow = c.extraRow},
                       numbered(5));
        ASSERT_EQ(b.map.ubound(), c.mapUBound);
        for (long p = 1; p <= c.mapUBound; ++p) {
            SCOPED_TRACE(p);
            EXPECT_EQ(b.type(p), c.types[static_cast<std::size_t>(p - 1)]);
            EXPECT_EQ(b.value(p), p <= 5 ? "item" + std::to_string(p) : "");
        }
    }
}

TEST(PagedLists, TheLastPageOffersANewItemAndTheFocusGoesToIt) {
    auto b = build({.typeWords = "TextBox",
                    .firstItem = 10,
                    .pageSize = 12,
                    .focusOnEmpty = true,
                    .extraRow = true},
                   numbered(20));
    ASSERT_EQ(b.map.ubound(), 12);
    EXPECT_EQ(b.value(1), "item10");
    EXPECT_EQ(b.value(11), "item20");
    EXPECT_EQ(b.value(12), "");
    EXPECT_TRUE(b.focus(12));
    EXPECT_EQ(b.focusCount(), 1);
}

TEST(PagedLists, AFullLastPageGetsNoExtraRow) {
    auto b = build({.typeWords = "TextBox", .columns = 2, .firstItem = 5, .pageSize = 4,
                    .extraRow = true},
                   numbered(8));
    ASSERT_EQ(b.map.ubound(), 6);
    EXPECT_EQ(b.value(1), "item5");
    EXPECT_EQ(b.value(4), "item8");
    EXPECT_EQ(b.map[5], 0);
    EXPECT_EQ(b.map[6], 0);
    EXPECT_EQ(b.ctl.entries.ubound(), 4);
}

TEST(PagedLists, AnEmptyListShowsOnlyTheExtraRow) {
    auto with = build({.typeWords = "TextBox", .columns = 2, .firstItem = 0, .extraRow = true},
                      numbered(0));
    ASSERT_EQ(with.map.ubound(), 2);
    EXPECT_EQ(with.type(1), "TextBox");
    EXPECT_EQ(with.type(2), "_TextBox");
    auto without = build({.typeWords = "TextBox", .columns = 2}, numbered(0));
    EXPECT_EQ(without.map.ubound(), 0);
    EXPECT_EQ(without.ctl.entries.hasBounds(), false);
    EXPECT_TRUE(without.reset);
}

TEST(PagedLists, FocusOnTheFirstControlOnlyWhenTheCallResets) {
    auto first = build({.typeWords = "TextBox", .focusOnFirst = true}, numbered(3));
    EXPECT_TRUE(first.focus(1));
    EXPECT_EQ(first.focusCount(), 1);
    auto later = build({.typeWords = "TextBox", .focusOnFirst = true}, numbered(3), false);
    EXPECT_EQ(later.focusCount(), 0);
    EXPECT_EQ(later.map[1], 2);  // after the caller's own control
}

// Pages that do not start on a multiple of the columns (Prev from a last page that was
// moved back to stay full) and pages that end inside a row.
TEST(PagedLists, NoFillerEverStandsForAnItemThatExists) {
    struct Case {
        const char* name;
        long first, pageSize, count;
        long mapUBound;
    } cases[] = {
        {"page 6..35 of 65", 6, 30, 65, 30},
        {"last page 36..65", 36, 30, 65, 30},
        {"page of 5 in rows of 2", 1, 5, 20, 5},
        {"last page 61..65", 61, 30, 65, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = build({.typeWords = "TextBox", .columns = 2, .firstItem = c.first,
                        .pageSize = c.pageSize},
                       numbered(c.count));
        ASSERT_EQ(b.map.ubound(), c.mapUBound);
        EXPECT_EQ(b.type(1), "TextBox");  // the page's first item begins a row
        for (long p = 1; p <= b.map.ubound(); ++p) {
            long n = c.first + p - 1;
            if (n <= c.count) EXPECT_EQ(b.value(p), "item" + std::to_string(n)) << p;
            else EXPECT_EQ(b.value(p), "") << p;
        }
    }
}

TEST(PagedLists, TypeWordsCycleOverTheItems) {
    auto b = build({.typeWords = "CheckBox|TextBox|", .columns = 2, .states = "1|0|1"},
                   numbered(3));
    ASSERT_EQ(b.map.ubound(), 4);
    EXPECT_EQ(b.type(1), "CheckBox");
    EXPECT_EQ(b.value(1), "1");
    EXPECT_EQ(b.type(2), "_TextBox");
    EXPECT_EQ(b.value(2), "item2");
    EXPECT_EQ(b.type(3), "CheckBox");
    EXPECT_EQ(b.type(4), "_TextBox");
}

TEST(PagedLists, ZeroColumnsIsRefused) {
    Built b;
    EXPECT_THROW(MB_AddPageCtls({.typeWords = "TextBox", .columns = 0}, numbered(3), b.ctl, b.reset,
                                b.map),
                 sys::RtError);
}

}  // namespace
