#include "logimport/visit_pages.h"

#include <vector>

#include "core/delimited_lists.h"
#include "core/text.h"

namespace {

std::string fieldText(const dao::Recordset& rs, const char* name) {
    dao::Value v = rs.field(name);
    return v.isNull() ? std::string() : v.asText();
}

void splitNumbers(const std::string& list, core::LngArray& out) { CHUNKS_ToLngArray(list, out, 1, true); }

}  // namespace

bool STTA_VisitPagesWrite(dao::Database& db, long visitID, const std::string& pageIDs, const std::string& bytes) {
    if (pageIDs.size() <= kVisitPagesFieldLimit && bytes.size() <= kVisitPagesFieldLimit) return false;
    db.execute("DELETE FROM visitpages WHERE visitID = ?", {visitID});
    core::LngArray ids, counts;
    splitNumbers(pageIDs, ids);
    splitNumbers(bytes, counts);
    const char* insert =
        "INSERT INTO visitpages (visitID, CDSClickFurtherPageIDs, CDSBytesClickFurtherPageIDs) VALUES (?, ?, ?)";
    std::string rowIDs, rowBytes;
    bool rowOpen = false;
    for (long i = ids.lbound(); i <= ids.ubound(); ++i) {
        std::string id = std::to_string(ids[i]);
        std::string count = counts.inBounds(i) ? std::to_string(counts[i]) : "0";
        size_t sep = rowOpen ? 1 : 0;
        if (rowOpen && (rowIDs.size() + sep + id.size() > kVisitPagesFieldLimit ||
                        rowBytes.size() + sep + count.size() > kVisitPagesFieldLimit)) {
            db.execute(insert, {visitID, rowIDs, rowBytes});
            rowIDs.clear();
            rowBytes.clear();
            rowOpen = false;
        }
        if (rowOpen) {
            rowIDs += '|';
            rowBytes += '|';
        }
        rowIDs += id;
        rowBytes += count;
        rowOpen = true;
    }
    if (rowOpen) db.execute(insert, {visitID, rowIDs, rowBytes});
    return true;
}

void STTA_VisitPagesRead(dao::Database& db, long visitID, core::LngArray& pageIDs, core::LngArray& bytes) {
    std::string ids, counts;
    bool any = false;
    // The rows hold one list cut into pieces: read them back in the order written.
    db.forEachRow(
        "SELECT CDSClickFurtherPageIDs, CDSBytesClickFurtherPageIDs FROM visitpages WHERE visitID = ? ORDER BY rowid",
        {visitID}, [&](const dao::Statement& s) {
            if (any) {
                ids += '|';
                counts += '|';
            }
            dao::Value a = s.column(0), b = s.column(1);
            ids += a.isNull() ? std::string() : a.asText();
            counts += b.isNull() ? std::string() : b.asText();
            any = true;
        });
    if (!any) {
        pageIDs.redim(0, 0);
        bytes.redim(0, 0);
        return;
    }
    splitNumbers(ids, pageIDs);
    splitNumbers(counts, bytes);
    if (pageIDs.hasBounds())
        bytes.hasBounds() ? bytes.redimPreserve(pageIDs.ubound()) : bytes.redim(pageIDs.lbound(), pageIDs.ubound());
}

std::pair<std::string, std::string> STTA_VisitFurtherPagesFields(dao::Database& db, long visitID,
                                                                 const std::string& pageIDs, const std::string& bytes) {
    if (STTA_VisitPagesWrite(db, visitID, pageIDs, bytes)) return {kVisitPagesElsewhere, std::string()};
    return {pageIDs, bytes};
}

void STTA_VisitFurtherPagesSet(dao::Database& db, long visitID, const std::string& pageIDs,
                               const std::string& bytes) {
    auto [ids, counts] = STTA_VisitFurtherPagesFields(db, visitID, pageIDs, bytes);
    db.execute("UPDATE visit SET CDSClickFurtherPageIDs = ?, CDSBytesClickFurtherPageIDs = ? WHERE VisitID = ?",
               {ids, counts, visitID});
}

void STTA_VisitFurtherPagesGet(dao::Database& db, const dao::Recordset& visit, core::LngArray& pageIDs,
                               core::LngArray& bytes) {
    std::string ids = fieldText(visit, "CDSClickFurtherPageIDs");
    if (ids == kVisitPagesElsewhere) {
        STTA_VisitPagesRead(db, static_cast<long>(visit.field("VisitID").asInteger()), pageIDs, bytes);
        return;
    }
    splitNumbers(ids, pageIDs);
    splitNumbers(fieldText(visit, "CDSBytesClickFurtherPageIDs"), bytes);
}

bool STTA_PageIsCounted(const std::string& pageName, const std::string& skippedTypes) {
    if (pageName == ".. Page does not exist ..") return false;
    if (pageName == "ROOT") return true;
    const size_t dot = pageName.rfind('.');
    const std::string item = "|" + (dot == std::string::npos ? std::string() : pageName.substr(dot + 1)) + "|";
    return !TXT_InStrEx(skippedTypes, item, false);
}
