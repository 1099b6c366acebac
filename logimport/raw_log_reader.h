#pragma once
// Step 1 of an addition of log data: the picked log files are read line by line into
// table `logline`. File names with wildcards are expanded and confirmed, each file is
// checked first (first and last valid line, overlap with stored data), then read in
// blocks without ever holding more than one block, every line going to the per-line
// processing. The rows are written in transactions committed in batches and on every
// way out, so lines stored before a Stop stay stored and no row is half-written.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "logimport/line_processing.h"
#include "logimport/log_format.h"
#include "logimport/read_record.h"
#include "platform/dao/database.h"

inline constexpr long kReadBlockLimit = 10000000;  // bytes per block, and the longest line
inline constexpr long kStampWindow = 3000;         // bytes looked at by the file checks
inline constexpr double kProgressRedraw = 0.5;     // seconds

// The per-line processing as the block reader sees it: the lines of a piece and the
// index of one; 1 stops the hand-on of the piece.
using LinesHandler = std::function<long(const std::vector<std::string_view>& lines, long index)>;
// Told the length of a line that exceeded the block limit and was skipped.
using OverlongHandler = std::function<void(long long length)>;

// The lines of one piece handed on in order. Returns 1 when the handler stopped the
// hand-on; `rest` then holds the lines not yet processed.
long OPENX_LinesHandOn(const LinesHandler& handler, const std::vector<std::string_view>& lines,
                       std::vector<std::string>& rest);

// Reads the file block by block and hands every line on, whole: a line that straddles
// two pieces or blocks is joined first, a last line without a line end is handed on,
// LF, CR LF and CR all end a line (the line end is not part of the line; another
// `lineEnd` text splits at exactly that text). A line longer than the block limit is
// skipped and told to `overlong` instead of being handed on in bogus parts. With
// `progress`, a report counts the bytes and is redrawn at most every half second; its
// Stop (error 1066) ends the read. True when the whole file was read; when a block
// could not be read (the file went away or shrank meanwhile), `readError` says why:
// kFileShrankText for a file cut short, whose line cut there is not handed on.
inline const std::string kFileShrankText = "Log file became shorter while it was read.";
bool OPENX_ReadFileByBlocks(const std::string& fileName, const LinesHandler& handler, bool progress, bool wait,
                            const std::string& lineEnd, long blockLimit, const std::string& progressTitle,
                            const std::string& messagePrefix, const std::string* statusText = nullptr,
                            const OverlongHandler& overlong = {}, std::string* readError = nullptr);

namespace logimport {

// "gzip", "bzip2", "xz" or "zip" when a file's first bytes are those of a compressed
// file, whatever its name; "" otherwise.
std::string compressionOf(std::string_view head);
// Why the file cannot be opened for reading (missing, a folder, no permission); "" when
// it can.
std::string unreadableFileProblem(const std::string& path);

}  // namespace logimport

// The stamp "yyyymmddhhnnss" of the first and the last line of the file that a format
// matches, found from 3000-byte windows at the two ends. False, with the problem
// reported, for an empty or missing file or one without a valid line at either end.
bool STTA_LogFileFirstLastStamp(const std::string& fileName, const LogFmtCompiled& formats, ReadRec& rec,
                                const logimport::ImportRun& run, std::string& firstStamp, std::string& lastStamp);
class VisitStream;
// True when stored lines fall between the file's first and last stamp (lines the
// visit building of the read still holds count as stored); `usable` is false when
// the file has no valid first or last line. A usable file gets its "Start Read File"
// history record, with `startText` as its time and its two stamps as its dates.
bool STTA_LogFileOverlapCheck(dao::Database& db, const std::string& fileName, const LogFmtCompiled& formats,
                              ReadRec& rec, const logimport::ImportRun& run, bool& usable,
                              const std::string& startText, VisitStream* visits = nullptr);

// Reads the files of the "|" list (each a path, optionally with " [LogFormat: name]",
// the last part of a path may hold "*" and "?") into the site database. False only when the
// user stopped the reading of a file (or an error ended the run); `anyUsable` is set
// once a file passes its checks. The run gets the read's counters and numbers; the
// second form reads in a run of its own.
bool RawLog_AddData_ReadLogFiles_OK(dao::Database& db, const std::string& fileList, const std::string& captionText,
                                    const std::string& progressTitle, bool& anyUsable, ReadRec& rec,
                                    logimport::ImportRun& run);
bool RawLog_AddData_ReadLogFiles_OK(dao::Database& db, const std::string& fileList, const std::string& captionText,
                                    const std::string& progressTitle, bool& anyUsable, ReadRec& rec = gReadRec);
