#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/text.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

namespace {

using Items = std::vector<std::string>;

Items split(std::string_view text, std::string_view delimiter = "|",
            std::string_view spec = kChunksNoExclusion, long lowerBound = 0) {
    core::StrArray a;
    CHUNKS_SplitEx(text, delimiter, spec, a, lowerBound);
    return a.items();
}

core::StrArray array(const Items& items, long lowerBound = 0) {
    core::StrArray a;
    if (items.empty()) return a;
    a.redim(lowerBound, lowerBound + static_cast<long>(items.size()) - 1);
    for (size_t i = 0; i < items.size(); ++i) a.set(lowerBound + static_cast<long>(i), items[i]);
    return a;
}

std::string join(const Items& items, std::string_view delimiter = "|",
                 std::string_view spec = kChunksNoExclusion) {
    return CHUNKS_JoinEx(array(items), delimiter, spec, 0, false);
}

TEST(DelimitedLists, Splits) {
    struct Case {
        const char* name;
        std::string text, delimiter, spec;
        Items expected;
    } cases[] = {
        {"empty items kept", "a||b", "|", kChunksNoExclusion, {"a", "", "b"}},
        {"blanks belong to items", " a | b", "|", kChunksNoExclusion, {" a ", " b"}},
        {"long delimiter", "a:::b::c", ":::", kChunksNoExclusion, {"a", "b::c"}},
        {"escape trailer", "a|b!!c{{||{{!!", "|", kChunksNoExclusion, {"a", "b|c"}},
        {"blank after region", "{a|b} |c", "|", "{}", {"a|b", "c"}},
        {"region never closed", "{a|b", "|", "", {"a|b"}},
        {"text after region dropped", "{a}x|b", "|", "{}", {"a"}},
        {"regions do not nest", "{a{b}c}", "|", "{}", {"a{b"}},
        {"unwrapped items", "a|{b|c}|d", "|", "anything", {"a", "b|c", "d"}},
        {"other pair", "<a|b>|c", "|", "<>", {"a|b", "c"}},
        {"pair trailer", "{a!!b}|{c}{{!!!\"", "|", "{}", {"a{b", "c"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(split(c.text, c.delimiter, c.spec), c.expected);
    }
    core::StrArray a;
    CHUNKS_SplitEx("", "|", kChunksNoExclusion, a, 1);
    EXPECT_EQ(a.lbound(), 0);
    EXPECT_EQ(a.items(), Items{""});
    CHUNKS_Split("x|y", a, 1);
    EXPECT_EQ(a.lbound(), 1);
    EXPECT_EQ(a.ubound(), 2);
}

TEST(DelimitedLists, Joins) {
    EXPECT_EQ(join({"a", "b|c"}), "a|b!!c{{||{{!!");
    EXPECT_EQ(join({"a", "b"}, "|", "{}"), "{a}|{b}");
    EXPECT_EQ(join({"a{", "b"}, "|", "{}"), "{a!!}|{b}{{!!!\"");
    EXPECT_EQ(join({}), "");
    core::StrArray a = array({"x", " ", "y", "z"}, 1);
    EXPECT_EQ(CHUNKS_JoinEx(a, "|", kChunksNoExclusion, 1, true, kChunksMarker, 3), "x|y");
    EXPECT_EQ(CHUNKS_Join(a, 2), " |y|z");
    core::LngArray n;
    n.redim(0, 2);
    n.set(1, 5);
    n.set(2, -7);
    EXPECT_EQ(CHUNKS_JoinVariants(n, 1), "5|-7");
}

// "x!|y" with the pair "!!" would be written "x!!!y" and read back as "x|!y".
TEST(DelimitedLists, EscapePairNeverFusesWithItemText) {
    for (const Items& items : {Items{"a", "x!|y"}, Items{"|!", "!"}, Items{"!|", "!!|"}}) {
        SCOPED_TRACE(join(items));
        EXPECT_EQ(split(join(items)), items);
    }
    Items prot{"x!{", "}!"};
    EXPECT_EQ(split(join(prot, "|", "{}"), "|", "{}"), prot);
    // A list whose end only looks like a trailer is written with one.
    Items tricky{"x{{||{{ab"};
    EXPECT_EQ(split(join(tricky, ":::"), ":::"), tricky);
    for (const Items& fused : {Items{"a|", "b"}, Items{"|", "|"}, Items{"x", "|y|"}}) {
        SCOPED_TRACE(join(fused, "||"));
        EXPECT_EQ(split(join(fused, "||"), "||"), fused);
        bool ok = false;
        const std::string inserted = CHUNKS_InsertEx("p||q", fused[0], "||", kChunksNoExclusion, 0,
                                                     false, false, ok);
        EXPECT_EQ(split(inserted, "||"), (Items{"p", "q", fused[0]}));
    }
}

TEST(DelimitedLists, JoinThenSplitGivesTheItemsBack) {
    // ":" and "|" at an item's edge can fuse with a delimiter that overlaps itself
    // (":" then ":::", "a|" then "||").
    const std::string alphabet = "|{}!\"ab :";
    std::mt19937 rng(20261210);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    struct Mode {
        std::string delimiter, spec;
    } modes[] = {{"|", kChunksNoExclusion}, {"|", "{}"}, {":::", kChunksNoExclusion}, {":", "{}"},
                 {"||", kChunksNoExclusion}, {"abab", kChunksNoExclusion}, {"|:", kChunksNoExclusion},
                 {"|", "!}"}};
    for (const auto& m : modes) {
        for (int round = 0; round < 1500; ++round) {
            Items items(static_cast<size_t>(1 + pick(5)));
            for (auto& item : items)
                for (int k = pick(7); k > 0; --k) item += alphabet[static_cast<size_t>(pick(int(alphabet.size())))];
            // One empty item alone is the empty list.
            if (items.size() == 1 && items[0].empty()) continue;
            std::string list = join(items, m.delimiter, m.spec);
            SCOPED_TRACE(m.spec + " " + ::testing::PrintToString(items) + " -> " + list);
            ASSERT_EQ(split(list, m.delimiter, m.spec), items);
        }
    }
}

TEST(DelimitedLists, CountGetSetAppend) {
    EXPECT_EQ(CHUNKS_Count(""), 0);
    EXPECT_EQ(CHUNKS_Count("a||b"), 3);
    // The marker's bars are no separators.
    EXPECT_EQ(CHUNKS_Count("a|b!!c{{||{{!!"), 2);

    EXPECT_EQ(CHUNKS_Get(2, "a||b"), "");
    EXPECT_EQ(CHUNKS_Get(3, "a||b"), "b");
    EXPECT_EQ(CHUNKS_Get(4, "a||b"), "");
    EXPECT_EQ(CHUNKS_Get(0, "a"), "");
    EXPECT_EQ(CHUNKS_Get(2, "a|b!!c{{||{{!!"), "b|c");
    EXPECT_EQ(CHUNKS_GetEx(5, "|", kChunksNoExclusion, "a", "dflt"), "dflt");
    EXPECT_EQ(CHUNKS_GetProt(1, "{a|b}|c"), "a|b");
    EXPECT_DOUBLE_EQ(CHUNKS_GetNum(2, "x|12.5"), 12.5);
    EXPECT_FALSE(CHUNKS_GetIsTrue(1, "False|1"));
    EXPECT_TRUE(CHUNKS_GetIsTrue(2, "False|1"));

    std::string list = "a";
    CHUNKS_Set(3, list, "value");
    EXPECT_EQ(list, "a||value");
    CHUNKS_Set(0, list, "x");
    EXPECT_EQ(list, "a||value");
    CHUNKS_Set(2, list, "b|c");
    EXPECT_EQ(split(list), (Items{"a", "b|c", "value"}));
    std::string prot = "{a}|{b}";
    CHUNKS_SetEx(1, prot, "|", "{}", "z");
    EXPECT_EQ(prot, "{z}|{b}");

    std::string appended;
    CHUNKS_Append(appended, "x|y");
    EXPECT_EQ(split(appended), Items{"x|y"});
    CHUNKS_Append(appended, "z");
    EXPECT_EQ(split(appended), (Items{"x|y", "z"}));
    std::string plain;
    CHUNKS_Append(plain, "p");
    CHUNKS_Append(plain, "q");
    EXPECT_EQ(plain, "p|q");
}

TEST(DelimitedLists, InsertChecksDuplicatesAgainstItems) {
    bool ok = false;
    EXPECT_EQ(CHUNKS_InsertEx("Alpha|b", "alpha", "|", kChunksNoExclusion, 2, false, false, ok), "Alpha|b");
    EXPECT_FALSE(ok);
    EXPECT_EQ(CHUNKS_InsertEx("Alpha|b", "alpha", "|", kChunksNoExclusion, 1, false, false, ok),
              "Alpha|b|alpha");
    EXPECT_TRUE(ok);
    EXPECT_EQ(CHUNKS_InsertEx("a", "b", "|", kChunksNoExclusion, 0, false, true, ok), "b|a");
    EXPECT_EQ(CHUNKS_InsertEx("", "b", "|", kChunksNoExclusion, 0, false, false, ok), "b");
    EXPECT_EQ(CHUNKS_InsertEx("{a}", "b", "|", "{}", 0, false, false, ok), "{a}|{b}");

    // Items holding the delimiter are compared as items, in either direction.
    std::string escaped = CHUNKS_InsertEx("a", "b|c", "|", kChunksNoExclusion, 0, false, false, ok);
    EXPECT_EQ(escaped, "a|b!!c{{||{{!!");
    CHUNKS_InsertEx(escaped, "B|C", "|", kChunksNoExclusion, 2, false, false, ok);
    EXPECT_FALSE(ok);
    std::string two = CHUNKS_InsertEx("a|b", "a|b", "|", kChunksNoExclusion, 1, false, false, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(split(two), (Items{"a", "b", "a|b"}));

    // The list's pair is kept while the new item does not hold it.
    EXPECT_EQ(CHUNKS_InsertEx(escaped, "d", "|", kChunksNoExclusion, 0, false, false, ok),
              "a|b!!c|d{{||{{!!");
    // An item ending in "!" next to a reused pair must still read back.
    std::string fused = CHUNKS_InsertEx(escaped, "x!|y", "|", kChunksNoExclusion, 0, false, false, ok);
    EXPECT_EQ(split(fused), (Items{"a", "b|c", "x!|y"}));
    std::string prot = CHUNKS_InsertEx("{a}", "}{", "|", "{}", 0, false, true, ok);
    EXPECT_EQ(split(prot, "|", "{}"), (Items{"}{", "a"}));
}

TEST(DelimitedLists, InsertMessagesGoThroughTheUserInterface) {
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder responder;
    responder.press("Item already exists. List can contain unique items only.", "&OK")
        .press("Internal parameter err Chunks/0088", "&OK");
    bool ok = true;
    CHUNKS_InsertEx("a", "A", "|", kChunksNoExclusion, 2, true, false, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(CHUNKS_InsertEx("a", "a", "|", kChunksNoExclusion, 9, true, false, ok), "a|a");
    EXPECT_TRUE(ok);
    EXPECT_EQ(responder.pending(), 0u);
}

TEST(DelimitedLists, FindAndRemove) {
    EXPECT_EQ(CHUNKS_IndexOf("", "", "|", kChunksNoExclusion, true), -1);
    EXPECT_EQ(CHUNKS_IndexOf("a|B|c", "b", "|", kChunksNoExclusion, false), 2);
    EXPECT_EQ(CHUNKS_IndexOf("a|B|c", "b", "|", kChunksNoExclusion, true), -1);
    EXPECT_EQ(CHUNKS_IndexOf("{a|b}|c", "a|b", "|", "{}", true), 1);
    EXPECT_EQ(CHUNKS_FindCS("a|bb|b", "b", true, -5), 3);
    EXPECT_EQ(CHUNKS_FindCS("a|bb|b", "a", true, -5), 1);
    EXPECT_EQ(CHUNKS_FindCS("a|bb", "B", true, -5), -5);
    EXPECT_EQ(CHUNKS_Find("a|bb", "BB", false, true, 0), 2);
    EXPECT_TRUE(CHUNKS_Contains("b", "{a}|{b}", "|", "{}", true));
    EXPECT_FALSE(CHUNKS_Contains("b", "{a}|{b}", "|", kChunksNoExclusion, true));

    bool found = false;
    std::string positions;
    EXPECT_EQ(CHUNKS_RemoveItem("x|a|y|A", "a", "|", kChunksNoExclusion, false, found, positions), "x|y");
    EXPECT_TRUE(found);
    EXPECT_EQ(positions, "2|4");
    EXPECT_EQ(CHUNKS_RemoveItem("a|A", "a", "|", kChunksNoExclusion, false, found, positions), "");
    EXPECT_EQ(CHUNKS_RemoveItem("x!y|b", "q", "|", kChunksNoExclusion, true, found, positions), "x!y|b");
    EXPECT_FALSE(found);
    bool removed = false;
    EXPECT_EQ(CHUNKS_RemoveAtPositions("a|b|c|d", "1|3", "|", kChunksNoExclusion, removed), "b|d");
    EXPECT_TRUE(removed);
    EXPECT_EQ(CHUNKS_RemoveAtPositions("a|b", "7", "|", kChunksNoExclusion, removed), "a|b");
    EXPECT_TRUE(removed);  // only ever set

    std::string list = "a";
    bool ok = true;
    EXPECT_EQ(CHUNKS_AddUnique(list, "A", "|", kChunksNoExclusion, 0, false, false, ok), 1);
    EXPECT_FALSE(ok);
    EXPECT_EQ(CHUNKS_AddUnique(list, "b", "|", kChunksNoExclusion, 0, false, false, ok), 2);
    EXPECT_TRUE(ok);
}

TEST(DelimitedLists, ListOf) {
    EXPECT_EQ(CHUNKS_ListOf("a", "b", "|", "c"), "a|b|c");
    EXPECT_EQ(CHUNKS_ListOf("", ""), "|");
    EXPECT_EQ(split(CHUNKS_ListOf("a", "b|c", "A", "d")), (Items{"a", "b|c", "d"}));
    EXPECT_EQ(split(CHUNKS_ListOf("a", "b", "c|d", "B")), (Items{"a", "b", "c|d"}));
}

TEST(DelimitedLists, Numbers) {
    core::IntArray ints;
    CHUNKS_ToIntArray("1|2.5|x|-3.5", ints, 1);
    EXPECT_EQ(ints.lbound(), 1);
    EXPECT_EQ(ints.items(), (std::vector<int>{1, 2, 0, -4}));
    CHUNKS_ToIntArray("", ints, 1);
    EXPECT_EQ(ints.lbound(), 0);
    EXPECT_EQ(ints.items(), std::vector<int>{0});
    core::LngArray longs;
    CHUNKS_ToLngArray("9999999999|-9999999999|7", longs, 0, false);
    EXPECT_EQ(longs.items(), (std::vector<long>{2147483647L, -2147483648L, 7}));
    CHUNKS_ToLngArray("1|2!!3{{||{{!!", longs, 0, true);
    EXPECT_EQ(longs.items(), (std::vector<long>{1, 2, 0, 0}));
    // Plain digits are read directly; anything else, or too long for that, as Val reads it.
    CHUNKS_ToLngArray("|007|999999999|1234567890|9999999999| 5|-3|2.5|3.5|12x|&H10", longs, 1, true);
    EXPECT_EQ(longs.lbound(), 1);
    EXPECT_EQ(longs.items(),
              (std::vector<long>{0, 7, 999999999, 1234567890, 2147483647L, 5, -3, 2, 4, 12, 16}));
    core::SngArray singles;
    CHUNKS_ToSngArray("0.5", singles, 0);
    EXPECT_FLOAT_EQ(singles[0], 0.5f);

    EXPECT_EQ(CHUNKS_FormatNums("2|1|3", "10|2.25|x", "|", kChunksNoExclusion, "0.0||", ", "),
              "2.3, 10, x");
}

class TagUi : public testsupport::FakeUserInterface {
public:
    std::string tag(core::UiHandle object) const override {
        auto it = tags.find(object);
        return it == tags.end() ? std::string() : it->second;
    }
    void setTag(core::UiHandle object, const std::string& t) override { tags[object] = t; }
    std::map<core::UiHandle, std::string> tags;
};

TEST(DelimitedLists, TagsAreListsOfTheirObjects) {
    TagUi ui;
    auto* ctl = reinterpret_cast<core::UiHandle>(&ui);
    ui.tags[ctl] = "a|12";
    EXPECT_EQ(CHUNKS_CtlTagGet(1, ctl), "a");
    EXPECT_DOUBLE_EQ(CHUNKS_CtlTagNum(2, ctl), 12);
    EXPECT_EQ(CHUNKS_FormTagGet(2, ctl), "12");
    CHUNKS_CtlTagSet(4, ctl, "z");
    EXPECT_EQ(ui.tags[ctl], "a|12||z");
}

class IniLists : public ::testing::Test {
protected:
    void SetUp() override { TXT_CrLfInit(); }
    testsupport::TempHome home;
    std::string file = home / "lists.ini";
};

TEST_F(IniLists, StoredListsKeepTheirItems) {
    CHUNKS_IniPut("S", "L", file, array({"a", " ", "b|c"}, 1), "|", kChunksNoExclusion, 1, true);
    core::StrArray read;
    CHUNKS_IniGet("S", "L", file, "|", kChunksNoExclusion, read, 1, 3);
    EXPECT_EQ(read.items(), (Items{"a", "b|c"}));
    CHUNKS_IniGet("S", "none", file, "|", kChunksNoExclusion, read, 1, 1);
    EXPECT_EQ(read.lbound(), 0);
    EXPECT_EQ(read.items(), Items{""});

    CHUNKS_IniDelete("S", "L", file, "B|C", "|", kChunksNoExclusion, false, 3);
    EXPECT_EQ(INI_Get("S", "L", file, 3), "a");
    core::StrArray items = array({"list|x"});
    bool ok = false;
    CHUNKS_ArrayItemInsert(items, 0, "y", "|", kChunksNoExclusion, 2, false, false, ok);
    EXPECT_EQ(split(items[0]), (Items{"list", "x", "y"}));
}

// Keeping the last n characters would cut an item and, at the front, drop the new one.
TEST_F(IniLists, AddDropsWholeItemsFromTheFarEnd) {
    bool ok = false;
    for (const char* f : {"first.log", "second.log", "third.log"})
        CHUNKS_IniAdd("S", "Files", file, f, "|", kChunksNoExclusion, 2, false, false, ok, 1, 25);
    EXPECT_EQ(INI_Get("S", "Files", file, 3), "second.log|third.log");
    EXPECT_TRUE(ok);
    CHUNKS_IniAdd("S", "Files", file, "new.log", "|", kChunksNoExclusion, 2, false, true, ok, 3, 25);
    EXPECT_EQ(INI_Get("S", "Files", file, 3), "new.log|second.log");
    EXPECT_FALSE(CHUNKS_IniAdd("S", "Files", file, "NEW.log", "|", kChunksNoExclusion, 2, false,
                               true, ok, 3, 25));
    CHUNKS_IniAdd("S", "Files", file, "a-very-long-file-name.log", "|", kChunksNoExclusion, 0,
                  false, false, ok, 3, 10);
    EXPECT_EQ(INI_Get("S", "Files", file, 3), "a-very-long-file-name.log");
}

}  // namespace
