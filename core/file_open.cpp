#include "core/file_open.h"

#include <algorithm>
#include <new>

#include "core/file_actions.h"
#include "core/file_names.h"
#include "core/path_checks.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "platform/sys/rt_error.h"

namespace {

const char kCaption[] = "File Opener";
const char kMissing[] = "File to be read does not exist.";
const char kExists[] = "File to be created already exists.";
constexpr long kAll = 2147483647L;

void showError(const std::string& message) { core::ui().msgBox(message, "0", "16", kCaption); }

// The missing-file policy; true when the open may go on (it never may).
bool missingFile(const std::string& name, bool withMessage, std::string* errorText) {
    if (errorText) *errorText = kMissing;
    if (gOpenIfMissing == "C") return false;
    if (gOpenIfMissing != "E") sys::raise(1032, "OpenFile");
    std::string text = std::string("Error.") + gCR + kMissing + gCRCR + "File name: " + name +
                       gCRCR + "Action aborted.";
    if (withMessage && errorText) *errorText = text;
    showError(text);
    return false;
}

enum class Existing { Fail, Replace, Append };

// The existing-file policy; the binary open asks with CRs, the sequential one with LFs.
Existing existingFile(const std::string& name, bool binary, std::string* errorText) {
    if (errorText) *errorText = kExists;
    if (gOpenIfExists == "W") {
        const std::string& br = binary ? gCR : gLF;
        int answer = core::ui().msgBox("Warning." + br + kExists + (binary ? gCRCR : gLF) +
                                           "File name: " + name +
                                           gLF + gLF + "Press OK to delete, CANCEL to abort.",
                                       "1", "48", kCaption);
        if (answer == 1) return Existing::Replace;
        if (answer == 2) return Existing::Fail;
        sys::raise(1032, "OpenFile");
    }
    if (gOpenIfExists == "E") {
        showError("Error." + gLF + kExists + gLF + "File name: " + name + gLF + gLF +
                  "Action aborted.");
        return Existing::Fail;
    }
    if (gOpenIfExists == "D") return Existing::Replace;
    if (gOpenIfExists == "A") return Existing::Append;
    sys::raise(1031, "OpenFile");
}

std::string openError(const std::string& name, const std::string& detail) {
    return "Error opening file >>" + name + "<<." + gCRCR + detail;
}

}  // namespace

bool OPENBIN_CheckFileName(const std::string& name, bool& exists) {
    exists = false;
    auto fail = [&](const std::string& reason) {
        showError(reason + gLF + "File name: " + name + gLF + gLF + "Action aborted.");
        return false;
    };
    size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos) return fail("File name is required.");
    if (name[0] != '/') return fail("File name must be of format /name (a full path starting with /).");
    if (name.back() == '/') return fail("Must include file name after dir spec.");
    bool valid = false;
    std::string found = FMAN_FileExists(name, 6, valid);
    if (!valid) return fail("File name is invalid. Please check it.");
    exists = !found.empty();
    return true;
}

bool OPENBIN_OpenFile(const std::string& name, const std::string& direction, sys::File& file,
                      bool showPathCheck, std::string& errorText, std::string& options) {
    bool exists = false;
    if (direction != "I" && direction != "O") sys::raise(1001, "OPENBIN_OpenFile");
    // A file to read may have any name; one to write is a name the program makes.
    if (!(direction == "I" ? PAFN_CheckReadPath(name, showPathCheck, errorText, exists)
                           : PAFN_CheckPathFileName(name, showPathCheck, errorText, exists)))
        return false;
    bool append = false;
    if (direction == "I" && !exists) return missingFile(name, true, &errorText);
    if (direction == "O" && exists) {
        Existing e = existingFile(name, true, &errorText);
        if (e == Existing::Fail) return false;
        append = e == Existing::Append;
        bool noMore = false;
        if (!append && !FMAN_DeleteFile(name, -2, false, noMore)) return false;
    }
    if (!OPENBIN_OpenRaw(name, "B", file, options)) {
        errorText = "Error when try to open file.";
        return false;
    }
    if (append) file.seekEnd();
    return true;
}

bool OPENBIN_OpenForRead(const std::string& name, sys::File& file, std::string& options) {
    bool exists = false;
    if (!OPENBIN_CheckFileName(name, exists)) return false;
    if (!exists) return missingFile(name, false, nullptr);
    return OPENBIN_OpenRaw(name, "I", file, options);
}

bool OPENBIN_OpenForWrite(const std::string& name, sys::File& file, std::string& options) {
    bool exists = false;
    if (!OPENBIN_CheckFileName(name, exists)) return false;
    bool append = false;
    if (exists) {
        Existing e = existingFile(name, false, nullptr);
        if (e == Existing::Fail) return false;
        append = e == Existing::Append;
        bool noMore = false;
        if (!append && !FMAN_DeleteFile(name, -2, false, noMore)) return false;
    }
    return OPENBIN_OpenRaw(name, append ? "A" : "O", file, options);
}

