#include "logimport/addition_history.h"

#include "core/dates.h"
#include "core/delimited_lists.h"
#include "core/file_names.h"
#include "core/file_open.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "core/vb_format.h"
#include "core/numbers.h"
#include "logimport/filter_store.h"
#include "logimport/import_run.h"
#include "logimport/visit_building.h"

namespace {

const std::string kMain = "Main";

std::string paramFolder() { return FILENAM_Dir(gIniDbDef); }

std::string yesNo(bool b) { return b ? "Yes" : "No"; }

std::string count(double n) { return core::vbFormat(n, "#,###,###,###,##0"); }

std::string stampText(double serial, const char* format) {
    return serial > 0 ? core::vbFormat(core::DateTime{serial}, format) : std::string();
}

// The whole file, or "" (with `ok` false) when it cannot be read.
std::string readWhole(const std::string& path, bool& ok) {
    std::string text, errorText, options = "-1";
    bool stopped = false, afterEnd = false;
    long length = 0;
    gOpenIfMissing = "C";
    ok = OPENBIN_ReadFileToBuf(path, 1, 0, false, text, stopped, length, errorText, afterEnd, options);
    return ok ? text : std::string();
}

// A new file name beside the history from the model; "" when none could be made.
std::string newCompanionName(const std::string& model) {
    std::string name;
    if (!FNGEN_NewFileName(paramFolder() + model, name, true, false, 0)) return {};
    return name;
}

// The names of the filters selected in a filter file, or "filter not selected".
std::string selectedFilterNames(const std::string& iniFile) {
    const std::string name = INI_Get("Filters", "Fltr Sel", iniFile, kIniMissingEmpty);
    if (core::trimBlanks(name).empty()) return "filter not selected";
    std::string names;
    bool any = false;
    FLTR_ReadConds(name, iniFile, names, any);
    return names == name ? name : name + ": " + names;
}

void appendRecord(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? "?" : "") + logimport::historyField(fields[i]);
    std::string errorText;
    const std::string path = logimport::additionHistoryPath();
    if (!OPENBIN_BinaryFilePut(path, line + "\r\n", errorText, "A"))
        core::ui().info("The history of additions could not be written: " + path + gCRCR + errorText +
                            gCRCR + "The data added is kept; only this line of its history is missing.",
                        "History of additions");
}

}  // namespace

namespace logimport {

std::string additionHistoryPath() { return paramFolder() + "adddata.log"; }

std::string historyField(const std::string& text) {
    std::string out = TXT_Replace(text, "?", "*/*", true);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

std::vector<std::vector<std::string>> historyRecords() {
    std::vector<std::vector<std::string>> records;
    bool ok = false;
    const std::string text = readWhole(additionHistoryPath(), ok);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
        if (core::trimBlanks(line).empty()) continue;
        std::vector<std::string> fields;
        size_t from = 0;
        for (;;) {
            const size_t q = line.find('?', from);
            fields.push_back(line.substr(from, q == std::string::npos ? std::string::npos : q - from));
            if (q == std::string::npos) break;
            from = q + 1;
        }
        fields.resize(std::max<size_t>(fields.size(), kHistoryFields));
        records.push_back(std::move(fields));
    }
    return records;
}

std::vector<size_t> historyShownRows(const std::vector<std::vector<std::string>>& records, bool hideStartLines) {
    auto contains = [&](size_t i, const std::string& text) {
        for (const auto& f : records[i])
            if (f.find(text) != std::string::npos) return true;
        return false;
    };
    std::vector<size_t> rows;
    for (size_t i = 0; i < records.size(); ++i) {
        if (hideStartLines && i + 1 < records.size() && contains(i, kHistoryStartRead) &&
            contains(i + 1, kHistoryDoneRead))
            continue;
        rows.push_back(i);
    }
    return rows;
}

}  // namespace logimport

