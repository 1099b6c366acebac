#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "core/ini_alt_files.h"
#include "core/ini_store.h"
#include "core/shell_hooks.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "platform/sys/clock.h"
#include "platform/sys/rt_error.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"
#include "tests/support/error_number.h"

using testsupport::errorOf;

namespace {

using testsupport::readFile;
using testsupport::writeFile;

class IniStore : public ::testing::Test {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        gIniMissingMode = gIniMissingModeDflt = 0;
        gIniNoWrite = gIniQuietRC = gIniInAltMove = false;
        gIniAltLists.clear();
        INI_AltListsLoad({});
    }
    testsupport::TempHome home;
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder responder;
    std::string file = home / "store.ini";
};

TEST_F(IniStore, MissingEntryModes) {
    writeFile(file, "[S]\nthere=1\n");
    struct Case {
        int mode;
        std::string expected;
    } cases[] = {{1, kIniNotFound}, {3, ""}, {4, "0"}, {7, "dflt"}, {9, kIniNotFound}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(INI_Get("S", "none", file, c.mode, "dflt"), c.expected);
        EXPECT_EQ(gIniMissingMode, 0);
    }
    EXPECT_EQ(errorOf([&] { INI_Get("S", "none", file, 2); }), 1001);
    EXPECT_EQ(INI_Get("S", "there", file, 7, "dflt"), "1");

    // -1 keeps the mode the caller set, for one read only.
    gIniMissingMode = 3;
    EXPECT_EQ(INI_Get("S", "none", file, -1), "");
    EXPECT_EQ(gIniMissingMode, 0);

    responder.press("Entry or section of ini file missing.", "&OK");
    EXPECT_EQ(INI_Get("S", "none", file, 0), "");
    const core::DlgView& box = responder.shown().back();
    EXPECT_NE(box.message.find("Ini file: " + file + "\r. Section: S\r. Entry: none\r\r"
                               "Error ignored but no data read from ini file.\r\r"
                               "Press OK to continue. Press Cancel to Stop with Error."),
              std::string::npos);
    responder.press("Entry or section of ini file missing.", "&Cancel");
    EXPECT_EQ(errorOf([&] { INI_Get("S", "none", file, 0); }), 1066);
}

TEST_F(IniStore, NumberAndFlagReaders) {
    writeFile(file, "[S]\nn= 2.5 \nbig=40000\nt=yes\nf=False\n");
    EXPECT_EQ(INI_GetInt("S", "n", file, 1), 2);
    EXPECT_EQ(errorOf([&] { INI_GetInt("S", "big", file, 1); }), 6);
    EXPECT_EQ(INI_GetInt("S", "none", file, 1), kIniMissingNumber);
    EXPECT_EQ(INI_GetInt("S", "none", file, 3), 0);
    EXPECT_EQ(INI_GetInt("S", "none", file, 7), -1);
    responder.press("Entry or section of ini file missing.", "&OK");
    EXPECT_EQ(INI_GetInt("S", "none", file, 0), 0);
    EXPECT_DOUBLE_EQ(INI_GetNumVar("S", "n", file, 1), 2.5);
    EXPECT_DOUBLE_EQ(INI_GetNumVar("S", "none", file, 1), kIniMissingNumber);

    EXPECT_TRUE(INI_GetFlag("S", "t", file, 3));
    EXPECT_FALSE(INI_GetFlag("S", "f", file, 3));
    EXPECT_TRUE(INI_GetFlag("S", "none", file, 1));
    EXPECT_FALSE(INI_GetFlag("S", "none", file, 3));
    EXPECT_TRUE(INI_GetFlag("S", "none", file, 5));
    EXPECT_EQ(INI_GetBool("S", "t", file), -1);
    EXPECT_EQ(INI_GetBool("S", "f", file), 0);
}

