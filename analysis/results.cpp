#include "analysis/results.h"

#include <algorithm>

#include "core/numbers.h"
#include "platform/sys/rt_error.h"

namespace {

constexpr int kErrItemMismatch = 91273;

long bucketOf(long n) { return static_cast<long>(core::roundHalfEven(n / 50.0 + 1)); }

void addTo(std::vector<std::int64_t>& counter, long item, std::int64_t amount) {
    if (amount == 0) return;
    if (static_cast<std::size_t>(item) >= counter.size()) counter.resize(static_cast<std::size_t>(item) + 1, 0);
    counter[static_cast<std::size_t>(item)] += amount;
}

}  // namespace

long STTA_ValueList::find(const std::string& text) const {
    auto it = index.find(text);
    return it == index.end() ? -1 : it->second;
}

void STTA_PairKey(long a, long b, long& row, long& col, std::string& key) {
    row = bucketOf(a);
    col = bucketOf(b);
    key = "|" + std::to_string(a) + ";" + std::to_string(b) + ";";
}

void STTA_PairAdd(analysis::PairTable& table, long a, long b, std::int64_t amount) { table.add(a, b, amount); }

long STTA_PairTableSpan(const analysis::PairTable& table, int dimension) { return table.span(dimension); }

void STTA_ValueListAlloc(STTA_ValueList& list, long expectedItems, long expectedDays, long expectedSecond,
                         const ValueListParts& parts) {
    list = STTA_ValueList{};
    const auto items = static_cast<std::size_t>(std::clamp(expectedItems, 0L, 1L << 22));
    list.Items.reserve(items + 1);
    list.index.reserve(items + 1);
    list.Items.push_back("");
    list.index.emplace("", 0);
    list.Cnt.push_back(0);
    list.parallel = parts.counters;
    for (int k = 0; k < kExtraCounters; ++k)
        if (list.parallel[static_cast<std::size_t>(k)]) list.Counters[static_cast<std::size_t>(k)].push_back(0);
    list.PairCnt.allocate(expectedItems, expectedSecond);
    if (parts.pairCnt2) list.PairCnt2.allocate(expectedItems, expectedSecond);
    (void)expectedDays;  // day tables grow per item as days come
}

long STTA_ValueListAdd(long day, STTA_ValueList& list, const std::string& text, const ValueListIncrements& inc,
                       long knownIndex) {
    long item = knownIndex;
    if (item != -1) {
        if (item < 0 || static_cast<std::size_t>(item) >= list.Items.size() ||
            list.Items[static_cast<std::size_t>(item)] != text)
            throw sys::RtError(kErrItemMismatch,
                               "The value \"" + text + "\" is not the item at index " + std::to_string(item),
                               "STTA_ValueListAdd");
    } else {
        auto [it, added] = list.index.try_emplace(text, static_cast<long>(list.Items.size()));
        item = it->second;
        if (added) list.Items.push_back(text);
    }
    if (static_cast<std::size_t>(item) >= list.Cnt.size()) list.Cnt.resize(static_cast<std::size_t>(item) + 1, 0);
    list.Cnt[static_cast<std::size_t>(item)] += inc.cnt;
    for (int k = 0; k < kExtraCounters; ++k) {
        std::vector<std::int64_t>& counter = list.Counters[static_cast<std::size_t>(k)];
        if (list.parallel[static_cast<std::size_t>(k)] && counter.size() < list.Items.size()) counter.resize(list.Items.size(), 0);
        addTo(counter, item, inc.counters[static_cast<std::size_t>(k)]);
    }
    if (day >= 0) {
        if (inc.dayTables[0] && inc.cnt != 0) list.DayCnt[0].add(day, item, inc.cnt);
        for (int k = 0; k < kExtraCounters; ++k) {
            const std::int64_t amount = inc.counters[static_cast<std::size_t>(k)];
            if (inc.dayTables[static_cast<std::size_t>(k) + 1] && amount != 0)
                list.DayCnt[static_cast<std::size_t>(k) + 1].add(day, item, amount);
        }
    }
    return item;
}

long STTA_ValueListAddPair(long day, long valsIndex, STTA_ValueList& list, const std::string& text,
                           std::int64_t sightings, std::int64_t second, bool dayFlag) {
    ValueListIncrements inc;
    inc.dayTables[0] = dayFlag;
    const long item = STTA_ValueListAdd(day, list, text, inc, -1);
    list.PairCnt.add(item, valsIndex, sightings);
    if (second >= 1) list.PairCnt2.add(item, valsIndex, second);
    return item;
}

std::string STTA_CustomRepParmsName() { return {}; }

void STTA_ResultsCopy(const STTA_Results& source, STTA_Results& target) {
    if (&source == &target) return;
    target.SiteDBName = source.SiteDBName;
    target.SiteDefPath = source.SiteDefPath;
    target.NoCntSurfToFileTypes = source.NoCntSurfToFileTypes;
    target.CntAsPageFileTypes = source.CntAsPageFileTypes;
    target.ShowNotSEitem = source.ShowNotSEitem;
    target.AnalOpts = source.AnalOpts;
    target.SiteArea = source.SiteArea;
    target.Analyzed_Field = source.Analyzed_Field;
    target.pSvCustomRepParms = source.pSvCustomRepParms;
    target.DayList = source.DayList;
    target.Vals = source.Vals;
    target.Words = source.Words;
    target.Dist1Vals = source.Dist1Vals;
    target.Dist2Vals = source.Dist2Vals;
    target.ClickThruVals = source.ClickThruVals;
    target.DayRange = source.DayRange;
    target.VisitCount = source.VisitCount;
    target.RestRowText = source.RestRowText;
    STTA_TargetArrCopy(source.Targets, target.Targets);
    target.AnalNote = source.AnalNote;
}

void STTA_ResultsListCopy(const STTA_ValueList& source, STTA_ValueList& target) {
    if (&source == &target) return;
    const long flag = target.Flag;
    std::vector<std::string> notes = std::move(target.Notes);
    target = source;
    target.Flag = flag;
    target.Notes = std::move(notes);
}
