#include "logimport/logline_store.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/dates.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "logimport/line_timestamp.h"
#include "logimport/page_table.h"
#include "logimport/import_run.h"
#include "logimport/referrer_store.h"
#include "platform/dao/errors.h"
#include "platform/dao/schema.h"
#include "platform/sys/rt_error.h"

namespace {

// Whole-number columns keep what fits a Long, rounded as the database rounds.
std::int64_t storedWhole(double n) {
    constexpr double kLimit = 2147483647.0;
    n = std::clamp(n, -kLimit, kLimit);
    return static_cast<std::int64_t>(core::roundHalfEven(n));
}

std::string fit(const LogFields& f, int fieldNo, long limit) {
    return TXT_FitLen(f[static_cast<size_t>(fieldNo)], limit, "..");
}

// An empty text is stored as Null: the tables may refuse zero-length texts.
dao::Value textValue(const std::string& s) {
    return s.empty() ? dao::Value() : dao::Value(s);
}

bool sameText(const dao::Value& stored, const std::string& s) {
    return STTA_FldStrNz(stored) == s;
}

bool sameWhole(const dao::Value& stored, std::int64_t n) {
    return (stored.isNull() ? 0 : stored.asInteger()) == n;
}

std::int64_t stampOfSerial(double serial) {
    core::DateParts p = core::dateParts(serial);
    return ((((static_cast<std::int64_t>(p.year) * 100 + p.month) * 100 + p.day) * 100 + p.hour) * 100 +
            p.minute) * 100 + p.second;
}

// Rows a multi-row insert adds at once: each statement run opens a cursor per index
// and seeks from the root, which a run of rows in key order shares.
constexpr size_t kRowsPerInsert = 64;

// The insert of `rows` rows with all line values or the lean ones.
std::string insertSql(bool keepValues, size_t rows) {
    std::string sql = keepValues ? "INSERT INTO logline (LogLnID, IP, PageID, Timestamp, Bytes, VisitID, Filename, "
                                   "numIP, Query, Browser, Browser2, UserNo, VirtualHost, ProcTimeMicroSecs, "
                                   "HTTPStatus, CodeWordsHTTP, Referrer) VALUES "
                                 : "INSERT INTO logline (LogLnID, IP, PageID, Timestamp, Bytes, VisitID) VALUES ";
    const char* values = keepValues ? "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)" : "(?, ?, ?, ?, ?, ?)";
    for (size_t i = 0; i < rows; ++i) sql += (i ? ", " : "") + std::string(values);
    // Of many rows, OR FAIL: else each run keeps a statement journal to take back its
    // earlier rows when a later one fails, and a failed write of the read rolls back
    // its whole transaction anyway. One row is stored or not either way.
    if (rows > 1) sql.replace(0, 6, "INSERT OR FAIL");
    return sql;
}

constexpr int kLeanColumns = 6, kKeepColumns = 17;

// The rows outlive the statement's run: their texts are bound without a copy.
void bindText(dao::Statement& s, int index, const std::string& text) {
    if (text.empty())
        s.bindNull(index);  // as textValue: the tables may refuse zero-length texts
    else
        s.bindTextKept(index, text);
}

// Binds one row's values from parameter `at` + 1 on.
void bindRow(dao::Statement& s, int at, const LogLineInsert& r, bool keepValues) {
    const LogLineRow& row = *r.Row;
    s.bindInt(at + 1, r.LogLnID);
    bindText(s, at + 2, row.IP);
    s.bindInt(at + 3, row.PageID);
    s.bindInt(at + 4, row.Timestamp);
    s.bindInt(at + 5, row.Bytes);
    r.VisitID ? s.bindInt(at + 6, *r.VisitID) : s.bindNull(at + 6);
    if (!keepValues) return;
    static const LogLineValues kNone;
    const LogLineValues& v = row.Kept ? *row.Kept : kNone;
    bindText(s, at + 7, v.Filename);
    s.bindInt(at + 8, v.numIP);
    bindText(s, at + 9, v.Query);
    bindText(s, at + 10, v.Browser);
    bindText(s, at + 11, v.Browser2);
    bindText(s, at + 12, v.UserNo);
    bindText(s, at + 13, v.VirtualHost);
    s.bindInt(at + 14, v.ProcTimeMicroSecs);
    bindText(s, at + 15, v.HTTPStatus);
    bindText(s, at + 16, v.CodeWordsHTTP);
    bindText(s, at + 17, v.Referrer);
}

// One statement per row, bound by type: the insert of every stored line.
void insertRow(dao::Database& db, long id, const LogLineRow& row, bool keepValues, std::optional<long> visitID) {
    STTA_LogLineRowsInsert(db, std::span<const LogLineInsert>(std::array{LogLineInsert{id, &row, visitID}}),
                           keepValues);
}

}  // namespace

