#include "core/file_names.h"

#include <filesystem>

#include "core/file_open.h"
#include "tests/core/files_fixture.h"

using testsupport::readFile;
using testsupport::writeFile;

class FileNames : public FilesTest {};

TEST_F(FileNames, PathParts) {
    struct Case {
        const char* path;
        const char *dir, *parent, *name, *noExt, *ext;
    } cases[] = {
        {"/a/b/c.txt", "/a/b/", "/a/", "c.txt", "c", "txt"},
        {"/a.d/file", "/a.d/", "/", "file", "file", ""},
        {"/a/name.", "/a/", "/", "name.", "name", ""},
        {"/top.log", "/", "/", "top.log", "top", "log"},
        {"plain", "", "/", "plain", "plain", ""},
        {"/a/x.tar.gz", "/a/", "/", "x.tar.gz", "x.tar", "gz"},
        {"/a/.profile", "/a/", "/", ".profile", "", "profile"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FILENAM_Dir(c.path), c.dir);
        EXPECT_EQ(FILENAM_ParentDir(c.path), c.parent);
        EXPECT_EQ(FILENAM_FileName(c.path), c.name);
        EXPECT_EQ(FILENAM_NameNoExt(c.path), c.noExt);
        EXPECT_EQ(FILENAM_Ext(c.path), c.ext);
        EXPECT_EQ(FILENAM_Drive(c.path), "");
    }
}

TEST_F(FileNames, NextChar) {
    struct Case {
        const char* text;
        bool ok;
        const char* next;
    } cases[] = {{"x0", true, "1"}, {"8", true, "9"}, {"9", true, "a"}, {"a", true, "b"},
                 {"Y", true, "Z"}, {"z", false, ""}, {"Z", false, ""}, {"-", false, ""}, {"", false, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string next;
        EXPECT_EQ(FNGEN_NextChar(c.text, next), c.ok);
        EXPECT_EQ(next, c.next);
    }
}

TEST_F(FileNames, UnusedNames) {
    std::string name;
    EXPECT_TRUE(FNGEN_NewFileName(path("new.txt"), name, false, true, 100));
    EXPECT_EQ(name, path("new.txt"));

    writeFile(path("ab.txt"), "");
    EXPECT_TRUE(FNGEN_NewFileName(path("ab.txt"), name, false, true, 100));
    EXPECT_EQ(name, path("ab000000.txt"));
    writeFile(name, "");
    EXPECT_TRUE(FNGEN_NewFileName(path("ab.txt"), name, false, true, 100));
    EXPECT_EQ(name, path("ab000001.txt"));

    writeFile(path("r.log"), "");
    EXPECT_TRUE(FNGEN_NewFileName(path("r.log"), name, true, true, 100));
    EXPECT_EQ(name, path("r.0.log"));
    writeFile(name, "");
    EXPECT_TRUE(FNGEN_NewFileName(path("r.log"), name, true, true, 100));
    EXPECT_EQ(name, path("r.1.log"));
    // A numbered model goes on from its number; a folder with the name counts as taken.
    writeFile(path("r.9.log"), "");
    std::filesystem::create_directory(path("r.a.log"));
    EXPECT_TRUE(FNGEN_NewFileName(path("r.9.log"), name, true, true, 100));
    EXPECT_EQ(name, path("r.b.log"));

    EXPECT_FALSE(FNGEN_NewFileName("relative.txt", name, false, true, 100));
    EXPECT_EQ(name.rfind("**Error. ", 0), 0u);
}

TEST_F(FileNames, AllNamesUsed) {
    // Eight characters that cannot count up: the first candidate is the model itself.
    writeFile(path("zzzzzzzz.x"), "");
    std::string name;
    EXPECT_FALSE(FNGEN_NewFileName(path("zzzzzzzz.x"), name, false, true, 100));
    EXPECT_EQ(name, "**Error. All filenames used in this dir.");
}

TEST_F(FileNames, FindInFile) {
    // The start text straddles byte 64,000 and the end text byte 128,000.
    std::string content(63995, '.');
    content += "<h2>Topic" + std::string(63993, 'x') + "</h2>tail";
    writeFile(path("help.htm"), content);
    gFindInFileTimeout = 2147483647;

    FindInFileResult r;
    ASSERT_TRUE(FNDINFIL_Find(path("help.htm"), "<H2>topic", "</H2>", 1, false, false, r));
    EXPECT_EQ(r.startPos, 63996);
    EXPECT_TRUE(r.endFound);
    EXPECT_EQ(r.between, std::string(63993, 'x'));
    EXPECT_EQ(r.endPos, 127998);

    EXPECT_FALSE(FNDINFIL_Find(path("help.htm"), "<H2>topic", "</H2>", 1, true, false, r));
    EXPECT_FALSE(r.error);

    ASSERT_TRUE(FNDINFIL_Find(path("help.htm"), "</h2>", "<never>", 1, true, false, r));
    EXPECT_FALSE(r.endFound);
    EXPECT_EQ(r.between, "tail");

    // Searching from a start position skips what lies before it.
    EXPECT_FALSE(FNDINFIL_Find(path("help.htm"), "<h2>", "</h2>", 64000, true, false, r));

    EXPECT_FALSE(FNDINFIL_Find(path("none.htm"), "a", "b", 1, true, false, r));
    EXPECT_TRUE(r.error);
}

TEST_F(FileNames, UnusedNameMemory) {
    writeFile(path("r.log"), "");
    writeFile(path("r.0.log"), "");
    writeFile(path("r.1.log"), "");
    std::string name;
    EXPECT_TRUE(FNGEN_NewFileName(path("r.log"), name, true, true, 0));
    EXPECT_EQ(name, path("r.2.log"));
    EXPECT_NE(readFile(path("~~~FN_altPAFN.ini")).find("r=r.2"), std::string::npos);
    // The next search starts from the remembered name.
    writeFile(name, "");
    EXPECT_TRUE(FNGEN_NewFileName(path("r.log"), name, true, true, 0));
    EXPECT_EQ(name, path("r.3.log"));
}
