#include "core/ini_store.h"

#include <cmath>
#include <vector>

#include "core/dates.h"
#include "core/delimited_lists.h"
#include "core/ini_alt_files.h"
#include "core/ini_entry_io.h"
#include "core/numbers.h"
#include "core/shell_hooks.h"
#include "core/stored_text.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "core/vb_format.h"
#include "platform/sys/rt_error.h"

using namespace core::ini;

namespace {

const std::string kSplitPrefix = "SplitEntry.";
const std::string kAltPrefix = "AltNo.";

// Cancel of the OK/Cancel box.
constexpr int kCancelButton = 2;

// "::*" names the file the shell routes (section, entry) to; resolved once, so that the
// parts and records of the entry go with it.
std::string routed(const std::string& section, const std::string& entry, const std::string& iniFile) {
    return iniFile == "::*" ? core::shellHooks().iniSectFileGet(section, entry) : iniFile;
}

bool isPartName(const std::string& entry) { return TXT_StartsWith(entry, kSplitPrefix, false); }

std::string partName(long i, const std::string& entry) {
    return kSplitPrefix + std::to_string(i) + "." + entry;
}

// Parts hold this many characters of a long value.
long partSize() { return std::lround(kSharedBufferLen * 0.95); }

// Values whose stored text would not fit the read buffer are kept in parts.
bool fitsOneEntry(const std::string& stored) {
    return static_cast<long>(stored.size()) <= kSharedBufferLen - 2;
}

void checkReservedNames(const std::string& section, const std::string& entry, const char* source) {
    if (TXT_StartsWith(section, kAltPrefix, false))
        throw sys::RtError(8011, "Section name cannot begin with \"AltNo.\": " + section, source);
    if (TXT_StartsWith(entry, kAltPrefix, false))
        throw sys::RtError(8012, "Entry name cannot begin with \"AltNo.\": " + entry, source);
    if (isPartName(entry))
        throw sys::RtError(8013, "Entry name cannot begin with \"SplitEntry.\": " + entry, source);
}

// The file a write or erase of (section, entry) goes to.
struct Target {
    std::string base, linkHead, file;
    bool isLink = false;
};

Target targetOf(const std::string& section, const std::string& entry, const std::string& iniFile) {
    Target t;
    std::string resolved;
    t.base = INI_ResolveFile(section, entry, iniFile, resolved, t.isLink, t.linkHead);
    t.file = t.isLink ? INI_LinkTargetFile(section, entry, t.base, t.linkHead) : t.base;
    return t;
}

// The last part number of a split value, -1 when the value is not split.
long splitCounter(const std::string& section, const std::string& entry, const std::string& iniFile) {
    if (isPartName(entry)) return -1;
    int last = INI_GetInt(section, kSplitPrefix + entry, iniFile, kIniMissingMarker);
    return last == kIniMissingNumber ? -1 : last;
}

// Erases one entry (no split parts) where it is held, with its alternate-file record.
profile::WriteResult eraseOne(const std::string& section, const std::string& entry,
                              const std::string& iniFile) {
    Target t = targetOf(section, entry, iniFile);
    if (t.file.empty()) return {};
    profile::WriteResult r = writeStored(t.file, section, entry, std::nullopt, false);
    if (r.ok() && t.isLink && t.file != t.base)
        writeStored(t.base, kAltPrefix + section, entry, std::nullopt, false);
    return r;
}

void eraseParts(const std::string& section, const std::string& entry, const std::string& iniFile,
                long from, long to) {
    for (long i = from; i <= to; ++i) eraseOne(section, partName(i, entry), iniFile);
}

// Cuts a long value into parts whose stored text fits one entry each.
std::vector<std::string> cutParts(const std::string& value) {
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos < value.size()) {
        size_t len = std::min(static_cast<size_t>(partSize()), value.size() - pos);
        while (len > 1 && !fitsOneEntry(storedValue(value.substr(pos, len)))) len /= 2;
        parts.push_back(value.substr(pos, len));
        pos += len;
    }
    return parts;
}

