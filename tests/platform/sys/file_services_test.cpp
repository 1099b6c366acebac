#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/sys/file.h"
#include "platform/sys/file_system.h"
#include "platform/sys/rt_error.h"
#include "platform/sys/spawn.h"
#include "tests/support/temp_home.h"

using testsupport::TempHome;
using testsupport::writeFile;

TEST(FileSystem, ListingLookupsAndAttributes) {
    TempHome home;
    writeFile(home / "f.txt", "x");
    writeFile(home / ".dot", "");
    std::filesystem::create_directory(home / "sub");
    std::filesystem::create_directory_symlink(home.path(), home / "loop");

    std::vector<sys::DirEntry> entries;
    ASSERT_TRUE(sys::listFolder(home.path(), entries));
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, ".dot");
    EXPECT_EQ(entries[2].name, "loop");
    EXPECT_FALSE(entries[2].directory);  // a link is never walked into
    EXPECT_TRUE(entries[3].directory);
    EXPECT_FALSE(sys::listFolder(home / "missing", entries));

    sys::PathKind kind;
    EXPECT_EQ(sys::lookUp(home / "sub/", kind), 0);
    EXPECT_EQ(kind, sys::PathKind::Directory);
    EXPECT_EQ(sys::lookUp(home / "none", kind), 0);
    EXPECT_EQ(kind, sys::PathKind::Missing);
    EXPECT_EQ(sys::lookUp(home / "no/none", kind), ENOTDIR);
    EXPECT_EQ(sys::vbErrorFromErrno(ENOTDIR), 76);

    EXPECT_EQ(sys::attributes(home / ".dot"), 2);
    EXPECT_EQ(sys::attributes(home / "sub/"), 16);
    EXPECT_EQ(sys::setReadOnly(home / "f.txt", true), 0);
    EXPECT_EQ(sys::attributes(home / "f.txt"), 1);
    EXPECT_EQ(sys::attributes(home / "none"), -1);
}

TEST(File, BinaryAndSequentialAccess) {
    TempHome home;
    writeFile(home / "f", "a\r\nb\r");
    sys::File f;
    f.open(home / "f", sys::File::Access::Binary);
    EXPECT_EQ(f.length(), 5);
    EXPECT_EQ(f.readAt(2, 10), "\r\nb\r");
    f.seekEnd();
    f.write("\nc");
    f.close();

    f.open(home / "f", sys::File::Access::Input);
    std::vector<std::string> lines;
    for (std::string line; f.readLine(line);) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c"}));

    try {
        f.open(home / "missing", sys::File::Access::Input);
        ADD_FAILURE() << "opened a missing file";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), 53);
    }
    EXPECT_THROW(f.open(home.path(), sys::File::Access::Append), sys::RtError);
}

TEST(Spawn, SplitsArgumentsAtBlanksOutsideQuotes) {
    struct Case {
        const char* line;
        std::vector<std::string> args;
    } cases[] = {
        {"a b  c", {"a", "b", "c"}},
        {"\"/opt/my app\" --x=\"a b\"", {"/opt/my app", "--x=a b"}},
        {"\"\" x", {"", "x"}},
        {"  ", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(sys::splitArguments(c.line), c.args);
    }
}

TEST(Spawn, RunsRealProgramsWithoutAShell) {
    int status = -1;
    EXPECT_EQ(sys::spawner().run({"/bin/true"}, status), 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(sys::spawner().run({"false"}, status), 0);
    EXPECT_EQ(status, 1);
    std::string out;
    EXPECT_EQ(sys::spawner().run({"echo", "a;b", "$HOME"}, status, &out), 0);
    EXPECT_EQ(out, "a;b $HOME\n");  // no shell saw it
    EXPECT_EQ(sys::spawner().run({"/no/such/program"}, status), ENOENT);
    EXPECT_EQ(sys::spawner().start({"/bin/true"}), 0);

    setenv("PRINTER", "desk", 1);
    EXPECT_EQ(sys::defaultPrinter(), "desk");
    unsetenv("PRINTER");
}
