#include "core/file_open.h"

#include "platform/sys/rt_error.h"
#include "tests/core/files_fixture.h"

using testsupport::readFile;
using testsupport::writeFile;

class FileOpen : public FilesTest {};

TEST_F(FileOpen, ExistingFilePolicies) {
    struct Case {
        const char* letter;
        const char* press;  // answer to the question of "W"; "" when no box
        bool opened;
        std::string after;  // content after writing "new"
        int error;          // run-time error raised, 0 none
    } cases[] = {
        {"W", "&OK", true, "new", 0},
        {"W", "&Cancel", false, "old", 0},
        {"E", "&OK", false, "old", 0},
        {"D", "", true, "new", 0},
        {"A", "", true, "oldnew", 0},
        {"X", "", false, "old", 1031},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.letter);
        std::string f = path("out.txt");
        writeFile(f, "old");
        if (*c.press) responder.press("File to be created already exists.", c.press);
        gOpenIfExists = c.letter;
        sys::File file;
        std::string errorText, options;
        try {
            bool opened = OPENBIN_OpenFile(f, "O", file, false, errorText, options);
            EXPECT_EQ(opened, c.opened);
            if (opened) file.write("new");
            else EXPECT_EQ(errorText, "File to be created already exists.");
            EXPECT_EQ(c.error, 0);
        } catch (const sys::RtError& e) {
            EXPECT_EQ(e.number(), c.error);
        }
        file.close();
        EXPECT_EQ(readFile(f), c.after);
    }
}

TEST_F(FileOpen, MissingFilePoliciesAndDirection) {
    std::string f = path("missing.txt"), errorText, options;
    sys::File file;
    gOpenIfMissing = "C";
    EXPECT_FALSE(OPENBIN_OpenFile(f, "I", file, false, errorText, options));
    EXPECT_EQ(errorText, "File to be read does not exist.");

    gOpenIfMissing = "E";
    responder.press("Error.\rFile to be read does not exist.\r\rFile name: " + f, "&OK");
    EXPECT_FALSE(OPENBIN_OpenFile(f, "I", file, false, errorText, options));
    EXPECT_NE(errorText.find("Action aborted."), std::string::npos);

    gOpenIfMissing = "Q";
    try {
        OPENBIN_OpenFile(f, "I", file, false, errorText, options);
        ADD_FAILURE() << "no error 1032";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), 1032);
    }
    try {
        OPENBIN_OpenFile(f, "R", file, false, errorText, options);
        ADD_FAILURE() << "no error 1001";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), 1001);
    }
}

TEST_F(FileOpen, SequentialOpensCheckTheName) {
    sys::File file;
    std::string options;
    responder.press("File name must be of format /name", "&OK");
    EXPECT_FALSE(OPENBIN_OpenForRead("relative.txt", file, options));

    writeFile(path("lines.txt"), "a\r\nb\rc\nd");
    gOpenIfMissing = "C";
    ASSERT_TRUE(OPENBIN_OpenForRead(path("lines.txt"), file, options));
    std::string line, all;
    while (file.readLine(line)) all += line + ";";
    EXPECT_EQ(all, "a;b;c;d;");
    file.close();

    gOpenIfExists = "A";
    ASSERT_TRUE(OPENBIN_OpenForWrite(path("lines.txt"), file, options));
    file.write("!");
    file.close();
    EXPECT_EQ(readFile(path("lines.txt")), "a\r\nb\rc\nd!");
}

TEST_F(FileOpen, ReadIntoText) {
    std::string ten = "0123456789", hundred(100, 'h'), big(100000, 'b');
    writeFile(path("ten"), ten);
    writeFile(path("hundred"), hundred);
    writeFile(path("big"), big);
    writeFile(path("empty"), "");
    struct Case {
        const char* name;
        std::string file;
        long start, count;
        bool ok;
        std::string text;
        bool stopped;
        long length;
    } cases[] = {
        {"last byte", "ten", 10, 1, true, "9", false, 1},
        {"short file", "hundred", 1, 3000, true, hundred, false, 100},
        {"count ends it", "big", 1, 3000, true, big.substr(0, 3000), true, 100000},
        {"whole file", "big", 1, 0, true, big, false, 100000},
        {"from the middle", "ten", 4, 0, true, "3456789", false, 7},
        {"empty file", "empty", 1, 0, true, "", false, 0},
        {"one past the end", "ten", 11, 0, false, "", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text, errorText, options;
        bool stopped = false, afterEnd = false;
        long length = -1;
        EXPECT_EQ(OPENBIN_ReadFileToBuf(path(c.file), c.start, c.count, false, text, stopped, length,
                                        errorText, afterEnd, options),
                  c.ok);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(stopped, c.stopped);
        EXPECT_EQ(length, c.length);
        EXPECT_EQ(afterEnd, !c.ok);
        if (!c.ok) {
            EXPECT_EQ(errorText, "Error opening file >>" + path(c.file) + "<<.\r\r"
                                 "Start at byte specified is after End of file. File length: 10. "
                                 "Start at Byte: 11");
        }
    }
}

TEST_F(FileOpen, ReadInBlocks) {
    std::string content;
    for (int i = 0; i < 200000; ++i) content += char('a' + i % 26);
    writeFile(path("blocks"), content);
    struct Case {
        const char* name;
        long limit;
        long blocks;
        bool truncated, atEnd;
    } cases[] = {
        {"limit 64000", 64000, 2, true, false},
        {"no limit", 0, 4, false, true},
    };
    std::vector<std::string> blocks = {"left", "by", "an", "earlier", "read", "x"};  // taken over
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        long count = 0;
        OPENBIN_ReadInfo info;
        std::string options, errorText;
        EXPECT_TRUE(OPENBIN_ReadFileTrunc(path("blocks"), 1, false, blocks, count, info, c.limit, -1,
                                          {}, options, errorText));
        EXPECT_EQ(count, c.blocks);
        EXPECT_EQ(blocks.size(), static_cast<size_t>(count));
        EXPECT_EQ(info.Truncated, c.truncated);
        EXPECT_EQ(info.AtEnd, c.atEnd);
        EXPECT_EQ(info.CharsToRead, 200000);
        std::string joined;
        for (const auto& b : blocks) joined += b;
        EXPECT_EQ(joined, content.substr(0, size_t(info.CharsRead)));
    }
    // A cancel from the yield step on stops after that block.
    long count = 0;
    OPENBIN_ReadInfo info;
    std::string options, errorText;
    EXPECT_TRUE(OPENBIN_ReadFileTrunc(path("blocks"), 1, false, blocks, count, info, 0, 2,
                                      [] { return true; }, options, errorText));
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(info.AtEnd);
    EXPECT_EQ(ui.doEventsCalls, 1);
}

TEST_F(FileOpen, BinaryFilePutMakesTheFolder) {
    std::string errorText;
    EXPECT_TRUE(OPENBIN_BinaryFilePut(path("new/deeper/f.bin"), std::string("a\0b", 3), errorText, "E"));
    EXPECT_EQ(readFile(path("new/deeper/f.bin")), std::string("a\0b", 3));
    responder.press("File to be created already exists.", "&OK");
    EXPECT_FALSE(OPENBIN_BinaryFilePut(path("new/deeper/f.bin"), "x", errorText, "E"));
}