TEST_F(IniStore, AnyTextSurvivesWriteAndRead) {
    const std::string alphabet = std::string("ab =[]\"!|{}~@#\r\n\t\xA0 \0", 20);
    std::mt19937 rng(11);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    for (int i = 0; i < 300; ++i) {
        std::string value, entry = "e" + std::to_string(i), section = "S[" + std::to_string(i % 3) + "]";
        for (int k = pick(14); k > 0; --k) value += alphabet[static_cast<size_t>(pick(int(alphabet.size())))];
        if (i % 5 == 0) entry += "=x\r\ny";
        SCOPED_TRACE(::testing::PrintToString(value));
        INI_Put(section, entry, value, file, 1);
        ASSERT_EQ(INI_Get(section, entry, file, 1), value);
    }
    INI_Put("S", "flag", true, file);
    INI_Put("S", "num", 2.5, file);
    INI_Put("S", "count", 12L, file);
    EXPECT_EQ(INI_Get("S", "flag", file, 1), "True");
    EXPECT_EQ(INI_Get("S", "num", file, 1), "2.5");
    EXPECT_EQ(INI_Get("S", "count", file, 1), "12");
    INI_Put("S", "date", core::Variant(core::DateTime{45000.5}), file);
    EXPECT_EQ(INI_Get("S", "date", file, 1), core::vbCStr(core::DateTime{45000.5}));
}

// A name beginning with "[" must not be written as a section line, which would lose it
// and hide the entries written after it.
TEST_F(IniStore, EntryNamesBeginningWithABracketRoundTrip) {
    const char* names[] = {"[x", "[x]", "  [y]z", "]w", "a[b]", "[", "[]=["};
    for (const char* name : names) {
        INI_Put("S", name, std::string("v") + name, file, 1);
        INI_Put("S", "after", "still here", file, 1);
    }
    for (const char* name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(INI_Get("S", name, file, 1), std::string("v") + name);
    }
    EXPECT_EQ(INI_Get("S", "after", file, 1), "still here");
    EXPECT_NE(readFile(file).find("a[b]=va[b]"), std::string::npos) << "other names keep their brackets";
}

TEST_F(IniStore, HandEditedFilesReadAsWritten) {
    writeFile(file, "[Main]\r\n  Key One = some value  \r\nq=\"quoted\"\r\n\r\n[ Other ]\r\nx=1\r\n");
    EXPECT_EQ(INI_Get("main", "key one", file, 1), "some value");
    EXPECT_EQ(INI_Get("Main", "q", file, 1), "quoted");
    EXPECT_EQ(INI_Get("OTHER", "X", file, 1), "1");
    INI_Put("Main", "q", "\"kept\"", file);
    EXPECT_EQ(INI_Get("Main", "q", file, 1), "\"kept\"");
    EXPECT_EQ(INI_Get("Main", "Key One", file, 1), "some value");
}

TEST_F(IniStore, LongValuesAreSplitIntoParts) {
    std::string value;
    for (int i = 0; value.size() < 63999; ++i) value += "line " + std::to_string(i) + "|";
    value.resize(63999);
    INI_Put("S", "long", value, file);
    EXPECT_EQ(INI_Get("S", "long", file, 1), value);
    EXPECT_EQ(INI_Get("S", "SplitEntry.0.long", file, 1).size(), 60800u);
    EXPECT_EQ(INI_Get("S", "SplitEntry.1.long", file, 1).size(), 3199u);
    EXPECT_EQ(INI_Get("S", "SplitEntry.long", file, 1), "1");
    EXPECT_EQ(readFile(file).find("\nlong="), std::string::npos);

    INI_Put("S", "long", "short", file);
    EXPECT_EQ(INI_Get("S", "long", file, 1), "short");
    EXPECT_EQ(readFile(file).find("SplitEntry."), std::string::npos);

    // Control characters grow the stored text; parts still fit the read buffer.
    std::string tabs(50000, '\t');
    INI_Put("S", "tabs", tabs, file);
    EXPECT_EQ(INI_Get("S", "tabs", file, 1), tabs);
    EXPECT_FALSE(INI_EraseEntry("S", "tabs", file, 1));
    EXPECT_EQ(INI_Get("S", "tabs", file, 1), kIniNotFound);
    EXPECT_EQ(readFile(file).find("SplitEntry."), std::string::npos);

    std::string v199(199, 'v');
    INI_Put("S", "v199", v199, file);
    EXPECT_EQ(INI_Get("S", "v199", file, 1), v199);
    writeFile(home / "huge.ini", "[S]\nk=" + std::string(70000, 'h') + "\n");
    EXPECT_EQ(errorOf([&] { INI_Get("S", "k", home / "huge.ini", 1); }), 1413);
}

