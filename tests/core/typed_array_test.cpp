#include "core/typed_array.h"

#include <gtest/gtest.h>

#include <random>

using core::LngArray;
using core::StrArray;

namespace {

StrArray strs(long lo, std::vector<std::string> items) {
    StrArray a;
    a.redim(lo, lo + static_cast<long>(items.size()) - 1);
    for (std::size_t k = 0; k < items.size(); ++k) a.set(lo + static_cast<long>(k), items[k]);
    return a;
}

LngArray lngs(long lo, std::vector<long> items) {
    LngArray a;
    a.redim(lo, lo + static_cast<long>(items.size()) - 1);
    for (std::size_t k = 0; k < items.size(); ++k) a.set(lo + static_cast<long>(k), items[k]);
    return a;
}

std::string folded(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
}

// Bounds and items in one comparable value: "lo:a,b,c", "none" without bounds.
std::string shape(const StrArray& a) {
    if (!a.hasBounds()) return "none";
    std::string s = std::to_string(a.lbound()) + ":";
    for (long i = a.lbound(); i <= a.ubound(); ++i) s += (i > a.lbound() ? "," : "") + a[i];
    return s;
}

}  // namespace

TEST(TypedArray, ArrayWithoutBoundsReadsAsEmptyEverywhere) {
    StrArray s;
    LngArray l;
    core::IntArray n;
    core::SngArray f;
    EXPECT_FALSE(LLIST_StrArrHasBounds(s) || LLIST_LngArrHasBounds(l) || LLIST_IntArrHasBounds(n) ||
                 LLIST_SngArrHasBounds(f));
    EXPECT_EQ(s.ubound(), -1);
    EXPECT_EQ(LLIST_StrArrUBound(s, -1), -1);
    EXPECT_EQ(LLIST_LngArrUBound(l, -7), -7);
    EXPECT_EQ(LLIST_IntArrUBound(n, -1), -1);
    EXPECT_EQ(LLIST_StrArrLBound(s, 5), 5);
    EXPECT_EQ(LLIST_StrArrItem(s, 0, "dflt"), "dflt");
    EXPECT_EQ(LLIST_LngArrItem(l, 0, 42), 42);
    EXPECT_EQ(LLIST_StrArrItemOr(s, 0, "or"), "or");
    EXPECT_EQ(LLIST_StrArrCount(s, 11, 22), 11);
    EXPECT_FALSE(LLIST_StrArrHasNonBlank(s, false));
    long start = -1;
    EXPECT_EQ(LLIST_StrArrFind(s, "", start, true), -1);
    EXPECT_EQ(LLIST_LngArrFind(l, 0, start), -1);
    EXPECT_EQ(LLIST_StrArrFindEx(s, "", start, true, 99, -1, "|", "", "", ""), -1);

    EXPECT_TRUE(LLIST_StrArrEnsureBounds(s));
    EXPECT_EQ(shape(s), "0:");
    EXPECT_FALSE(LLIST_StrArrEnsureBounds(s));
    EXPECT_EQ(LLIST_StrArrCount(s, 11, 22), 22);
    EXPECT_TRUE(LLIST_LngArrEnsureBounds(l));
    EXPECT_EQ(LLIST_LngArrUBound(l, -1), 0);
}

TEST(TypedArray, ItemReadsOutsideBoundsGiveTheDefault) {
    StrArray a = strs(1, {"x", ""});
    EXPECT_EQ(LLIST_StrArrItem(a, 0, "d"), "d");
    EXPECT_EQ(LLIST_StrArrItem(a, 1, "d"), "x");
    EXPECT_EQ(LLIST_StrArrItem(a, 2, "d"), "");
    EXPECT_EQ(LLIST_StrArrItem(a, 3, "d"), "d");
    EXPECT_EQ(LLIST_StrArrItemOr(a, 2, "d"), "d");
    EXPECT_EQ(LLIST_StrArrItemOr(a, 1, "d"), "x");
    EXPECT_THROW(a[3], sys::RtError);
}