void STTA_LogLineRsOpen(logimport::ImportRun& run, dao::Database& db) {
    run.LogLineRs = db.openRecordset("logline", dao::RecordsetType::Dynaset);
}

void STTA_LogLineRsClose(logimport::ImportRun& run) {
    try {
        run.LogLineRs.close();
    } catch (...) {
        // Closing is never an error of the read.
    }
    run.LogLineRs = dao::Recordset();
}

long STTA_LogLinePageKnown(const std::string& request, const ReadRec& rec, logimport::ImportRun& run,
                           const std::string& dbPath) {
    logimport::RequestPages& pages = run.requestPages();
    // Cut by other options or for another database, a request may be another page.
    if (!pages.sameSetting(dbPath, rec.RemFrag, rec.RemQuery)) pages.clear();
    if (long id = pages.find(request); id >= 0) return id;
    if (!PageTable.loaded() || PageTable.source() != dbPath) return -1;
    const long id = PageTable.find(STTA_PageNameNorm(STTA_PageNameCut(request, rec.RemFrag, rec.RemQuery)));
    if (id >= 0) pages.remember(request, id);
    return id;
}

long STTA_LogLinePageOf(const std::string& request, const ReadRec& rec, logimport::ImportRun& run, bool add,
                        dao::Database& db) {
    if (long id = STTA_LogLinePageKnown(request, rec, run, db.path()); id >= 0) return id;
    long id = STTA_PageIDGetOrAdd(STTA_PageNameCut(request, rec.RemFrag, rec.RemQuery), add, db);
    // A page not added may be added by a later line: only found ones are kept.
    if (id >= 0) run.requestPages().remember(request, id);
    return id;
}

std::int64_t STTA_LineStamp(const LogFields& fields) {
    double ts = 0, first = 0;
    return stampOfSerial(STTA_LineTimestamp(fields, ts, first));
}

double STTA_LogFieldNumber(const LogFields& fields, int fieldNo) {
    try {
        return TXT_Val(fields[static_cast<size_t>(fieldNo)]);
    } catch (const sys::RtError& e) {
        if (e.number() != sys::kErrOverflow) throw;
        return 0;
    }
}

namespace {

// A field without the blanks around it.
std::string_view unpadded(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return std::string_view(text).substr(first, text.find_last_not_of(" \t") + 1 - first);
}

}  // namespace

std::int64_t STTA_LogLineBytes(const LogFields& fields) {
    constexpr size_t kMaxDigits = 18;  // below 2^63 whatever the digits
    long long n = 0;
    return core::plainDigitsValue(unpadded(fields[kFldBytes]), kMaxDigits, n) ? n : 0;
}

