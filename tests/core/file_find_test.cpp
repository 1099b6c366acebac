#include "core/file_find.h"

#include <algorithm>
#include <filesystem>

#include "platform/sys/rt_error.h"
#include "tests/core/files_fixture.h"

using testsupport::readFile;
using testsupport::writeFile;

namespace fs = std::filesystem;

class FileFind : public FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        for (const char* f : {"logs/access.log", "logs/access.txt", "logs/ERROR.log", "logs/.hidden.log",
                              "logs/old_access.log.1", "logs/sub/deep.log", "logs/sub/what?.txt"})
            writeFile(path(f), "x");
        fs::create_directory_symlink(path("logs"), path("logs/sub/loop"));
    }
    // Found names below the logs folder, sorted; item 0 must stay empty.
    std::vector<std::string> found(const core::StrArray& result) {
        EXPECT_EQ(result.lbound(), 0);
        if (result.ubound() < 0) return {};
        EXPECT_EQ(result[0], "");
        std::vector<std::string> names;
        for (long i = 1; i <= result.ubound(); ++i) names.push_back(result[i].substr(path("logs/").size()));
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(FileFind, Patterns) {
    using V = std::vector<std::string>;
    struct Case {
        const char* name;
        std::string patterns;
        bool recurse, hidden, folders;
        V names;
    } cases[] = {
        {"wildcard", "*.log", false, false, false, {"ERROR.log", "access.log"}},
        {"wildcard, hidden", "*.log", false, true, false, {".hidden.log", "ERROR.log", "access.log"}},
        {"substrings without a star", "access|error", false, false, false,
         {"ERROR.log", "access.log", "access.txt", "old_access.log.1"}},
        {"question mark literal without a star", "what?", true, false, false, {"sub/what?.txt"}},
        {"question mark wild with a star", "*.l?g", true, false, false,
         {"ERROR.log", "access.log", "sub/deep.log"}},
        {"all, recursive, link not entered", "*", true, false, false,
         {"ERROR.log", "access.log", "access.txt", "old_access.log.1", "sub/deep.log", "sub/loop", "sub/what?.txt"}},
        {"folders too", "*", false, false, true,
         {"ERROR.log", "access.log", "access.txt", "old_access.log.1", "sub/"}},
        {"nothing", "*.zip", true, false, false, {}},
        {"plain patterns of a list with a star still match as text", "old|*.txt", false, false, false,
         {"access.txt", "old_access.log.1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        core::StrArray result;
        result.append("stale");
        bool ok = c.folders ? FINDF_FindFilesAndDirs(-1, c.patterns, path("logs"), c.recurse, c.hidden, true, result)
                            : FINDF_FindFiles(-1, c.patterns, path("logs"), c.recurse, c.hidden, true, result);
        EXPECT_TRUE(ok);
        EXPECT_EQ(found(result), c.names);
    }
    core::StrArray result;
    EXPECT_TRUE(FINDF_FindFiles(-1, "*", path("missing"), true, true, true, result));
    EXPECT_EQ(result.ubound(), 0);
    EXPECT_EQ(result[0], "");
    // A limited count hands the first match to the hook, whose False ends the walk.
    EXPECT_FALSE(FINDF_FindFiles(1, "*.log", path("logs"), false, false, true, result));
}

TEST_F(FileFind, DeleteDirTreeRemovesOnlyEmptyFolders) {
    fs::create_directories(path("site/a/b"));
    fs::create_directories(path("site/c"));
    EXPECT_TRUE(FINDF_DeleteDirTree(path("site/"), ""));
    EXPECT_FALSE(fs::exists(path("site")));

    // A file anywhere keeps its folder and those above it.
    fs::create_directories(path("kept/empty"));
    writeFile(path("kept/full/f.txt"), "x");
    EXPECT_FALSE(FINDF_DeleteDirTree(path("kept/"), ""));
    EXPECT_TRUE(fs::exists(path("kept/full/f.txt")));
    EXPECT_FALSE(fs::exists(path("kept/empty")));
    // The link below "logs" is kept as an entry; its target is untouched.
    EXPECT_FALSE(FINDF_DeleteDirTree(path("logs/sub/"), ""));
    EXPECT_TRUE(fs::exists(path("logs/access.log")));
}

TEST_F(FileFind, CopyOrDeleteTree) {
    writeFile(path("old/a.txt"), "A");
    writeFile(path("old/x/b.txt"), "B");
    FINDF_CopyOrDeleteTree(path("old/"), path("moved/"), -1, false, true);
    EXPECT_FALSE(fs::exists(path("old")));
    EXPECT_EQ(readFile(path("moved/a.txt")), "A");
    EXPECT_EQ(readFile(path("moved/b.txt")), "B");

    writeFile(path("gone/a.txt"), "A");
    writeFile(path("gone/y/z/c.txt"), "C");
    FINDF_CopyOrDeleteTree(path("gone/"), "", -1, false, true);
    EXPECT_FALSE(fs::exists(path("gone")));
}
