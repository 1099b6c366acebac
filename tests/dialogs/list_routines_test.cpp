#include <gtest/gtest.h>

#include "core/delimited_lists.h"
#include "dialogs/list_dialog.h"

namespace {

TEST(ListRoutines, BlankSpecFieldsTakeTheDefaults) {
    struct Case {
        const char* name;
        std::string spec, expected;
    };
    const Case cases[] = {
        {"empty spec", "", "8000|3500|||||True"},
        {"caller's fields kept", "9000||||||False|5", "9000|3500|||||False|5"},
        {"brace group stays whole", "|{1|2}|||||||1||{7800|900}", "8000|{1|2}|||||True||1||{7800|900}"},
        {"same as the defaults", "8000|3500|||||True", "8000|3500|||||True"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MB_FillBlankItems(c.spec, "8000|3500|||||True"), c.expected);
    }
}

TEST(ListRoutines, KeyColumnShowsOneFieldOfEachItem) {
    core::StrArray items, display;
    CHUNKS_SplitEx("a|1|x~~b~~c|3", "~~", kChunksNoExclusion, items, 1);
    display = items;
    MB_ListKeyColumn(items, display, 0);
    EXPECT_EQ(display[1], "a|1|x");  // below 1: untouched
    MB_ListKeyColumn(items, display, 2);
    EXPECT_EQ(display.lbound(), 1);
    EXPECT_EQ(display[1], "1");
    EXPECT_EQ(display[2], "");  // fewer fields
    EXPECT_EQ(display[3], "3");
    EXPECT_EQ(items[1], "a|1|x");
}

TEST(ListRoutines, InMemoryListAddAndRemove) {
    MB_ListDlgArgs args{.memList = "a|b|a"};
    EXPECT_TRUE(MB_ListAddItem("c", "", "", "", args));
    EXPECT_EQ(args.memList, "a|b|a|c");
    args.addAtFront = true;
    EXPECT_TRUE(MB_ListAddItem("a", "", "", "", args));  // duplicates allowed unless unique
    EXPECT_EQ(args.memList, "a|a|b|a|c");
    MB_ListRemoveItem("a", "", "", "", args);
    EXPECT_EQ(args.memList, "b|c");
}

}  // namespace
