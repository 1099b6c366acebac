#include "logimport/raw_log_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

#include "core/dates.h"
#include "core/delimited_lists.h"
#include "core/error_handler.h"
#include "core/file_find.h"
#include "core/file_names.h"
#include "core/file_open.h"
#include "core/like_pattern.h"
#include "core/numbers.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/site_name.h"
#include "core/progress.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "core/vb_format.h"
#include "logimport/addition_history.h"
#include "logimport/logline_store.h"
#include "logimport/page_table.h"
#include "logimport/import_run.h"
#include "logimport/queued_database.h"
#include "logimport/read_session.h"
#include "logimport/visit_stream.h"
#include "platform/dao/errors.h"
#include "platform/sys/clock.h"
#include "platform/sys/rt_error.h"

namespace logimport {

std::string compressionOf(std::string_view head) {
    struct Magic { std::string_view bytes, kind; };
    static constexpr Magic kMagics[] = {{"\x1f\x8b", "gzip"},
                                        {"BZh", "bzip2"},
                                        {std::string_view("\xfd" "7zXZ\0", 6), "xz"},
                                        {"PK\x03\x04", "zip"}};
    for (const Magic& m : kMagics)
        if (head.substr(0, m.bytes.size()) == m.bytes) return std::string(m.kind);
    return {};
}

std::string unreadableFileProblem(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) return "Log file does not exist.";
    if (std::filesystem::is_directory(status)) return "Log file is a folder, not a file.";
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
        return {};
    }
    return "Log file cannot be read [" + std::string(std::strerror(errno)) + "].";
}

}  // namespace logimport

namespace {

// Lines read between two commits. A commit is dear: the next batch must journal every
// index page it touches again, so batches are large; a Stop or an error commits what
// was stored before it all the same.
constexpr long kLinesPerCommit = 2000000;

// Cuts pieces of a file into lines, carrying a partial line from piece to piece.
class LineCutter {
public:
    LineCutter(const std::string& lineEnd, long limit, const OverlongHandler& overlong)
        : anyEnd_(lineEnd.empty() || lineEnd == "\n"), lineEnd_(lineEnd), limit_(limit), overlong_(overlong) {}

    // The complete lines of the piece (and with `final` the rest too), as views that
    // stay valid until the next call.
    void cut(const std::string& piece, bool final, std::vector<std::string_view>& lines) {
        lines.clear();
        std::string_view buf = piece;
        if (!carry_.empty() && !final && anyEnd_ && piece.find_first_of("\r\n") == std::string::npos) {
            // Only a longer partial line: append instead of copying it whole again.
            carry_ += piece;
            if (static_cast<long long>(carry_.size()) > limit_) {
                skipping_ = true;
                skipped_ = static_cast<long long>(carry_.size());
                carry_.clear();
            }
            return;
        }
        if (!carry_.empty()) {
            work_.swap(carry_);
            work_ += piece;
            carry_.clear();
            buf = work_;
        }
        size_t pos = 0;
        if (skipping_) {
            size_t end = 0, next = 0;
            if (!findEnd(buf, 0, final, end, next)) {
                skipped_ += static_cast<long long>(buf.size());
                if (final) tellOverlong();
                return;
            }
            skipped_ += static_cast<long long>(end);
            tellOverlong();
            pos = next;
        }
        size_t end = 0, next = 0;
        while (findEnd(buf, pos, final, end, next)) {
            addLine(buf.substr(pos, end - pos), lines);
            pos = next;
        }
        std::string_view rest = buf.substr(pos);
        if (final) {
            if (!rest.empty()) addLine(rest, lines);
        } else if (static_cast<long long>(rest.size()) > limit_) {
            // Never handed on in parts: a permissive format would store each as a line.
            skipping_ = true;
            skipped_ = static_cast<long long>(rest.size());
        } else {
            carry_.assign(rest);
        }
    }

private:
    void addLine(std::string_view line, std::vector<std::string_view>& lines) {
        if (static_cast<long long>(line.size()) > limit_) {
            skipped_ = static_cast<long long>(line.size());
            tellOverlong();
            return;
        }
        lines.push_back(line);
    }

    void tellOverlong() {
        if (overlong_) overlong_(skipped_);
        skipping_ = false;
        skipped_ = 0;
    }

