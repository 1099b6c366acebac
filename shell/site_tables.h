#pragma once
// Column access to the four site tables (logline, visit, visitpages, page) by column
// name, on the current row of an open recordset. Reads are safe against Null; writes
// keep whole numbers within a long's range and cut texts to their column's length,
// telling whether anything was changed. Column names are compared exactly.
#include <string>
#include <string_view>

#include "core/variant.h"
#include "platform/dao/recordset.h"

// Whole and stamp columns as a double (Null gives 0), text columns as text (Null
// gives ""), any other name the empty value.
core::Variant STTA_VisitFldGet(const dao::Recordset& rs, std::string_view field);
core::Variant STTA_LogLineFldGet(const dao::Recordset& rs, std::string_view field);
core::Variant STTA_VisitPagesFldGet(const dao::Recordset& rs, std::string_view field);
core::Variant STTA_PageFldGet(const dao::Recordset& rs, std::string_view field);

// The visit's standardised search term, or " .. NOT SEARCH ENGINE .. " when empty.
std::string STTA_VisitStzdTermGet(const dao::Recordset& rs);

// Sets the column of the row being added or edited. Whole columns are read with
// TXT_Val and clamped to -2147483647..2147483647, stamps are stored as read, texts are
// cut to the column's length; `changed` tells whether the value was clamped or cut.
// Error 66350 for a name the table does not have.
void STTA_VisitFldPut(dao::Recordset& rs, std::string_view field, const core::Variant& value, bool& changed);
void STTA_LogLineFldPut(dao::Recordset& rs, std::string_view field, const core::Variant& value, bool& changed);
void STTA_VisitPagesFldPut(dao::Recordset& rs, std::string_view field, const core::Variant& value,
                           bool& changed);
void STTA_PageFldPut(dao::Recordset& rs, std::string_view field, const core::Variant& value, bool& changed);