TEST(TypedArray, StrArrAddCases) {
    struct Case {
        const char* name;
        std::optional<StrArray> start;  // nullopt: without bounds
        long position;
        const char* text;
        long dupMode;
        bool reuseBlank;
        const char* after;
        long index;
        bool appended;
    };
    const Case cases[] = {
        {"append to an array without bounds", std::nullopt, -1, "t", 0, false, "0:t", 0, true},
        {"position into an array without bounds", std::nullopt, 2, "t", 0, false, "0:,,t", 2,
         false},
        {"position beyond grows with empty items", strs(0, {"a", "b"}), 5, "t", 0, false,
         "0:a,b,,,,t", 5, false},
        {"position inside overwrites", strs(0, {"a", "b", "c", "d"}), 1, "t", 0, false, "0:a,t,c,d",
         1, false},
        {"exact mode adds other capitals", strs(0, {"x", "Abc"}), -1, "ABC", 1, false,
         "0:x,Abc,ABC", 2, true},
        {"exact mode finds the same text", strs(0, {"x", "Abc"}), -1, "Abc", 1, false, "0:x,Abc", 1,
         false},
        {"ignoring case finds other capitals", strs(0, {"x", "Abc"}), -1, "aBC", 2, false,
         "0:x,Abc", 1, false},
        {"a found duplicate stores nothing at a position either", strs(0, {"x", "y"}), 0, "y", 2,
         false, "0:x,y", 1, false},
        {"blank item 0 is reused with the flag", strs(0, {"   "}), -1, "t", 0, true, "0:t", 0,
         true},
        {"blank item 0 is kept without the flag", strs(0, {"   "}), -1, "t", 0, false, "0:   ,t", 1,
         true},
        {"a non-blank item 0 is never reused", strs(0, {"a"}), -1, "t", 0, true, "0:a,t", 1, true},
        {"append keeps the lower bound", strs(3, {"a"}), -1, "t", 0, true, "3:a,t", 4, true},
        {"unknown duplicate mode checks nothing", strs(0, {"t"}), -1, "t", 7, false, "0:t,t", 1,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StrArray a = c.start.value_or(StrArray());
        long index = -99;
        bool space = true, appended = !c.appended;
        LLIST_StrArrAdd(a, c.position, c.text, c.dupMode, index, space, appended, c.reuseBlank);
        EXPECT_EQ(shape(a), c.after);
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(appended, c.appended);
        EXPECT_FALSE(space);
    }
}

TEST(TypedArray, AddBelowTheLowerBoundIsSubscriptError) {
    StrArray a = strs(1, {"a"});
    long index = 0;
    bool space = false, appended = false;
    try {
        LLIST_StrArrAdd(a, 0, "t", 0, index, space, appended, false);
        FAIL() << "no error";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), 9);
    }
    EXPECT_EQ(shape(a), "1:a");
}

// A position no vector can reach fails before any memory is asked for, so the test
// does not depend on the machine's overcommit setting or a sanitizer's allocator.
TEST(TypedArray, AddThatRunsOutOfMemoryRestoresTheArray) {
    const long position = 1L << 62;
    StrArray a = strs(0, {"a", "b"});
    LngArray l;
    long index = -7;
    bool space = false, appended = true;
    LLIST_StrArrAdd(a, position, "t", 0, index, space, appended, false);
    EXPECT_TRUE(space);
    EXPECT_FALSE(appended);
    EXPECT_EQ(index, -7);
    EXPECT_EQ(shape(a), "0:a,b");
    LLIST_LngArrAdd(l, position, 1, 0, index, space, appended);
    EXPECT_TRUE(space);
    EXPECT_FALSE(l.hasBounds());
}