    // The next line end at or after pos: the line runs to `end`, the next begins at
    // `next`. A CR at the end of a piece waits for the next piece, which may begin
    // with its LF.
    bool findEnd(std::string_view buf, size_t pos, bool final, size_t& end, size_t& next) const {
        if (!anyEnd_) {
            size_t at = buf.find(lineEnd_, pos);
            if (at == std::string_view::npos) return false;
            end = at;
            next = at + lineEnd_.size();
            return true;
        }
        const char* base = buf.data();
        size_t n = buf.size();
        if (pos >= n) return false;
        const void* lf = std::memchr(base + pos, '\n', n - pos);
        size_t lfAt = lf ? static_cast<size_t>(static_cast<const char*>(lf) - base) : n;
        const void* cr = std::memchr(base + pos, '\r', lfAt - pos);
        if (cr) {
            size_t crAt = static_cast<size_t>(static_cast<const char*>(cr) - base);
            if (crAt + 1 == n && !final) return false;
            end = crAt;
            next = crAt + 1 < n && base[crAt + 1] == '\n' ? crAt + 2 : crAt + 1;
            return true;
        }
        if (!lf) return false;
        end = lfAt;
        next = lfAt + 1;
        return true;
    }

    bool anyEnd_;
    std::string lineEnd_;
    long long limit_;
    const OverlongHandler& overlong_;
    std::string carry_, work_;
    bool skipping_ = false;
    long long skipped_ = 0;
};

// A box of the read that a read option switches off: not shown while the option is
// set, and its check box "Do not show this message again" sets it. The pressed button;
// `whenOff` when the box is not shown.
int optionalBox(bool& off, int whenOff, const std::string& message, const std::string& buttons = "0",
                const std::string& options = "", const std::string& caption = "") {
    if (off) return whenOff;
    return core::ui().msgBoxDontShowAgain(message, buttons, options, caption, off);
}

// A notice that a file is skipped; prompts for invalid lines off silence it, and the
// skip stays in the run's problem list all the same.
void skipNotice(ReadRec& rec, const std::string& message) { optionalBox(rec.NoPromptInvalid, 1, message); }

// A stamp "yyyymmddhhnnss" as the history shows it: "2026-12-10 10:20.30".
std::string historyStamp(const std::string& stamp) {
    return TXT_FormatDbl(TXT_Val(stamp), "0000-00-00 00:00\".\"00");
}

std::string trimLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    return std::string(line);
}

bool stampOf(std::string_view line, const LogFmtCompiled& formats, LogFields& fields, std::string& stamp) {
    // Split as the read splits: a line it cannot date is no valid first or last line.
    long date = 0;
    if (STTA_LineIsBlank(line) || !STTA_LogLineSplit(trimLine(line), formats, fields, &date) ||
        !STTA_LogFieldsHoldData(fields))
        return false;
    stamp = STTA_LineStampText(fields);
    return true;
}

std::string readWindow(const std::string& path, long start, long count) {
    std::string text, errorText, options = "-1";
    bool stopped = false, afterEnd = false;
    long length = 0;
    gOpenIfMissing = "C";
    if (!OPENBIN_ReadFileToBuf(path, start, count, false, text, stopped, length, errorText, afterEnd, options))
        return {};
    return text;
}

long fileLength(const std::string& path) {
    std::error_code ec;
    auto n = std::filesystem::file_size(path, ec);
    return ec ? 0 : static_cast<long>(n);
}

// The byte-order mark some editors write at the start of a UTF-8 file: no part of
// the first line.
void dropByteOrderMark(std::string& text) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (std::string_view(text).substr(0, kMark.size()) == kMark) text.erase(0, kMark.size());
}

// Blocks the time-stamp checks read; a line may run over any number of them.
constexpr long kScanBlock = 65536;

// Hands each line of the file to `take`, first to last, until it returns true, so
// that a first valid line is found however far into the file it lies. True when a
// line was taken.
bool firstLineTaken(const std::string& path, const std::function<bool(std::string_view)>& take) {
    std::string text;    // an unfinished line, then the block read after it
    size_t scanned = 0;  // the unfinished line holds no line break
    for (long start = 1;; start += kScanBlock) {
        std::string block = readWindow(path, start, kScanBlock);
        const bool atEnd = block.size() < static_cast<size_t>(kScanBlock);
        if (start == 1) dropByteOrderMark(block);
        text += block;
        size_t pos = 0;
        for (size_t br; (br = text.find_first_of("\r\n", scanned)) != std::string::npos; pos = scanned = br + 1)
            if (take(std::string_view(text).substr(pos, br - pos))) return true;
        text.erase(0, pos);
        scanned = text.size();
        if (atEnd) return !text.empty() && take(text);
    }
}

