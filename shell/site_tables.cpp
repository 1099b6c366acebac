#include "shell/site_tables.h"

#include <algorithm>
#include <span>

#include "core/numbers.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "platform/sys/rt_error.h"

namespace {

enum class Kind { Whole, Stamp, Text };

struct Column {
    const char* name;
    Kind kind;
    long length;  // texts only
};

constexpr Column kLogLine[] = {
    {"LogLnID", Kind::Whole, 0},       {"VisitID", Kind::Whole, 0},       {"numIP", Kind::Whole, 0},
    {"PageID", Kind::Whole, 0},        {"Bytes", Kind::Whole, 0},         {"ProcTimeMicroSecs", Kind::Whole, 0},
    {"CntDupes", Kind::Whole, 0},      {"Timestamp", Kind::Stamp, 0},     {"IP", Kind::Text, 50},
    {"Query", Kind::Text, 200},        {"Browser2", Kind::Text, 100},     {"UserNo", Kind::Text, 100},
    {"VirtualHost", Kind::Text, 100},  {"HTTPStatus", Kind::Text, 100},   {"CodeWordsHTTP", Kind::Text, 100},
    {"Filename", Kind::Text, 255},     {"Browser", Kind::Text, 255},      {"Referrer", Kind::Text, 255},
};

constexpr Column kVisit[] = {
    {"VisitID", Kind::Whole, 0},
    {"StartPageID", Kind::Whole, 0},
    {"StartLogLnID", Kind::Whole, 0},
    {"StartTimeStamp", Kind::Stamp, 0},
    {"EndTimeStamp", Kind::Stamp, 0},
    {"Files", Kind::Whole, 0},
    {"FirstIP", Kind::Text, 50},
    {"CDSIPs", Kind::Text, 250},
    {"SearchTerm", Kind::Text, 250},
    {"StzdSearchTerm", Kind::Text, 250},
    {"SearchEngine", Kind::Text, 150},
    {"CDSClickFurtherPageIDs", Kind::Text, 255},
    {"CDSBytesClickFurtherPageIDs", Kind::Text, 255},
    {"NONSERefr", Kind::Text, 255},
};

constexpr Column kVisitPages[] = {
    {"visitID", Kind::Whole, 0},
    {"CDSClickFurtherPageIDs", Kind::Text, 255},
    {"CDSBytesClickFurtherPageIDs", Kind::Text, 255},
};

constexpr Column kPage[] = {
    {"PageID", Kind::Whole, 0},
    {"Filename", Kind::Text, 255},
};

constexpr double kWholeLimit = 2147483647.0;
constexpr int kErrUnknownColumn = 66350;

const Column* findColumn(std::span<const Column> table, std::string_view field) {
    auto it = std::find_if(table.begin(), table.end(), [&](const Column& c) { return field == c.name; });
    return it == table.end() ? nullptr : &*it;
}

core::Variant fieldGet(std::span<const Column> table, const dao::Recordset& rs, std::string_view field) {
    const Column* c = findColumn(table, field);
    if (!c) return {};
    dao::Value v = rs.field(field);
    if (c->kind == Kind::Text) return v.isNull() ? std::string() : v.asText();
    return v.isNull() ? 0.0 : TXT_Val(v.asText());
}

void fieldPut(std::span<const Column> table, dao::Recordset& rs, std::string_view field,
              const core::Variant& value, bool& changed, const char* procedure) {
    changed = false;
    const Column* c = findColumn(table, field);
    if (!c)
        throw sys::RtError(kErrUnknownColumn, "Unknown column '" + std::string(field) + "'", procedure);
    std::string text = core::vbCStr(value);
    if (c->kind == Kind::Text) {
        rs.setField(field, TXT_FitLen(text, c->length, "", changed));
        return;
    }
    double n = TXT_Val(text);
    if (c->kind == Kind::Whole && (n > kWholeLimit || n < -kWholeLimit)) {
        n = n > 0 ? kWholeLimit : -kWholeLimit;
        changed = true;
    }
    rs.setField(field, n);  // the column rounds it to a whole number
}

}  // namespace

core::Variant STTA_VisitFldGet(const dao::Recordset& rs, std::string_view field) {
    return fieldGet(kVisit, rs, field);
}
core::Variant STTA_LogLineFldGet(const dao::Recordset& rs, std::string_view field) {
    return fieldGet(kLogLine, rs, field);
}
core::Variant STTA_VisitPagesFldGet(const dao::Recordset& rs, std::string_view field) {
    return fieldGet(kVisitPages, rs, field);
}
core::Variant STTA_PageFldGet(const dao::Recordset& rs, std::string_view field) {
    return fieldGet(kPage, rs, field);
}

std::string STTA_VisitStzdTermGet(const dao::Recordset& rs) {
    std::string term = std::get<std::string>(STTA_VisitFldGet(rs, "StzdSearchTerm"));
    return term.empty() ? " .. NOT SEARCH ENGINE .. " : term;
}

void STTA_VisitFldPut(dao::Recordset& rs, std::string_view field, const core::Variant& value, bool& changed) {
    fieldPut(kVisit, rs, field, value, changed, "STTA_VisitFldPut");
}
void STTA_LogLineFldPut(dao::Recordset& rs, std::string_view field, const core::Variant& value, bool& changed) {
    fieldPut(kLogLine, rs, field, value, changed, "STTA_LogLineFldPut");
}
void STTA_VisitPagesFldPut(dao::Recordset& rs, std::string_view field, const core::Variant& value,
                           bool& changed) {
    fieldPut(kVisitPages, rs, field, value, changed, "STTA_VisitPagesFldPut");
}
void STTA_PageFldPut(dao::Recordset& rs, std::string_view field, const core::Variant& value, bool& changed) {
    fieldPut(kPage, rs, field, value, changed, "STTA_PageFldPut");
}