TEST(TypedArray, NumericAddsSearchEqualValuesInBothModes) {
    for (long mode : {1L, 2L}) {
        SCOPED_TRACE(mode);
        LngArray l = lngs(0, {4, 9});
        core::IntArray n;
        core::SngArray f;
        long index = -1;
        bool error = false, appended = false;
        LLIST_LngArrAdd(l, -1, 9, mode, index, error, appended);
        EXPECT_EQ(index, 1);
        EXPECT_EQ(l.ubound(), 1);
        LLIST_IntArrAdd(n, -1, 3, mode, index, error, appended);
        LLIST_IntArrAdd(n, -1, 3, mode, index, error, appended);
        EXPECT_EQ(n.ubound(), 0);
        LLIST_SngArrAdd(f, -1, 0.0f, mode, index, error, appended);
        LLIST_SngArrAdd(f, -1, -0.0f, mode, index, error, appended);  // equal to 0
        LLIST_SngArrAdd(f, -1, 0.5f, mode, index, error, appended);
        EXPECT_EQ(f.ubound(), 1);
        EXPECT_EQ(index, 1);
    }
    LngArray l = lngs(0, {4});
    long index = -1;
    bool error = false, appended = false;
    LLIST_LngArrAdd(l, -1, 4, 0, index, error, appended);
    EXPECT_EQ(index, 1);
}

TEST(TypedArray, TallyOfDistinctValuesKeepsCountsAtTheSameIndex) {
    StrArray values;
    LngArray counts;
    for (const char* v : {"Bot", "crawler", "bot", "BOT", "spider", "Crawler", "bot"}) {
        long index = -1, countIndex = -1;
        bool space = false, appended = false;
        LLIST_StrArrAdd(values, -1, v, 2, index, space, appended, false);
        LLIST_LngArrAddRelative(counts, index, 1, countIndex, space, appended);
        EXPECT_EQ(countIndex, index);
    }
    EXPECT_EQ(shape(values), "0:Bot,crawler,spider");  // the first spelling seen stays
    EXPECT_EQ(counts.items(), (std::vector<long>{4, 2, 1}));
}

TEST(TypedArray, FindsScanFromStartAndWriteBackANegativeStart) {
    StrArray a = strs(1, {"a", "B", "b", "a"});
    long start = -1;
    EXPECT_EQ(LLIST_StrArrFind(a, "A", start, false), 1);
    EXPECT_EQ(start, 1);  // the lower bound, not 0
    start = 2;
    EXPECT_EQ(LLIST_StrArrFind(a, "b", start, true), 3);
    EXPECT_EQ(LLIST_StrArrFind(a, "b", start, false), 2);
    start = 0;  // below the lower bound but not negative: scanned from the lower bound
    EXPECT_EQ(LLIST_StrArrFind(a, "a", start, true), 1);
    EXPECT_EQ(start, 0);
    start = 5;
    EXPECT_EQ(LLIST_StrArrFind(a, "a", start, true), -1);

    LngArray l = lngs(0, {7, 3, 7});
    start = 1;
    EXPECT_EQ(LLIST_LngArrFind(l, 7, start), 2);
    start = -5;
    EXPECT_EQ(LLIST_LngArrFind(l, 3, start), 1);
    EXPECT_EQ(start, 0);
}

// Large arrays answer finds from a hash index; every result must equal a plain scan's
// after any mix of adds, overwrites, growth, replacements and removals.
TEST(TypedArray, IndexedFindsMatchAPlainScan) {
    std::mt19937 rng(12345);
    const std::vector<std::string> words = {"a", "A", "b", "B", "", "ab", "Ab", "c", "  "};
    auto pick = [&](std::size_t n) { return static_cast<long>(rng() % n); };
    StrArray a;
    auto scan = [&](const std::string& v, long from, bool exact) -> long {
        for (long i = std::max(from, a.lbound()); i <= a.ubound(); ++i)
            if (exact ? a[i] == v : folded(a[i]) == folded(v)) return i;
        return -1;
    };
    long index = 0;
    bool space = false, appended = false;
    for (int step = 0; step < 4000; ++step) {
        const std::string& w = words[pick(words.size())];
        switch (pick(10)) {
            case 0:
                LLIST_StrArrAdd(a, pick(a.count() + 40), w, 0, index, space, appended, false);
                break;
            case 1:
                LLIST_StrArrRemoveAt(a, pick(a.count() + 1));
                break;
            case 2:
                LLIST_StrArrReplace(a, "a", "b", false, pick(50), pick(50) + 60);
                break;
            case 3:
                a.set(std::max(0L, pick(a.count())), w + "x");
                break;
            default:
                LLIST_StrArrAdd(a, -1, w + std::to_string(pick(30)), pick(3), index, space,
                                appended, false);
        }
        for (bool exact : {true, false}) {
            long from = pick(a.count() + 2) - 1, fromScan = std::max(from, 0L);
            std::string probe =
                words[pick(words.size())] + (pick(2) ? std::to_string(pick(30)) : "");
            ASSERT_EQ(LLIST_StrArrFind(a, probe, from, exact), scan(probe, fromScan, exact))
                << "step " << step << " probe '" << probe << "'";
        }
    }
    EXPECT_GT(a.count(), static_cast<long>(core::detail::kIndexFrom));
}