// As firstLineTaken, last line to first.
bool lastLineTaken(const std::string& path, long length, const std::function<bool(std::string_view)>& take) {
    // The ends of a line whose start lies in an earlier block, latest block first.
    std::vector<std::string> ends;
    auto whole = [&](std::string_view head) {
        std::string line(head);
        for (auto it = ends.rbegin(); it != ends.rend(); ++it) line += *it;
        ends.clear();
        return line;
    };
    for (long end = length; end >= 1; end -= kScanBlock) {
        const long start = std::max(1L, end - kScanBlock + 1);
        std::string block = readWindow(path, start, end - start + 1);
        if (start == 1) dropByteOrderMark(block);
        size_t stop = block.size();
        for (size_t br; stop > 0 && (br = block.find_last_of("\r\n", stop - 1)) != std::string::npos; stop = br)
            if (take(whole(std::string_view(block).substr(br + 1, stop - br - 1)))) return true;
        block.resize(stop);
        ends.push_back(std::move(block));
        if (start == 1) return take(whole({}));
    }
    return false;
}

void addToRunTotals(const ReadRec& rec, logimport::ImportRun& run) {
    ReadCounters& f = run.File;
    ReadCounters& r = run.Run;
    r.LinesMatched += f.LinesMatched;
    r.BytesMatched += f.BytesMatched;
    r.LinesAccepted += f.LinesAccepted;
    r.BytesAccepted += f.BytesAccepted;
    r.Duplicates += f.Duplicates;
    r.Unmatched += f.Unmatched;
    r.ErrorStatus += f.ErrorStatus;
    run.RunMainHits += rec.MainSet.Hits;
    run.RunRobotHits += rec.RobotSet.Hits;
    run.RunCompHits += rec.CompSet.Hits;
    // A file that stored nothing has no stamps; it must not reset the run's start.
    if (f.FirstStamp != 0 && (r.FirstStamp == 0 || f.FirstStamp < r.FirstStamp)) r.FirstStamp = f.FirstStamp;
    if (f.LastStamp > r.LastStamp) r.LastStamp = f.LastStamp;
}

void noteOnce(ReadRec& rec, const std::string& note) {
    if (std::find(rec.FormatNotes.begin(), rec.FormatNotes.end(), note) == rec.FormatNotes.end())
        rec.FormatNotes.push_back(note);
}

void resetFileCounters(ReadRec& rec, logimport::ImportRun& run) {
    run.File = ReadCounters{};
    rec.MainSet.Hits = 0;
    rec.RobotSet.Hits = 0;
    rec.CompSet.Hits = 0;
}

}  // namespace

long OPENX_LinesHandOn(const LinesHandler& handler, const std::vector<std::string_view>& lines,
                       std::vector<std::string>& rest) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (handler(lines, static_cast<long>(i)) == 1) {
            rest.assign(lines.begin() + static_cast<long>(i) + 1, lines.end());
            return 1;
        }
    }
    return 0;
}