bool STTA_LogStatusReadable(const LogFields& fields) {
    const std::string_view status = unpadded(fields[kFldStatus]);
    return status == "-" || status.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string STTA_LineStampText(const LogFields& fields) {
    return std::to_string(STTA_LineStamp(fields));
}

core::Variant STTA_LogLineFieldValue(int fieldNo, const LogFields& fields) {
    switch (fieldNo) {
        case kFldIpAddress:
        case kFldMicroseconds:
            return STTA_LogFieldNumber(fields, fieldNo);
        case kFldFileName:
        case kFldUserAgent:
        case kFldReferrer:
            return fit(fields, fieldNo, 253);
        case kFldQuery:
            return fit(fields, fieldNo, 200);
        case kFldUserAgent2:
        case kFldUser:
        case kFldVirtualHost:
        case kFldStatus:
        case kFldStatusWords:
            return fit(fields, fieldNo, 100);
        default:
            return {};
    }
}

std::string STTA_LogLinePageID(const std::string& request, const ReadRec& rec, logimport::ImportRun& run, bool add,
                               dao::Database& db) {
    long id = STTA_LogLinePageOf(request, rec, run, add, db);
    return std::to_string(id == -1 ? run.MissingPageID : id);
}

LogLineRow STTA_LogLineRowMake(const LogFields& f, const ReadRec& rec, logimport::ImportRun& run, bool addPage,
                               dao::Database& db, std::optional<double> serial) {
    return STTA_LogLineRowMake(f, rec, run, STTA_LogLinePageOf(f[kFldFileName], rec, run, addPage, db), serial);
}

LogLineRow STTA_LogLineRowMake(const LogFields& f, const ReadRec& rec, const logimport::ImportRun& run, long pageID,
                               std::optional<double> serial) {
    LogLineRow row;
    row.IP = TXT_FitLen(STTA_LogFieldsIP(f), 50, "..");
    row.PageID = pageID == -1 ? run.MissingPageID : pageID;
    row.Timestamp = serial ? stampOfSerial(*serial) : STTA_LineStamp(f);
    row.Bytes = storedWhole(static_cast<double>(STTA_LogLineBytes(f)));
    if (!rec.LastKeepVal) return row;
    row.Kept = std::make_unique<LogLineValues>();
    LogLineValues& v = *row.Kept;
    v.Filename = fit(f, kFldFileName, 253);
    v.numIP = storedWhole(STTA_LogFieldNumber(f, kFldIpAddress));
    v.Query = fit(f, kFldQuery, 200);
    v.Browser = fit(f, kFldUserAgent, 253);
    v.Browser2 = fit(f, kFldUserAgent2, 100);
    v.UserNo = fit(f, kFldUser, 100);
    v.VirtualHost = fit(f, kFldVirtualHost, 100);
    v.ProcTimeMicroSecs = storedWhole(STTA_LogFieldNumber(f, kFldMicroseconds));
    v.HTTPStatus = fit(f, kFldStatus, 100);
    v.CodeWordsHTTP = fit(f, kFldStatusWords, 100);
    v.Referrer = fit(f, kFldReferrer, 253);
    return row;
}

namespace {

void rowFieldsSet(dao::Recordset& rs, const LogLineRow& row, const ReadRec& rec) {
    rs.setField("IP", textValue(row.IP));
    rs.setField("PageID", dao::Value(static_cast<long long>(row.PageID)));
    rs.setField("Timestamp", dao::Value(static_cast<long long>(row.Timestamp)));
    rs.setField("Bytes", dao::Value(static_cast<long long>(row.Bytes)));
    if (!rec.LastKeepVal || !row.Kept) return;  // the referrer is stored once the row has its number
    const LogLineValues& v = *row.Kept;
    rs.setField("Filename", textValue(v.Filename));
    rs.setField("numIP", dao::Value(static_cast<long long>(v.numIP)));
    rs.setField("Query", textValue(v.Query));
    rs.setField("Browser", textValue(v.Browser));
    rs.setField("Browser2", textValue(v.Browser2));
    rs.setField("UserNo", textValue(v.UserNo));
    rs.setField("VirtualHost", textValue(v.VirtualHost));
    rs.setField("ProcTimeMicroSecs", dao::Value(static_cast<long long>(v.ProcTimeMicroSecs)));
    rs.setField("HTTPStatus", textValue(v.HTTPStatus));
    rs.setField("CodeWordsHTTP", textValue(v.CodeWordsHTTP));
    rs.setField("Referrer", textValue(v.Referrer));
}

}  // namespace

void STTA_LogLineFieldsSet(dao::Database& db, dao::Recordset& rs, const LogFields& fields, ReadRec& rec,
                           logimport::ImportRun& run) {
    rowFieldsSet(rs, STTA_LogLineRowMake(fields, rec, run, true, db), rec);
}

bool STTA_LogLineInsert(dao::Database& db, const LogFields& fields, ReadRec& rec, logimport::ImportRun& run,
                        std::optional<double> serial) {
    long id = run.LastLogLnID + 1;
    LogLineRow row = STTA_LogLineRowMake(fields, rec, run, true, db, serial);
    try {
        insertRow(db, id, row, rec.LastKeepVal != 0, std::nullopt);
    } catch (const sys::RtError& e) {
        if (e.number() != dao::kErrDuplicateKey) throw;  // with the database's own message
        // A number taken (left by a stopped run): the pending row moves past it.
        dao::Recordset& rs = run.LogLineRs;
        if (!rs.isOpen()) STTA_LogLineRsOpen(run, db);
        rs.addNew();
        rs.setField("LogLnID", dao::Value(id));
        rowFieldsSet(rs, row, rec);
        int err = e.number();
        STTA_DupKeyRetry(err, db, rs, "logline", "LogLnID", id);
    }
    run.LastLogLnID = id;
    // Stored under the number the row was saved with, which a key retry may have moved.
    // A kept referrer that was cut is stored whole too: its search term may lie past the cut.
    if (!rec.LastKeepVal || (row.Kept && row.Kept->Referrer != fields[kFldReferrer]))
        STTA_RefrStore(run.referrers(), id, fields[kFldReferrer]);
    return true;
}

long STTA_LogLnIDStoredMax(dao::Database& db) {
    auto rs = db.openRecordset("SELECT MAX(LogLnID) FROM logline", dao::RecordsetType::Snapshot);
    const dao::Value top = rs.field(0);
    return top.isNull() ? 0 : static_cast<long>(top.asInteger());
}

namespace {

bool sameValues(const dao::Recordset& rs, const LogLineValues& v) {
    return sameText(rs.field("Filename"), v.Filename) && sameWhole(rs.field("numIP"), v.numIP) &&
           sameText(rs.field("Query"), v.Query) && sameText(rs.field("Browser"), v.Browser) &&
           sameText(rs.field("Browser2"), v.Browser2) && sameText(rs.field("UserNo"), v.UserNo) &&
           sameText(rs.field("VirtualHost"), v.VirtualHost) &&
           sameWhole(rs.field("ProcTimeMicroSecs"), v.ProcTimeMicroSecs) &&
           sameText(rs.field("HTTPStatus"), v.HTTPStatus) && sameText(rs.field("CodeWordsHTTP"), v.CodeWordsHTTP) &&
           sameText(rs.field("Referrer"), v.Referrer);
}

}  // namespace

long STTA_LogLineDupeFind(dao::Database& db, dao::Recordset& rs, const LogFields& fields, const ReadRec& rec,
                          logimport::ImportRun& run) {
    // Compared in the stored forms: an IP of 49 characters is stored cut to 48 + "..".
    LogLineRow row = STTA_LogLineRowMake(fields, rec, run, false, db);
    rs = db.openRecordset("SELECT * FROM logline WHERE IP = ? AND Timestamp = ?", dao::RecordsetType::Dynaset,
                          {textValue(row.IP), dao::Value(static_cast<long long>(row.Timestamp))});
    for (; !rs.eof(); rs.moveNext()) {
        if (!sameWhole(rs.field("Bytes"), row.Bytes) || !sameWhole(rs.field("PageID"), row.PageID)) continue;
        if (row.Kept && !sameValues(rs, *row.Kept)) continue;
        return static_cast<long>(rs.field("LogLnID").asInteger());
    }
    return -1;
}

void STTA_LogLineRowInsert(dao::Database& db, long logLnID, const LogLineRow& row, bool keepValues,
                           std::optional<long> visitID) {
    insertRow(db, logLnID, row, keepValues, visitID);
}

void STTA_LogLineRowsInsert(dao::Database& db, std::span<const LogLineInsert> rows, bool keepValues) {
    static const std::string kOne[2] = {insertSql(false, 1), insertSql(true, 1)};
    static const std::string kMany[2] = {insertSql(false, kRowsPerInsert), insertSql(true, kRowsPerInsert)};
    const int columns = keepValues ? kKeepColumns : kLeanColumns;
    size_t i = 0;
    for (; rows.size() - i >= kRowsPerInsert; i += kRowsPerInsert) {
        dao::Statement& s = db.prepared(kMany[keepValues], true);
        dao::ResetOnExit reset(s);
        for (size_t k = 0; k < kRowsPerInsert; ++k) bindRow(s, static_cast<int>(k) * columns, rows[i + k], keepValues);
        s.step();
    }
    for (; i < rows.size(); ++i) {
        dao::Statement& s = db.prepared(kOne[keepValues], true);
        dao::ResetOnExit reset(s);
        bindRow(s, 0, rows[i], keepValues);
        s.step();
    }
}

bool STTA_LogLineDupeCheck(dao::Database& db, const LogFields& fields, ReadRec& rec, logimport::ImportRun& run,
                           long* countedVisitID) {
    dao::Recordset rs;
    if (STTA_LogLineDupeFind(db, rs, fields, rec, run) == -1) return false;
    run.File.Duplicates += 1;
    // Repeats that follow new lines of this file are counted on the stored row; a
    // re-read of old data only counts as duplicates.
    if (run.File.LinesAccepted > 0) {
        if (countedVisitID) {
            dao::Value v = rs.field("VisitID");
            *countedVisitID = v.isNull() ? 0 : static_cast<long>(v.asInteger());
        }
        rs.edit();
        rs.setField("CntDupes", dao::Value(static_cast<long long>(STTA_FldNumNz(rs.field("CntDupes")) + 1)));
        rs.update();
    }
    return true;
}

void STTA_DupKeyRetry(int& errNo, dao::Database& db, dao::Recordset& rs, const std::string& table,
                      const std::string& idField, long& lastID) {
    const std::string maxSql = "SELECT MAX(" + dao::quoted(idField) + ") FROM " + dao::quoted(table);
    while (errNo == dao::kErrDuplicateKey) {
        // Past the highest number in use at once: after an interrupted run, stepping
        // by one could walk through a million taken numbers.
        auto top = db.openRecordset(maxSql, dao::RecordsetType::Snapshot);
        dao::Value maxID = top.field(0);
        lastID = std::max(lastID + 1, maxID.isNull() ? 1L : static_cast<long>(maxID.asInteger()) + 1);
        rs.setField(idField, dao::Value(lastID));
        errNo = 0;
        try {
            rs.update();
        } catch (const sys::RtError& e) {
            errNo = e.number();
            if (errNo != dao::kErrDuplicateKey) throw;
        }
    }
    if (errNo != 0) throw sys::RtError(errNo, sys::vbErrorDescription(errNo), "STTA_DupKeyRetry");
}

void STTA_SkipStatsText(std::string& percentText, std::string& detailText, const ReadRec& rec,
                        const logimport::ImportRun& run, bool shortForm, double& skipped) {
    skipped = double(rec.MainSet.Hits) + double(rec.RobotSet.Hits) + double(rec.CompSet.Hits) + run.File.Duplicates;
    double stored = static_cast<double>(run.File.LinesAccepted);
    // 64-bit: the share must not overflow after tens of millions of skipped lines.
    long long total = static_cast<long long>(stored + skipped);
    long long percent = total > 0 ? static_cast<long long>(skipped) * 100 / total : 0;
    if (shortForm)
        percentText = (total > 0 ? TXT_FormatDbl(double(percent), "0") + "%" : std::string("None")) + " skipped";
    else
        percentText = TXT_FormatDbl(skipped, "#,###,##0") + " lines (" + TXT_FormatDbl(double(percent), "0") +
                      "% of TTL) skipped";
    detailText.clear();
    // The counts that are not 0, one sentence each, a blank between them.
    for (const auto& [n, format] : {std::pair{double(run.File.Duplicates), "#,###,##0 exist."},
                                    std::pair{double(rec.MainSet.Hits), "#,###,##0 filtered."},
                                    std::pair{double(rec.RobotSet.Hits), "#,###,##0 bots."},
                                    std::pair{double(rec.CompSet.Hits), "#,###,##0 components."}})
        if (n != 0) detailText += (detailText.empty() ? "" : " ") + TXT_FormatDbl(n, format);
}

namespace {

void tally(core::StrArray& values, core::LngArray& counts, const std::string& value) {
    long index = -1;
    bool noSpace = false, appended = false, error = false;
    LLIST_StrArrAdd(values, -1, value, 2, index, noSpace, appended, false);
    LLIST_LngArrAddRelative(counts, index, 1, index, error, appended);
}

}  // namespace

void STTA_TestReadTally(TestReadRec& test, const LogFields& fields) {
    if (test.ListUserAgents) tally(test.UserAgents, test.UserAgentCounts, fields[kFldUserAgent]);
    if (test.CheckReferrers) tally(test.Referrers, test.ReferrerCounts, fields[kFldReferrer]);
    if (test.ListFieldValues && test.FieldNo >= 0 && test.FieldNo <= kLogFmtTokenCount)
        tally(test.FieldValues, test.FieldValueCounts, fields[static_cast<size_t>(test.FieldNo)]);
}

std::string STTA_FldStrNz(const dao::Value& value) {
    return value.isNull() ? std::string() : value.asText();
}

double STTA_FldNumNz(const dao::Value& value) {
    return value.isNull() ? 0.0 : TXT_Val(value.asText());
}