long writeParts(const std::string& section, const std::string& entry, const std::string& value,
                const std::string& iniFile, int mode) {
    std::vector<std::string> parts = cutParts(value);
    for (size_t i = 0; i < parts.size(); ++i)
        INI_PutReservedName(section, partName(static_cast<long>(i), entry), parts[i], iniFile, mode);
    long last = static_cast<long>(parts.size()) - 1;
    INI_PutReservedName(section, kSplitPrefix + entry, std::to_string(last), iniFile, mode);
    eraseOne(section, entry, iniFile);
    return last;
}

std::string writeOperation(const std::string& file, const std::string& section,
                           const std::string& entry, const std::string& value) {
    return "write to ini file: " + file + gCR + ". Section: " + section + gCR + ". Entry: " + entry +
           gCR + ". Value: " + value + gCRCR + "Error ignored but data not written to ini file.";
}

}  // namespace

void INI_GetCore(const std::string& section, const std::string& entry, std::string& result,
                 const std::string& fileArg, int mode, const std::string& dflt) {
    if (std::string answer = core::shellHooks().iniValueHook(1, section, entry, fileArg, result); !answer.empty()) {
        result = std::move(answer);
        return;
    }
    const std::string iniFile = routed(section, entry, fileArg);
    profile::ReadScope scope;
    if (mode != -1) gIniMissingMode = mode == 7 ? 1 : mode;
    const int inForce = gIniMissingMode;
    const bool useDefault = mode == 7;
    // The caller's mode as it stands, for the reads made on its behalf.
    const int passOn = useDefault ? 7 : inForce;
    struct ResetMode {
        ~ResetMode() { gIniMissingMode = gIniMissingModeDflt; }
    } reset;

    result.clear();
    long last = splitCounter(section, entry, iniFile);
    if (last >= 0) {
        for (long i = 0; i <= last; ++i) {
            std::string part;
            INI_GetCore(section, partName(i, entry), part, iniFile, passOn, dflt);
            result += part;
        }
        return;
    }

    std::string resolved, linkHead;
    bool isLink = false;
    std::string base = INI_ResolveFile(section, entry, iniFile, resolved, isLink, linkHead);
    if (readEntry(base, section, entry, result)) return;

    if (isLink) {
        std::string holder = INI_LinkTargetFile(section, entry, base, linkHead);
        if (!holder.empty() && holder != base) {
            INI_GetCore(section, entry, result, holder, passOn, dflt);
            return;
        }
    }
    result = inForce == 0 ? std::string() : kIniNotFound;
    INIMsg_Section_EN_Missing(section, entry, result, iniFile, inForce, useDefault, dflt);
}

std::string INI_Get(const std::string& section, const std::string& entry, const std::string& iniFile,
                    int mode, const std::string& dflt) {
    std::string result;
    INI_GetCore(section, entry, result, iniFile, mode, dflt);
    return result;
}

double INI_GetNum(const std::string& section, const std::string& entry, double& result,
                  const std::string& iniFile, int mode, const std::string& dflt) {
    std::string text = INI_Get(section, entry, iniFile, mode, dflt);
    result = text == kIniNotFound ? kIniMissingNumber : core::vbVal(text);
    return result;
}

double INI_GetNumVar(const std::string& section, const std::string& entry,
                     const std::string& iniFile, int mode, const std::string& dflt) {
    double result = 0;
    return INI_GetNum(section, entry, result, iniFile, mode, dflt);
}

int INI_GetInt(const std::string& section, const std::string& entry, const std::string& iniFile,
               int mode) {
    int value = 0;
    SYS32_IniGetInt(section, entry, value, iniFile, mode);
    return value;
}