bool OPENX_ReadFileByBlocks(const std::string& fileName, const LinesHandler& handler, bool progress, bool wait,
                            const std::string& lineEnd, long blockLimit, const std::string& progressTitle,
                            const std::string& messagePrefix, const std::string* statusText,
                            const OverlongHandler& overlong, std::string* readError) {
    const std::string path(core::trimBlanks(fileName));
    LineCutter cutter(lineEnd, blockLimit, overlong);
    std::vector<std::string> pieces, held, rest;
    std::vector<std::string_view> lines;
    long reportNo = 0;
    bool started = false;
    int64_t done = 0;
    double nextUpdate = 0;
    long position = 1;
    long long longest = 0;  // the file's length as its reads found it
    try {
        for (;;) {
            long count = 0;
            OPENBIN_ReadInfo info;
            std::string options = "-1", errorText;
            gOpenIfMissing = "C";
            const bool read = OPENBIN_ReadFileTrunc(path, position, false, pieces, count, info, blockLimit, 1, {},
                                                    options, errorText);
            // Truncated or rotated by copying while it is read: what follows the cut is
            // not this file's, and the line cut there is no line.
            const long long length = position - 1 + info.CharsToRead;
            const bool shrank = (!read && info.StartAfterEnd) || (read && length < longest);
            const bool cutInBlock = read && info.AtEnd && info.CharsRead < info.CharsToRead;
            longest = std::max(longest, length);
            if (!read || shrank) {
                PIS_CloseAll();
                if (readError)
                    *readError = shrank ? kFileShrankText : errorText.empty() ? "The file cannot be read." : errorText;
                return false;
            }
            if (progress && !started) {
                PIS_Start(messagePrefix + "Read data for " + path, "bytes", info.CharsToRead, progressTitle, reportNo,
                          kProgressRedraw, 1, false);
                started = true;
            }
            for (size_t k = 0; k < pieces.size(); ++k) {
                const size_t pieceBytes = pieces[k].size();
                if (position == 1 && k == 0) dropByteOrderMark(pieces[k]);
                cutter.cut(pieces[k], !cutInBlock && info.AtEnd && k + 1 == pieces.size(), lines);
                if (!held.empty()) {
                    // Lines a stopped hand-on left over go first.
                    std::vector<std::string_view> joined(held.begin(), held.end());
                    joined.insert(joined.end(), lines.begin(), lines.end());
                    lines.swap(joined);
                }
                rest.clear();
                OPENX_LinesHandOn(handler, lines, rest);
                held.swap(rest);
                done += static_cast<int64_t>(pieceBytes);
                double now = sys::clock().monotonicSeconds();
                if (started && now >= nextUpdate) {
                    PIS_Update(done, messagePrefix + "Read data for " + path + (statusText ? *statusText : ""),
                               reportNo);
                    nextUpdate = now + kProgressRedraw;
                }
            }
            position += info.CharsRead;
            if (cutInBlock) {
                PIS_CloseAll();
                if (readError) *readError = kFileShrankText;
                return false;
            }
            if (info.AtEnd || info.CharsRead == 0) break;
        }
        if (started) PIS_End(reportNo, wait);
        return true;
    } catch (const sys::RtError& e) {
        PIS_CloseAll();
        if (e.number() == sys::kErrUserAbort) return false;
        throw;
    }
}

bool STTA_LogFileFirstLastStamp(const std::string& fileName, const LogFmtCompiled& formats, ReadRec& rec,
                                const logimport::ImportRun& run, std::string& firstStamp, std::string& lastStamp) {
    LogFields fields;
    if (const std::string problem = logimport::unreadableFileProblem(fileName); !problem.empty()) {
        STTA_ProblemAdd(rec, run, problem + " File Skipped.");
        skipNotice(rec, problem + gCRCR + "Filename:" + gCR + fileName);
        return false;
    }
    std::string head = readWindow(fileName, 1, kStampWindow);
    if (const std::string kind = logimport::compressionOf(head); !kind.empty()) {
        STTA_ProblemAdd(rec, run, "Log file is compressed (" + kind + "). File Skipped.");
        skipNotice(rec, "Log file is compressed (" + kind + ") and cannot be read as text. File Skipped." + gCRCR +
                            "Filename:" + gCR + fileName + gCRCR +
                            "Uncompress it with an archive program and read the uncompressed file.");
        return false;
    }
    if (head.empty()) {
        STTA_ProblemAdd(rec, run, "Log file is empty or does not exist. File Skipped.");
        skipNotice(rec, "Log file is empty or does not exist." + gCRCR + "Filename:" + gCR + fileName);
        return false;
    }
    const bool found = firstLineTaken(fileName, [&](std::string_view line) {
        return stampOf(line, formats, fields, firstStamp);
    });
    if (!found) {
        STTA_ProblemAdd(rec, run, "Log file does not contain any valid lines. File Skipped.");
        skipNotice(
            rec,
            "Error in File: " + fileName + gCR + "File will be skipped" + gCRCR +
                "Log file does not contain any valid lines." + gCRCR + "Check the following and try again:" + gCR +
                "- correct log format selected [press button \"select log file and specify format\"]" + gCR +
                "- log file has been uncompressed [use an archive program to save uncompressed file]" + gCR +
                "- log file corrupt [use a file display tool to visually check]" + gCR +
                "- log file cannot be empty [use a file manager to check file size]." + gCRCR +
                "Check the box to skip message for all invalid lines AND for files without any valid lines.");
        return false;
    }
    if (lastLineTaken(fileName, fileLength(fileName),
                      [&](std::string_view line) { return stampOf(line, formats, fields, lastStamp); }))
        return true;
    const std::string text =
        "Log file ends with > " + std::to_string(kStampWindow) + " bytes of corrupt lines [log file corrupt].";
    STTA_ProblemAdd(rec, run, text + " File Skipped.");
    skipNotice(rec, text);
    return false;
}

