#pragma once
// The further pages of a visit: a "|" list of page IDs in visit order and the
// parallel list of byte counts. They live in the visit's own fields while both fit
// in 253 characters; longer lists move to rows of table `visitpages`, and the
// visit's page field then holds "||".
#include <string>
#include <utility>

#include "core/typed_array.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"

inline constexpr size_t kVisitPagesFieldLimit = 253;
inline const std::string kVisitPagesElsewhere = "||";

// Writes the lists to `visitpages` (replacing the visit's rows there) when either is
// longer than 253 characters, each row's lists kept within 253; true when written.
bool STTA_VisitPagesWrite(dao::Database& db, long visitID, const std::string& pageIDs, const std::string& bytes);
// The visit's rows of `visitpages` in the order they were written, joined and split
// into arrays from index 1; without rows one element 0 each.
void STTA_VisitPagesRead(dao::Database& db, long visitID, core::LngArray& pageIDs, core::LngArray& bytes);
// The values of the visit's two further-page fields for the lists: the lists
// themselves, or "||" and "" when they go to `visitpages` (written here).
std::pair<std::string, std::string> STTA_VisitFurtherPagesFields(dao::Database& db, long visitID,
                                                                 const std::string& pageIDs, const std::string& bytes);
// Stores the lists in the visit's fields, or in `visitpages` with "||" and "" in the
// fields.
void STTA_VisitFurtherPagesSet(dao::Database& db, long visitID, const std::string& pageIDs,
                               const std::string& bytes);
// The further pages of the visit on the recordset's current row, from index 1.
void STTA_VisitFurtherPagesGet(dao::Database& db, const dao::Recordset& visit, core::LngArray& pageIDs,
                               core::LngArray& bytes);
// Whether the page counts as a page of the visit: ".. Page does not exist .." never,
// "ROOT" always, others unless "|" + extension + "|" occurs in the skipped-types
// list (letter case ignored).
bool STTA_PageIsCounted(const std::string& pageName, const std::string& skippedTypes);
