#include "core/ini_alt_files.h"

#include <sys/stat.h>

#include <climits>

#include "core/delimited_lists.h"
#include "core/ini_encoding.h"
#include "core/ini_entry_io.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/shell_hooks.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "platform/profile/profile.h"
#include "platform/sys/rt_error.h"

using namespace core::ini;

namespace {

const std::string kAltPrefix = "AltNo.";

std::string& altFilesFolder() {
    static std::string folder;
    return folder;
}

// Where a move or a record of one base file stands: list n, the current alternate
// file and its item number in the list.
struct AltState {
    std::string base;
    long n = 0;
    long item = 0;
    std::string alt;
};

// 0 for no link; a number past any list (an edited or damaged file) leads nowhere.
long linkNumber(const std::string& linkHead) {
    long long n = 0;
    if (!TXT_StartsWith(linkHead, ">>", true) || !core::plainDigitsValue(std::string_view(linkHead).substr(2), 9, n))
        return 0;
    return static_cast<long>(n);
}

bool exists(const std::string& path) {
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0;
}

// "name.ini" gives "name.0.ini", "name.1.ini", ...: the first that no file uses.
std::string newAltName(const std::string& base, const std::string& list) {
    size_t slash = base.rfind('/');
    size_t dot = base.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = base.size();
    const std::string stem = base.substr(0, dot), ext = base.substr(dot);
    for (long k = 0; k < 100000; ++k) {
        std::string name = stem + "." + std::to_string(k) + ext;
        if (!exists(name) && CHUNKS_IndexOf(list, name, "|", kChunksNoExclusion, true) == -1) return name;
    }
    return {};
}

void openNewAlt(AltState& s) {
    std::string list = gIniAltLists.list(s.n);
    std::string name = newAltName(s.base, list);
    if (name.empty())
        throw sys::RtError(6235, "No file name left for a further alternate file of " + s.base,
                           "INI_AltFileWrite");
    CHUNKS_Append(list, name);
    gIniAltLists.setList(s.n, list);
    ++s.item;
    s.alt = name;
    INI_AltFilesRecord(s.base, list);
}

bool moveSection(AltState& s, const std::string& section, long need);

// Writes the item number under (record section, entry) of the base file. A base file
// too full for it gives up its sections, one at a time, until the record fits.
void recordItem(AltState& s, long item, const std::string& recSection, const std::string& recEntry) {
    long pos = 1;
    for (;;) {
        profile::WriteResult r =
            writeStored(s.base, recSection, recEntry, storedValue(std::to_string(item)), true);
        gIniLastFailed = !r.ok();
        if (r.ok() || r.error != EFBIG) return;
        std::string next;
        if (!INI_FindSection(s.base, {}, pos, next)) return;
        moveSection(s, next, 0);
    }
}

// Moves a whole section of the base file into the current alternate file (a new one
// when it lacks room or already holds that section).
bool moveSection(AltState& s, const std::string& section, long need) {
    const std::string header = encodeSection(section);
    std::optional<std::vector<std::string>> lines = profile::sectionLines(header, s.base);
    if (!lines) return false;
    long blockLength = static_cast<long>(header.size()) + 3;
    for (const auto& line : *lines) blockLength += static_cast<long>(line.size()) + 1;
    if (fileLength(s.alt) + need + blockLength > kIniFileSizeLimit) openNewAlt(s);
    long pos = 1;
    std::string text;
    if (INI_FindSection(s.alt, section, pos, text)) openNewAlt(s);

    core::doEvents();
    if (!profile::writeSection(header, *lines, s.alt).ok()) return false;
    core::doEvents();
    eraseSection(s.base, section);
    recordItem(s, s.item, kAltPrefix + section, kAltPrefix);
    return true;
}

}  // namespace

long IniAltLists::find(const std::string& base) const {
    auto it = byBase_.find(base);
    return it == byBase_.end() ? 0 : it->second;
}

long IniAltLists::add(const std::string& base, const std::string& list) {
    lists_.push_back(list);
    bases_.push_back(base);
    long n = count();
    byBase_.emplace(base, n);
    return n;
}

void IniAltLists::clear() {
    lists_.clear();
    bases_.clear();
    byBase_.clear();
}

