#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/profile/profile.h"
#include "tests/support/temp_home.h"

namespace {

using testsupport::readFile;
using testsupport::TempHome;
using testsupport::writeFile;

constexpr const char* kMissing = "*** not found ***";

std::string get(const std::string& file, std::string_view section, std::string_view key,
                std::size_t size = 64000) {
    std::string out;
    profile::getString(section, key, kMissing, out, size, file);
    return out;
}

TEST(ProfileRead, HandEditedFiles) {
    struct Case {
        const char* name;
        const char* bytes;
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"plain", "[Main]\nk=v\n", "Main", "k", "v"},
        {"names ignore case", "[MaIn]\nKeY=v\n", "mAiN", "kEy", "v"},
        {"blanks around everything", "  [ Main ]  \n\t key \t=  a b \t\n", "Main", "key", "a b"},
        {"one quote pair dropped", "[M]\nk=  \"\"x\"\"  \n", "M", "k", "\"x\""},
        {"lone quote kept", "[M]\nk=\"x\n", "M", "k", "\"x"},
        {"single quotes kept", "[M]\nk='x'\n", "M", "k", "'x'"},
        {"CR LF", "[M]\r\na=1\r\nb=2\r\n", "M", "b", "2"},
        {"CR only", "[M]\ra=1\rb=2", "M", "b", "2"},
        {"no final line end", "[M]\nk=last", "M", "k", "last"},
        {"equals inside value", "[M]\nk=a=b\n", "M", "k", "a=b"},
        {"semicolon is no comment", "[M]\n;k=1\n", "M", ";k", "1"},
        {"first key wins", "[M]\nk=1\nK=2\n", "M", "k", "1"},
        {"first section wins", "[M]\na=1\n[m]\nk=2\n", "M", "k", kMissing},
        {"entries before any section", "k=1\n[M]\n", "M", "k", kMissing},
        {"key of another section", "[A]\nk=1\n[B]\nj=2\n", "B", "k", kMissing},
        {"line without equals", "[M]\nk\n", "M", "k", kMissing},
        {"empty value", "[M]\nk=\n", "M", "k", ""},
        {"bytes kept", "[M]\nk=\xC3\xA9\xA0\xA0x\n", "M", "k", "\xC3\xA9\xA0\xA0x"},
        {"missing section", "[M]\nk=1\n", "N", "k", kMissing},
    };
    TempHome home;
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = home / ("f" + std::to_string(n++) + ".ini");
        writeFile(file, c.bytes);
        EXPECT_EQ(get(file, c.section, c.key), c.expected);
    }
    EXPECT_EQ(get(home / "absent.ini", "M", "k"), kMissing);
    EXPECT_EQ(get("", "M", "k"), kMissing);
}

TEST(ProfileRead, BoundedBufferReportsAFullBuffer) {
    TempHome home;
    std::string file = home / "b.ini";
    std::string v199(199, 'x');
    writeFile(file, "[M]\nk=" + v199 + "\nshort=abc\n");
    std::string out;
    EXPECT_EQ(profile::getString("M", "k", "", out, 200, file), 199u);
    EXPECT_EQ(out, v199);
    EXPECT_EQ(profile::getString("M", "k", "", out, 100, file), 99u);
    EXPECT_EQ(out, std::string(99, 'x'));
    EXPECT_EQ(profile::getString("M", "k", "", out, 64000, file), 199u);
    EXPECT_EQ(profile::getString("M", "short", "", out, 200, file), 3u);
    EXPECT_EQ(profile::getString("M", "none", "dflt", out, 200, file), 4u);
    EXPECT_EQ(out, "dflt");
    EXPECT_EQ(profile::getString("M", "none", "dflt", out, 3, file), 2u);
    EXPECT_EQ(out, "df");
    EXPECT_EQ(profile::getString("M", "k", "", out, 0, file), 0u);
    EXPECT_EQ(out, "");
}

TEST(ProfileRead, NameListsAreNulSeparated) {
    TempHome home;
    std::string file = home / "n.ini";
    writeFile(file, "[One]\na=1\nB=2\na=3\n[Two]\n[one]\nc=4\n");
    std::string out;
    EXPECT_EQ(profile::getSectionNames(out, 100, file), 8u);
    EXPECT_EQ(out, std::string("One\0Two\0\0", 9));
    EXPECT_EQ(profile::getKeyNames("ONE", out, 100, file), 4u);
    EXPECT_EQ(out, std::string("a\0B\0\0", 5));
    EXPECT_EQ(profile::getSectionNames(out, 6, file), 4u);  // cut: last name cut, two NULs
    EXPECT_EQ(out, std::string("One\0\0\0", 6));
    EXPECT_EQ(profile::getKeyNames("none", out, 100, file), 0u);
    EXPECT_EQ(out, std::string(1, '\0'));
}

