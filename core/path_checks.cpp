#include "core/path_checks.h"

#include <cerrno>

#include "core/file_actions.h"
#include "core/file_names.h"
#include "core/ini_store.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "platform/sys/file_system.h"
#include "platform/sys/program_folder.h"
#include "platform/sys/rt_error.h"

namespace {

bool skipped(std::string& message) {
    if (message != core::kSkipChecks) return false;
    message.clear();
    return true;
}

bool allowedCode(unsigned char c, bool allowExtended) {
    if (c >= 128) return allowExtended;
    switch (c) {
    case 0: case '"': case '*': case '/': case ':': case '<': case '>': case '?': case '\\':
    case '|':
        return false;
    default:
        return true;
    }
}

void showDirError(const std::string& folder, const std::string& reason) {
    core::ui().msgBox("Error In Directory name: " + folder + gCRCR + reason, "0", "16", "");
}

void showFileError(const std::string& path, const std::string& reason) {
    core::ui().msgBox("Error In File Name: " + path + gCRCR + reason, "0", "16", "");
}

const char kBadPathFormat[] =
    "Path and file name is not in a valid format. Enter path and file name in format "
    "/maindir/subdir/filename.type";

std::string rightTrim(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

std::string trimBlanks(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

}  // namespace

bool PAFN_CheckNameChars(const std::string& text, std::string& invalid, bool allowExtended,
                         bool /*allowDrive*/) {
    invalid.clear();
    for (char c : text)
        if (!allowedCode(static_cast<unsigned char>(c), allowExtended)) invalid += c;
    return invalid.empty();
}

void PAFN_ReplaceInvalidChars(std::string& name, const std::string& replacement,
                              bool allowExtended) {
    std::string invalid;
    PAFN_CheckNameChars(name, invalid, allowExtended, false);
    for (char c : invalid) name = TXT_Replace(name, std::string(1, c), replacement, true);
}

bool PAFN_CheckDirName(std::string& folder, bool show, std::string& message, bool& exists,
                       bool acceptAny) {
    if (skipped(message)) {
        exists = true;
        return true;
    }
    message.clear();
    exists = false;
    // An empty name must not turn into the root by the appended separator.
    bool absolute = !folder.empty() && folder[0] == '/';
    if (folder.empty() || folder.back() != '/') folder += '/';
    auto fail = [&](const std::string& reason) {
        message = reason;
        if (show) showDirError(folder, reason);
        return false;
    };
    if (!absolute)
        return fail("Dir name must be of format /name (a full path starting with /)." + gCRCR +
                    "Action aborted.");
    if (folder.find("//") != std::string::npos)
        return fail(" \"//\" with directory name not allowed. Change to \"/\"." + gCRCR +
                    "Action aborted.");
    std::string invalid;
    PAFN_CheckNameChars(folder, invalid, true, true);
    invalid = trimBlanks(TXT_Replace(invalid, "/", " ", true));
    if (!invalid.empty())
        return fail("Invalid directory name. Includes character(s) " + invalid +
                    " which are not allowed in a filename. Enter a file name in format "
                    "xxxxxxxx.xxx ");
    if (folder == "/") {
        exists = true;
        return true;
    }
    sys::PathKind kind;
    int err = sys::lookUp(folder.substr(0, folder.size() - 1), kind);
    if (err == ENOTDIR) return true;  // a folder above it is missing: valid, not there
    if (err != 0)
        return fail("Directory name is not in a valid format. Enter directory name in format "
                    "/maindir/subdir/");
    if (kind == sys::PathKind::Missing) return true;
    if (!acceptAny && kind != sys::PathKind::Directory)
        return fail("Invalid directory name. Name is used as a file name.");
    exists = true;
    return true;
}

bool PAFN_CheckDirExists(std::string& folder, bool show, std::string& message) {
    if (skipped(message)) return true;
    bool exists = false;
    if (!PAFN_CheckDirName(folder, show, message, exists)) return false;
    if (exists) return true;
    message = "Dir does not exist.";
    if (show) showDirError(folder, message);
    return false;
}

namespace {

// The last check of a file path whose folder passed: the file's own look-up. `exists`
// tells whether it is there; `fail` reports a refusal and gives false.
template <class Fail>
bool fileLookedUp(const std::string& path, bool dirAllowed, bool& exists, Fail fail) {
    sys::PathKind kind;
    if (sys::lookUp(path, kind) != 0) return fail(kBadPathFormat);
    if (kind == sys::PathKind::Directory && !dirAllowed)
        return fail("That file name currently exists as a directory. Action aborted.");
    exists = kind != sys::PathKind::Missing;
    return true;
}

}  // namespace

std::string PAFN_FullPath(const std::string& name, const std::string& subFolder, bool endWithSep,
                          const std::string& base) {
    std::string result;
    if (!name.empty() && name[0] == '/') {
        result = name;
    } else {
        result = base.empty() ? gMainDataDir : base;
        if (!subFolder.empty()) result += "/" + subFolder;
        result += "/" + name;
    }
    if (endWithSep) TXT_EnsureSuffix(result, "/", true, true);
    return result;
}

bool PAFN_CheckPathFileName(const std::string& path, bool show, std::string& message,
                            bool& exists, bool dirAllowed) {
    if (skipped(message)) {
        exists = true;
        return true;
    }
    message.clear();
    exists = false;
    std::string folder = FILENAM_Dir(path);
    bool folderExists = false;
    if (!PAFN_CheckDirName(folder, show, message, folderExists)) return false;
    auto fail = [&](const std::string& reason) {
        message = reason;
        if (show) showFileError(path, reason);
        return false;
    };
    if (rightTrim(path).empty() || rightTrim(path).back() == '/')
        return fail("Must include file name after dir spec." + gCRCR + "Action aborted.");
    const std::string tail = " which are not allowed in a filename. Enter a file name in format "
                             "xxxxxxxx.xxx ";
    std::string invalid;
    if (!PAFN_CheckNameChars(FILENAM_NameNoExt(path), invalid, true, false))
        return fail("Invalid File name. Includes character(s) " + invalid + tail);
    if (!PAFN_CheckNameChars(FILENAM_Ext(path), invalid, true, false))
        return fail("Invalid File type.  Includes character(s) " + invalid + tail);
    if (!folderExists) return fail("Directory does not exist.");
    return fileLookedUp(path, dirAllowed, exists, fail);
}

bool PAFN_CheckReadPath(const std::string& path, bool show, std::string& message, bool& exists) {
    if (skipped(message)) {
        exists = true;
        return true;
    }
    message.clear();
    exists = false;
    auto fail = [&](const std::string& reason) {
        message = reason;
        if (show) showFileError(path, reason);
        return false;
    };
    if (path.empty() || path[0] != '/')
        return fail("File name must be of format /name (a full path starting with /)." + gCRCR + "Action aborted.");
    if (path.back() == '/') return fail("Must include file name after dir spec." + gCRCR + "Action aborted.");
    sys::PathKind kind;
    if (sys::lookUp(FILENAM_Dir(path), kind) != 0 || kind != sys::PathKind::Directory)
        return fail("Directory does not exist.");
    return fileLookedUp(path, false, exists, fail);
}

bool PAFN_CheckPathFileVar(const std::string& path, bool show, std::string& message,
                           bool dirAllowed) {
    bool exists = false;
    return PAFN_CheckPathFileName(path, show, message, exists, dirAllowed);
}

bool PAFN_CheckFileExists(const std::string& path, bool show, std::string& message) {
    if (skipped(message)) return true;
    if (!PAFN_CheckPathFileVar(path, show, message, true)) return false;
    bool valid = false;
    if (!FMAN_FileExists(path, 6, valid).empty()) return true;
    message = "File does not exist.";
    if (show) showFileError(path, message);
    return false;
}

bool PAFN_Check83FileName(const std::string& path, bool show, std::string& message) {
    if (skipped(message)) return true;
    if (!PAFN_CheckPathFileVar(path, show, message)) return false;
    auto fail = [&](const std::string& reason) {
        message = reason;
        if (show) showFileError(path, reason);
        return false;
    };
    if (FILENAM_NameNoExt(path).empty())
        return fail("Invalid Filename. At least 1 character required before the \".\".");
    std::string found;
    if (!FMAN_NameExists(path, 22, found)) return fail(kBadPathFormat);
    if (found == FILENAM_FileName(path)) return fail("File already exists. Enter a new file name.");
    return true;
}

std::string PAFN_UniqueDirName(const std::string& folder) {
    std::string name = folder;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    std::string candidate = name;
    for (long n = 1;; ++n) {
        std::string message;
        bool exists = false;
        bool valid = PAFN_CheckDirName(candidate, false, message, exists);
        if (!valid || !exists) return candidate;
        candidate = name + "." + std::to_string(n);
    }
}

std::string PAFN_StoredFolder(const std::string& folder) {
    const std::string base = sys::programFolder() + "/";
    if (folder.size() > base.size() && folder.compare(0, base.size(), base) == 0) return folder.substr(base.size());
    return folder;
}

std::string PAFN_FolderFromStored(const std::string& stored) {
    if (stored.empty() || stored.front() == '/') return stored;
    return sys::programFolder() + "/" + stored;
}

void PAFN_CheckMainDataDir() {
    const std::string dirIni = sys::programFolder() + "/Dir.ini";
    gMainDataDir = PAFN_FolderFromStored(rightTrim(INI_Get("Main", "Main Data Dir", dirIni, kIniMissingEmpty)));
    std::string message;
    bool exists = false;
    bool valid = PAFN_CheckDirName(gMainDataDir, false, message, exists);
    if (gMainDataDir.size() > 1 && gMainDataDir.back() == '/') gMainDataDir.pop_back();
    if (valid && exists) return;
    core::ui().systemOk(
        "Error in setup for Application." + gCRCR + "Problem:" + gCR + message +
            (exists ? std::string() : gCR + "Directory does not exist.") + gCRCR +
            "Re-install Dravolin" + gCR + " or Edit entry:" + gCR + "Main Data Dir" + gCRCR +
            "in file:" + gCR + dirIni + gCRCR + "and then try to start Application again." +
            gCRCR + "Ini file should contain: " + gCR + "[Main]" + gCR +
            "Main Data Dir=/home/me/.local/share/dravolin/site1",
        "Dravolin");
    throw sys::EndProgram(1);
}