void SYS32_IniGetInt(const std::string& section, const std::string& key, int& value,
                     const std::string& iniFile, int mode) {
    const int chosen = mode == -1 ? gIniMissingMode : mode;
    struct ResetMode {
        ~ResetMode() { gIniMissingMode = gIniMissingModeDflt; }
    } reset;
    std::string text;
    INI_GetCore(section, key, text, iniFile, kIniMissingMarker);
    gIniMissingMode = chosen;
    if (text != kIniNotFound) {
        value = core::vbCInt(core::vbVal(text));
        return;
    }
    value = chosen > 0 ? kIniMissingNumber : 0;
    int reportMode = chosen == 3 ? 4 : chosen == 7 ? 1 : chosen;
    std::string result = std::to_string(value);
    INIMsg_Section_EN_Missing(section, key, result, iniFile, reportMode, chosen == 7, "-1");
    value = core::vbCInt(core::vbVal(result));
}

bool INI_GetBoolVar(const std::string& section, const std::string& entry, bool& result,
                    const std::string& iniFile, int mode, const std::string& dflt) {
    result = SYS32_StrIsTrue(INI_Get(section, entry, iniFile, mode, dflt));
    return result;
}

int INI_GetBool(const std::string& section, const std::string& entry, const std::string& iniFile) {
    bool result = false;
    return INI_GetBoolVar(section, entry, result, iniFile, -1, "False") ? -1 : 0;
}

bool INI_GetFlag(const std::string& section, const std::string& entry, const std::string& iniFile,
                 int mode, const std::string& dflt) {
    if (mode == 5) {
        std::string text = INI_Get(section, entry, iniFile, kIniMissingMarker);
        return text == kIniNotFound || SYS32_StrIsTrue(text);
    }
    return SYS32_StrIsTrue(INI_Get(section, entry, iniFile, mode, dflt));
}

namespace {

void putValue(const std::string& section, const std::string& entry, const std::string& value,
              const std::string& fileArg, int mode, bool checkNames) {
    if (gIniNoWrite) return;
    if (!core::shellHooks().iniValueHook(2, section, entry, fileArg, value).empty()) return;
    const std::string iniFile = routed(section, entry, fileArg);
    profile::ReadScope scope;
    const long oldLast = splitCounter(section, entry, iniFile);
    long newLast = -1;
    if (checkNames) checkReservedNames(section, entry, "INI_Put");
    if (gCR.empty() && gLF.empty())
        throw sys::RtError(8871, "INI write before the line-break strings were set", "INI_Put");

    Target t = targetOf(section, entry, iniFile);
    std::string linkFile = t.isLink ? t.linkHead + "<" + t.base : t.base;
    if (t.isLink && t.file.empty()) t.file = INI_AltFileWrite(section, entry, {}, linkFile, t.linkHead, true);

    std::string stored = storedValue(value);
    if (!fitsOneEntry(stored)) {
        newLast = writeParts(section, entry, value, iniFile, mode);
    } else {
        profile::WriteResult r = writeStored(t.file, section, entry, stored, true);
        if (r.error == EFBIG && !gIniInAltMove) {
            INI_AltFileWrite(section, entry, value, linkFile, t.linkHead, false);
        } else {
            CheckRC(r.ok() ? 1 : 0, writeOperation(t.file, section, entry, value) + failureNote(r), mode);
        }
    }
    if (oldLast > newLast) eraseParts(section, entry, iniFile, newLast + 1, oldLast);
    if (oldLast >= 0 && newLast < 0) eraseOne(section, kSplitPrefix + entry, iniFile);
}

}  // namespace

void INI_Put(const std::string& section, const std::string& entry, const std::string& value,
             const std::string& iniFile, int mode) {
    putValue(section, entry, value, iniFile, mode, true);
}

void INI_PutReservedName(const std::string& section, const std::string& entry, const std::string& value,
                         const std::string& iniFile, int mode) {
    putValue(section, entry, value, iniFile, mode, false);
}