TEST(ProfileWrite, EditsKeepTheRestOfTheFile) {
    TempHome home;
    std::string file = home / "w.ini";
    writeFile(file, "; notes\r\n[Main]\r\n Key = old \r\nother=1\r\n\r\n[Next]\r\nx=2\r\n");
    ASSERT_TRUE(profile::writeString("main", "KEY", "new", file).ok());
    ASSERT_TRUE(profile::writeString("Main", "added", "3", file).ok());
    ASSERT_TRUE(profile::writeString("Third", "t", " padded ", file).ok());
    EXPECT_EQ(readFile(file),
              "; notes\n[Main]\nKey=new\nother=1\nadded=3\n\n[Next]\nx=2\n[Third]\nt= padded \n");
    EXPECT_EQ(get(file, "third", "T"), "padded");

    ASSERT_TRUE(profile::writeString("Main", "other", std::nullopt, file).ok());
    ASSERT_TRUE(profile::writeString("next", std::nullopt, std::nullopt, file).ok());
    EXPECT_EQ(readFile(file), "; notes\n[Main]\nKey=new\nadded=3\n\n[Third]\nt= padded \n");
}

TEST(ProfileWrite, ErasesDuplicatesSoTheEntryReadsAsMissing) {
    TempHome home;
    std::string file = home / "d.ini";
    writeFile(file, "[S]\nk=1\nK=2\n[T]\nk=3\n[s]\nk=4\n");
    ASSERT_TRUE(profile::writeString("S", "k", std::nullopt, file).ok());
    EXPECT_EQ(get(file, "S", "k"), kMissing);
    EXPECT_EQ(get(file, "T", "k"), "3");
    ASSERT_TRUE(profile::writeString("s", std::nullopt, std::nullopt, file).ok());
    EXPECT_EQ(readFile(file), "[T]\nk=3\n");
}

TEST(ProfileWrite, CreatesFilesButNotFolders) {
    TempHome home;
    std::string file = home / "new.ini";
    ASSERT_TRUE(profile::writeString("S", "k", std::nullopt, file).ok());
    ASSERT_TRUE(profile::writeString("S", std::nullopt, std::nullopt, file).ok());
    EXPECT_FALSE(std::filesystem::exists(file)) << "erasing created a file";
    ASSERT_TRUE(profile::writeString("S", "k", "v", file).ok());
    EXPECT_EQ(readFile(file), "[S]\nk=v\n");

    auto r = profile::writeString("S", "k", "v", home / "nodir/x.ini");
    EXPECT_EQ(r.error, ENOENT);
    EXPECT_FALSE(r.message().empty());
    EXPECT_FALSE(std::filesystem::exists(home / "nodir"));
    EXPECT_EQ(profile::writeString("S", "k", "v", "").error, ENOENT);
    EXPECT_EQ(profile::flush("").error, ENOENT);
    EXPECT_TRUE(profile::flush(file).ok());
}

TEST(ProfileWrite, RefusesLineBreaksThatWouldAddLines) {
    TempHome home;
    std::string file = home / "lb.ini";
    writeFile(file, "[S]\nk=1\n");
    EXPECT_EQ(profile::writeString("S", "k", "1\n[Evil]\nx=2", file).error, EINVAL);
    EXPECT_EQ(profile::writeString("S", "a\rb", "1", file).error, EINVAL);
    EXPECT_EQ(profile::writeString("S\n", "k", "1", file).error, EINVAL);
    EXPECT_EQ(readFile(file), "[S]\nk=1\n");
}

TEST(ProfileWrite, FailuresLeaveTheFileWhole) {
    TempHome home;
    std::string file = home / "ro.ini";
    writeFile(file, "[S]\nk=1\n");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    EXPECT_EQ(profile::writeString("S", "k", "2", file).error, EACCES);
    EXPECT_EQ(get(file, "S", "k"), "1");
    ::chmod(file.c_str(), 0644);

    std::filesystem::create_directory(home / "dir.ini");
    EXPECT_EQ(profile::writeString("S", "k", "2", home / "dir.ini").error, EISDIR);
}

