#include "core/file_names.h"

#include <cctype>

#include "core/file_actions.h"
#include "core/file_open.h"
#include "core/ini_store.h"
#include "core/path_checks.h"
#include "core/system_info.h"
#include "core/text.h"

namespace {

const char kErr[] = "**Error. ";
constexpr size_t kMaxName = 232;

bool isNumber(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// Counts `name` up from its last character, carrying leftwards but not below `from`.
// False when every counted position has rolled over.
bool countUp(std::string& name, size_t from) {
    for (size_t i = name.size(); i-- > from;) {
        std::string next;
        if (FNGEN_NextChar(std::string(1, name[i]), next)) {
            name[i] = next[0];
            return true;
        }
        name[i] = '0';
    }
    return false;
}

std::string fitted(const std::string& working, const std::string& ext) {
    if (working.size() + ext.size() < kMaxName) return working + ext;
    std::string e = TXT_FitLen(ext, 224);
    return TXT_FitLen(working, long(kMaxName - 1 - e.size())) + e;
}

// The unused-name memory: "~~~FN_altPAFN.ini" in the folder, [Main] base = last name.
const char kMemoryFile[] = "~~~FN_altPAFN.ini";

std::string FNGEN_MemoryGet(const std::string& folder, const std::string& base) {
    std::string stored = INI_Get("Main", base, folder + kMemoryFile, kIniMissingMarker);
    return stored == kIniNotFound ? std::string() : stored;
}

void FNGEN_MemoryPut(const std::string& folder, const std::string& base, const std::string& name) {
    INI_Put("Main", base, name, folder + kMemoryFile);
}

}  // namespace

std::string FILENAM_Drive(const std::string&) { return {}; }

std::string FILENAM_Dir(const std::string& path, const std::string& sep) {
    size_t at = path.rfind(sep);
    return at == std::string::npos ? std::string() : path.substr(0, at + sep.size());
}

std::string FILENAM_ParentDir(const std::string& path, const std::string& sep) {
    std::string folder = FILENAM_Dir(path, sep);
    if (!folder.empty()) folder.pop_back();
    std::string parent = FILENAM_Dir(folder, sep);
    return parent.empty() ? FILENAM_Drive(path) + sep : parent;
}

std::string FILENAM_FileName(const std::string& path, const std::string& sep) {
    size_t at = path.rfind(sep);
    return at == std::string::npos ? path : path.substr(at + sep.size());
}

std::string FILENAM_NameNoExt(const std::string& path, const std::string& sep) {
    std::string name = FILENAM_FileName(path, sep);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string FILENAM_Ext(const std::string& path, const std::string& sep) {
    std::string name = FILENAM_FileName(path, sep);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool FNGEN_NextChar(const std::string& text, std::string& next) {
    next.clear();
    if (text.empty()) return false;
    char c = text.back();
    if (c == '9') next = "a";
    else if ((c >= '0' && c < '9') || (c >= 'a' && c < 'z') || (c >= 'A' && c < 'Z')) next = std::string(1, char(c + 1));
    return !next.empty();
}

bool FNGEN_NewFileName(const std::string& model, std::string& result, bool numbered,
                       bool pathCheck, long memoryThreshold) {
    result.clear();
    std::string message;
    bool exists = false;
    std::string folder = FILENAM_Dir(model);
    bool ok = pathCheck ? PAFN_CheckPathFileName(model, false, message, exists)
                        : PAFN_CheckDirName(folder, false, message, exists);
    if (!ok) {
        result = kErr + message;
        return false;
    }
    std::string found;
    if (!FMAN_NameExists(model, 22, found)) {
        result = kErr + std::string("Path and file name is not in a valid format.");
        return false;
    }
    if (found.empty()) {
        result = model;
        return true;
    }
    folder = FILENAM_Dir(model);
    std::string base = FILENAM_NameNoExt(model);
    std::string ext = FILENAM_Ext(model).empty() ? "" : "." + FILENAM_Ext(model);
    std::string working;
    size_t counterFrom = 0;
    if (numbered) {
        size_t dot = base.rfind('.');
        if (dot != std::string::npos && isNumber(base.substr(dot + 1))) {
            working = base;
            counterFrom = dot + 1;
        } else {
            working = base + ".0";
            counterFrom = base.size() + 1;
        }
    } else {
        working = (base + "00000000").substr(0, 8);
    }
    bool memoryRead = false;
    long attempts = 0;
    for (;;) {
        std::string candidate = folder + fitted(working, ext);
        if (!FMAN_NameExists(candidate, 22, found)) {
            result = kErr + std::string("Path and file name is not in a valid format.");
            return false;
        }
        if (found.empty()) {
            if (memoryRead && attempts > memoryThreshold)
                FNGEN_MemoryPut(folder, base, working);
            result = candidate;
            return true;
        }
        ++attempts;
        if (!memoryRead) {
            memoryRead = true;
            std::string stored = FNGEN_MemoryGet(folder, base);
            if (!stored.empty() && stored != working && stored.size() >= counterFrom) {
                working = stored;
                continue;
            }
        }
        if (!countUp(working, counterFrom)) {
            if (!numbered) {
                result = kErr + std::string("All filenames used in this dir.");
                return false;
            }
            working.insert(counterFrom, "0");  // one more counter position
        }
    }
}

bool FNDINFIL_Find(const std::string& file, const std::string& startText,
                   const std::string& endText, long startPos, bool caseSensitive, bool show,
                   FindInFileResult& out) {
    out = {};
    TimeoutRec timeout;
    TIMEOUT_Start(gFindInFileTimeout == 0 ? 0.1 : gFindInFileTimeout / 10.0, timeout);
    if (startPos < 1) startPos = 1;
    std::string options = show ? "" : "-1";
    sys::File handle;
    bool startAfterEnd = false;
    if (!OPENBIN_ReadAt(file, startPos, show, handle, out.errorText, startAfterEnd, options)) {
        out.error = true;
        return false;
    }
    auto fold = [&](std::string s) { return caseSensitive ? s : core::lowerAscii(s); };
    const std::string start = fold(startText), end = fold(endText);
    bool first = true, firstExpiry = false;
    // The window keeps the tail of the previous block so that a text across two blocks
    // is still found; windowPos is the file position of its first byte.
    std::string window;
    long windowPos = startPos, pos = startPos;
    auto nextBlock = [&]() -> bool {
        if (!first && TIMEOUT_Expired(timeout, firstExpiry)) return false;
        std::string block = handle.readAt(pos, core::kReadBlock);
        first = false;
        if (block.empty()) return false;
        pos += long(block.size());
        window += block;
        return true;
    };
    for (;;) {
        if (!nextBlock()) return false;
        size_t at = fold(window).find(start);
        if (at != std::string::npos) {
            out.startPos = windowPos + long(at);
            window.erase(0, at + startText.size());
            windowPos += long(at + startText.size());
            break;
        }
        size_t keep = std::min(window.size(), startText.empty() ? 0 : startText.size() - 1);
        windowPos += long(window.size() - keep);
        window.erase(0, window.size() - keep);
    }
    // Gather from the start text on until the end text turns up.
    for (size_t searched = 0;;) {
        size_t from = searched > endText.size() ? searched - endText.size() + 1 : 0;
        size_t at = endText.empty() ? std::string::npos : fold(window.substr(from)).find(end);
        if (at != std::string::npos) {
            at += from;
            out.endPos = windowPos + long(at);
            out.endFound = true;
            window.resize(at);
            break;
        }
        searched = window.size();
        if (!nextBlock()) break;
    }
    if (!TXT_ConcatSafe(window, out.between, false)) out.truncated = true;
    return true;
}
