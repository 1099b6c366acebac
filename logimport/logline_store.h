#pragma once
// One accepted, parsed log line becomes one row of table `logline`: its number, the
// values stored for its fields (all of them, or when the site keeps no line values
// only those visits are built from, the referrer then going to the referrer store),
// its page, and the duplicate check for files whose dates overlap stored data.
// Rows are added through one insert statement that stays prepared and is bound by
// type, so a read costs no SQL text and no recordset work per line; the caller wraps
// the read in a transaction.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "core/variant.h"
#include "logimport/log_format.h"
#include "logimport/read_record.h"
#include "platform/dao/database.h"

// Open for the duration of a read on table "logline" of the site database.
inline dao::Recordset gLogLineRs;

// The values a line is stored with, each in the form the table keeps it, so that the
// insert and the duplicate comparison can never disagree about a value.
struct LogLineValues {  // the ones stored only when the site keeps line values
    std::string Filename, Query, Browser, Browser2, UserNo, VirtualHost, HTTPStatus, CodeWordsHTTP, Referrer;
    std::int64_t numIP = 0;
    std::int64_t ProcTimeMicroSecs = 0;
};
struct LogLineRow {
    std::string IP;
    long PageID = 0;
    std::int64_t Timestamp = 0;  // yyyymmddhhnnss
    std::int64_t Bytes = 0;
    // Set when the site keeps line values; apart, so that the rows a read holds in
    // memory stay small when it does not.
    std::unique_ptr<LogLineValues> Kept;
};

void STTA_LogLineRsOpen(dao::Database& db);
// The highest line number stored (committed) in the logline table; 0 when it is empty.
long STTA_LogLnIDStoredMax(dao::Database& db);
void STTA_LogLineRsClose();  // never fails

// The stamp "yyyymmddhhnnss" of a line from its date and time fields; "0" for a line
// whose fields make no date.
std::string STTA_LineStampText(const LogFields& fields);
std::int64_t STTA_LineStamp(const LogFields& fields);

// The number a field holds, as Val reads it; 0 when it holds none or one too large for
// a Double ("1e999", 400 digits), so that no field value of a log stops a read.
double STTA_LogFieldNumber(const LogFields& fields, int fieldNo);
// The byte count of a line: a whole number from 0 up (digits only), anything else
// ("-", "-5", "12.5", more than the counters hold) counts as 0.
std::int64_t STTA_LogLineBytes(const LogFields& fields);
// Whether the line's HTTP status is a whole number from 0 up, or absent ("" or "-").
bool STTA_LogStatusReadable(const LogFields& fields);
// The value stored for a field: a Double for fields 2 and 23, the text cut by the fit
// rule for 3, 4, 5, 6, 7, 8, 9, 24, 25, nothing for any other number.
core::Variant STTA_LogLineFieldValue(int fieldNo, const LogFields& fields);
// The PageID of the request as text; the missing page's when the page is unknown and
// not added.
std::string STTA_LogLinePageID(const std::string& request, const ReadRec& rec, bool add, dao::Database& db);
// The PageID of the request when it is known without a look at the table of the
// database at `dbPath` (from the run's request pages or the page table); else -1.
long STTA_LogLinePageKnown(const std::string& request, const ReadRec& rec, const std::string& dbPath);
// The PageID of the request, added when `add` is set; -1 when unknown and not added.
long STTA_LogLinePageOf(const std::string& request, const ReadRec& rec, bool add, dao::Database& db);
// The row a line would be stored as; its page is added when `addPage` is set. A
// caller that has the line's date serial already passes it.
LogLineRow STTA_LogLineRowMake(const LogFields& fields, const ReadRec& rec, bool addPage, dao::Database& db,
                               std::optional<double> serial = std::nullopt);
// The row of a line whose page is known (-1: the missing page).
LogLineRow STTA_LogLineRowMake(const LogFields& fields, const ReadRec& rec, long pageID,
                               std::optional<double> serial);

// Adds the line as the next LogLnID (a number already taken moves on through
// gLogLineRs and the key retry); the referrer goes to the
// referrer store when line values are not kept.
bool STTA_LogLineInsert(dao::Database& db, const LogFields& fields, ReadRec& rec,
                        std::optional<double> serial = std::nullopt);
void STTA_LogLineFieldsSet(dao::Database& db, dao::Recordset& rs, const LogFields& fields, ReadRec& rec);

// The LogLnID of the first stored line equal to this one, -1 when none; `rs` is left
// on that row.
long STTA_LogLineDupeFind(dao::Database& db, dao::Recordset& rs, const LogFields& fields, const ReadRec& rec);
// True for a duplicate: it is counted, and once the file has stored lines also on the
// stored row (CntDupes); `countedVisitID` then gets that row's VisitID (0 for none).
bool STTA_LogLineDupeCheck(dao::Database& db, const LogFields& fields, ReadRec& rec,
                           long* countedVisitID = nullptr);
// Adds the row under a number known to be free, in the visit given (none: Null).
void STTA_LogLineRowInsert(dao::Database& db, long logLnID, const LogLineRow& row, bool keepValues,
                           std::optional<long> visitID);

// A row to add under a number known to be free.
struct LogLineInsert {
    long LogLnID = 0;
    const LogLineRow* Row = nullptr;
    std::optional<long> VisitID;  // none: Null
};
// Adds the rows in the order given, several to a statement.
void STTA_LogLineRowsInsert(dao::Database& db, std::span<const LogLineInsert> rows, bool keepValues);

// Recovers from a key already taken (3022) on saving the pending row of `rs`: the ID
// moves past the highest one in the table and the save is repeated. Any other error
// is raised again. `lastID` ends as the ID saved.
void STTA_DupKeyRetry(int& errNo, dao::Database& db, dao::Recordset& rs, const std::string& table,
                      const std::string& idField, long& lastID);

// The share of skipped lines ("12% skipped", "None skipped", or with `shortForm` off
// "1,234 lines (12% of TTL) skipped") and the counts behind it ("3 exist.5 bots.").
void STTA_SkipStatsText(std::string& percentText, std::string& detailText, const ReadRec& rec, bool shortForm,
                        double& skipped);

// A test read tallies the user agent, referrer and chosen field of each line that
// passed every filter, merging values ignoring case.
void STTA_TestReadTally(TestReadRec& test, const LogFields& fields);

std::string STTA_FldStrNz(const dao::Value& value);
double STTA_FldNumNz(const dao::Value& value);