// A file-size limit makes the write fail as a full disk would.
TEST(ProfileWrite, FullDiskKeepsTheOldFileAndLeavesNoTemporary) {
    TempHome home;
    std::string file = home / "full.ini";
    writeFile(file, "[S]\nk=1\n");
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    auto r = profile::writeString("S", "k", std::string(200, 'x'), file);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(r.error, EFBIG);
    EXPECT_EQ(readFile(file), "[S]\nk=1\n");
    EXPECT_EQ(get(file, "S", "k"), "1");
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(home.path())) ++files;
    EXPECT_EQ(files, 1);
}

TEST(ProfileWrite, KeepsModeAndFollowsSymbolicLinks) {
    TempHome home;
    std::string real = home / "real.ini";
    writeFile(real, "[S]\nk=1\n");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    std::filesystem::create_symlink(real, home / "link.ini");
    ASSERT_TRUE(profile::writeString("S", "k", "2", home / "link.ini").ok());
    EXPECT_TRUE(std::filesystem::is_symlink(home / "link.ini"));
    EXPECT_EQ(readFile(real), "[S]\nk=2\n");
    struct stat st{};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(ProfileCache, SeesChangesMadeBehindItsBack) {
    TempHome home;
    std::string file = home / "c.ini";
    writeFile(file, "[S]\nk=1\n");
    EXPECT_EQ(get(file, "S", "k"), "1");
    // Same size, same moment: only the content tells.
    writeFile(file, "[S]\nk=2\n");
    EXPECT_EQ(get(file, "S", "k"), "2");
    ASSERT_TRUE(profile::writeString("S", "j", "3", file).ok());
    writeFile(file, "[S]\nk=4\nj=5\n");
    EXPECT_EQ(get(file, "S", "j"), "5");
    // An edit made after a cached write must not be overwritten by the next write.
    ASSERT_TRUE(profile::writeString("S", "x", "6", file).ok());
    EXPECT_EQ(readFile(file), "[S]\nk=4\nj=5\nx=6\n");
    std::filesystem::remove(file);
    EXPECT_EQ(get(file, "S", "k"), kMissing);
}

}  // namespace

namespace {

TEST(ProfileWrite, SizeLimitRefusesGrowthOfAFileThatHoldsSomething) {
    TempHome home;
    std::string file = home / "cap.ini";
    // An empty file takes any entry, however large.
    ASSERT_TRUE(profile::writeString("S", "big", std::string(100, 'x'), file, 50).ok());
    EXPECT_EQ(profile::writeString("S", "more", "1", file, 50).error, EFBIG);
    // Shrinking or keeping the size is always allowed.
    EXPECT_TRUE(profile::writeString("S", "big", std::string(90, 'y'), file, 50).ok());
    EXPECT_EQ(get(file, "S", "more"), kMissing);
    EXPECT_TRUE(profile::writeString("S", "more", "1", file).ok());
}

TEST(ProfileWrite, SectionsMoveAsWholeLines) {
    TempHome home;
    std::string from = home / "from.ini";
    std::string to = home / "to.ini";
    writeFile(from, "[A]\na=1\n\n k = \"q\" \n[B]\nb=2\n");
    auto lines = profile::sectionLines("a", from);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, (std::vector<std::string>{"a=1", " k = \"q\" "}));
    EXPECT_FALSE(profile::sectionLines("C", from).has_value());

    ASSERT_TRUE(profile::writeSection("A", *lines, to).ok());
    ASSERT_TRUE(profile::writeSection("A", {"x=9"}, to).ok());  // replaces the lines
    ASSERT_TRUE(profile::writeSection("Z", {"z=1"}, to).ok());
    EXPECT_EQ(readFile(to), "[A]\nx=9\n[Z]\nz=1\n");
    EXPECT_EQ(profile::writeSection("A", {"x\n[Evil]"}, to).error, EINVAL);
}

}  // namespace

namespace {

TEST(ProfileCache, AReadScopeChecksEachFileOnce) {
    TempHome home;
    std::string file = home / "scope.ini";
    writeFile(file, "[S]\nk=1\n");
    {
        profile::ReadScope scope;
        EXPECT_EQ(get(file, "S", "k"), "1");
        writeFile(file, "[S]\nk=2\n");
        EXPECT_EQ(get(file, "S", "k"), "1");
        // A write goes by the disk, so the change made meanwhile is kept and now seen.
        ASSERT_TRUE(profile::writeString("S", "j", "3", file).ok());
        EXPECT_EQ(get(file, "S", "j"), "3");
        EXPECT_EQ(get(file, "S", "k"), "2");
    }
    writeFile(file, "[S]\nk=4\n");
    EXPECT_EQ(get(file, "S", "k"), "4");
}

}  // namespace