void STTA_AddDataLogWrite(const std::string& fileSpec, const std::string& mainTime, const ReadRec& rec,
                          const logimport::ImportRun& run,
                          const std::string& preprocessingTime, const std::string& action,
                          const std::string& secondText, const AddDataLogParts& parts,
                          const std::string& firstDate, const std::string& lastDate,
                          const std::string& visitsCount) {
    if (rec.Test.Active) return;
    std::vector<std::string> f(kHistoryFields + 1);  // from 1, as the fields are numbered
    if (parts.filters) {
        f[29] = STTA_FltrSetText(rec.MainSet, "");
        f[30] = rec.MainSet.Active ? selectedFilterNames(gIniLdLnFltr) : "filter not selected";
        f[31] = STTA_FltrSetText(rec.CompSet, "page component");
        f[32] = rec.CompSet.Active ? selectedFilterNames(gIniFltrFiles) : "filter not selected";
        f[33] = STTA_FltrSetText(rec.RobotSet, "user agent");
        if (rec.RobotSet.Active) f[34] = STTA_AddDataBotsCopy();
    }
    if (parts.problems) {
        const long section = STTA_AddDataErrsSave(rec);
        if (section > 0) f[35] = std::to_string(section);
    }
    if (parts.summary) {
        const std::string path = newCompanionName("Add_SEsummary.ini");
        if (!path.empty() && parts.summary->Keys.hasBounds()) {
            INI_Put(kMain, "Parm", CHUNKS_JoinEx(parts.summary->Keys, ":::", kChunksNoExclusion, 0, false), path);
            INI_Put(kMain, "MaxNo", CHUNKS_JoinVariants(parts.summary->Counts, 0), path);
            f[36] = path;
        }
    }
    f[1] = action;
    f[2] = FILENAM_FileName(fileSpec);
    f[3] = secondText;
    f[4] = visitsCount;
    if (!firstDate.empty() || !lastDate.empty()) {
        f[5] = firstDate;
        f[6] = lastDate;
    } else {
        f[5] = stampText(run.File.FirstStamp, "dd mmm yyyy hh:nn.ss");
        f[6] = stampText(run.File.LastStamp, "dd mmm yyyy hh:nn.ss");
        f[27] = stampText(run.File.FirstStamp, "yyyy-mm-dd hh:nn.ss");
        f[28] = stampText(run.File.LastStamp, "yyyy-mm-dd hh:nn.ss");
    }
    if (parts.counters) {
        f[7] = count(run.File.LinesMatched);
        f[8] = count(run.File.LinesAccepted);
        f[9] = count(run.File.BytesAccepted);
        f[10] = yesNo(run.DupCheck);
        f[11] = count(run.File.Duplicates);
        f[12] = yesNo(rec.MainSet.Active);
        f[13] = count(rec.MainSet.Hits);
        f[14] = yesNo(rec.RobotSet.Active);
        f[15] = count(rec.RobotSet.Hits);
        f[16] = yesNo(rec.CompSet.Active);
        f[17] = count(rec.CompSet.Hits);
        f[18] = count(run.File.BytesMatched - run.File.BytesAccepted);
    }
    if (parts.options) {
        f[19] = yesNo(rec.RemFrag);
        f[20] = yesNo(rec.RemQuery);
        f[21] = yesNo(rec.LastKeepVal != 0);
        f[22] = yesNo(rec.Skip404);
    }
    f[23] = fileSpec;
    f[24] = mainTime;
    f[25] = preprocessingTime;
    f[26] = core::vbFormat(core::DateTime{core::vbNow()}, "yyyy-mm-dd hh:nn.ss");
    appendRecord(std::vector<std::string>(f.begin() + 1, f.end()));
}

std::string STTA_AddDataBotsCopy() {
    bool ok = false;
    const std::string current = readWhole(gIniFltrBots, ok);
    if (!ok) return {};
    const std::string last = INI_Get(kMain, "LastBotPiniAdd", gIniLastVals, kIniMissingEmpty);
    if (!core::trimBlanks(last).empty()) {
        bool lastOk = false;
        const std::string copy = readWhole(last, lastOk);
        if (lastOk && copy == current) return last;
    }
    const std::string path = newCompanionName("AddCpy_fltrbots.ini");
    if (path.empty()) return {};
    std::string errorText;
    if (!OPENBIN_BinaryFilePut(path, current, errorText, "D")) return {};
    INI_Put(kMain, "LastBotPiniAdd", path, gIniLastVals);
    return path;
}

std::string STTA_AddLogErrsPath() { return paramFolder() + "AddLog_Errs.ini"; }

long STTA_AddDataErrsSave(const ReadRec& rec) {
    const std::string path = STTA_AddLogErrsPath();
    const long n = core::wholeOf<long>(INI_GetNumVar(kMain, "MaxNo", path, kIniMissingDefault, "0")) + 1;
    INI_Put(kMain, "MaxNo", n, path);
    const std::string section = std::to_string(n);
    core::StrArray files = rec.ProblemFiles, texts = rec.ProblemTexts;
    if (!files.hasBounds()) files.redim(0, 0);
    if (!texts.hasBounds()) texts.redim(0, 0);
    if (texts.ubound() < files.ubound()) texts.redimPreserve(files.ubound());
    INI_Put(section, "PAFNs", CHUNKS_JoinEx(files, "|", kChunksNoExclusion, 1, false), path);
    INI_Put(section, "descs", CHUNKS_JoinEx(texts, "##", kChunksNoExclusion, 1, false, kChunksMarker,
                                            files.ubound()),
            path);
    return n;
}

void STTA_AddDataSectionRead(const std::string& section, core::StrArray& files, core::StrArray& texts) {
    const std::string path = STTA_AddLogErrsPath();
    const std::string names = INI_Get(section, "PAFNs", path, kIniMissingDefault, "");
    files.redim(0, 0);
    texts.redim(0, 0);
    if (names.empty()) return;
    CHUNKS_SplitEx(names, "|", kChunksNoExclusion, files, 1);
    CHUNKS_SplitEx(INI_Get(section, "descs", path, kIniMissingDefault, ""), "##", kChunksNoExclusion, texts, 1);
}

bool STTA_AddDataSummaryRead(const std::string& path, core::StrArray& keys, core::LngArray& counts) {
    const std::string parm = INI_Get(kMain, "Parm", path, kIniMissingDefault, "");
    if (parm.empty()) return false;
    CHUNKS_SplitEx(parm, ":::", kChunksNoExclusion, keys, 0);
    core::StrArray numbers;
    CHUNKS_SplitEx(INI_Get(kMain, "MaxNo", path, kIniMissingDefault, ""), "|", kChunksNoExclusion, numbers, 0);
    counts.redim(0, keys.ubound());
    for (long i = 0; i <= keys.ubound(); ++i)
        counts.set(i, numbers.inBounds(i) ? core::wholeOf<long>(TXT_Val(numbers[i])) : 0);
    return true;
}