TEST(TypedArray, FindExComparesTheChosenPartOfEachItem) {
    StrArray a = strs(0, {"x|Key|1", "y|key|2", "path/to/File", "{a|b}|{c}", "solo"});
    struct Case {
        const char* name;
        const char* text;
        bool exact;
        long lastIndex, itemNo;
        const char *delimiter, *spec, *separator, *listDefault;
        long expected;
    };
    const Case cases[] = {
        {"whole item", "solo", true, 99, -1, "|", "", "", "", 4},
        {"second list item ignoring case", "KEY", false, 99, 2, "|", "Do not exclude any part", "",
         "", 0},
        {"second list item exactly", "key", true, 99, 2, "|", "Do not exclude any part", "", "", 1},
        {"last index stops the scan", "key", true, 0, 2, "|", "Do not exclude any part", "", "",
         -1},
        {"text after the last separator", "file", false, 99, -1, "|", "", "/", "", 2},
        {"protected regions keep delimiters", "a|b", true, 99, 1, "|", "{}", "", "", 3},
        {"missing list item reads as the default", "none", true, 99, 3, "|",
         "Do not exclude any part", "", "none", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        long start = -1;
        EXPECT_EQ(LLIST_StrArrFindEx(a, c.text, start, c.exact, c.lastIndex, c.itemNo, c.delimiter,
                                     c.spec, c.separator, c.listDefault),
                  c.expected);
        EXPECT_EQ(start, 0);
    }
    StrArray escaped = strs(0, {"a|b!!c{{||{{!!"});  // item 2 holds a "|"
    long start = 0;
    EXPECT_EQ(LLIST_StrArrFindEx(escaped, "b|c", start, true, 9, 2, "|", "Do not exclude any part",
                                 "", ""),
              0);
}

TEST(TypedArray, FindExReadsListItemsInBothModes) {
    const char* plain = "Do not exclude any part";
    struct Case {
        const char *list, *spec;
        long itemNo;
        const char* item;  // "<none>": the list has no such item
    };
    const Case cases[] = {
        {"a||b", plain, 2, ""},
        {"a||b", plain, 4, "<none>"},
        {"", plain, 1, ""},
        {"", plain, 2, "<none>"},
        {"a|b!!c{{||{{!!", plain, 2, "b|c"},
        {"{a|b} |c", "", 1, "a|b"},
        {"{a|b} |c", "", 2, "c"},
        {"{a|b", "{}", 1, "a|b"},
        {"{a}x|b", "", 2, "<none>"},
        {"<a|b>|<c>", "<>", 2, "c"},
        {"{a{b}c}", "", 1, "a{b"},
        {"{x!!y}|{z}{{!!##", "{}", 1, "x{y"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.list) + " item " + std::to_string(c.itemNo));
        StrArray a = strs(0, {c.list});
        long start = 0;
        EXPECT_EQ(
            LLIST_StrArrFindEx(a, c.item, start, true, 0, c.itemNo, "|", c.spec, "", "<none>"), 0);
    }
}