void INI_Put(const std::string& section, const std::string& entry, const char* value,
             const std::string& iniFile, int mode) {
    INI_Put(section, entry, std::string(value), iniFile, mode);
}
void INI_Put(const std::string& section, const std::string& entry, bool value,
             const std::string& iniFile, int mode) {
    INI_Put(section, entry, std::string(value ? "True" : "False"), iniFile, mode);
}
void INI_Put(const std::string& section, const std::string& entry, long value,
             const std::string& iniFile, int mode) {
    INI_Put(section, entry, std::to_string(value), iniFile, mode);
}
void INI_Put(const std::string& section, const std::string& entry, int value,
             const std::string& iniFile, int mode) {
    INI_Put(section, entry, std::to_string(value), iniFile, mode);
}
void INI_Put(const std::string& section, const std::string& entry, double value,
             const std::string& iniFile, int mode) {
    INI_Put(section, entry, core::vbStr(value), iniFile, mode);
}

void INI_Put(const std::string& section, const std::string& entry, const core::Variant& value,
             const std::string& iniFile, int mode) {
    INI_Put(section, entry, core::vbCStr(value), iniFile, mode);
}

bool INI_EraseEntry(const std::string& section, const std::string& entry, const std::string& fileArg,
                    int mode) {
    const std::string iniFile = routed(section, entry, fileArg);
    checkReservedNames(section, entry, "INI_EraseEntry");
    // A long value lives in parts; erasing only the plain entry would leave it readable.
    long last = splitCounter(section, entry, iniFile);
    if (last >= 0) {
        eraseParts(section, entry, iniFile, 0, last);
        eraseOne(section, kSplitPrefix + entry, iniFile);
    }
    profile::WriteResult r = eraseOne(section, entry, iniFile);
    CheckRC(r.ok() ? 1 : 0,
            "erase entry from ini file: " + iniFile + gCR + ". Section: " + section + gCR +
                ". Entry: " + entry + gCRCR + "Error ignored but data not written to ini file." +
                failureNote(r),
            mode);
    return gIniLastFailed;
}

void INI_EraseSection(const std::string& section, const std::string& iniFile, int mode) {
    checkReservedNames(section, {}, "INI_EraseSection");
    std::string resolved, linkHead;
    bool isLink = false;
    std::string base = INI_ResolveFile(section, {}, iniFile, resolved, isLink, linkHead);
    profile::WriteResult r = eraseSection(base, section);
    if (long n = gIniAltLists.find(base); isLink && n > 0) {
        const std::string list = gIniAltLists.list(n);
        for (long k = 1, count = CHUNKS_Count(list); k <= count; ++k)
            eraseSection(CHUNKS_Get(k, list), section);
        eraseSection(base, kAltPrefix + section);
    }
    CheckRC(r.ok() ? 1 : 0,
            "erase section from ini file: " + iniFile + gCR + ". Section: " + section + failureNote(r),
            mode);
}

void INI_Flush(const std::string& iniFile, int mode) {
    std::string resolved, linkHead;
    bool isLink = false;
    profile::WriteResult r = profile::flush(INI_ResolveFile({}, {}, iniFile, resolved, isLink, linkHead));
    CheckRC(r.ok() ? 1 : 0,
            "flush ini file: " + iniFile + gCRCR + "Error ignored but data not written to ini file." +
                failureNote(r),
            mode);
}

void INI_CopyEntry(const std::string& srcSection, const std::string& srcEntry,
                   const std::string& srcFile, int mode, std::string& tgtSection,
                   std::string& tgtEntry, std::string& tgtFile) {
    if (tgtSection.empty()) tgtSection = srcSection;
    if (tgtEntry.empty()) tgtEntry = srcEntry;
    if (tgtFile.empty()) tgtFile = srcFile;
    std::string value = INI_Get(srcSection, srcEntry, srcFile, mode == 6 ? 1 : mode);
    if (mode == 6 && value == kIniNotFound) return;
    INI_Put(tgtSection, tgtEntry, value, tgtFile, mode);
}

long INI_CounterNext(const std::string& section, const std::string& entry, const std::string& iniFile,
                     bool write, int mode, long limit, long dflt) {
    long next = core::vbCLng(INI_GetNumVar(section, entry, iniFile, mode, std::to_string(dflt))) + 1;
    if (limit >= 1 && next >= limit) next = 1;
    if (write) INI_Put(section, entry, next, iniFile, -1);
    return next;
}

