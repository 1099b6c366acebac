#include <gtest/gtest.h>

#include "analysis/key_tables.h"
#include "analysis/results.h"
#include "platform/sys/rt_error.h"

namespace {

ValueListIncrements counts(std::int64_t cnt, std::int64_t stay = 0, std::int64_t tgt1 = 0) {
    ValueListIncrements inc;
    inc.cnt = cnt;
    inc.counters[0] = stay;
    inc.counters[2] = tgt1;
    inc.dayTables = {true, true, false, true, true, true, true};
    return inc;
}

STTA_ValueList freshList() {
    STTA_ValueList list;
    STTA_ValueListAlloc(list, 10, 3, 10, {});
    return list;
}

TEST(ValueList, AddsFindItemsByTheirExactText) {
    STTA_ValueList list = freshList();
    ASSERT_EQ(list.Items.size(), 1u);
    EXPECT_EQ(STTA_ValueListAdd(0, list, "Shoes", counts(1), -1), 1);
    EXPECT_EQ(STTA_ValueListAdd(0, list, "shoes", counts(1), -1), 2);  // case counts
    EXPECT_EQ(STTA_ValueListAdd(1, list, "Shoes", counts(2, 1), -1), 1);
    EXPECT_EQ(STTA_ValueListAdd(1, list, "a|b", counts(1), -1), 3);
    EXPECT_EQ(STTA_ValueListAdd(1, list, "ab", counts(1), -1), 4);  // "|" keeps texts apart
    EXPECT_EQ(STTA_ValueListAdd(2, list, "", counts(1), -1), 0);
    EXPECT_EQ(STTA_ValueListAdd(2, list, "shoes", counts(1), 2), 2);
    EXPECT_EQ(list.Cnt, (std::vector<std::int64_t>{1, 3, 2, 1, 1}));
    // A counter the list was not allocated for grows only as far as a non-zero increment reached.
    EXPECT_EQ(list.CntStay(), (std::vector<std::int64_t>{0, 1}));
    EXPECT_TRUE(list.CntTgt(1).empty());
    EXPECT_EQ(STTA_ValueList::at(list.CntStay(), 4), 0);
}

TEST(ValueList, CountersItIsAllocatedForRunParallelToItsItems) {
    STTA_ValueList list;
    ValueListParts parts;
    parts.counters.fill(true);
    STTA_ValueListAlloc(list, 3, 3, 3, parts);
    STTA_ValueListAdd(0, list, "reached", counts(1, 1, 1), -1);
    STTA_ValueListAdd(0, list, "missed", counts(1), -1);
    for (const auto& counter : list.Counters) EXPECT_EQ(counter.size(), list.Items.size());
    EXPECT_EQ(list.CntTgt(1), (std::vector<std::int64_t>{0, 1, 0}));
}

TEST(ValueList, AKnownIndexHoldingAnotherTextIsAnError) {
    STTA_ValueList list = freshList();
    STTA_ValueListAdd(0, list, "one", counts(1), -1);
    for (long known : {0L, 2L, -5L}) {
        SCOPED_TRACE(known);
        try {
            STTA_ValueListAdd(0, list, "one", counts(1), known);
            FAIL() << "no error";
        } catch (const sys::RtError& e) {
            EXPECT_EQ(e.number(), 91273);
        }
    }
    EXPECT_EQ(list.Cnt, (std::vector<std::int64_t>{0, 1}));
}

TEST(ValueList, DayTablesTakeTheIncrementsOfTheirCounters) {
    STTA_ValueList list = freshList();
    STTA_ValueListAdd(0, list, "x", counts(1, 1), -1);
    STTA_ValueListAdd(2, list, "x", counts(3, 0, 1), -1);
    STTA_ValueListAdd(-1, list, "x", counts(5, 1), -1);  // no day: counters only
    EXPECT_EQ(list.Cnt[1], 9);
    EXPECT_EQ(list.DayCnt[0].sum(1, 0, 2), 4);
    EXPECT_EQ(list.DayCnt[0].get(2, 1), 3);
    EXPECT_EQ(list.DayCnt[1].sum(1, 0, 9), 1);   // CntStay
    EXPECT_EQ(list.DayCnt[3].sum(1, 0, 9), 1);   // CntTgt1
    EXPECT_TRUE(list.DayCnt[2].empty());         // CntPages has no day table in use
}

TEST(ValueList, AddPairCountsTheTextAndItsPairs) {
    STTA_ValueList dist = freshList();
    EXPECT_EQ(STTA_ValueListAddPair(0, 7, dist, "engine", 2, 0, false), 1);
    EXPECT_EQ(STTA_ValueListAddPair(0, 7, dist, "engine", 1, 1, false), 1);
    EXPECT_EQ(STTA_ValueListAddPair(0, 9, dist, "other", 4, 0, true), 2);
    EXPECT_EQ(dist.Cnt, (std::vector<std::int64_t>{0, 2, 1}));
    EXPECT_EQ(dist.PairCnt.get(1, 7), 3);
    EXPECT_EQ(dist.PairCnt2.get(1, 7), 1);
    EXPECT_EQ(dist.PairCnt2.get(2, 9), 0);
    EXPECT_EQ(dist.DayCnt[0].get(0, 2), 1);
    EXPECT_TRUE(dist.DayCnt[0].sum(1, 0, 0) == 0);
}

TEST(PairTables, BucketsKeysSumsAndColumns) {
    struct Case {
        long a, b, row, col;
        const char* key;
    } cases[] = {{0, 0, 1, 1, "|0;0;"}, {24, 75, 1, 2, "|24;75;"}, {25, 76, 2, 3, "|25;76;"}, {12, 3, 1, 1, "|12;3;"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        long row = 0, col = 0;
        std::string key;
        STTA_PairKey(c.a, c.b, row, col, key);
        EXPECT_EQ(row, c.row);
        EXPECT_EQ(col, c.col);
        EXPECT_EQ(key, c.key);
    }
    analysis::PairTable t;
    t.allocate(10, 10);
    EXPECT_EQ(STTA_PairTableSpan(t, 1), 50);
    STTA_PairAdd(t, 7, 40, 1);
    STTA_PairAdd(t, 12, 3, 5);
    STTA_PairAdd(t, 2, 40, 2);
    STTA_PairAdd(t, 7, 40, 4);
    EXPECT_EQ(t.get(7, 40), 5);
    EXPECT_EQ(t.get(40, 7), 0);
    using Col = std::vector<std::pair<long, std::int64_t>>;
    EXPECT_EQ(t.column(40), (Col{{2, 2}, {7, 5}}));
    EXPECT_TRUE(t.column(17).empty());  // item 7's key never matches item 17's
    STTA_PairAdd(t, 130, 40, 1);        // an add after a read is seen by the next read
    EXPECT_EQ(t.column(40).size(), 3u);
    EXPECT_EQ(STTA_PairTableSpan(t, 1), 200);
    EXPECT_EQ(STTA_PairTableSpan(t, 2), 100);
}

TEST(PairTables, DayRangeSumsAtTheEdges) {
    analysis::DayTable d;
    for (long day : {0L, 3L, 4L, 9L}) d.add(day, 5, day + 1);
    d.add(3, 5, 10);  // same day again
    d.add(1, 5, 100);  // a day out of order
    struct Case {
        long first, last;
        std::int64_t sum;
    } cases[] = {{0, 9, 130}, {0, 0, 1}, {1, 3, 114}, {5, 8, 0}, {9, 20, 10}, {-5, -1, 0}, {4, 3, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last));
        EXPECT_EQ(d.sum(5, c.first, c.last), c.sum);
    }
    EXPECT_EQ(d.sum(6, 0, 9), 0);
    EXPECT_EQ(d.sum(std::vector<long>{5, 6, 99}, 3, 4), 19);
}

TEST(KeyTables, LetterCellsAndExactNumbers) {
    struct Case {
        int level;
        const char* text;
        long row, col;
    } cases[] = {{1, "q", 17, 17}, {1, "Q", 17, 17}, {1, "9lives", 27, 19}, {1, "", 27, 27},
                 {2, "abc", 1, (3 - 1) * 27 + 3}, {3, "abcdefg", (1 - 1) * 27 + 5, (7 - 1) * 27 + 3},
                 {3, "|ab|cdefg|", (1 - 1) * 27 + 5, (7 - 1) * 27 + 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        KeyTable t = LISTX_KeyTableNew(c.level);
        long row = 0, col = 0, number = 0;
        bool added = false;
        LISTX_KeyFind(t, c.text, row, col, number, added);
        EXPECT_EQ(row, c.row);
        EXPECT_EQ(col, c.col);
        EXPECT_TRUE(added);
    }
    KeyTable t = LISTX_KeyTableNew(3);
    long row = 0, col = 0, first = 0, second = 0, again = 0;
    bool added = false;
    LISTX_KeyFind(t, "a|b", row, col, first, added);
    LISTX_KeyFind(t, "ab", row, col, second, added);
    EXPECT_TRUE(added);
    EXPECT_NE(first, second);
    LISTX_KeyFind(t, "a|b", row, col, again, added);
    EXPECT_FALSE(added);
    EXPECT_EQ(again, first);
    long rows = 0, cols = 0;
    LISTX_KeyTableSize(4, rows, cols);
    EXPECT_EQ(rows, 729);
    EXPECT_EQ(cols, 19683);
}

TEST(ResultsCopy, SharesTheCountsAndLeavesTheDeviationPartAlone) {
    STTA_Results source;
    source.SiteDBName = "blog";
    source.Analyzed_Field = kRkSearchTerm;
    source.AnalOpts.MinCount = 3;
    source.DayList->push_back("01 Jan 2026");
    STTA_ValueListAlloc(*source.Vals, 1, 1, 1, {});
    STTA_ValueListAdd(0, *source.Vals, "term", counts(2), -1);
    source.Targets.push_back(TargetSpec{{}, 2, 500});
    source.DevDays = 9;

    STTA_Results form;
    form.DevDays = 5;
    form.DevLastStart = 17;
    STTA_ResultsCopy(source, form);
    EXPECT_EQ(form.SiteDBName, "blog");
    EXPECT_EQ(form.AnalOpts.MinCount, 3);
    EXPECT_EQ(form.Vals, source.Vals);  // the same counts, not a copy of them
    EXPECT_EQ(form.Vals->Cnt[1], 2);
    ASSERT_EQ(form.Targets.size(), 2u);
    EXPECT_EQ(form.Targets[1].TagOpBytes, 500);
    EXPECT_EQ(form.DevDays, 5);
    EXPECT_EQ(form.DevLastStart, 17);

    // A report's own options change its copy only.
    form.AnalOpts.ValIsGroupedRep = true;
    STTA_Results back;
    STTA_ResultsCopy(form, back);
    EXPECT_TRUE(back.AnalOpts.ValIsGroupedRep);
    EXPECT_FALSE(source.AnalOpts.ValIsGroupedRep);
    EXPECT_EQ(*back.DayList, *source.DayList);
}

TEST(ResultsCopy, AListCopyIsDeepAndKeepsTheTargetsFlagAndNotes) {
    STTA_ValueList source = freshList();
    STTA_ValueListAdd(1, source, "page", counts(1, 1), -1);
    source.PairCnt.add(1, 4, 2);
    source.Flag = 3;
    STTA_ValueList target;
    target.Flag = 8;
    target.Notes = {"kept"};
    STTA_ResultsListCopy(source, target);
    STTA_ValueListAdd(1, source, "page", counts(1), -1);
    EXPECT_EQ(target.Cnt[1], 1);
    EXPECT_EQ(target.find("page"), 1);
    EXPECT_EQ(target.PairCnt.get(1, 4), 2);
    EXPECT_EQ(target.DayCnt[0].get(1, 1), 1);
    EXPECT_EQ(target.Flag, 8);
    EXPECT_EQ(target.Notes, std::vector<std::string>{"kept"});
    EXPECT_EQ(STTA_CustomRepParmsName(), "");
}

}  // namespace
