#include "core/file_actions.h"

#include <sys/stat.h>

#include <filesystem>

#include "core/file_names.h"
#include "platform/sys/rt_error.h"
#include "tests/core/files_fixture.h"

using testsupport::readFile;
using testsupport::writeFile;

class FileActions : public FilesTest {
protected:
    bool exists(const std::string& name) { return std::filesystem::exists(path(name)); }
};

// Deleting a folder as a file fails with 75 (a lock-like error that offers Retry);
// deleting a missing file fails with 53.
TEST_F(FileActions, ModeAndErrorMatrix) {
    struct Case {
        const char* name;
        int mode;
        bool locked;
        std::vector<std::string> buttons;  // empty: no dialog
        const char* press;
        const char* text;  // expected in the message
        bool result;
        bool stopped;  // error 1066
    } cases[] = {
        {"silent", -1, false, {}, "", "", false, false},
        {"silent, locked", -1, true, {}, "", "", false, false},
        {"OK only", 0, false, {"&OK"}, "&OK", "Error:  >> 53 File not found <<", false, false},
        {"OK only, locked", 0, true, {"&OK"}, "&OK", "Error:  >> 75 Path/File access error <<", false, false},
        {"retry offered", -2, true, {"&OK", "&Retry"}, "&OK", "Press OK to skip Delete of this file and continue.", false, false},
        {"retry not for 53", -2, false, {"&OK"}, "&OK", "Press OK to continue.", false, false},
        {"cancel, OK skips", 1, false, {"&OK", "&Cancel"}, "&OK", "with other files & directories. Press Cancel to stop.", false, false},
        {"cancel stops", 1, false, {"&OK", "&Cancel"}, "&Cancel", "", false, true},
        {"all three", -3, true, {"&OK", "&Retry", "&Cancel"}, "&Cancel", "locked by another Application. (Error 70, Permission denied.)", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string target = path(c.locked ? "folder" : "missing");
        if (c.locked) std::filesystem::create_directory(target);
        size_t before = responder.shown().size();
        if (!c.buttons.empty()) responder.press(c.text, c.press);
        bool noMore = false;
        try {
            EXPECT_EQ(FMAN_DeleteFile(target, c.mode, false, noMore), c.result);
            EXPECT_FALSE(c.stopped);
        } catch (const sys::RtError& e) {
            EXPECT_TRUE(c.stopped);
            EXPECT_EQ(e.number(), 1066);
        }
        ASSERT_EQ(responder.shown().size(), before + (c.buttons.empty() ? 0 : 1));
        if (!c.buttons.empty()) {
            EXPECT_EQ(responder.shown().back().buttons, c.buttons);
            EXPECT_NE(responder.shown().back().message.find("Error from the system when attempted to Delete.\rDelete not done."),
                      std::string::npos);
        }
    }
}

TEST_F(FileActions, RetryTriesAgainUntilTheActionWorks) {
    std::string target = path("busy");
    std::filesystem::create_directory(target);
    int failures = 0;
    for (int i = 0; i < 2; ++i)
        responder.expect({.expectCaption = "", .expectMessage = "Retry to try again", .sets = {},
                          .press = "&Retry", .act = [&](const core::DlgView&, core::DlgDriver&) {
                              if (++failures == 2) {  // the second retry will find a file
                                  std::filesystem::remove(target);
                                  writeFile(target, "x");
                              }
                          }});
    bool noMore = false;
    EXPECT_TRUE(FMAN_DeleteFile(target, -2, false, noMore));
    EXPECT_FALSE(exists("busy"));
    EXPECT_EQ(failures, 2);
}

TEST_F(FileActions, NoMoreDialogsSilencesTheBatch) {
    bool noMore = false;
    responder.expect({.expectCaption = "", .expectMessage = "Delete not done.",
                      .sets = {{"cap:Do &not Show this Message again", "1"}},
                      .press = "&OK", .act = {}});
    EXPECT_FALSE(FMAN_DeleteFile(path("a"), 1, false, noMore));
    EXPECT_TRUE(noMore);
    // Later errors of the batch are answered OK unseen: skip, not stop.
    EXPECT_FALSE(FMAN_DeleteFile(path("b"), 1, false, noMore));
    EXPECT_FALSE(FMAN_CopyFile(path("b"), path("c"), -3, noMore));
    EXPECT_EQ(responder.shown().size(), 1u);
}

TEST_F(FileActions, ErrorDialogResultsAndOptionsList) {
    bool noMore = false;
    std::string options = "0|{&Skip|&Keep}";
    responder.press("Error:  >> 70 Permission denied <<", "&Keep");
    EXPECT_EQ(FMAN_ErrorDialog(70, "", true, false, false, "Copy", "", "", options, noMore), 70);
    EXPECT_EQ(options, "0|{&Skip|&Keep}|2|0");
    EXPECT_EQ(responder.shown().back().buttons, (std::vector<std::string>{"&OK", "&Skip", "&Keep"}));

    responder.press("Error:  >> disk changed <<", "&OK");
    EXPECT_EQ(FMAN_ErrorDialog(0, "disk changed", true, true, false, "Copy", "", "", options, noMore), -2);
    EXPECT_EQ(options, "0|{&Skip|&Keep}|0|1");
    EXPECT_EQ(FMAN_ErrorDialog(0, "", true, true, true, "Copy", "", "", options, noMore), 0);
    EXPECT_EQ(FMAN_ErrorDialog(53, "", false, true, true, "Copy", "", "", options, noMore), 53);
}

TEST_F(FileActions, MakeDirFromTheTopDown) {
    bool noMore = false, created = false;
    core::StrArray made;
    EXPECT_TRUE(FMAN_MakeDir(path("a/b/c"), 0, created, -1, made, noMore));
    EXPECT_TRUE(created);
    EXPECT_EQ(made.items(), (std::vector<std::string>{path("a"), path("a/b"), path("a/b/c")}));
    EXPECT_TRUE(std::filesystem::is_directory(path("a/b/c")));

    EXPECT_TRUE(FMAN_MakeDir(path("a/b"), 0, created, -1, made, noMore));
    EXPECT_FALSE(created);

    // A name the check refuses is a failure, shown unless the batch is silenced.
    noMore = true;
    EXPECT_FALSE(FMAN_MakeDir(path("x*y"), 0, created, -1, made, noMore));
    noMore = false;
    responder.press("Error In Directory name: ", "&OK");
    EXPECT_FALSE(FMAN_MakeDir("relative/dir", 0, created, -1, made, noMore));
    EXPECT_FALSE(created);

    EXPECT_TRUE(FMAN_MakeDirs(path("p/q"), 1, created, -1));
    EXPECT_EQ(FMAN_GetAttr(path("p/q")), 17);
}

TEST_F(FileActions, MovesNeverLoseTheSource) {
    bool noMore = false;
    writeFile(path("src.txt"), "payload");
    // The copy cannot be made (its folder is missing): the source stays.
    EXPECT_FALSE(FMAN_MoveFile(path("src.txt"), path("nowhere/dst.txt"), 0, -1, true, noMore));
    EXPECT_EQ(readFile(path("src.txt")), "payload");

    EXPECT_TRUE(FMAN_MoveFile(path("src.txt"), path("dst.txt"), 0, -1, true, noMore));
    EXPECT_FALSE(exists("src.txt"));
    EXPECT_EQ(readFile(path("dst.txt")), "payload");

    EXPECT_TRUE(FMAN_RenameFile(path("dst.txt"), path("moved.txt"), -1, noMore));
    EXPECT_EQ(readFile(path("moved.txt")), "payload");
}

TEST_F(FileActions, BackupCopiesAndRecycling) {
    bool noMore = false;
    writeFile(path("site/log.txt"), "one");
    std::string newName;
    EXPECT_TRUE(FMAN_BackupCopy(false, path("site/log.txt"), path("site"), -1, newName, false, true, noMore));
    EXPECT_EQ(newName, path("site/log.txt"));

    EXPECT_TRUE(FMAN_BackupCopy(false, path("site/log.txt"), path("bak"), -1, newName, false, true, noMore));
    EXPECT_EQ(newName, path("bak/log.txt"));
    EXPECT_TRUE(FMAN_BackupCopy(false, path("site/log.txt"), path("bak"), -1, newName, false, true, noMore));
    EXPECT_EQ(newName, path("bak/log.0.txt"));
    EXPECT_EQ(readFile(newName), "one");

    // Recycled files land under the program folder, in a folder named after their own.
    EXPECT_TRUE(FMAN_Recycle(path("site/log.txt"), -1, newName));
    std::string flat = path("site/");
    for (auto& ch : flat) if (ch == '/') ch = '-';
    EXPECT_EQ(newName, home.path() + "/recycled/" + flat + "/log.txt");
    EXPECT_EQ(readFile(newName), "one");
    EXPECT_FALSE(exists("site/log.txt"));
}

// The target counts as the source's own folder only where the file system says so.
TEST_F(FileActions, BackupCopyComparesFoldersAsTheFileSystemDoes) {
    writeFile(path("x/Logs/a.log"), "one");
    std::filesystem::create_directory_symlink(path("x/Logs"), path("link"));
    struct Case {
        const char* name;
        std::string target;
        std::string newName;  // the source itself when the folder is its own
    } cases[] = {
        {"its own folder", path("x/Logs"), path("x/Logs/a.log")},
        {"with . and ..", path("x/./other/../Logs/"), path("x/Logs/a.log")},
        {"through a symbolic link", path("link"), path("x/Logs/a.log")},
        {"a folder differing in letter case only", path("x/logs"), path("x/logs/a.log")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool noMore = false;
        std::string newName;
        EXPECT_TRUE(FMAN_BackupCopy(false, path("x/Logs/a.log"), c.target, -1, newName, false, true, noMore));
        EXPECT_EQ(newName, c.newName);
        EXPECT_EQ(readFile(c.newName), "one");
    }
}

TEST_F(FileActions, RenameRefusesAnExistingTarget) {
    writeFile(path("old.txt"), "old");
    writeFile(path("taken.txt"), "keep");
    responder.press("Error:  >> 58 File already exists", "&OK");
    bool noMore = false;
    EXPECT_FALSE(FMAN_RenameFile(path("old.txt"), path("taken.txt"), 0, noMore));
    EXPECT_EQ(readFile(path("taken.txt")), "keep");
    EXPECT_EQ(readFile(path("old.txt")), "old");
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(FileActions, CopyIntoDir) {
    writeFile(path("from/sub/f.ini"), "k=v");
    EXPECT_TRUE(FMAN_CopyIntoDir(path("from"), path("to"), "/sub/f.ini", -1));
    EXPECT_EQ(readFile(path("to/sub/f.ini")), "k=v");
}

TEST_F(FileActions, QueriesAndAttributes) {
    writeFile(path("f.txt"), "12345");
    writeFile(path(".hidden"), "");
    std::filesystem::create_directory(path("dir"));
    std::string found;
    EXPECT_TRUE(FMAN_NameExists(path("f.txt"), 0, found));
    EXPECT_EQ(found, "f.txt");
    EXPECT_TRUE(FMAN_NameExists(path(".hidden"), 0, found));
    EXPECT_EQ(found, "");
    EXPECT_TRUE(FMAN_NameExists(path(".hidden"), 2, found));
    EXPECT_EQ(found, ".hidden");
    EXPECT_TRUE(FMAN_NameExists(path("dir"), 6, found));
    EXPECT_EQ(found, "");
    EXPECT_TRUE(FMAN_NameExists(path("dir"), 16, found));
    EXPECT_EQ(found, "dir");
    EXPECT_FALSE(FMAN_NameExists(path("nodir/f.txt"), 22, found));
    bool valid = false;
    EXPECT_EQ(FMAN_FileExists(path("nope"), 6, valid), "");
    EXPECT_TRUE(valid);

    EXPECT_EQ(FMAN_FileLen(path("f.txt")), 5);
    EXPECT_EQ(FMAN_FileLen(path("nope")), -1);
    EXPECT_EQ(FMAN_GetAttr(path("dir/")), 16);
    EXPECT_EQ(FMAN_GetAttr(path(".hidden")), 2);
    EXPECT_EQ(FMAN_GetAttr(path("nope")), 0);

    bool noMore = false;
    int set = 0;
    EXPECT_TRUE(FMAN_SetAttr(path("f.txt"), 1 | 64, -1, noMore, set));
    EXPECT_EQ(set, 1);
    EXPECT_EQ(FMAN_GetAttr(path("f.txt")), 1);
    EXPECT_TRUE(FMAN_SetAttr(path("f.txt"), 0, -1, noMore, set));
    EXPECT_EQ(FMAN_GetAttr(path("f.txt")), 0);
    EXPECT_FALSE(FMAN_SetAttr(path("nope"), 1, -1, noMore, set));

    EXPECT_EQ(FMAN_AttrText(0), "");
    EXPECT_EQ(FMAN_AttrText(1), "Read Only");
    EXPECT_EQ(FMAN_AttrText(3), "Hidden and Read Only");
    EXPECT_EQ(FMAN_AttrText(7), "Hidden| System and Read Only");
}
