#include "core/file_actions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <new>

#include "core/dialog_responder.h"
#include "core/file_names.h"
#include "core/file_open.h"
#include "core/ini_store.h"
#include "core/path_checks.h"
#include "core/shell_hooks.h"
#include "core/stored_text.h"
#include "core/delimited_lists.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "platform/sys/file_system.h"
#include "platform/sys/program_folder.h"
#include "platform/sys/rt_error.h"

namespace fs = std::filesystem;

namespace {

// The four items of an action options list; item 2 keeps its braces off here.
struct ActionOptions {
    std::string mode, buttons, extraPressed = "0", standardPressed = "0";

    static ActionOptions parse(const std::string& list) {
        ActionOptions o;
        o.mode = CHUNKS_GetProt(1, list);
        o.buttons = CHUNKS_GetProt(2, list);
        return o;
    }
    std::string text() const {
        return mode + "|{" + buttons + "}|" + extraPressed + "|" + standardPressed;
    }
};

[[noreturn]] void raiseFromErrno(int err, const std::string& what, bool missingIsPath = false) {
    sys::raiseErrno(err, what, "FMAN", missingIsPath);
}

// The action pattern: try, report through the dialog, retry while it says so.
bool runAction(int mode, bool& noMore, const std::string& word, const std::string& text,
               const std::string& name, std::string& options, const std::function<void()>& op) {
    bool show, cancel, retry;
    FMAN_ModeFlags(mode, show, cancel, retry);
    for (;;) {
        int err = 0;
        try {
            op();
        } catch (const sys::RtError& e) {
            err = e.number();
        } catch (const std::bad_alloc&) {
            err = 7;
        }
        int result = FMAN_ErrorDialog(err, "", show, cancel, retry, word, text, name, options, noMore);
        if (result == 0) return true;
        if (result != -1) return false;
    }
}

bool runAction(int mode, bool& noMore, const std::string& word, const std::string& text,
               const std::string& name, const std::function<void()>& op) {
    std::string options = std::to_string(mode);
    return runAction(mode, noMore, word, text, name, options, op);
}

void copyBytes(const std::string& source, const std::string& target) {
    std::error_code ec;
    fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
    if (ec) raiseFromErrno(ec.value(), source + " -> " + target);
    // A file copy keeps the modification date, as the old FileCopy did.
    fs::last_write_time(target, fs::last_write_time(source, ec), ec);
}

bool sameLength(const std::string& a, const std::string& b) {
    double la = FMAN_FileLen(a);
    return la >= 0 && la == FMAN_FileLen(b);
}

// Whether two folder paths name one folder as the file system sees it: letter case
// counts, symbolic links lead where they point, and "." and ".." are resolved (in the
// part of a path that does not exist yet, by the text).
bool sameFolder(const std::string& a, const std::string& b) {
    auto resolved = [](std::string p) {
        while (p.size() > 1 && p.back() == '/') p.pop_back();
        std::error_code ec;
        fs::path r = fs::weakly_canonical(p, ec);
        return ec ? fs::path(p).lexically_normal() : r.lexically_normal();
    };
    return resolved(a) == resolved(b);
}

// rename() without replacing an existing target: refused with errno EEXIST.
int renameNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without the flag: look first.
    struct stat st {};
    if (lstat(to.c_str(), &st) == 0) return EEXIST;
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

void FMAN_ModeFlags(int mode, bool& show, bool& cancel, bool& retry) {
    show = mode >= -3 && mode <= 1 && mode != -1;
    cancel = mode == -3 || mode == 1;
    retry = mode == -3 || mode == -2;
}

int FMAN_ErrorDialog(int errNo, const std::string& extraText, bool show, bool cancel, bool retry,
                     const std::string& actionWord, const std::string& actionText,
                     const std::string& fileName, std::string& options, bool& noMore) {
    ActionOptions opts = ActionOptions::parse(options);
    options = opts.text();
    if ((errNo == 0 && extraText.empty()) || !show) return errNo;

    std::string message = "Error from the system when attempted to " + actionWord + "." + gCR +
                          actionWord + " not done.";
    if (!actionText.empty()) message += gCRCR + actionText;
    std::vector<std::string> buttons{"&OK"};
    if (!opts.buttons.empty()) {
        core::StrArray extra;
        CHUNKS_Split(opts.buttons, extra, 0);
        for (const auto& b : extra.items()) buttons.push_back(b);
    }
    const int extraCount = int(buttons.size()) - 1;
    int retryButton = 0, cancelButton = 0;
    std::string closing;
    if ((errNo == 70 || errNo == 75) && retry) {
        buttons.push_back("&Retry");
        retryButton = int(buttons.size());
        message += gCRCR + "The file is locked by another Application. (Error 70, Permission denied.)" +
                   gCR + "Close the file in the other Application and press Retry to try again.";
        closing = "Press OK to skip " + actionWord + " of this file and ";
    } else {
        if (errNo != 0)
            message += gCRCR + "Error:  >> " + std::to_string(errNo) + " " +
                       sys::vbErrorDescription(errNo) + " <<";
        else
            message += gCRCR + "Error:  >> " + extraText + " <<";
        closing = "Press OK to ";
    }
    closing += "continue";
    if (cancel) {
        closing += " with other files & directories. Press Cancel to stop.";
        buttons.push_back("&Cancel");
        cancelButton = int(buttons.size());
    } else {
        closing += ".";
    }
    message += gCRCR + closing;

    int pressed = 1;
    if (!noMore) {
        std::string list;
        for (const auto& b : buttons) list += (list.empty() ? "" : "|") + b;
        int esc = cancel ? cancelButton : 1;
        pressed = core::ui().msgBoxDontShowAgain(message, list, "Esc=" + std::to_string(esc) + "|",
                                                 "", noMore);
    }
    if (!fileName.empty()) {
        std::string name = fileName, check;
        bool ok = name.back() == '/' ? PAFN_CheckDirExists(name, false, check)
                                     : PAFN_CheckFileExists(name, false, check);
        if (!ok) core::shellHooks().hookEmpty2();
    }
    opts.standardPressed = std::to_string(pressed);
    options = opts.text();
    int okResult = cancel ? -2 : errNo;
    if (pressed == retryButton) return -1;
    if (pressed == cancelButton) sys::raise(sys::kErrUserAbort, "FMAN_ErrorDialog");
    if (pressed >= 2 && pressed <= extraCount + 1) {
        opts.extraPressed = std::to_string(pressed - 1);
        opts.standardPressed = "0";
        options = opts.text();
    }
    return okResult;
}

bool FMAN_OpenFile(const std::string& file, const std::string& access, sys::File& handle,
                   std::string& options, bool& noMore) {
    using A = sys::File::Access;
    A a = access == "O" ? A::Output : access == "I" ? A::Input : access == "A" ? A::Append : A::Binary;
    int mode = std::atoi(options.substr(0, options.find('|')).c_str());
    return runAction(mode, noMore, "Open", "Open File:  " + file, file, options,
                     [&] { handle.open(file, a); });
}

bool FMAN_CopyFile(const std::string& source, const std::string& target, int mode, bool& noMore) {
    return runAction(mode, noMore, "Copy",
                     "Copy File:  " + source + gCR + "To:            " + target, source,
                     [&] { copyBytes(source, target); });
}

bool FMAN_DeleteFile(const std::string& file, int mode, bool clearAttributes, bool& noMore) {
    return runAction(mode, noMore, "Delete", "Delete File:  " + file, file, [&] {
        if (unlink(file.c_str()) == 0) return;
        int first = errno;
        if (clearAttributes && sys::setReadOnly(file, false) == 0 && unlink(file.c_str()) == 0) return;
        raiseFromErrno(first, file);
    });
}

bool FMAN_RenameFile(const std::string& oldName, const std::string& newName, int mode,
                     bool& noMore) {
    return runAction(mode, noMore, "Rename",
                     "Rename File From:  " + oldName + gCR + "To:            " + newName, oldName,
                     [&] {
                         // An existing target is refused (error 58), never replaced.
                         const int err = renameNoReplace(oldName, newName);
                         if (err == 0) return;
                         if (err != EXDEV) raiseFromErrno(err, err == EEXIST ? newName : oldName);
                         // Across file systems: copy, and delete only after a whole copy.
                         struct stat st {};
                         if (lstat(newName.c_str(), &st) == 0) raiseFromErrno(EEXIST, newName);
                         copyBytes(oldName, newName);
                         if (!sameLength(oldName, newName)) sys::raise(sys::kErrIo, "FMAN_RenameFile");
                         if (unlink(oldName.c_str()) != 0) raiseFromErrno(errno, oldName);
                     });
}

bool FMAN_MakeDir(const std::string& folder, int attributes, bool& created, int mode,
                  core::StrArray& made, bool& noMore) {
    created = false;
    made.erase();
    std::string checked = folder, message;
    bool exists = false;
    if (!PAFN_CheckDirName(checked, !noMore, message, exists)) return false;
    if (exists) return true;
    std::string target = checked.substr(0, checked.size() - 1);
    bool ok = runAction(mode, noMore, "Make Directory", "Make Directory:  " + folder, "", [&] {
        std::string current = target;
        for (;;) {
            if (mkdir(current.c_str(), 0777) == 0 || errno == EEXIST) {
                if (current == target) return;
                if (made.find(current, made.lbound(), core::Match::Exact) >= 0)
                    sys::raise(8074, "FMAN_MakeDir");
                made.append(current);
                current = target;  // start again from the requested folder
                continue;
            }
            if (errno != ENOENT) raiseFromErrno(errno, current, true);
            size_t slash = current.rfind('/');
            if (slash == 0 || slash == std::string::npos) raiseFromErrno(ENOENT, current, true);
            current = current.substr(0, slash);
        }
    });
    if (!ok) return false;
    made.append(target);
    created = true;
    int rest = attributes & ~32;
    if (rest != 0 && rest != 16) {
        int set = 0;
        FMAN_SetAttr(target, rest, -3, noMore, set);
    }
    return true;
}

bool FMAN_MakeDirs(const std::string& folder, int attributes, bool& created, int mode) {
    bool noMore = false;
    core::StrArray made;
    return FMAN_MakeDir(folder, attributes, created, mode, made, noMore);
}

bool FMAN_RemoveDir(const std::string& folder, int mode, bool& noMore) {
    return runAction(mode, noMore, "Delete Directory", "Directory name:  " + folder, folder, [&] {
        std::string p = folder;
        while (p.size() > 1 && p.back() == '/') p.pop_back();
        if (rmdir(p.c_str()) != 0) raiseFromErrno(errno, folder, true);
    });
}

bool FMAN_SetAttr(const std::string& path, int attributes, int mode, bool& noMore,
                  int& attributesSet) {
    std::string p = path;
    if (p.size() > 1 && p.back() == '/') p.pop_back();
    attributesSet = attributes & 0x3127;
    int wanted = attributesSet;
    return runAction(mode, noMore, "Change Hidden/System/Read-Only Attribute",
                     "Change Attribute of File:  " + p + gCR + "To:            " +
                         FMAN_AttrText(wanted) + " [" + std::to_string(wanted) + "]",
                     p, [&] {
                         if (int err = sys::setReadOnly(p, wanted & 1)) raiseFromErrno(err, p, true);
                     });
}

bool FMAN_ChangeDrive(const std::string&, int, bool&) { return true; }

bool FMAN_MoveFile(const std::string& source, const std::string& target, int attributes, int mode,
                   bool forceCopy, bool& noMore) {
    if (!forceCopy) return FMAN_RenameFile(source, target, mode, noMore);
    if (!FMAN_CopyFile(source, target, mode, noMore)) return false;
    if (!sameLength(source, target)) return false;  // the source stays whole
    if (attributes != 0 && attributes != 16 && attributes != 32 && attributes != 48) {
        int set = 0;
        FMAN_SetAttr(target, attributes, mode, noMore, set);
    }
    bool quiet = false;
    FMAN_DeleteFile(source, -2, false, quiet);
    return true;
}

bool FMAN_CopyIntoDir(const std::string& sourceFolder, const std::string& targetFolder,
                      const std::string& relativeName, int mode) {
    std::string src = sourceFolder, tgt = targetFolder, rel = relativeName;
    if (src.empty() || src.back() != '/') src += '/';
    if (tgt.empty() || tgt.back() != '/') tgt += '/';
    if (!rel.empty() && rel[0] == '/') rel.erase(0, 1);
    bool created = false;
    FMAN_MakeDirs(FILENAM_Dir(tgt + rel), 0, created, mode);
    bool noMore = false;
    return FMAN_CopyFile(src + rel, tgt + rel, mode, noMore);
}

bool FMAN_NameExists(const std::string& path, int attributes, std::string& foundName) {
    foundName.clear();
    sys::PathKind kind;
    if (sys::lookUp(path, kind) != 0) return false;
    if (kind == sys::PathKind::Missing) return true;
    if (kind == sys::PathKind::Directory && !(attributes & 16)) return true;
    std::string name = FILENAM_FileName(path);
    if (!name.empty() && name[0] == '.' && !(attributes & 2)) return true;
    foundName = name;
    return true;
}

std::string FMAN_FileExists(const std::string& path, int attributes, bool& valid) {
    std::string found;
    valid = FMAN_NameExists(path, attributes, found);
    return found;
}

double FMAN_FileLen(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return -1;
    return static_cast<double>(st.st_size);
}

int FMAN_GetAttr(const std::string& path) {
    int a = sys::attributes(path);
    return a < 0 ? 0 : a;
}

std::string FMAN_CurDir() { return sys::currentFolder(); }

std::string FMAN_AttrText(int attributes) {
    std::string text;
    if (attributes & 2) TXT_AppendWithBar("Hidden", text);
    if (attributes & 4) TXT_AppendWithBar("System", text);
    if (attributes & 1) TXT_AppendWithBar("Read Only", text);
    TXT_LastBarToAnd(text);
    return text;
}

namespace {

// [Main] "ReadWrite BkUp File To Change Date": copies by reading and writing, so the
// copy gets a new modification date. Read once per run; missing reads as False.
bool backupChangesDate() {
    static const bool changes =
        SYS32_StrIsTrue(INI_Get("Main", "ReadWrite BkUp File To Change Date", "::*", kIniMissingEmpty));
    return changes;
}

// Copies by reading and writing; the source is deleted (for a move) only after a
// complete copy.
bool rewriteCopy(bool move, const std::string& source, const std::string& newName, int mode,
                 bool& noMore) {
    for (;;) {
        sys::File in, out;
        std::string options = std::to_string(mode), errorText;
        gOpenIfMissing = "C";
        int err = 0;
        if (OPENBIN_OpenFile(source, "I", in, false, errorText, options)) {
            gOpenIfExists = "E";
            options = std::to_string(mode);
            if (!OPENBIN_OpenFile(newName, "O", out, false, errorText, options)) return false;
            try {
                long length = in.length();
                for (long pos = 1; pos <= length; pos += 5000) out.write(in.readAt(pos, 5000));
            } catch (const sys::RtError& e) {
                err = e.number();
            }
            in.close();
            out.close();
            if (err == 0 && sameLength(source, newName)) {
                if (move) FMAN_DeleteFile(source, mode, false, noMore);
                return true;
            }
        } else {
            err = 9999;
        }
        bool show, cancel, retry;
        FMAN_ModeFlags(mode, show, cancel, retry);
        std::string list = std::to_string(mode);
        int r = FMAN_ErrorDialog(err, "", show, cancel, retry, "Make Backup Copy ",
                                 "Backup File:  " + source + gCR + "To:            " + newName,
                                 source, list, noMore);
        if (r != -1) return r == 0;
    }
}

}  // namespace

bool FMAN_BackupCopy(bool move, const std::string& source, const std::string& targetFolder,
                     int mode, std::string& newName, bool flatName, bool numbered, bool& noMore) {
    std::string target = targetFolder;
    if (target.empty() || target.back() != '/') target += '/';
    if (flatName) {
        std::string flat = TXT_Replace(FILENAM_Dir(source), "/", "-", true);
        flat = TXT_Replace(flat, ":", "", true);
        target += TXT_FitLen(flat, 230) + "/";
    }
    if (sameFolder(target, FILENAM_Dir(source))) {
        newName = source;
        return true;
    }
    bool created = false;
    core::StrArray made;
    if (!FMAN_MakeDir(target, 0, created, mode, made, noMore)) return false;
    if (!FNGEN_NewFileName(target + FILENAM_FileName(source), newName, numbered, true, 10))
        return false;
    if (backupChangesDate()) return rewriteCopy(move, source, newName, mode, noMore);
    if (move) return FMAN_MoveFile(source, newName, FMAN_GetAttr(source), mode, false, noMore);
    return FMAN_CopyFile(source, newName, mode, noMore);
}

bool FMAN_Recycle(const std::string& file, int mode, std::string& newName) {
    bool noMore = false;
    return FMAN_BackupCopy(true, file, sys::programFolder() + "/recycled/", mode, newName, true,
                           true, noMore);
}