namespace {

void loadRecordedLists(const std::string& folder) {
    const std::string file = folder + "/" + kIniAltFilesName;
    std::string keys;
    profile::getKeyNames("Main", keys, static_cast<size_t>(INT_MAX), file);
    size_t start = 0;
    for (size_t nul; (nul = keys.find('\0', start)) != std::string::npos && nul > start; start = nul + 1) {
        std::string base = keys.substr(start, nul - start);
        INI_DecodeCodes(base);
        std::string list;
        if (gIniAltLists.find(base) == 0 && readEntry(file, "Main", base, list) && !list.empty())
            gIniAltLists.add(base, list);
    }
}

// The lists of the current site's files are kept in its folder; those of any other
// file beside that file, so that they are found whichever site is current.
std::string recordFileFor(const std::string& basePath) {
    const std::string& main = altFilesFolder();
    const size_t slash = basePath.rfind('/');
    if (slash == std::string::npos || TXT_StartsWith(basePath, main + "/", true)) return main + "/" + kIniAltFilesName;
    return basePath.substr(0, slash + 1) + kIniAltFilesName;
}

}  // namespace

void INI_AltListsLoad(const std::string& mainDataDir, const std::vector<std::string>& sharedFolders) {
    altFilesFolder() = mainDataDir;
    if (mainDataDir.empty()) return;
    loadRecordedLists(mainDataDir);
    for (const auto& folder : sharedFolders) loadRecordedLists(folder);
}

std::string INI_ResolveFile(const std::string& section, const std::string& entry,
                            const std::string& iniFile, std::string& resolved, bool& isLink,
                            std::string& linkHead) {
    resolved = iniFile == "::*" ? core::shellHooks().iniSectFileGet(section, entry) : iniFile;
    std::string base = resolved;
    std::string textHead;
    if (TXT_StartsWith(resolved, ">>", true)) {
        size_t lt = resolved.find('<');
        textHead = resolved.substr(0, lt);
        base = lt == std::string::npos ? std::string() : resolved.substr(lt + 1);
    }
    // The list is found by its base file, so plain paths reach moved data too.
    long n = gIniAltLists.find(base);
    isLink = n > 0 || !textHead.empty();
    linkHead = n > 0 ? ">>" + std::to_string(n) : textHead;
    return base;
}

std::string INI_LinkTargetFile(const std::string& section, const std::string& entry,
                               const std::string& base, const std::string& linkHead) {
    std::string value, alt;
    long item = 0;
    if (readEntry(base, section, entry, value)) return base;
    if (INI_AltFileFor(section, entry, alt, linkHead, item) && readEntry(alt, section, entry, value))
        return alt;
    // A section record can point past entries written before the section moved on;
    // the entry is still in one of the alternate files, the newest holding the latest.
    long n = gIniAltLists.find(base);
    if (n == 0) n = linkNumber(linkHead);
    if (n < 1 || n > gIniAltLists.count()) return {};
    const std::string list = gIniAltLists.list(n);
    for (long k = CHUNKS_Count(list); k >= 1; --k) {
        std::string file = CHUNKS_Get(k, list);
        if (readEntry(file, section, entry, value)) return file;
    }
    return {};
}

bool INI_AltFileFor(const std::string& section, const std::string& entry, std::string& file,
                    const std::string& linkHead, long& item) {
    long n = linkNumber(linkHead);
    if (n < 1 || n > gIniAltLists.count()) return false;
    const std::string& base = gIniAltLists.base(n);
    std::string number;
    if (!readEntry(base, kAltPrefix + section, entry, number) &&
        !readEntry(base, kAltPrefix + section, kAltPrefix, number))
        return false;
    item = core::vbCLng(core::vbVal(number));
    file = CHUNKS_Get(item, gIniAltLists.list(n));
    return !file.empty();
}

