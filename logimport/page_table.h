#pragma once
// Page names and their numbers. Every request of a log line is cut to its page part
// and normalised; the name gets a PageID kept in table `page` and mirrored in memory,
// so lines and visits store numbers only. The root page has the empty name and
// PageID 0, and no row in table `page`.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/dao/database.h"

namespace logimport {

// The in-memory mirror of table `page`: names by PageID, with a hash index from name
// to PageID so that finding a page costs the same for ten pages or a million. The
// empty slot at 0 stands for the root page; numbers without a page read as "".
class PageNames {
public:
    bool loaded() const { return loaded_; }
    const std::string& source() const { return source_; }  // the database it mirrors
    long ubound() const { return static_cast<long>(names_.size()) - 1; }
    // The lowest PageID holding the name (exact comparison), -1 when none.
    long find(const std::string& name) const;
    // Outside the bounds: "".
    const std::string& at(long pageID) const;
    void set(long pageID, const std::string& name);  // grows as needed
    void reset(const std::string& source);           // one empty slot, loaded
    void clear();                                     // no bounds: load on next use

private:
    std::vector<std::string> names_;
    std::unordered_map<std::string, long> index_;
    std::string source_;
    bool loaded_ = false;
};

}  // namespace logimport

inline logimport::PageNames PageTable;

// The name of the page that stands for lines whose page cannot be found.
inline const std::string kMissingPageName = ".. Page does not exist ..";

// Fills PageTable from table `page` of the database.
void STTA_PageListLoad(dao::Database& db);
// The PageID of the normalised name; a new name is added to table `page` when `add`
// is set, else -1. The table is (re)loaded when it mirrors no or another database.
long STTA_PageIDGetOrAdd(const std::string& fileName, bool add, dao::Database& db);
std::string STTA_PageNameNorm(std::string_view name);
// The page part of a request or URL: the path with what remains of query and
// fragment after the flags dropped them, without the leading "/".
std::string STTA_PageNameCut(std::string_view url, bool dropFragment, bool dropQuery);
std::string STTA_PageNameByID(dao::Database& db, long pageID);
// "ROOT" for the root page; otherwise the stored name, cut again unless both
// fragments and queries count as pages of their own.
std::string STTA_PageDisplayName(dao::Database& db, long pageID, bool sepFrag, bool sepQuery);
