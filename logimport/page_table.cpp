#include "logimport/page_table.h"

#include <algorithm>

#include "core/text.h"
#include "core/url_routines.h"
#include "logimport/logline_store.h"
#include "platform/dao/errors.h"
#include "platform/sys/rt_error.h"

namespace logimport {

namespace {
const std::string kEmpty;
}

long PageNames::find(const std::string& name) const {
    auto it = index_.find(name);
    return it == index_.end() ? -1 : it->second;
}

const std::string& PageNames::at(long pageID) const {
    if (pageID < 0 || pageID > ubound()) return kEmpty;
    return names_[static_cast<size_t>(pageID)];
}

void PageNames::set(long pageID, const std::string& name) {
    if (pageID < 0) return;
    if (pageID > ubound()) names_.resize(static_cast<size_t>(pageID) + 1);
    std::string& slot = names_[static_cast<size_t>(pageID)];
    if (auto it = index_.find(slot); it != index_.end() && it->second == pageID) {
        index_.erase(it);
        // Another slot may hold the same name; it becomes the one found.
        for (size_t i = 0; i < names_.size(); ++i)
            if (static_cast<long>(i) != pageID && names_[i] == slot) {
                index_.emplace(slot, static_cast<long>(i));
                break;
            }
    }
    slot = name;
    auto [it, added] = index_.emplace(name, pageID);
    if (!added && pageID < it->second) it->second = pageID;
}

void PageNames::reset(const std::string& source) {
    names_.assign(1, std::string());
    index_.clear();
    index_.emplace(std::string(), 0);
    source_ = source;
    loaded_ = true;
}

void PageNames::clear() {
    names_.clear();
    index_.clear();
    source_.clear();
    loaded_ = false;
}

}  // namespace logimport

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return TXT_StartsWith(text, prefix, false);
}

// Length of a leading "http://" or "https://", letter case ignored; 0 when none.
size_t schemeLength(std::string_view text) {
    if (startsWithNoCase(text, "http://")) return 7;
    if (startsWithNoCase(text, "https://")) return 8;
    return 0;
}

void ensureLoaded(dao::Database& db) {
    if (!PageTable.loaded() || PageTable.source() != db.path()) STTA_PageListLoad(db);
}

}  // namespace

void STTA_PageListLoad(dao::Database& db) {
    PageTable.reset(db.path());
    auto rs = db.openRecordset("SELECT PageID, Filename FROM page ORDER BY PageID", dao::RecordsetType::Snapshot);
    for (; !rs.eof(); rs.moveNext()) {
        dao::Value id = rs.field(0), name = rs.field(1);
        if (id.isNull()) continue;
        PageTable.set(static_cast<long>(id.asInteger()), name.isNull() ? std::string() : name.asText());
    }
}

std::string STTA_PageNameNorm(std::string_view name) {
    // A host is recognised on the text as given: "/www.plan.html" is a page, not a host.
    bool hasHost = startsWithNoCase(name, "www.");
    std::string s(name);
    if (!s.empty() && s[0] == '/') s.erase(0, 1);
    if (size_t n = schemeLength(s)) {
        s.erase(0, n);
        hasHost = true;
    }
    if (hasHost) {
        size_t slash = s.find('/');
        s = slash == std::string::npos ? std::string() : s.substr(slash + 1);
    }
    if (s.empty()) s = "/";
    HHTML_URLDecode(s);
    // A NUL (sent raw or as "%00") would end the name for SQL's text functions.
    s.erase(std::remove(s.begin(), s.end(), '\0'), s.end());
    s = TXT_Replace(s, "//", "/", true);
    s = TXT_FitLen(s, 253, "..");
    for (int i = 0; i < 2 && !s.empty() && s.back() == '/'; ++i) s.pop_back();
    return s;
}

std::string STTA_PageNameCut(std::string_view url, bool dropFragment, bool dropQuery) {
    std::string text;
    if (startsWithNoCase(url, "http")) {
        text = url;
    } else if (startsWithNoCase(url, "www.")) {
        text = "http://" + std::string(url);
    } else {
        text = "http://placeholder.invalid";
        if (url.empty() || url[0] != '/') text += '/';
        text += url;
    }
    std::string scheme, host, path, params, query, fragment;
    HHTML_SplitURL(text, scheme, host, path, params, query, fragment);
    if (dropFragment) fragment.clear();
    if (dropQuery) query.clear();
    std::string joined = HHTML_JoinURL(scheme, host, path, params, query, fragment);
    // The prefix is cut once: a query that repeats a URL stays whole.
    std::string prefix = scheme + "://" + host + "/";
    return joined.compare(0, prefix.size(), prefix) == 0 ? joined.substr(prefix.size()) : joined;
}

long STTA_PageIDGetOrAdd(const std::string& fileName, bool add, dao::Database& db) {
    std::string name = STTA_PageNameNorm(fileName);
    ensureLoaded(db);
    long id = PageTable.find(name);
    if (id >= 0 || !add) return id;
    long lastID = PageTable.ubound();
    auto rs = db.openRecordset("page");
    rs.addNew();
    rs.setField("PageID", dao::Value(lastID + 1));
    rs.setField("Filename", dao::Value(name));
    try {
        rs.update();
        id = lastID + 1;
    } catch (const sys::RtError& e) {
        if (e.number() != dao::kErrDuplicateKey) throw;
        int err = e.number();
        STTA_DupKeyRetry(err, db, rs, "page", "PageID", lastID);
        id = lastID;
    }
    PageTable.set(id, name);
    return id;
}

std::string STTA_PageNameByID(dao::Database& db, long pageID) {
    ensureLoaded(db);
    return PageTable.at(pageID);
}

std::string STTA_PageDisplayName(dao::Database& db, long pageID, bool sepFrag, bool sepQuery) {
    std::string name = STTA_PageNameByID(db, pageID);
    if (name.empty() || name == "/") return "ROOT";
    if (sepFrag && sepQuery) return name;
    return STTA_PageNameCut(name, !sepFrag, !sepQuery);
}