bool OPENBIN_OpenRaw(const std::string& name, const std::string& access, sys::File& file,
                     std::string& options) {
    size_t bar = options.find('|');
    std::string item1 = options.substr(0, bar);
    if (item1 == "-4") item1 = "0";
    else if (item1.empty() || item1 == "0") item1 = "-2";
    options = item1 + "|" + (bar == std::string::npos ? options : options.substr(bar + 1));
    bool noMore = false;
    return FMAN_OpenFile(name, access, file, options, noMore);
}

bool OPENBIN_ReadAt(const std::string& name, long start, bool show, sys::File& file,
                    std::string& errorText, bool& startAfterEnd, std::string& options) {
    gOpenIfMissing = "C";
    if (!OPENBIN_OpenFile(name, "I", file, false, errorText, options)) {
        errorText = openError(name, errorText);
        if (show) core::ui().info(errorText, "");
        return false;
    }
    long length = file.length();
    // Start 1 of an empty file reads the empty text; only a start beyond is an error.
    if (start > length && !(start == 1 && length == 0)) {
        startAfterEnd = true;
        errorText = openError(name, "Start at byte specified is after End of file. File length: " +
                                        std::to_string(length) + ". Start at Byte: " +
                                        std::to_string(start));
        if (show) core::ui().info(errorText, "");
        file.close();
        return false;
    }
    return true;
}

bool OPENBIN_ReadFileToBuf(const std::string& name, long start, long count, bool show,
                           std::string& text, bool& stopped, long& length,
                           std::string& errorText, bool& startAfterEnd, std::string& options) {
    if (count < 1) count = kAll;
    text.clear();
    errorText.clear();
    stopped = false;
    length = 0;
    sys::File file;
    if (!OPENBIN_ReadAt(name, start, show, file, errorText, startAfterEnd, options)) return false;
    length = file.length() - (start - 1);
    try {
        for (long pos = start; static_cast<long>(text.size()) < count;) {
            std::string block = file.readAt(pos, std::min(core::kReadBlock, count - long(text.size())));
            if (block.empty()) break;
            text += block;
            pos += long(block.size());
        }
    } catch (const std::bad_alloc&) {
        errorText = "File >>" + name + "<< cannot be processed. Insufficient space.";
        if (show) core::ui().info(errorText, "");
    }
    stopped = length > static_cast<long>(text.size());
    return true;
}

bool OPENBIN_ReadFileTrunc(const std::string& name, long start, bool show,
                           std::vector<std::string>& blocks, long& blockCount,
                           OPENBIN_ReadInfo& info, long charLimit, long yieldStep,
                           const std::function<bool()>& cancelRequested, std::string& options,
                           std::string& errorText) {
    blockCount = 0;
    info = {};
    struct Trim {
        std::vector<std::string>& blocks;
        long& count;
        ~Trim() { blocks.resize(static_cast<size_t>(count)); }
    } trim{blocks, blockCount};
    sys::File file;
    if (!OPENBIN_ReadAt(name, start, show, file, errorText, info.StartAfterEnd, options))
        return false;
    long fileLength = file.length();
    info.StartByte = start;
    if (charLimit == 0) charLimit = kAll;
    info.CharsToRead = fileLength - start + 1;
    for (long pos = start;; pos += core::kReadBlock) {
        try {
            if (static_cast<size_t>(blockCount) == blocks.size()) blocks.emplace_back();
            file.readAt(pos, core::kReadBlock, blocks[static_cast<size_t>(blockCount)]);
        } catch (const std::bad_alloc&) {
            errorText = "File >> " + name + " <<Truncated." + gCRCR + "First >> " +
                        std::to_string(core::kReadBlock * blockCount) + "<< bytes of >> " +
                        std::to_string(fileLength) + " << will be processed.";
            if (show) core::ui().info(errorText, "");
            info.Truncated = true;
            return true;
        }
        ++blockCount;
        info.CharsRead += long(blocks[static_cast<size_t>(blockCount - 1)].size());
        info.AtEnd = pos + core::kReadBlock > fileLength;
        if (yieldStep >= 0 && blockCount >= yieldStep) {
            core::doEvents();
            if (cancelRequested && cancelRequested()) return true;
        }
        if (info.AtEnd) return true;
        if (info.CharsRead > charLimit) {
            info.Truncated = true;
            return true;
        }
    }
}

bool OPENBIN_BinaryFilePut(const std::string& path, std::string_view data, std::string& errorText,
                           const std::string& existsPolicy) {
    bool created = false;
    FMAN_MakeDirs(FILENAM_Dir(path), 0, created, -1);
    gOpenIfExists = existsPolicy;
    sys::File file;
    std::string options = "-1";
    if (!OPENBIN_OpenFile(path, "O", file, false, errorText, options)) return false;
    try {
        file.write(data);
    } catch (const sys::RtError& e) {
        errorText = e.description();
        return false;
    }
    return true;
}