TEST(TypedArray, RemovalNeverLeavesAnArrayWithoutBounds) {
    StrArray one = strs(2, {"only"});
    LLIST_StrArrRemoveAt(one, 2);
    EXPECT_EQ(shape(one), "0:");
    EXPECT_EQ(LLIST_StrArrCount(one, -1, 0), 0);

    StrArray a = strs(0, {"a", "b", "c", "d"});
    LLIST_StrArrRemoveAt(a, 7);
    LLIST_StrArrRemoveAt(a, -1);
    EXPECT_EQ(shape(a), "0:a,b,c,d");
    LLIST_StrArrRemoveAt(a, 1);
    EXPECT_EQ(shape(a), "0:a,c,d");

    LngArray l = lngs(1, {5, 6, 7});
    LLIST_LngArrRemoveAt(l, 3);
    EXPECT_EQ(l.items(), (std::vector<long>{5, 6}));
    EXPECT_EQ(l.lbound(), 1);
}

TEST(TypedArray, RemoveValueRemovesFirstOrEveryEqualItemFromStart) {
    StrArray a = strs(0, {"x", "a", "A", "b", "a"});
    long start = 1;
    EXPECT_TRUE(LLIST_StrArrRemoveValue(a, "a", true, start, true));
    EXPECT_EQ(shape(a), "0:x,A,b,a");
    start = -1;
    EXPECT_TRUE(LLIST_StrArrRemoveValue(a, "a", false, start, false));
    EXPECT_EQ(shape(a), "0:x,b");
    EXPECT_EQ(start, 0);
    EXPECT_FALSE(LLIST_StrArrRemoveValue(a, "a", false, start, false));

    StrArray keepBefore = strs(0, {"a", "b", "a"});
    start = 1;
    EXPECT_TRUE(LLIST_StrArrRemoveValue(keepBefore, "a", false, start, true));
    EXPECT_EQ(shape(keepBefore), "0:a,b");

    // Removing every empty item ends with the one empty item a removal leaves behind.
    StrArray blanks = strs(1, {"", "", ""});
    start = -1;
    EXPECT_TRUE(LLIST_StrArrRemoveValue(blanks, "", false, start, true));
    EXPECT_EQ(shape(blanks), "0:");
}

TEST(TypedArray, UniqueNameSkipsNamesTakenInAnyCase) {
    StrArray a = strs(0, {"new1", "NEW2"});
    EXPECT_EQ(LLIST_UniqueName(a, 1, "New", ""), "New3");
    EXPECT_EQ(LLIST_UniqueName(StrArray(), 1, "Site", " "), "Site 1");
    EXPECT_EQ(LLIST_UniqueName(a, 2, "ne", "w"), "new3");
}

