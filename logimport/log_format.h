#pragma once
// The log-format language: a format line is literal text with tokens ("%s", "%r",
// ...) standing for fields. A definition is an ordered list of format lines; the
// first line whose separators are all found in a log line splits it.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "logimport/composite_separators.h"

// Field numbers of a parsed line: the number of the field's token.
enum LogFieldNo : int {
    kFldS = 1,
    kFldIpAddress = 2,
    kFldFileName = 3,
    kFldQuery = 4,
    kFldUserAgent = 5,
    kFldUserAgent2 = 6,
    kFldReferrer = 7,
    kFldUser = 8,
    kFldVirtualHost = 9,
    kFldDay = 10,
    kFldMonth = 11,
    kFldMonthName = 12,
    kFldYear1 = 13,
    kFldYear2 = 14,
    kFldYear3 = 15,
    kFldHour = 16,
    kFldMinute = 17,
    kFldAmPm = 18,
    kFldU = 19,
    kFldBytes = 20,
    kFldt = 21,
    kFldT = 22,
    kFldMicroseconds = 23,
    kFldStatus = 24,
    kFldStatusWords = 25,
    kFldj = 26,
    kFldSecond = 27,
};

inline constexpr int kLogFmtTokenCount = 59;

// The token table, built once when the program is compiled: tokens 1-27, their skip
// twins 28-54 ("%*x") and the spare fields "%1"-"%5" at 55-59; element 0 is empty.
constexpr std::array<std::string_view, kLogFmtTokenCount + 1> STTA_LogFmtTokensInit() {
    return {"",    "%S",  "%s",  "%r",  "%q",  "%B",  "%A",  "%f",  "%u",  "%v",  "%d",  "%m",  "%M",  "%y",  "%Y",
            "%Z",  "%h",  "%n",  "%a",  "%U",  "%b",  "%t",  "%T",  "%D",  "%c",  "%C",  "%j",  "%e",  "%*S", "%*s",
            "%*r", "%*q", "%*B", "%*A", "%*f", "%*u", "%*v", "%*d", "%*m", "%*M", "%*y", "%*Y", "%*Z", "%*h", "%*n",
            "%*a", "%*U", "%*b", "%*t", "%*T", "%*D", "%*c", "%*C", "%*j", "%*e", "%1",  "%2",  "%3",  "%4",  "%5"};
}
inline constexpr std::array<std::string_view, kLogFmtTokenCount + 1> LogFmtTokens = STTA_LogFmtTokensInit();
// The codes a separator may hold besides literal text: the wildcards and the escapes.
std::vector<std::string> LogFmtSeparatorCodes();
// The caption by which other screens title a field ("" for fields without one).
std::string LogFmtFieldCaption(int fieldNo);

// The fields of a parsed line, indexed by token number; element 0 carries nothing.
using LogFields = std::array<std::string, kLogFmtTokenCount + 1>;

// One piece of a compiled row: the separator before field `token` (-1 for the two
// closing pieces). A composite separator is referred to by number, flagged apart
// from its text so that a literal "%%" is never taken for a reference.
struct LogFmtPiece {
    std::string sep;
    long token = -1;
    bool composite = false;
    int compositeNo = -1;
    bool toLineEnd = false;  // empty closing separator after a field: the field runs to the end
    // The field of this piece lies between quotes: "\"" and "\\" in it are escapes
    // (as Apache writes them, "\x22" as nginx does), so they neither end the field nor
    // stay in its text.
    bool quoted = false;
    // Where the separator holds a quote that may close a quoted field (npos: none).
    size_t closingQuote = std::string::npos;
};

// Row f is format line f; row 0 holds no format line. The composites its pieces
// refer to by number are its own.
struct LogFmtCompiled {
    std::vector<std::vector<LogFmtPiece>> rows{1};
    CompositeList composites;
};

void STTA_LogFmtPieceStore(long row, long& piece, const std::string& separator, long token,
                           LogFmtCompiled& compiled);
void STTA_LogFmtCompile(const std::string& format, long row, LogFmtCompiled& compiled);
// Compiles items 1..n of a definition's list (item 0 is not a format line).
void STTA_LogFmtDefCompile(const std::vector<std::string>& items, LogFmtCompiled& compiled);
// Reads [name] DefsCDS of the log-format file (gIniLogFmts) and compiles it; a
// definition without format lines leaves row 0 only, so no line matches.
void STTA_LogFmtDefLoad(const std::string& name, LogFmtCompiled& compiled);
// The format of log files whose entry names none: the site's [Main] LFmtDflt, else the
// default shipped in the log-format file, so a new site reads logs without choosing.
std::string STTA_LogFmtDefault();

// With `date`, a row whose fields hold data but whose date or time is unreadable or
// outside the calendar (see STTA_LineDateTimeHold) does not match either, and the
// next row is tried: a line whose date the format cannot read is a line the format
// does not match. `*date` then gets
// the line's date serial (0 for a line of skip fields).
bool STTA_LogLineSplit(std::string_view line, const LogFmtCompiled& compiled, LogFields& fields,
                       long* date = nullptr);
// The field's text with the escapes of a quoted field replaced: "\"" and "\x22" by a
// quote, "\\" and "\x5C" by a backslash; any other backslash stays.
void STTA_QuotedFieldUnescape(std::string& text);
// False for a line whose format line gave it only skip fields (such as a format line
// "#%*S" for the directive lines of W3C logs): it carries no log data and is passed
// over like a blank line.
bool STTA_LogFieldsHoldData(const LogFields& fields);

// The client address a line is stored under: field 1 when the format reads it, else
// the IP address field.
inline const std::string& STTA_LogFieldsIP(const LogFields& fields) {
    return fields[kFldS].empty() ? fields[kFldIpAddress] : fields[kFldS];
}

// A log-file entry is a file spec, optionally followed by " [LogFormat: name]". It is
// a "|" list of one item, so a spec holding "|" (a file name may) is joined escaped
// and split back whole.
void STTA_LogFileEntrySplit(const std::string& entry, std::string& fileSpec, std::string& defName);
std::string STTA_LogFileEntryJoin(const std::string& fileSpec, const std::string& defName);