std::string INI_AltFileWrite(const std::string& section, const std::string& entry,
                             const std::string& value, std::string& iniFile,
                             std::string& linkHead, bool sectionMode) {
    std::string resolved, head;
    bool isLink = false;
    AltState s;
    s.base = INI_ResolveFile(section, entry, iniFile, resolved, isLink, head);
    const long entryNeed = static_cast<long>(encodeEntry(entry).size()) + 1;
    const long need = entryNeed + static_cast<long>(storedValue(value).size());

    s.n = gIniAltLists.find(s.base);
    if (s.n > 0) {
        const std::string& list = gIniAltLists.list(s.n);
        s.item = CHUNKS_Count(list);
        s.alt = CHUNKS_Get(s.item, list);
        if (fileLength(s.alt) + need > kIniFileSizeLimit) openNewAlt(s);
    } else {
        s.alt = newAltName(s.base, {});
        if (s.alt.empty())
            throw sys::RtError(6233, "No file name left for an alternate file of " + s.base,
                               "INI_AltFileWrite");
        s.n = gIniAltLists.add(s.base, s.alt);
        s.item = 1;
        INI_AltFilesRecord(s.base, s.alt);
    }
    linkHead = ">>" + std::to_string(s.n);
    iniFile = linkHead + "<" + s.base;

    if (sectionMode) {
        bool moved = false;
        if (fileLength(s.base) + entryNeed > kIniFileSizeLimit) moved = moveSection(s, section, need);
        // Recording may move further sections to newer files; the entry goes where its
        // record says.
        const long item = s.item;
        const std::string alt = s.alt;
        if (!moved) recordItem(s, item, kAltPrefix + section, kAltPrefix);
        recordItem(s, item, kAltPrefix + section, entry);
        return alt;
    }

    // The file holding an older value (the base or an alternate file) would hide the
    // new one, or bring it back once the new one is erased.
    if (std::string holder = INI_LinkTargetFile(section, entry, s.base, linkHead); !holder.empty())
        writeStored(holder, section, entry, std::nullopt, false);
    bool moved = false;
    long sectionItem = 0;
    if (fileLength(s.base) + entryNeed > kIniFileSizeLimit) {
        moved = moveSection(s, section, need);
        sectionItem = s.item;
        if (fileLength(s.alt) + need > kIniFileSizeLimit) openNewAlt(s);
    }
    bool wasInMove = gIniInAltMove;
    gIniInAltMove = true;
    try {
        // Checked by the write that failed; parts have reserved names.
        INI_PutReservedName(section, entry, value, s.alt, -1);
    } catch (...) {
        gIniInAltMove = wasInMove;
        throw;
    }
    gIniInAltMove = wasInMove;
    // Also when the section went to another alternate file than the entry.
    if (!moved || s.item != sectionItem) recordItem(s, s.item, kAltPrefix + section, entry);
    return s.alt;
}

bool INI_FindSection(const std::string& file, const std::string& section, long& startPos,
                     std::string& text) {
    std::string names;
    profile::getSectionNames(names, static_cast<size_t>(INT_MAX), file);
    const std::string wanted = section.empty() ? std::string() : encodeSection(section);
    long index = 0;
    size_t start = 0;
    for (size_t nul; (nul = names.find('\0', start)) != std::string::npos && nul > start; start = nul + 1) {
        ++index;
        if (index < startPos) continue;
        std::string name = names.substr(start, nul - start);
        if (section.empty()) {
            INI_DecodeCodes(name);
            if (TXT_StartsWith(name, kAltPrefix, false)) continue;
            text = name;
        } else {
            if (!TXT_IsEqual(name, wanted, false)) continue;
            text.clear();
            for (const auto& line : profile::sectionLines(name, file).value_or(std::vector<std::string>{}))
                text += line + "\n";
            if (text.size() >= 50001)
                throw sys::RtError(19132, "Section too large to move: " + section + " in " + file,
                                   "INI_FindSection");
        }
        startPos = index + 1;
        return true;
    }
    startPos = 2147483647;
    return false;
}

void INI_AltFilesRecord(const std::string& basePath, const std::string& listText) {
    if (altFilesFolder().empty()) return;
    const std::string file = recordFileFor(basePath);
    std::optional<std::string> stored;
    if (!listText.empty()) stored = storedValue(listText);
    profile::WriteResult r = writeStored(file, "Main", basePath, stored, false);
    int mode = 0;
    CheckRC(r.ok() ? 1 : 0,
            "write to ini file: " + file + gCR + ". Section: Main" + gCR + ". Entry: " + basePath +
                gCR + ". Value: " + listText + failureNote(r),
            mode);
}