bool STTA_LogFileOverlapCheck(dao::Database& db, const std::string& fileName, const LogFmtCompiled& formats,
                              ReadRec& rec, const logimport::ImportRun& run, bool& usable,
                              const std::string& startText, VisitStream* visits) {
    usable = true;
    std::string first, last;
    if (!STTA_LogFileFirstLastStamp(fileName, formats, rec, run, first, last)) {
        usable = false;
        return false;
    }
    // Written before the overlap question, so that a file declined there has its record.
    STTA_AddDataLogWrite(fileName, startText, rec, run, "", kHistoryStartRead + fileName, "START Read File.", {},
                         historyStamp(first), historyStamp(last), "");
    const auto from = core::wholeOf<long long>(TXT_Val(first)), to = core::wholeOf<long long>(TXT_Val(last));
    auto rs = db.openRecordset("SELECT LogLnID FROM logline WHERE Timestamp >= ? AND Timestamp <= ? LIMIT 1",
                               dao::RecordsetType::Snapshot, {dao::Value(from), dao::Value(to)});
    return !rs.eof() || (visits && visits->holdsLineBetween(from, to));
}

namespace {

struct RunState {
    logimport::QueuedDatabase& site;  // the connection, waiting for what the visits write
    logimport::ImportRun& importRun;
    ReadRec& rec;
    const std::string& captionText;
    const std::string& progressTitle;
    bool& anyUsable;
    VisitStream* visits = nullptr;
    bool fileRecorded = false;  // a "Start Read File" record holds the run's start time
    // A run of several files (or a wildcard) opens its history with a "** Start ADD **"
    // record on its first file: the list it was given, until that is written.
    std::optional<std::string> startAddPending{};
    bool result = true;
    bool stopped = false;
};

// Why the path cannot be read as a log file; "" when it can be opened.
std::string unreadableReason(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return "Log file name is a folder, not a file.";
    if (!std::filesystem::exists(path, ec)) return {};  // the file check reports it as missing
    if (::access(path.c_str(), R_OK) != 0) return "Log file cannot be read (no permission to read it).";
    return {};
}

// A write failed (a full disk): its transaction goes back to the last commit, and
// nothing the read still holds may be written after it, or visits would be stored
// without the lines they lost. Adding the file again then takes it on from there.
void undoFailedWrite(RunState& run, logimport::QueuedTransaction& tx) {
    if (run.visits) run.visits->abandon();
    tx.rollback();
    PageTable.clear();  // pages added since the last commit are gone
}

// Notes that the file overlaps stored data and asks whether to add it all the same
// (unless that question is switched off); true to add it.
bool overlapAccepted(RunState& run, const std::string& path) {
    ReadRec& rec = run.rec;
    logimport::ImportRun& importRun = run.importRun;
    const std::string overlap = "Dates on this log file overlap with data that already have on database. ";
    STTA_ProblemAdd(rec, importRun, overlap + " All identical lines skipped.");
    const std::string message =
        overlap + "[Raw log data already exists on this data base for date(s) included in log file.]" + gCR +
        "Filename: " + FILENAM_FileName(path) + " [" + path + "]" + gCRCR + "[" + run.captionText + "]" + gCRCR +
        "NB If you add the file anyway, each log line will be checked individually to determine if a "
        "duplicate exists on the database." +
        "This ensures no line will be counted twice however processing takes ca. THREE TIMES as long as usual." +
        gCR + gCR + "Do you want to add records from this file anyway?";
    // No, or the box closed, skips the file.
    return optionalBox(rec.NoPromptOverlap, 1, message, "&Yes|&No", "DfltButton=2|",
                       "Confirm add overlApping data. " + run.captionText) == 1;
}

// One file: checked, then read. `counterText` leads its progress message ("Definition:
// i/n. File: j/m. "), `fileCounter` follows the history texts ("j/m [List i/n]"). False
// when the user stopped it.
bool readOneFile(RunState& run, const std::string& path, const LogFmtCompiled& formats,
                 const std::string& counterText, const std::string& fileCounter) {
    ReadRec& rec = run.rec;
    logimport::ImportRun& importRun = run.importRun;
    if (run.startAddPending) {
        STTA_AddDataLogWrite(*run.startAddPending, core::vbFormat(core::DateTime{core::vbNow()}, "yyyy-mm-dd hh:nn.ss"),
                             rec, importRun, "", "** Start ADD **", "START ADD", {}, "..", "..", "");
        run.startAddPending.reset();
    }
    importRun.CurrentFile = path;
    if (const std::string why = unreadableReason(path); !why.empty()) {
        STTA_ProblemAdd(rec, importRun, why + " File Skipped.");
        skipNotice(rec, why + gCRCR + "Filename:" + gCR + path);
        return true;
    }
    bool usable = false;
    // The run's first file record says when the run started; later ones "..".
    const std::string startText =
        run.fileRecorded ? ".." : core::vbFormat(core::DateTime{core::vbNow()}, "yyyy-mm-dd hh:nn.ss");
    {
        auto db = run.site.use();
        importRun.DupCheck = STTA_LogFileOverlapCheck(*db, path, formats, rec, importRun, usable, startText, run.visits);
    }
    if (usable) run.anyUsable = run.fileRecorded = true;
    if (importRun.DupCheck && !rec.Test.Active && !overlapAccepted(run, path)) usable = false;
    if (!usable) return true;

    const double started = core::vbNow();
    resetFileCounters(rec, importRun);
    LineReadContext ctx;
    ctx.site = &run.site;
    ctx.formats = &formats;
    ctx.rec = &rec;
    ctx.run = &importRun;
    ctx.visits = run.visits;
    std::string status;
    // What a commit keeps is every line read so far, never some visits' lines ahead of
    // others': after a crash, adding the file again finds a part of the file stored.
    logimport::QueuedTransaction tx(run.site, kLinesPerCommit, [&] {
        if (run.visits) run.visits->storeHeld();
    });
    LinesHandler handler = [&](const std::vector<std::string_view>& lines, long index) {
        long r = STTA_LogLineProcess(ctx, lines, index, status);
        tx.tick();
        return r;
    };
    OverlongHandler overlong = [&](long long length) {
        STTA_ProblemAdd(rec, importRun, "Log line longer than " + TXT_FormatDbl(double(kReadBlockLimit), "#,###,##0") +
                                 " bytes found. Line[s] Skipped.");
    };
    bool complete = false;
    std::string readError;
    try {
        if (importRun.DupCheck && run.visits) run.visits->storeAsRead();
        complete = OPENX_ReadFileByBlocks(path, handler, true, false, "", kReadBlockLimit, run.progressTitle,
                                          counterText + run.captionText + gCR, &status, overlong, &readError);
        tx.commit();
    } catch (const sys::RtError& e) {
        if (e.source() == dao::kErrorSource) undoFailedWrite(run, tx);
        throw;
    }
    STTA_RefrStoreFlush(run.importRun.referrers());
    if (importRun.File.Unmatched > 0)
        STTA_ProblemAdd(rec, importRun, TXT_FormatDbl(double(importRun.File.Unmatched), "#,###,##0") +
                                 " log line[s] did not match the log format and were skipped.");
    for (const std::string& finding : ctx.fit.findings()) {
        STTA_ProblemAdd(rec, importRun, finding);
        noteOnce(rec, FILENAM_FileName(path) + ": " + finding);
    }
    const std::string took = TXT_ElapsedText(started, core::vbNow());
    if (!readError.empty()) {
        // Not the user's Stop: the file went away or shrank while it was read. What
        // was read of it is stored and counted, and the run goes on.
        const std::string why = !std::filesystem::exists(path)  ? "Log file disappeared while it was read."
                                : readError == kFileShrankText ? kFileShrankText
                                                               : "Log file could not be read to its end.";
        STTA_ProblemAdd(rec, importRun, why + " The lines read before are stored.");
        core::ui().msgBox(why + gCRCR + "Filename:" + gCR + path + gCRCR +
                              "The lines read before are stored; the rest of the file was not read." +
                              (readError == why ? std::string() : gCRCR + readError),
                          "0", "", "");
        STTA_AddDataLogWrite(path, took, rec, importRun, "", "File Read Failed." + fileCounter + " " + why, "..",
                             {.counters = true}, "", "", "");
    } else if (!complete) {
        STTA_AddDataLogWrite(path, took, rec, importRun, "", "File Read Stopped." + fileCounter, "..", {}, "", "", "");
    } else {
        STTA_AddDataLogWrite(path, took, rec, importRun, "", kHistoryDoneRead + fileCounter, "", {.counters = true}, "", "", "");
    }
    // What was stored counts in the run's totals, also before a Stop.
    addToRunTotals(rec, importRun);
    resetFileCounters(rec, importRun);
    return complete || !readError.empty();
}

// The folder of the site's database, where the addition writes.
std::string siteFolder(const dao::Database& db) {
    return std::filesystem::path(db.path()).parent_path().parent_path().string();
}

// Splits "folder/pattern" of a wildcard item.
void splitWildcard(const std::string& spec, std::string& folder, std::string& pattern) {
    size_t slash = spec.find_last_of('/');
    folder = slash == std::string::npos ? std::string(".") : spec.substr(0, slash);
    pattern = slash == std::string::npos ? spec : spec.substr(slash + 1);
}

// The files of the folder whose names match the pattern, from 1. The finder takes a "?"
// as a wildcard only beside a "*", so a pattern of "?" alone is matched here.
void findLogFiles(const std::string& folder, const std::string& pattern, core::StrArray& found) {
    if (pattern.find('*') != std::string::npos) {
        FINDF_FindFiles(-1, pattern, folder, false, false, false, found);
        return;
    }
    core::StrArray all;
    FINDF_FindFiles(-1, "*", folder, false, false, false, all);
    const core::LikePattern like(pattern, core::LikeCase::IgnoreAscii);
    found.redim(0, 0);
    for (long i = 1; i <= all.ubound(); ++i)
        if (like.matches(FILENAM_FileName(all[i]))) found.append(all[i]);
}

}  // namespace

