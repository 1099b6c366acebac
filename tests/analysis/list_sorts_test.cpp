#include <gtest/gtest.h>

#include "analysis/distribution_texts.h"
#include "analysis/list_sorts.h"

namespace {

core::LngArray lngs(std::vector<long> v) {
    core::LngArray a;
    if (v.empty()) return a;
    a.redim(0, static_cast<long>(v.size()) - 1);
    for (std::size_t i = 0; i < v.size(); ++i) a.set(static_cast<long>(i), v[i]);
    return a;
}

core::StrArray strs(std::vector<std::string> v) {
    core::StrArray a;
    a.redim(0, static_cast<long>(v.size()) - 1);
    for (std::size_t i = 0; i < v.size(); ++i) a.set(static_cast<long>(i), v[i]);
    return a;
}

template <class A>
std::string joined(const A& a) {
    std::string out;
    for (long i = a.lbound(); a.hasBounds() && i <= a.ubound(); ++i) {
        if (i > a.lbound()) out += ",";
        if constexpr (std::is_same_v<A, core::StrArray>) out += a[i];
        else out += std::to_string(a[i]);
    }
    return out;
}

TEST(ListSorts, NumericSortsWithTopCountsAndTies) {
    struct Case {
        const char* name;
        std::vector<long> values;
        bool descending;
        long count;
        const char* sorted;
        const char* order;
    } cases[] = {
        {"descending", {5, 12, 7}, true, -1, "12,7,5", "1,2,0"},
        {"ascending", {5, 12, 7}, false, -1, "5,7,12", "0,2,1"},
        {"top two", {5, 12, 7, 12}, true, 2, "12,12", "1,3"},
        {"ties keep input order", {3, 9, 3, 3}, true, 3, "9,3,3", "1,0,2"},
        {"count beyond the items", {4, 1}, true, 4, "4,1,0,0", "0,1,0,0"},
        {"none asked", {4, 1}, true, 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        core::LngArray sorted, order;
        bool done = false;
        LISTX_SortLngArr(lngs(c.values), sorted, order, c.descending, c.count, "", true, done);
        EXPECT_TRUE(done);
        EXPECT_EQ(joined(sorted), c.sorted);
        EXPECT_EQ(joined(order), c.order);
    }
}

TEST(ListSorts, TextSortsFoldCaseAndKeepEqualTextsInOrder) {
    core::StrArray keys;
    core::LngArray order;
    LISTX_SortStrArrList(strs({"beta", "Alpha", "", "alpha", "Gamma"}), keys, order, false, -1, "", "");
    EXPECT_EQ(joined(keys), ",Alpha,alpha,beta,Gamma");
    EXPECT_EQ(joined(order), "2,1,3,0,4");
    LISTX_SortStrArrList(strs({"beta", "Alpha", "alpha"}), keys, order, true, 2, "", "");
    EXPECT_EQ(joined(keys), "beta,Alpha");

    core::StrArray numbers = strs({"120", "7", "", "33"});
    LISTX_SortStrArr(numbers, "00000000");
    EXPECT_EQ(joined(numbers), ",00000007,00000033,00000120");  // empty items stay empty, first

    core::StrArray items = strs({"b", "C", "a"});
    core::LngArray companion = lngs({20, 30, 10});
    LISTX_SortStrArrPaired(items, companion, false, -1, "", "");
    EXPECT_EQ(joined(items), "a,b,C");
    EXPECT_EQ(joined(companion), "10,20,30");
}

TEST(ListSorts, SumsAveragesAndDistinctCounts) {
    double average = -1;
    EXPECT_EQ(LISTX_LngArrSum(lngs({1, 2, 3, 4}), 0, -1, -1, true, average), 10);
    EXPECT_EQ(average, 2.5);
    EXPECT_EQ(LISTX_LngArrSum(lngs({1, 2, 3, 4}), 0, 1, 2, false, average), 5);
    EXPECT_EQ(LISTX_LngArrSum(lngs({1, 2}), 0, 2, 1, true, average), 0);
    EXPECT_EQ(average, 0);
    EXPECT_EQ(LISTX_LngArrSum(core::LngArray{}, 7, -1, -1, false, average), 7);

    core::LngArray values, counts;
    LISTX_LngCountDistinct(lngs({5, 3, 5, 5, 0}), values, counts);
    EXPECT_EQ(joined(values), "0,5,3,0");
    EXPECT_EQ(joined(counts), "0,3,1,1");
}

TEST(DistributionTexts, MostFrequentFirstCutToLength) {
    STTA_ValueList dist;
    STTA_ValueListAlloc(dist, 4, 1, 4, {});
    STTA_ValueListAddPair(0, 1, dist, "google", 6, 0, false);
    STTA_ValueListAddPair(0, 1, dist, "bing", 3, 0, false);
    STTA_ValueListAddPair(0, 2, dist, "google", 1, 0, false);
    STTA_ValueListAddPair(0, 1, dist, "duck", 1, 0, false);
    EXPECT_EQ(STTA_DistTextPairs(dist, 1, 10, 1000), "google 6 [60%]\r\nbing 3 [30%]\r\nduck 1 [10%]\r\n");
    EXPECT_EQ(STTA_DistTextPairs(dist, 1, 10, 0), "google 6 [60%]\r\n...");
    EXPECT_EQ(STTA_DistTextPairs(dist, 1, 10, 20), "google 6 [60%]\r\nbing 3 [30%]\r\n...");
    EXPECT_EQ(STTA_DistTextPairs(dist, 3, 10, 1000), "");
    EXPECT_EQ(STTA_DistTextPairs(dist, 2, 0, 1000), "google 1 [100%]\r\n");  // total at least 1

    // A group's distribution: the columns of its members summed.
    std::vector<std::int64_t> sums;
    STTA_PairColumnAdd(dist.PairCnt, 1, sums);
    STTA_PairColumnAdd(dist.PairCnt, 2, sums);
    EXPECT_EQ(sums, (std::vector<std::int64_t>{0, 7, 3, 1}));
    EXPECT_EQ(STTA_DistText(dist.Items, sums, 11, 1000), "google 7 [64%]\r\nbing 3 [27%]\r\nduck 1 [9%]\r\n");

    std::vector<long> a;
    std::vector<std::int64_t> amounts;
    STTA_PairColumnGet(dist.PairCnt, 1, a, amounts);
    EXPECT_EQ(a, (std::vector<long>{0, 1, 2, 3}));
    EXPECT_EQ(amounts, (std::vector<std::int64_t>{0, 6, 3, 1}));
}

}  // namespace