TEST_F(IniStore, ReservedNamesAndWriteGuards) {
    EXPECT_EQ(errorOf([&] { INI_Put("altno.x", "k", "v", file); }), 8011);
    EXPECT_EQ(errorOf([&] { INI_Put("S", "AltNo.k", "v", file); }), 8012);
    EXPECT_EQ(errorOf([&] { INI_Put("S", "splitentry.k", "v", file); }), 8013);
    // The store's own writes of such names leave the check on for the next caller.
    INI_PutReservedName("S", "AltNo.k", "v", file, -1);
    EXPECT_EQ(errorOf([&] { INI_Put("S", "AltNo.k", "v", file); }), 8012);

    std::string before = readFile(file);
    gIniNoWrite = true;
    INI_Put("S", "k", "changed", file);
    gIniNoWrite = false;
    EXPECT_EQ(readFile(file), before);

    gCR.clear();
    gLF.clear();
    EXPECT_EQ(errorOf([&] { INI_Put("S", "k", "v", file); }), 8871);
    TXT_CrLfInit();
}

TEST_F(IniStore, FailedWritesAreReported) {
    writeFile(file, "[S]\nk=1\n");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    responder.press("Return code zero indicating error from attempt to write to ini file: " + file, "&OK");
    INI_Put("S", "k", "2", file, 0);
    EXPECT_TRUE(gIniLastFailed);
    EXPECT_NE(responder.shown().back().message.find("Permission denied"), std::string::npos);
    EXPECT_EQ(errorOf([&] { INI_Put("S", "k", "2", file, 2); }), 1002);
    INI_Put("S", "k", "2", file, 1);  // says nothing
    gIniQuietRC = true;
    INI_Put("S", "k", "2", file, -1);
    EXPECT_FALSE(gIniQuietRC);
    EXPECT_TRUE(gIniLastFailed);
    EXPECT_EQ(INI_Get("S", "k", file, 1), "1");
    ::chmod(file.c_str(), 0644);
    INI_Put("S", "k", "2", file, 0);
    EXPECT_FALSE(gIniLastFailed);
}

TEST_F(IniStore, EraseEncodesNamesAsWritingDoes) {
    INI_Put("S[1]", "a=b", "v", file);
    INI_Put("S[1]", "c\r\nd", "w", file);
    EXPECT_FALSE(INI_EraseEntry("S[1]", "a=b", file, 1));
    EXPECT_FALSE(INI_EraseEntry("S[1]", "c\r\nd", file, 1));
    EXPECT_EQ(INI_Get("S[1]", "a=b", file, 1), kIniNotFound);
    EXPECT_EQ(INI_Get("S[1]", "c\r\nd", file, 1), kIniNotFound);
    INI_Put("S[1]", "x", "1", file);
    INI_EraseSection("S[1]", file, 1);
    EXPECT_EQ(INI_Get("S[1]", "x", file, 1), kIniNotFound);
    INI_Flush(file, 1);
    EXPECT_FALSE(gIniLastFailed);
}

class Routes : public core::ShellHooks {
public:
    std::string target;
    std::string iniSectFileGet(const std::string& section, const std::string& key) override {
        return section == "Main" && key == "AcD" ? target : std::string();
    }
};

