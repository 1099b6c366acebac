#include "analysis/report_names.h"

#include <array>

namespace {

struct KindNames {
    const char* title;
    const char* col1;
    const char* col2;  // nullptr: no 2nd column
};

constexpr const char* kEngine = "Srch Engine";
constexpr const char* kTerm = "Search Term";
constexpr const char* kFirstPage = "First Page (Found)";

constexpr std::array<KindNames, 22> kNames{{
    {"", kEngine, nullptr},  // 0: as an unknown kind
    {"Search Term", kEngine, kFirstPage},
    {"Page Found", kEngine, kTerm},
    {"Search Term // Page Found", kEngine, ""},
    {"Exit Page", kEngine, kTerm},
    {"Visited Pages in sequence", kEngine, kTerm},
    {"Visted Page", kEngine, kTerm},
    {"Visted Dir (any Page in folder)", kEngine, kTerm},
    {"Referrer (NonSE)", kEngine, kFirstPage},
    {"Visitor Group", kEngine, kFirstPage},
    {"", kEngine, nullptr},
    {"Srch Engine", kTerm, kFirstPage},
    {"Search Term Words n Phrases [up to 7 words]", kTerm, kFirstPage},
    {"Search Term Phrases [2 or more words]", kTerm, kFirstPage},
    {"Search Term Phrases [3 or more words]", kTerm, kFirstPage},
    {"Search Term Wordss [single words from all keywords]", kTerm, kFirstPage},
    {"2-word Search Term Phrases", kTerm, kFirstPage},
    {"3-word Search Term Phrases", kTerm, kFirstPage},
    {"4-word Search Term Phrases", kTerm, kFirstPage},
    {"5-word Search Term Phrases", kTerm, kFirstPage},
    {"6-word Search Term Phrases", kTerm, kFirstPage},
    {"7-word Search Term Phrases", kTerm, kFirstPage},
}};

}  // namespace

std::string STTA_ReportTypeName(long kind, std::string& col2, std::string& col1) {
    const KindNames& n = kNames[kind >= 1 && kind <= 21 ? static_cast<std::size_t>(kind) : 0];
    col1 = n.col1;
    if (n.col2) col2 = n.col2;
    return n.title;
}

std::string STTA_ReportKindList(long group) {
    if (group == 1) return "11|1|2|3|5|4|6|12|13|14|15|16|17|18|19|20|21";
    if (group == 2) return "12|13|14|15|16|17|18|19|20|21";
    return {};
}

std::string STTA_GroupListName(long kind) {
    switch (kind) {
        case 1: return "Groups";
        case 6: return "VisitedPages";
        case 7: return "VisitedDirs";
        case 8: return "NonSERefrgrps";
        case 9: return "SummaryLines";
        default: return {};
    }
}
