#include "analysis/visit_values.h"

#include <algorithm>
#include <cctype>

#include "analysis/report_names.h"
#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/text.h"
#include "core/url_routines.h"
#include "logimport/page_table.h"
#include "logimport/visit_pages.h"

namespace {

bool isAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

std::string cleanWord(std::string_view word) {
    std::size_t from = 0, to = word.size();
    while (from < to && !isAlnum(word[from])) ++from;
    while (to > from && !isAlnum(word[to - 1])) --to;
    return std::string(word.substr(from, to - from));
}

void addUnique(std::vector<std::string>& values, std::string value) {
    if (std::find(values.begin(), values.end(), value) == values.end()) values.push_back(std::move(value));
}

// Words of a term split on blanks, cleaned, empty ones dropped.
std::vector<std::string> wordsOf(const std::string& term) {
    std::vector<std::string> words;
    std::size_t from = 0;
    while (from <= term.size()) {
        std::size_t blank = term.find(' ', from);
        if (blank == std::string::npos) blank = term.size();
        std::string w = cleanWord(std::string_view(term).substr(from, blank - from));
        if (!w.empty()) words.push_back(std::move(w));
        from = blank + 1;
    }
    return words;
}

}  // namespace

void STTA_PhrasesAdd(const std::string& term, int n, std::vector<std::string>& values, bool shortTerm) {
    const std::vector<std::string> words = wordsOf(term);
    if (static_cast<int>(words.size()) < n && !shortTerm) return;
    for (std::size_t i = 0; i + static_cast<std::size_t>(n) <= words.size(); ++i) {
        std::string phrase = words[i];
        for (int k = 1; k < n; ++k) phrase += " " + words[i + static_cast<std::size_t>(k)];
        addUnique(values, std::move(phrase));
    }
}

void STTA_PhraseValuesForKind(const std::string& lowerTerm, long kind, std::vector<std::string>& values) {
    const ReportKindSpec& spec = STTA_ReportKind(kind);
    if (spec.values != VisitValueRule::Phrases) return;
    for (int n = spec.shortestPhrase; n <= spec.longestPhrase; ++n) STTA_PhrasesAdd(lowerTerm, n, values, false);
}

std::string STTA_StartPageOfTermValue(const std::string& value) {
    return value.substr(0, value.find(kStartPageTermJoint));
}

void STTA_VisitReportValues(long kind, const STTA_Results& results, dao::Database& db, const AnalysedVisit& visit,
                            const std::string& start, std::vector<std::string>& further, VisitValues& out) {
    const std::string term = visit.StzdSearchTerm.empty() ? kNotSearchEngine : visit.StzdSearchTerm;
    // Asked only by the kinds that list pages besides the start page.
    const auto startCounted = [&] { return STTA_PageIsCounted(start, results.NoCntSurfToFileTypes); };
    out.values.clear();
    out.dist1.clear();
    const ReportKindSpec& spec = STTA_ReportKind(kind);
    switch (spec.values) {
        case VisitValueRule::SearchTerm: out.values = {term}; break;
        case VisitValueRule::StartPage: out.values = {start}; break;
        case VisitValueRule::TermWithStartPage: out.values = {start + kStartPageTermJoint + term}; break;
        case VisitValueRule::ExitPage: {
            const std::string exit = further.empty() ? std::string() : further.back();
            out.values = {exit.empty() ? start : exit};
            if (!exit.empty()) {
                if (startCounted()) further.push_back(start);
                const std::string lowerExit = core::lowerAscii(exit);
                auto it = std::find_if(further.begin(), further.end(),
                                       [&](const std::string& p) { return core::lowerAscii(p) == lowerExit; });
                if (it != further.end()) further.erase(it);
            }
            break;
        }
        case VisitValueRule::Track: {
            std::string track = startCounted() ? start + "\r" : std::string();
            for (const std::string& p : further)
                if (!p.empty()) track += p + "\r";
            out.values = {track.empty() ? std::string("Only Skipped File Types") : track};
            break;
        }
        case VisitValueRule::VisitedPages:
        case VisitValueRule::VisitedFolders: {
            std::vector<std::string> pages;
            if (startCounted()) pages.push_back(start);
            for (const std::string& p : further)
                if (!p.empty()) addUnique(pages, p);
            if (spec.values == VisitValueRule::VisitedFolders) {
                // Two pages of one folder count the folder once.
                std::vector<std::string> folders;
                for (const std::string& p : pages) {
                    const std::size_t slash = p.rfind('/');
                    addUnique(folders, slash == std::string::npos ? std::string() : p.substr(0, slash + 1));
                }
                pages = std::move(folders);
            }
            out.values = std::move(pages);
            break;
        }
        case VisitValueRule::Referrer: out.values = {STTA_VisitReferrerText(db, visit)}; break;
        case VisitValueRule::Engine: out.values = {visit.SearchEngine.empty() ? kNotSearchEngine : visit.SearchEngine}; break;
        case VisitValueRule::Phrases:
            if (term != kNotSearchEngine) STTA_PhraseValuesForKind(core::lowerAscii(term), kind, out.values);
            break;
        case VisitValueRule::ItemZero: out.values = {""}; break;  // every visit counts at item 0
    }
    switch (spec.dist2Value) {
        case Dist2Rule::StartPage: out.dist2 = start; break;
        case Dist2Rule::SearchTerm: out.dist2 = term; break;
        case Dist2Rule::Nothing: out.dist2.clear(); break;
        case Dist2Rule::Kept: break;
    }
    out.dist1 = spec.dist1IsTerm ? term : visit.SearchEngine;
}

std::string STTA_VisitReferrerText(dao::Database& db, const AnalysedVisit& visit) {
    std::string text = TXT_Replace(visit.NONSERefr, "-*-", "|", true);
    if (text.empty()) text = visit.SearchEngine;
    if (text.empty()) {
        bool found = false;
        text = STTA_VisitReferrerHost(db, visit.VisitID, found);
    }
    return text.empty() ? std::string("UNKNOWN referrer") : text;
}

std::string STTA_VisitReferrerHost(dao::Database& db, long visitID, bool& found) {
    std::string host;
    bool stop = false;
    db.forEachRow("SELECT Referrer FROM logline WHERE VisitID = ? ORDER BY Timestamp", {dao::Value(static_cast<long long>(visitID))},
                  [&](const dao::Statement& row) {
                      if (stop) return;
                      std::string scheme, path, params, query, fragment;
                      HHTML_SplitURL(std::string(row.columnText(0)), scheme, host, path, params, query, fragment);
                      if (core::lowerAscii(host.substr(0, 4)) == "www.") host = host.substr(4);
                      if (!host.empty()) {
                          found = true;
                          stop = true;
                      }
                  });
    return host;
}

void STTA_SiteAreaPageIDs(dao::Database& db, const std::string& area, std::unordered_set<long>& pageIDs) {
    core::StrArray names;
    CHUNKS_SplitEx(INI_Get("SiteAreas", area, "::*", kIniMissingEmpty), "|", kChunksNoExclusion, names, 1);
    for (long i = 1; i <= names.ubound(); ++i) {
        if (names[i].empty()) continue;
        const long id = STTA_PageIDGetOrAdd(names[i], false, db);
        if (id >= 0) pageIDs.insert(id);
    }
}

bool STTA_VisitInSiteArea(const std::unordered_set<long>& areaPageIDs, const std::vector<long>& visitPageIDs) {
    return std::any_of(visitPageIDs.begin(), visitPageIDs.end(), [&](long id) { return areaPageIDs.count(id) > 0; });
}