bool INI_CheckUniqueName(const std::string& section, const std::string& entry,
                         const std::string& iniFile, const std::string& newName, bool show,
                         std::string& message, bool atFront) {
    message.clear();
    bool added = false;
    try {
        checkReservedNames(section, newName, "INI_CheckUniqueName");
    } catch (const sys::RtError&) {
        message = "Name cannot be prefixed with \"AltNo.\" or \"SplitEntry.\".";
    }
    if (message.empty()) {
        std::string name(core::trimBlanks(newName));
        std::string list = INI_Get(section, entry, iniFile, kIniMissingEmpty);
        bool ok = false;
        std::string updated = CHUNKS_InsertEx(list, name, "|", kChunksNoExclusion, 2, false, atFront, ok);
        if (ok) {
            INI_Put(section, entry, updated, iniFile, -1);
            added = true;
        } else {
            message = "Name already exists. You must enter a unique name." + gCRCR +
                      "(Changes in upper/lower case are ignored." + gCR +
                      "Leading and trailing blanks are ignored.)";
        }
    }
    if (show && !added) core::ui().info(message, "");
    return added;
}

std::string INI_UniqueDatedName(const std::string& section, const std::string& entry,
                                const std::string& iniFile, int show, std::string& message,
                                bool atFront) {
    const std::string date = core::vbFormat(core::DateTime{core::vbDate()}, "yyyymmdd");
    for (long k = 1;; ++k) {
        std::string name = date + "." + std::to_string(k);
        if (INI_CheckUniqueName(section, entry, iniFile, name, show == -1, message, atFront)) return name;
        // A reserved section refuses every name.
        if (TXT_StartsWith(message, "Name cannot", true)) return {};
    }
}

void CheckRC(long rc, const std::string& operation, int& mode) {
    if (mode == -1) mode = gIniQuietRC ? -1 : 0;
    gIniQuietRC = false;
    gIniLastFailed = rc == 0;
    if (rc != 0) return;
    if (mode == 0) {
        std::string msg = "Return code zero indicating error from attempt to " + operation + gCRCR +
                          "Press OK to continue.";
        if (INI_ReportError("CheckRC", msg, "1", "", "") == kCancelButton) sys::raise(sys::kErrUserAbort, "CheckRC");
    } else if (mode == 2) {
        throw sys::RtError(1002, "Error writing to ini file: " + operation, "CheckRC");
    }
}

void INIMsg_Section_EN_Missing(const std::string& section, const std::string& entry,
                               std::string& result, const std::string& iniFile, int mode,
                               bool useDefault, const std::string& dflt) {
    gIniMissingMode = gIniMissingModeDflt;
    switch (mode) {
    case 0: {
        std::string msg = "Error when trying to read from ini file. Entry or section of ini file missing." +
                          gCR + "Ini file: " + iniFile + gCR + ". Section: " + section + gCR +
                          ". Entry: " + entry + gCRCR + "Error ignored but no data read from ini file." +
                          gCRCR + "Press OK to continue. Press Cancel to Stop with Error.";
        if (INI_ReportError("INIMsg_Section_EN_Missing", msg, "1", "", "") == kCancelButton)
            sys::raise(sys::kErrUserAbort, "INIMsg_Section_EN_Missing");
        break;
    }
    case 1:
        if (useDefault) result = dflt;
        break;
    case 2:
        throw sys::RtError(1001,
                           "Entry or section of ini file missing. Ini file: " + iniFile +
                               ". Section: " + section + ". Entry: " + entry,
                           "INIMsg_Section_EN_Missing");
    case 3:
        result.clear();
        break;
    case 4:
        result = "0";
        break;
    default:
        break;
    }
}

int INI_ReportError(const std::string& procedure, const std::string& message,
                    const std::string& buttons, const std::string& options,
                    const std::string& caption) {
    return core::ui().msgBox(message, buttons, options, caption);
}