TEST_F(IniStore, DefaultFileFollowsTheShellsRouting) {
    Routes routes;
    routes.target = home / "logfmts.ini";
    core::ScopedShellHooks routed(&routes);
    INI_Put("Main", "AcD", "fmt1|fmt2", "::*");
    EXPECT_EQ(INI_Get("Main", "AcD", routes.target, 1), "fmt1|fmt2");
    EXPECT_EQ(INI_Get("Main", "AcD", "::*", 1), "fmt1|fmt2");
    EXPECT_EQ(INI_Get("Main", "acd", "::*", 1), kIniNotFound);
}

// Settings kept by the application itself: reads and writes of section "App" are
// answered by the hook and never reach the file.
class KeptSettings : public core::ShellHooks {
public:
    std::string written;
    std::string iniValueHook(int code, const std::string& section, const std::string& entry,
                             const std::string& file, const std::string& value) override {
        if (section != "App") return {};
        if (code == 2) written = value;
        return "kept:" + entry;
    }
};

TEST_F(IniStore, TheValueHookAnswersBeforeTheFile) {
    KeptSettings kept;
    core::ScopedShellHooks installed(&kept);
    INI_Put("App", "x", "new", file);
    INI_Put("Other", "x", "plain", file);
    EXPECT_EQ(kept.written, "new");
    EXPECT_EQ(INI_Get("App", "x", file, 1), "kept:x");
    EXPECT_EQ(INI_Get("Other", "x", file, 1), "plain");
    EXPECT_EQ(readFile(file).find("new"), std::string::npos);
}

TEST_F(IniStore, CountersCopiesAndUniqueNames) {
    INI_Put("S", "c", 9L, file);
    EXPECT_EQ(INI_CounterNext("S", "c", file, true, 1, 10, 0), 1);
    EXPECT_EQ(INI_Get("S", "c", file, 1), "1");
    EXPECT_EQ(INI_CounterNext("S", "c", file, false, 1, 0, 0), 2);
    EXPECT_EQ(INI_CounterNext("S", "new", file, true, 7, 0, 41), 42);

    std::string ts, te, tf;
    INI_CopyEntry("S", "none", file, 6, ts, te, tf);
    EXPECT_EQ(INI_Get("S", "none", file, 1), kIniNotFound);
    EXPECT_EQ(readFile(file).find("none"), std::string::npos);
    INI_CopyEntry("S", "none", file, 1, ts, te, tf);
    EXPECT_EQ(INI_Get("S", "none", file, 3), "");  // the sentinel text reads as missing
    std::string t2s = "T", t2e, t2f = home / "other.ini";
    INI_CopyEntry("S", "c", file, 1, t2s, t2e, t2f);
    EXPECT_EQ(INI_Get("T", "c", t2f, 1), "1");

    std::string message;
    EXPECT_TRUE(INI_CheckUniqueName("N", "L", file, "alpha", false, message, false));
    EXPECT_FALSE(INI_CheckUniqueName("N", "L", file, "  Alpha ", false, message, false));
    EXPECT_NE(message.find("Name already exists."), std::string::npos);
    EXPECT_FALSE(INI_CheckUniqueName("N", "L", file, "altno.x", false, message, false));
    EXPECT_EQ(message, "Name cannot be prefixed with \"AltNo.\" or \"SplitEntry.\".");
    responder.press("Name cannot be prefixed", "&OK");
    EXPECT_FALSE(INI_CheckUniqueName("N", "L", file, "SplitEntry.y", true, message, false));
    EXPECT_TRUE(INI_CheckUniqueName("N", "L", file, "beta", false, message, true));
    EXPECT_EQ(INI_Get("N", "L", file, 1), "beta|alpha");

    sys::ManualClock clock;
    clock.setDateTimeSerial(45292.75);  // 2024-01-01 18:00
    sys::setClock(&clock);
    EXPECT_EQ(INI_UniqueDatedName("N", "D", file, 0, message, false), "20240101.1");
    EXPECT_EQ(INI_UniqueDatedName("N", "D", file, 0, message, false), "20240101.2");
    sys::setClock(nullptr);
}

