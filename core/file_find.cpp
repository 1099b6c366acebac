#include "core/file_find.h"

#include "core/file_actions.h"
#include "core/like_pattern.h"
#include "core/shell_hooks.h"
#include "core/delimited_lists.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "platform/sys/file_system.h"

namespace {

struct Walk {
    long maxCount;
    bool recurse, includeHidden, includeFolders, includeFiles;
    bool allEntries;  // the single pattern "*"
    bool anyStar = false;
    std::vector<std::string> texts;           // upper-cased patterns
    std::vector<core::LikePattern> wildcards;
    core::StrArray& result;

    // A pattern matches as a wildcard when the list holds a "*" anywhere, and as text
    // inside the name always: "access|*.gz" finds access_2023.log.
    bool matches(const std::string& name) const {
        if (allEntries) return true;
        std::string upper = core::upperAscii(name);
        for (size_t i = 0; i < texts.size(); ++i) {
            if (anyStar && wildcards[i].matches(upper)) return true;
            if (upper.find(texts[i]) != std::string::npos) return true;
        }
        return false;
    }

    bool add(const std::string& name) {
        if (maxCount != -1) return core::shellHooks().hookStrPass(0, name, 0, 0);
        long index = 0;
        bool outOfSpace = false, appended = false;
        LLIST_StrArrAdd(result, -1, name, 0, index, outOfSpace, appended, false);
        if (outOfSpace) {
            core::ui().info("Maximum possible number of files reached ." + gCRCR +
                                "List of files/directories will be incomplete. Press OK to Continue.",
                            "");
            return false;
        }
        return true;
    }

    bool folder(const std::string& dir) {
        std::vector<sys::DirEntry> entries;
        if (!sys::listFolder(dir, entries)) return true;  // nothing to contribute
        std::vector<std::string> subFolders;
        for (const auto& e : entries) {
            if (!includeHidden && e.name[0] == '.') continue;
            if (e.directory) {
                subFolders.push_back(e.name);
                if (includeFolders && matches(e.name) && !add(dir + e.name + "/")) return false;
            } else if (includeFiles && matches(e.name) && !add(dir + e.name)) {
                return false;
            }
        }
        if (!recurse) return true;
        for (const auto& sub : subFolders) {
            if (!allEntries && core::shellHooks().hookFalse()) continue;
            if (!folder(dir + sub + "/")) return false;
        }
        return true;
    }
};

bool find(long maxCount, const std::string& patterns, const std::string& folder, bool recurse,
          bool includeHidden, bool includeFolders, core::StrArray& result) {
    std::string dir = folder;
    if (dir.empty() || dir.back() != '/') dir += '/';
    result.redim(0, 0);
    Walk walk{.maxCount = maxCount, .recurse = recurse, .includeHidden = includeHidden,
              .includeFolders = includeFolders, .includeFiles = true,
              .allEntries = patterns == "*", .anyStar = false, .texts = {}, .wildcards = {},
              .result = result};
    if (!walk.allEntries) {
        walk.anyStar = patterns.find('*') != std::string::npos;
        core::StrArray items;
        CHUNKS_SplitEx(patterns, "|", "{}", items, 0);
        for (const auto& p : items.items()) {
            walk.texts.push_back(core::upperAscii(p));
            if (walk.anyStar) walk.wildcards.emplace_back(walk.texts.back(), core::LikeCase::Binary);
        }
    }
    return walk.folder(dir);
}

}  // namespace

bool FINDF_FindFiles(long maxCount, const std::string& patterns, const std::string& folder,
                     bool recurse, bool includeHidden, bool /*includeSystem*/,
                     core::StrArray& result) {
    return find(maxCount, patterns, folder, recurse, includeHidden, false, result);
}

bool FINDF_FindFilesAndDirs(long maxCount, const std::string& patterns, const std::string& folder,
                            bool recurse, bool includeHidden, bool /*includeSystem*/,
                            core::StrArray& result) {
    return find(maxCount, patterns, folder, recurse, includeHidden, true, result);
}

bool FINDF_DeleteDirTree(const std::string& folder, const std::string& keepList) {
    core::StrArray entries;
    if (!FINDF_FindFilesAndDirs(-1, "*", folder, /*recurse=*/false, /*includeHidden=*/true, /*includeSystem=*/true, entries)) return false;
    bool kept = false;
    for (long i = 1; i <= entries.ubound(); ++i) {
        const std::string& e = entries[i];
        if (e.back() == '/') kept = !FINDF_DeleteDirTree(e, keepList) || kept;
        else kept = true;  // files are never deleted here
    }
    if (kept) return false;
    bool noMore = false;
    if (FMAN_RemoveDir(folder, -1, noMore)) return true;
    return CHUNKS_Contains(folder, keepList, "|", kChunksNoExclusion, true);
}

void FINDF_CopyOrDeleteTree(const std::string& sourceFolder, const std::string& targetFolder,
                            int mode, bool flatName, bool numbered) {
    core::StrArray files;
    FINDF_FindFiles(-1, "*", sourceFolder, /*recurse=*/true, /*includeHidden=*/true, /*includeSystem=*/true, files);
    bool noMore = false;
    for (long i = 1; i <= files.ubound(); ++i) {
        if (targetFolder.empty()) {
            FMAN_DeleteFile(files[i], mode, false, noMore);
        } else {
            std::string newName;
            FMAN_BackupCopy(true, files[i], targetFolder, mode, newName, flatName, numbered, noMore);
        }
    }
    FINDF_DeleteDirTree(sourceFolder, "");
}