bool RawLog_AddData_ReadLogFiles_OK(dao::Database& db, const std::string& fileList, const std::string& captionText,
                                    const std::string& progressTitle, bool& anyUsable, ReadRec& rec,
                                    logimport::ImportRun& importRun) {
    if (fileList.empty()) return true;
    logimport::QueuedDatabase site(db);
    RunState run{site, importRun, rec, captionText, progressTitle, anyUsable};
    std::optional<VisitStream> visits;
    // Whatever way the read ends, the lines it stored get their visits.
    auto finishVisits = [&] {
        try {
            if (visits) visits->finish();
        } catch (...) {
            // The first error is the one to report.
        }
    };
    long firstLogLnID = 0;
    try {
        // A run that ended before its last number was written: the numbering goes on
        // after the stored lines, and referrers kept for lines never stored go.
        std::optional<logimport::ReadSession> session;
        bool streamVisits = false;
        {
            auto db = site.use();
            const double lastStored = INI_GetNumVar("Main", "LastLogLnID", gIniLastVals, kIniMissingEmpty);
            importRun.LastLogLnID =
                std::max(core::wholeOf<long>(lastStored, core::OutOfRange::Overflow), STTA_LogLnIDStoredMax(*db));
            firstLogLnID = importRun.LastLogLnID;
            STTA_RefrStoreDropAbove(importRun.referrers(), importRun.LastLogLnID);
            session.emplace(importRun, *db);
            rec.LastKeepVal = INI_GetFlag("Main", "LastKeepVal", gIniDbDef, kIniMissingEmpty) ? 1 : 0;
            rec.Skip404 = INI_GetFlag("Main", "Skip404", gIniDbDef, kIniMissingEmpty);
            rec.RemQuery = INI_GetFlag("Main", "RemQuery", gIniDbDef, kIniMissingEmpty);
            rec.RemFrag = INI_GetFlag("Main", "RemFrag", gIniDbDef, kIniMissingEmpty);
            importRun.MissingPageID = STTA_PageIDGetOrAdd(kMissingPageName, true, *db);
            streamVisits = VisitStream::usable(*db, rec, importRun);
        }
        importRun.Visits = ReadVisits{};  // nothing left from an earlier read
        if (streamVisits) visits.emplace(site, rec, importRun);
        run.visits = visits ? &*visits : nullptr;
        importRun.Run = ReadCounters{};
        rec.FormatNotes.clear();
        importRun.RunMainHits = importRun.RunRobotHits = importRun.RunCompHits = 0;
        if (std::string temp = STTA_RefrStoreFolder(); !temp.empty()) {
            std::error_code ec;
            std::filesystem::create_directories(temp, ec);
        }
        const std::string defaultFormat = STTA_LogFmtDefault();
        core::StrArray items;
        CHUNKS_SplitEx(fileList, "|", kChunksNoExclusion, items, 1);
        const long n = items.ubound();
        if (n > 1 || fileList.find_first_of("*?") != std::string::npos) run.startAddPending = fileList;
        for (long i = 1; i <= n && !run.stopped; ++i) {
            if (core::trimBlanks(items[i]).empty()) continue;
            std::string spec, formatName;
            STTA_LogFileEntrySplit(items[i], spec, formatName);
            if (formatName.empty()) formatName = defaultFormat;
            LogFmtCompiled formats;
            STTA_LogFmtDefLoad(formatName, formats);
            if (!logimport::formatReadsReferrers(formats))
                noteOnce(rec, "The log format \"" + formatName +
                                  "\" has no referrer field: a log read with it gives no search-engine visits.");
            const std::string itemText =
                n > 1 ? "Definition: " + std::to_string(i) + "/" + std::to_string(n) + ". " : std::string();
            const std::string listText =
                n > 1 ? " [List " + std::to_string(i) + "/" + std::to_string(n) + "]" : std::string();
            auto fileCounter = [&](long j, long m) { return std::to_string(j) + "/" + std::to_string(m) + listText; };
            if (spec.find_first_of("*?") == std::string::npos) {
                if (!readOneFile(run, spec, formats, itemText, fileCounter(1, 1))) run.stopped = true;
                continue;
            }
            std::string folder, pattern;
            splitWildcard(spec, folder, pattern);
            core::StrArray found;
            findLogFiles(folder, pattern, found);
            const long m = found.ubound();
            if (m < 1) {
                importRun.CurrentFile = spec;
                STTA_ProblemAdd(rec, importRun, "No log file matches this name. Nothing read.");
                core::ui().msgBox("No file matches the file name pattern." + gCRCR + "Filename:" + gCR + spec, "0",
                                  "", "");
                continue;
            }
            // The user confirms the list and may re-order it; files are read as shown.
            std::vector<std::string> files;
            for (long j = 1; j <= m; ++j) files.push_back(found[j]);
            const int answer = core::ui().sequenceBox(
                "Confirm List of files. [shown when wilcard entered in filename]." + gCRCR + "Filename: " + spec +
                    "]" + gCRCR + "The following files will be processed. Do you want to continue?",
                "Confirm List of files. Add data to site DB: " + STTA_SiteParmGet(), files,
                "9400|6000", "&Yes|&Cancel");
            if (answer != 1) break;  // anything but Yes (after Up and Down) ends the run
            for (long j = 1; j <= m && !run.stopped; ++j) {
                const std::string counter =
                    itemText + "File: " + std::to_string(j) + "/" + std::to_string(m) + ". ";
                if (!readOneFile(run, files[static_cast<std::size_t>(j - 1)], formats, counter, fileCounter(j, m)))
                    run.stopped = true;
            }
        }
        if (run.stopped) run.result = false;
        if (visits) visits->finish();
    } catch (const sys::RtError& e) {
        run.result = false;
        finishVisits();
        std::string proc = "RawLog_AddData_ReadLogFiles_OK", extra;
        if (e.number() == dao::kErrDiskFull || e.number() == sys::kErrDiskFull)
            extra = "The disk is full: there is no room left to add the log data in " + siteFolder(db) +
                    ". Make room on that disk, then add the file again.";
        try {
            // Referrers of lines that were never stored go with the files they filled,
            // and the numbers of lines a failed write took back are given out again.
            auto db = site.use();
            const long stored = STTA_LogLnIDStoredMax(*db);
            STTA_RefrStoreDropAbove(importRun.referrers(), stored);
            importRun.LastLogLnID = std::max(firstLogLnID, stored);
            INI_Put("Main", "LastLogLnID", importRun.LastLogLnID, gIniLastVals);
        } catch (...) {
            // The first error is the one to report.
        }
        ErrorHandler(e.number(), nullptr, proc, extra);
        return false;
    } catch (...) {
        // Not ours to report (a test's unexpected box, the program's end), but the
        // numbering must go on where the stored lines end.
        finishVisits();
        try {
            INI_Put("Main", "LastLogLnID", importRun.LastLogLnID, gIniLastVals);
        } catch (...) {
        }
        throw;
    }
    INI_Put("Main", "LastLogLnID", importRun.LastLogLnID, gIniLastVals);
    return run.result;
}

bool RawLog_AddData_ReadLogFiles_OK(dao::Database& db, const std::string& fileList, const std::string& captionText,
                                    const std::string& progressTitle, bool& anyUsable, ReadRec& rec) {
    logimport::ImportRun run;
    return RawLog_AddData_ReadLogFiles_OK(db, fileList, captionText, progressTitle, anyUsable, rec, run);
}