// A link to an alternate list past any number (an edited or damaged file) leads
// nowhere; it does not end the program.
TEST_F(IniStore, ALinkNumberPastAnyListLeadsNowhere) {
    INI_AltListsLoad(home.path());
    for (const std::string& head : {std::string(">>99999999999999999999"), ">>" + std::string(400, '9')}) {
        SCOPED_TRACE(head.size());
        std::string alt;
        long item = 0;
        EXPECT_FALSE(INI_AltFileFor("Big", "e1", alt, head, item));
        EXPECT_EQ(INI_LinkTargetFile("Big", "e1", file, head), "");
    }
}

// Entries of roughly 5,000 bytes: ten of them fill a file.
std::string filler(int i) { return std::string(4990, static_cast<char>('a' + i % 26)); }

TEST_F(IniStore, FullFilesOverflowIntoAlternateFilesFoundAfterARestart) {
    INI_AltListsLoad(home.path());
    for (int i = 0; i < 14; ++i) INI_Put("Big", "e" + std::to_string(i), filler(i), file);
    INI_Put("Small", "k", "v", file);
    EXPECT_LE(std::filesystem::file_size(file), 50000u);
    const std::string alt = home / "store.0.ini";
    ASSERT_TRUE(std::filesystem::exists(alt));
    for (int i = 0; i < 14; ++i) ASSERT_TRUE(INI_Get("Big", "e" + std::to_string(i), file, 1) == filler(i)) << i;

    // A restart forgets the lists in memory; AltFiles.ini brings them back.
    gIniAltLists.clear();
    INI_AltListsLoad(home.path());
    for (int i = 0; i < 14; ++i) ASSERT_TRUE(INI_Get("Big", "e" + std::to_string(i), file, 1) == filler(i)) << i;
    EXPECT_EQ(INI_Get("Small", "k", file, 1), "v");

    // Overwriting a moved entry and erasing it reach the alternate file.
    INI_Put("Big", "e13", "short now", file);
    EXPECT_EQ(INI_Get("Big", "e13", file, 1), "short now");
    EXPECT_FALSE(INI_EraseEntry("Big", "e13", file, 1));
    EXPECT_EQ(INI_Get("Big", "e13", file, 1), kIniNotFound);
    INI_EraseSection("Big", file, 1);
    for (int i = 0; i < 14; ++i) EXPECT_EQ(INI_Get("Big", "e" + std::to_string(i), file, 1), kIniNotFound);
    EXPECT_EQ(readFile(alt).find("[Big]"), std::string::npos);
}

TEST_F(IniStore, FullBaseFilesMoveWholeSections) {
    INI_AltListsLoad(home.path());
    for (int s = 0; s < 4; ++s)
        for (int i = 0; i < 3; ++i)
            INI_Put("Sec" + std::to_string(s), "e" + std::to_string(i), filler(s * 3 + i), file);
    std::string more(9000, 'm');
    for (int i = 0; i < 6; ++i) INI_Put("Sec9", "m" + std::to_string(i), more, file);
    for (int s = 0; s < 4; ++s)
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(INI_Get("Sec" + std::to_string(s), "e" + std::to_string(i), file, 1) == filler(s * 3 + i));
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(INI_Get("Sec9", "m" + std::to_string(i), file, 1) == more) << i;
    int files = 0;
    for (const auto& f : std::filesystem::directory_iterator(home.path())) {
        if (f.path().filename() == "AltFiles.ini") continue;
        ++files;
        EXPECT_LE(f.file_size(), 50000u) << f.path();
    }
    EXPECT_GE(files, 3);
    EXPECT_EQ(readFile(file).find("[Sec0]"), std::string::npos) << "the first section moved out";
    gIniAltLists.clear();
    INI_AltListsLoad(home.path());
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(INI_Get("Sec9", "m" + std::to_string(i), file, 1) == more) << i;
}

}  // namespace
