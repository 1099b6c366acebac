#include "analysis/report_names.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr const char* kEngine = "Srch Engine";
constexpr const char* kTerm = "Search Term";
constexpr const char* kFirstPage = "First Page (Found)";

using V = VisitValueRule;
using D = Dist2Rule;

// A word or phrase kind of n1..n2 words, as the word reports list them.
constexpr ReportKindSpec phrases(long kind, const char* title, int n1, int n2) {
    return {kind, title, kTerm, kFirstPage, true, true, "", "", false, true,
            "ThresholdWrd", true, false, 3000, V::Phrases, n1, n2, D::StartPage, true};
}

// In the order the report lists offer them; the kinds no list offers come last.
constexpr std::array<ReportKindSpec, 21> kKinds{{
    {kRkSearchEngine, "Srch Engine", kTerm, kFirstPage, true, false, "", "", false, true,
     nullptr, true, false, 3000, V::Engine, 0, 0, D::StartPage, true},
    {kRkSearchTerm, "Search Term", kEngine, kFirstPage, true, false, "Groups", "STgrps", true, true,
     "ThresholdST", true, false, 3000, V::SearchTerm, 0, 0, D::StartPage, false},
    {kRkStartPage, "Page Found", kEngine, kTerm, true, false, "", "", false, true,
     "ThresholdPg", true, true, 3000, V::StartPage, 0, 0, D::SearchTerm, false},
    {kRkSearchTermStartPage, "Search Term // Page Found", kEngine, "", true, false, "", "", false, true,
     "ThresholdSTPg", true, true, 5000, V::TermWithStartPage, 0, 0, D::Nothing, false},
    {kRkTrack, "Visited Pages in sequence", kEngine, kTerm, true, false, "", "", false, true,
     "ThresholdTrk", true, false, 3000, V::Track, 0, 0, D::SearchTerm, false},
    {kRkExitPage, "Exit Page", kEngine, kTerm, true, false, "", "", false, true,
     "ThresholdPg", true, true, 3000, V::ExitPage, 0, 0, D::SearchTerm, false},
    {kRkVisitedPage, "Visited Page", kEngine, kTerm, true, false, "VisitedPages", "VisitedPages", true, true,
     "ThresholdPg", false, true, 3000, V::VisitedPages, 0, 0, D::SearchTerm, false},
    phrases(kRkWordsAndPhrases, "Search Term Words n Phrases [up to 7 words]", 1, 7),
    phrases(kRkPhrases2, "Search Term Phrases [2 or more words]", 2, 7),
    phrases(kRkPhrases3Plus, "Search Term Phrases [3 or more words]", 3, 7),
    phrases(kRkSingleWords, "Search Term Words [single words from all keywords]", 1, 1),
    phrases(16, "2-word Search Term Phrases", 2, 2),
    phrases(17, "3-word Search Term Phrases", 3, 3),
    phrases(18, "4-word Search Term Phrases", 4, 4),
    phrases(19, "5-word Search Term Phrases", 5, 5),
    phrases(20, "6-word Search Term Phrases", 6, 6),
    phrases(kRkPhraseOf7, "7-word Search Term Phrases", 7, 7),
    {kRkVisitedFolder, "Visited Dir (any Page in folder)", kEngine, kTerm, false, false, "VisitedDirs", "VisitedDirs",
     true, true, "ThresholdPg", true, false, 3000, V::VisitedFolders, 0, 0, D::SearchTerm, false},
    {kRkReferrer, "Referrer (NonSE)", kEngine, kFirstPage, false, false, "NonSERefrgrps", "nonSERefrgrps", true, false,
     nullptr, true, false, 3000, V::Referrer, 0, 0, D::Kept, false},
    {kRkVisitorGroup, "Visitor Group", kEngine, kFirstPage, false, false, "SummaryLines", "", false, true,
     nullptr, true, false, 3000, V::ItemZero, 0, 0, D::Kept, false},
    // The custom kind: the target filter picks the kind that counts (target_filter.h).
    {kRkTargetsReached, "", kEngine, nullptr, false, false, "", "", false, true,
     nullptr, true, false, 3000, V::ItemZero, 0, 0, D::Kept, false},
}};

bool endsWithS(const std::string& text) { return !text.empty() && (text.back() == 's' || text.back() == 'S'); }

}  // namespace

const ReportKindSpec& STTA_ReportKind(long kind) {
    const auto it = std::find_if(kKinds.begin(), kKinds.end(), [kind](const ReportKindSpec& k) { return k.kind == kind; });
    if (it != kKinds.end()) return *it;
    return STTA_ReportKind(kRkTargetsReached);
}

std::vector<long> STTA_ReportKinds(long group) {
    std::vector<long> kinds;
    for (const ReportKindSpec& k : kKinds)
        if ((group == 1 && k.inAllReports) || (group == 2 && k.inWordReports)) kinds.push_back(k.kind);
    return kinds;
}

std::string STTA_ReportTypeName(long kind, std::string& col2, std::string& col1) {
    const ReportKindSpec& k = STTA_ReportKind(kind);
    col1 = k.dist1Title;
    if (k.dist2Title) col2 = k.dist2Title;
    return k.title;
}

std::string STTA_ReportTitle(long kind) { return STTA_ReportKind(kind).title; }

std::string STTA_ReportTitlePlural(long kind) {
    const std::string title = STTA_ReportTitle(kind);
    if (title.empty()) return title;
    constexpr std::string_view kFound = " Found";
    std::size_t wordEnd = title.find_first_of("[(");
    if (wordEnd == std::string::npos) wordEnd = title.ends_with(kFound) ? title.size() - kFound.size() : title.size();
    while (wordEnd > 0 && title[wordEnd - 1] == ' ') --wordEnd;
    const std::string head = title.substr(0, wordEnd);
    return head.empty() || endsWithS(head) ? title : head + "s" + title.substr(wordEnd);
}

std::string STTA_ReportKindList(long group) {
    std::string list;
    for (long kind : STTA_ReportKinds(group)) list += (list.empty() ? "" : "|") + std::to_string(kind);
    return list;
}

std::string STTA_GroupListName(long kind) { return STTA_ReportKind(kind).groupSection; }