TEST(TypedArray, CopiesClipTheirRangeAndAreIndependent) {
    const StrArray source = strs(1, {"a", "b", "c"});
    struct Case {
        const char* name;
        long offset, first, last;
        const char* after;
    };
    const Case cases[] = {
        {"plain copy", 0, 0, 2147483647, "1:a,b,c"},
        {"offset moves items down", 1, 0, 2147483647, "0:a,b,c"},
        {"first and last clip", 0, 2, 2, "2:b"},
        {"empty range leaves the target", 0, 4, 9, "5:old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StrArray target = strs(5, {"old"});
        LLIST_StrArrCopy(source, target, c.offset, "", "", "|", "", "", "", c.first, c.last);
        EXPECT_EQ(shape(target), c.after);
    }
    StrArray untouched = strs(5, {"old"});
    LLIST_StrArrCopy(StrArray(), untouched, 0, "", "", "|", "", "", "", 0, 2147483647);
    EXPECT_EQ(shape(untouched), "5:old");

    StrArray copy;
    LLIST_StrArrCopy(source, copy, 0, "", "", "|", "", "", "", 0, 2147483647);
    copy.set(1, "changed");
    EXPECT_EQ(source[1], "a");

    LngArray counts = lngs(2, {10, 20, 30});
    LngArray lcopy;
    LLIST_LngArrCopy(counts, lcopy, 1);
    EXPECT_EQ(lcopy.lbound(), 1);
    EXPECT_EQ(lcopy.items(), (std::vector<long>{10, 20, 30}));
    LLIST_LngArrCopy(counts, lcopy, 3);  // would start below 0: clipped at 0
    EXPECT_EQ(lcopy.lbound(), 0);
    EXPECT_EQ(lcopy.items(), (std::vector<long>{20, 30}));
    lcopy.set(0, 99);
    EXPECT_EQ(counts[3], 20);
}

TEST(TypedArray, CopyReformatsItemsThroughTheListThenTheTextFormat) {
    const StrArray source = strs(0, {"a|1234.5|20260105", "b||x"});
    struct Case {
        const char* name;
        const char *strFormat, *numList, *numFormats, *separator;
        const char* after;
    };
    const Case cases[] = {
        {"text format only", "@@@@@@@@@@", "", "", "", "0:a|1234.5|20260105,      b||x"},
        {"picked and formatted items", "", "2|1", "#,##0.0|", " ", "0:1,234.5 a,0.0 b"},
        {"text-format an item", "", "3", "@@@@-@@-@@", "", "0:2026-01-05,    -  - x"},
        {"an item past the end is empty", "", "1|9", "", "-", "0:a-,b-"},
        {"list, then text format", "(@@@@@@@@)", "1|2", "|0", ":", "0:(  a:1235),(     b:0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StrArray target;
        LLIST_StrArrCopy(source, target, 0, c.strFormat, c.numList, "|", "Do not exclude any part",
                         c.numFormats, c.separator, 0, 2147483647);
        EXPECT_EQ(shape(target), c.after);
    }
}

TEST(TypedArray, AppendArrAndFormArraysAppend) {
    StrArray target = strs(0, {"a"});
    bool space = true;
    LLIST_StrArrAppendArr(strs(0, {"A", "b", "a", "c"}), target, 1, 2147483647, 2, space);
    EXPECT_EQ(shape(target), "0:a,b,c");
    EXPECT_FALSE(space);
    LLIST_StrArrAppendArr(target, target, 0, 9, 0, space);
    EXPECT_EQ(shape(target), "0:a,b,c,a,b,c");

    int w1 = 0, w2 = 0, w3 = 0;
    core::FrmArray<int> forms, more;
    long index = -1;
    LLIST_FrmArrAdd(forms, -1, &w1, index);
    EXPECT_EQ(index, 0);
    LLIST_FrmArrAdd(forms, -1, &w2, index);
    LLIST_FrmArrAdd(forms, 3, &w3, index);
    EXPECT_EQ(forms.ubound(), 3);
    EXPECT_EQ(forms[2], nullptr);
    EXPECT_EQ(LLIST_FrmArrLBound(forms, -1), 0);
    EXPECT_EQ(LLIST_FrmArrLBound(more, -1), -1);
    LLIST_FrmArrAdd(more, -1, &w3, index);
    LLIST_FrmArrCopy(forms, more, 1, 2);
    EXPECT_EQ(more.items(), (std::vector<int*>{&w3, &w2, nullptr}));
}

TEST(TypedArray, ReplaceWorksOnTheClippedRange) {
    StrArray a = strs(0, {"aXa", "xx", "ax"});
    LLIST_StrArrReplace(a, "x", "-", false, 1, 99);
    EXPECT_EQ(shape(a), "0:aXa,--,a-");
    LLIST_StrArrReplace(a, "X", "y", true, -5, 0);
    EXPECT_EQ(shape(a), "0:aya,--,a-");
}

TEST(TypedArray, CountsAndNonBlankAndMinMax) {
    EXPECT_EQ(LLIST_StrArrCount(strs(3, {"a", ""}), -1, 0), 2);
    EXPECT_EQ(LLIST_StrArrCount(strs(3, {" "}), -1, 0), 1);
    EXPECT_FALSE(LLIST_StrArrHasNonBlank(strs(0, {"", "  "}), true));
    EXPECT_TRUE(LLIST_StrArrHasNonBlank(strs(0, {"", "  "}), false));

    LngArray l = lngs(0, {0, 7, -2, 0, 9});
    EXPECT_EQ(LLIST_LngArrMin(l, false), -2);
    EXPECT_EQ(LLIST_LngArrMin(lngs(0, {0, 7, 3}), true), 3);
    EXPECT_EQ(LLIST_LngArrMin(lngs(0, {0, 0}), true), 0);
    EXPECT_EQ(LLIST_LngArrMax(l), 9);
    EXPECT_EQ(LLIST_LngArrMax(lngs(0, {-5, -3})), -3);
}
