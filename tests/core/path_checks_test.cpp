#include "core/path_checks.h"

#include <sys/stat.h>

#include <filesystem>

#include "platform/sys/rt_error.h"
#include "tests/core/files_fixture.h"

using testsupport::writeFile;

class PathChecks : public FilesTest {};

TEST_F(PathChecks, FolderNames) {
    writeFile(path("taken"), "x");
    mkdir(path("there").c_str(), 0777);
    struct Case {
        const char* name;
        std::string folder;
        bool acceptAny;
        bool valid, exists;
        std::string reason;  // start of the message
    } cases[] = {
        {"relative", "abc", false, false, false, "Dir name must be of format /name"},
        {"empty", "", false, false, false, "Dir name must be of format /name"},
        {"double separator", path("a//b"), false, false, false, " \"//\" with directory name not allowed"},
        {"refused characters in order", path("a*b?c*"), false, false, false,
         "Invalid directory name. Includes character(s) *?* which"},
        {"existing", path("there"), false, true, true, ""},
        {"missing", path("nothere"), false, true, false, ""},
        {"missing below missing", path("no/such/dir"), false, true, false, ""},
        {"taken by a file", path("taken"), false, false, false,
         "Invalid directory name. Name is used as a file name."},
        {"taken by a file, any entry", path("taken"), true, true, true, ""},
        {"root", "/", false, true, true, ""},
        {"blanks and extended", path("my site \xE9t\xE9"), false, true, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string folder = c.folder, message;
        bool exists = !c.exists;
        EXPECT_EQ(PAFN_CheckDirName(folder, false, message, exists, c.acceptAny), c.valid);
        EXPECT_EQ(exists, c.exists);
        EXPECT_EQ(message.substr(0, c.reason.size()), c.reason);
        EXPECT_EQ(folder.back(), '/');
    }
}

TEST_F(PathChecks, SkipMarkerAndShownMessage) {
    std::string folder = "relative", message = "Skip checks";
    bool exists = false;
    EXPECT_TRUE(PAFN_CheckDirName(folder, true, message, exists));
    EXPECT_TRUE(exists);
    EXPECT_EQ(message, "");

    responder.press("Error In Directory name: relative/\r\rDir name must be", "&OK");
    EXPECT_FALSE(PAFN_CheckDirName(folder, true, message, exists));
    EXPECT_FALSE(PAFN_CheckDirExists(folder = path("gone"), false, message));
    EXPECT_EQ(message, "Dir does not exist.");
}

TEST_F(PathChecks, NameCharacters) {
    std::string invalid;
    EXPECT_FALSE(PAFN_CheckNameChars("a**b", invalid, true, false));
    EXPECT_EQ(invalid, "**");
    EXPECT_FALSE(PAFN_CheckNameChars("x\xE9", invalid, false, false));
    EXPECT_EQ(invalid, "\xE9");
    EXPECT_TRUE(PAFN_CheckNameChars("x\xE9 +,;=[]", invalid, true, false));
    EXPECT_FALSE(PAFN_CheckNameChars("c:d", invalid, true, true));  // no drives here
    std::string name = "a:b|c?";
    PAFN_ReplaceInvalidChars(name, "_", true);
    EXPECT_EQ(name, "a_b_c_");
}

TEST_F(PathChecks, FullPath) {
    gMainDataDir = "/data/site";
    EXPECT_EQ(PAFN_FullPath("/abs/f.ini", "param", false, "/base"), "/abs/f.ini");
    EXPECT_EQ(PAFN_FullPath("f.ini", "param"), "/data/site/param/f.ini");
    EXPECT_EQ(PAFN_FullPath("f.ini", "", false, "/base"), "/base/f.ini");
    EXPECT_EQ(PAFN_FullPath("sub ", "", true), "/data/site/sub/");
    gMainDataDir.clear();
}

// A name to write keeps to the characters the program allows; a file to read may have
// any name the system allows, and only its folder and its kind are checked.
TEST_F(PathChecks, FileNames) {
    writeFile(path("f.txt"), "x");
    writeFile(path("a|b<c>:d.log"), "x");
    mkdir(path("d.dir").c_str(), 0777);
    struct Case {
        const char* name;
        bool toRead;
        std::string file;
        bool valid, exists;
        std::string reason;
    } cases[] = {
        {"existing", false, path("f.txt"), true, true, ""},
        {"new", false, path("g.txt"), true, false, ""},
        {"folder missing", false, path("none/g.txt"), false, false, "Directory does not exist."},
        {"no name", false, path("sub/"), false, false, "Must include file name after dir spec."},
        {"bad name", false, path("a|b.txt"), false, false, "Invalid File name. Includes character(s) |"},
        {"bad type", false, path("ab.t<t"), false, false, "Invalid File type.  Includes character(s) <"},
        {"a folder", false, path("d.dir"), false, false, "That file name currently exists as a directory."},
        {"relative", false, "f.txt", false, false, "Dir name must be of format"},
        {"to read: existing, any characters", true, path("a|b<c>:d.log"), true, true, ""},
        {"to read: new", true, path("e|f.log"), true, false, ""},
        {"to read: folder missing", true, path("none/g.log"), false, false, "Directory does not exist."},
        {"to read: no name", true, path("d.dir/"), false, false, "Must include file name after dir spec."},
        {"to read: a folder", true, path("d.dir"), false, false, "That file name currently exists as a directory."},
        {"to read: relative", true, "f.log", false, false, "File name must be of format /name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string message;
        bool exists = !c.exists;
        EXPECT_EQ(c.toRead ? PAFN_CheckReadPath(c.file, false, message, exists)
                           : PAFN_CheckPathFileName(c.file, false, message, exists),
                  c.valid);
        EXPECT_EQ(exists, c.exists);
        EXPECT_EQ(message.substr(0, c.reason.size()), c.reason);
    }
    std::string message;
    EXPECT_TRUE(PAFN_CheckPathFileVar(path("d.dir"), false, message, true));
    EXPECT_FALSE(PAFN_CheckFileExists(path("d.dir"), false, message));
    EXPECT_EQ(message, "File does not exist.");
    EXPECT_TRUE(PAFN_CheckFileExists(path("f.txt"), false, message));
}

TEST_F(PathChecks, NewFileNames) {
    writeFile(path("f.txt"), "x");
    std::string message;
    EXPECT_TRUE(PAFN_Check83FileName(path("new.txt"), false, message));
    EXPECT_FALSE(PAFN_Check83FileName(path("f.txt"), false, message));
    EXPECT_EQ(message, "File already exists. Enter a new file name.");
    EXPECT_FALSE(PAFN_Check83FileName(path(".txt"), false, message));
    EXPECT_EQ(message, "Invalid Filename. At least 1 character required before the \".\".");
}

TEST_F(PathChecks, UniqueDirName) {
    EXPECT_EQ(PAFN_UniqueDirName(path("site")), path("site/"));
    mkdir(path("site").c_str(), 0777);
    EXPECT_EQ(PAFN_UniqueDirName(path("site")), path("site.1/"));
    mkdir(path("site.1").c_str(), 0777);
    EXPECT_EQ(PAFN_UniqueDirName(path("site/")), path("site.2/"));
}

TEST_F(PathChecks, MainDataDirFromDirIni) {
    std::filesystem::create_directory(path("site1"));
    writeFile(path("Dir.ini"), "[Main]\nMain Data Dir=" + path("site1/") + "  \n");
    PAFN_CheckMainDataDir();
    EXPECT_EQ(gMainDataDir, path("site1"));

    writeFile(path("Dir.ini"), "[Main]\n");
    responder.expect({.expectCaption = "Dravolin",
                      .expectMessage = "Problem:\rDir name must be of format /name (a full path "
                                       "starting with /).\r\rAction aborted.\rDirectory does not exist.",
                      .sets = {}, .press = "OK", .act = {}});
    EXPECT_THROW(PAFN_CheckMainDataDir(), sys::EndProgram);
    EXPECT_NE(responder.shown().back().message.find("in file:\r" + path("Dir.ini")), std::string::npos);

    writeFile(path("Dir.ini"), "[Main]\nMain Data Dir=" + path("gone") + "\n");
    responder.press("Problem:\r\rDirectory does not exist.", "OK");
    EXPECT_THROW(PAFN_CheckMainDataDir(), sys::EndProgram);
    gMainDataDir.clear();
}
