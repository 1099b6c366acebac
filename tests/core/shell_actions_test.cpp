#include "core/shell_actions.h"

#include <cerrno>
#include <cstdlib>

#include "core/ini_store.h"
#include "core/shell_hooks.h"
#include "core/system_info.h"
#include "platform/sys/clock.h"
#include "platform/sys/rt_error.h"
#include "platform/sys/spawn.h"
#include "tests/core/files_fixture.h"

using testsupport::writeFile;

namespace {

// Records what would be started; answers with the queued errno and exit status.
class FakeSpawner : public sys::Spawner {
public:
    FakeSpawner() { sys::setSpawner(this); }
    ~FakeSpawner() override { sys::setSpawner(nullptr); }
    int start(const std::vector<std::string>& argv) override {
        started.push_back(argv);
        return startError;
    }
    int run(const std::vector<std::string>& argv, int& exitStatus, std::string* output) override {
        ran.push_back(argv);
        exitStatus = status;
        if (output) *output = out;
        return runError;
    }
    std::vector<std::vector<std::string>> started, ran;
    int startError = 0, runError = 0, status = 0;
    std::string out;
};

class ShellActions : public FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        setenv("PRINTER", "laser", 1);
    }
    void TearDown() override {
        unsetenv("PRINTER");
        FilesTest::TearDown();
    }
    FakeSpawner spawner;
};

}  // namespace

TEST_F(ShellActions, TemplatesBecomeCommandLinesAndArguments) {
    const std::string file = "/home/me/my page.htm";
    struct Case {
        const char* name;
        std::string tmpl;
        std::string line;
        std::vector<std::string> argv;
        bool dde;
    } cases[] = {
        {"quoted program and file", "/usr/bin/viewer>>O", "\"/usr/bin/viewer\" \"" + file + "\"",
         {"/usr/bin/viewer", file}, false},
        {"program given in quotes", "\"/opt/my viewer/run\">>O", "\"/opt/my viewer/run\" \"" + file + "\"",
         {"/opt/my viewer/run", file}, false},
        {"no quotes", "/usr/bin/viewer<noquotes<>>O", "\"/usr/bin/viewer\" " + file,
         {"/usr/bin/viewer", file}, false},
        {"extra parameters", "viewer<xparm<-n --tab>>O", "\"viewer\" -n --tab \"" + file + "\"",
         {"viewer", "-n", "--tab", file}, false},
        {"no blank before the file", "viewer<xparm<--file=<NoSpcBefFileNm<>>O",
         "\"viewer\" --file=\"" + file + "\"", {"viewer", "--file=" + file}, false},
        {"no blank between", "viewer<xparm<<NoSpcBetwEXEnPARM<.bin>>O", "\"viewer\".bin \"" + file + "\"",
         {"viewer.bin", file}, false},
        {"substitute", "Substitute %1 In: browser --new %1 --title %l", "browser --new " + file +
         " --title " + file, {"browser", "--new", file, "--title", file}, false},
        {"folder placeholder", "Substitute %1 In: fm %D", "fm /home/me/", {"fm", "/home/me/"}, false},
        {"printer placeholders", "Substitute %1 In: lp -d %2%3%4 %1", "lp -d laser " + file,
         {"lp", "-d", "laser", file}, false},
        {"dde", "viewer<xparm<<dde<>>O", "\"viewer\" \"" + file + "\"", {"viewer", file}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool dde = !c.dde, shortName = true;
        std::vector<std::string> argv;
        EXPECT_EQ(SHELDDE_PrepTemplate(c.tmpl, file, dde, shortName, argv), c.line);
        EXPECT_EQ(argv, c.argv);
        EXPECT_EQ(dde, c.dde);
        EXPECT_FALSE(shortName);
    }
}

TEST_F(ShellActions, FileNamesCannotAddArgumentsOrPlaceholders) {
    const std::string evil = "/tmp/a\" --exec=rm \"%D.htm";
    bool dde, shortName;
    std::vector<std::string> argv;
    SHELDDE_PrepTemplate("Substitute %1 In: viewer %1 %D", evil, dde, shortName, argv);
    EXPECT_EQ(argv, (std::vector<std::string>{"viewer", evil, "/tmp/"}));
    SHELDDE_PrepTemplate("viewer<noquotes<>>O", evil, dde, shortName, argv);
    EXPECT_EQ(argv, (std::vector<std::string>{"viewer", evil}));
}

TEST_F(ShellActions, ParsedParts) {
    TemplateParts p;
    SHELDDE_ParseTemplate(" \"/bin/x\" <xparm<-a<shortname< -b>>P tail", p);
    EXPECT_EQ(p.program, "/bin/x");
    EXPECT_EQ(p.extraParams, "-a -b");
    EXPECT_EQ(p.fileNamePart, ">>P tail");
    EXPECT_TRUE(p.shortName);
    EXPECT_FALSE(p.dde || p.noQuotes || p.noSpcBefFileNm || p.noSpcBetwExeParm);
}

TEST_F(ShellActions, MissingPrinterEmptiesThePlaceholders) {
    unsetenv("PRINTER");
    spawner.runError = ENOENT;  // no lpstat either
    gIniMissingMode = 1;        // the message only comes with a mode that reports it
    responder.press("Cannot print. No printers have been defined.", "&OK");
    std::string text = "print %1 on %2 in %d";
    SHELDDE_SubstPlaceholders(text, "/x/f.htm", false);
    EXPECT_EQ(text, "print  on  in %d");  // only the file and printer placeholders go
    EXPECT_EQ(gIniMissingMode, 1);
    // Under mode 0 a missing printer reads as empty and nothing is said.
    gIniMissingMode = 0;
    text = "[%2]";
    SHELDDE_SubstPlaceholders(text, "/x/f.htm", false);
    EXPECT_EQ(text, "[]");

    spawner.runError = 0;
    spawner.out = "system default destination: office\n";
    text = "%2|%3|%4";
    SHELDDE_SubstPlaceholders(text, "/x/f.htm", false);
    EXPECT_EQ(text, "office||");
}

TEST_F(ShellActions, DoActionStartsWithoutAShellAndReportsFailures) {
    DDEDefs defs;
    bool skipAll = false;
    EXPECT_TRUE(SHELDDE_DoAction("\"viewer\" \"/f\"", {"viewer", "/f"}, false, false, defs, skipAll));
    ASSERT_EQ(spawner.started.size(), 1u);
    EXPECT_EQ(spawner.started[0], (std::vector<std::string>{"viewer", "/f"}));

    // A DDE action runs the program and says once that no message went out.
    responder.press("DDE messages are not sent", "&OK");
    EXPECT_TRUE(SHELDDE_DoAction("v", {"v"}, true, false, defs, skipAll));
    EXPECT_TRUE(SHELDDE_DoAction("v", {"v"}, true, false, defs, skipAll));

    spawner.startError = ENOENT;
    responder.press("Action defined as: \r\"viewer\" \"/f\"\r. Change definition", "Skip &All Files With Errors");
    EXPECT_FALSE(SHELDDE_DoAction("\"viewer\" \"/f\"", {"viewer", "/f"}, false, false, defs, skipAll));
    EXPECT_TRUE(skipAll);
    EXPECT_NE(responder.shown().back().message.find("Error Message: 53   File not found"), std::string::npos);
    EXPECT_EQ(responder.shown().back().buttons,
              (std::vector<std::string>{"&Next File (Esc)", "Skip &All Files With Errors", "Sto&p"}));
    EXPECT_FALSE(SHELDDE_DoAction("v", {"v"}, false, false, defs, skipAll));  // nothing shown

    skipAll = false;
    responder.press("Error when try to do Action.", "Sto&p");
    try {
        SHELDDE_DoAction("v", {"v"}, false, false, defs, skipAll);
        ADD_FAILURE() << "Stop did not stop";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), 1066);
    }
}

TEST_F(ShellActions, ShellExecNormalisesTheActionAndJudgesTheExitStatus) {
    struct Case {
        const char* spec;
        int runError, status;
        const char* normalised;
        const char* program;
        bool ok;
        const char* failure;  // text in the error box
    } cases[] = {
        {"Edit||", 0, 0, "open||1", "xdg-open", true, ""},
        {"PRINT|x|11", 0, 0, "print|x|1", "lp", true, ""},
        {"explore||3", 0, 0, "explore||3", "xdg-open", true, ""},
        {"open", 0, 2, "open||1", "xdg-open", false, "File not found"},
        {"open", 0, 3, "open||1", "xdg-open", false, "No association for file extension"},
        {"open", ENOENT, 0, "open||1", "xdg-open", false, "No association for file extension"},
        {"open", 0, 1, "open||1", "xdg-open", false, "Unknown error 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spec);
        spawner.ran.clear();
        spawner.runError = c.runError;
        spawner.status = c.status;
        if (!c.ok) responder.press(c.failure, "&Next File (Esc)");
        std::string file = "/x/page.htm", spec = c.spec;
        bool skipAll = false;
        EXPECT_EQ(SYS32_ShellExec(file, spec, skipAll), c.ok);
        EXPECT_EQ(spec, c.normalised);
        ASSERT_EQ(spawner.ran.size(), 1u);
        EXPECT_EQ(spawner.ran[0].front(), c.program);
        EXPECT_EQ(spawner.ran[0].back(), file);
    }
}

TEST(SystemInfo, ErrorTextsAndFixedAnswers) {
    EXPECT_EQ(SYS32_ShellExecErrText(2), "File not found");
    EXPECT_EQ(SYS32_ShellExecErrText(31), "No association for file extension");
    EXPECT_EQ(SYS32_ShellExecErrText(32), "Unknown error 32");
    EXPECT_EQ(SYS32_ShellExecErrText(33), "");
    EXPECT_EQ(SYS32_ShortPath("/a b/c"), "/a b/c");
    EXPECT_EQ(WINVER_Get(), 5);
}

TEST(SystemInfo, Timeouts) {
    sys::ManualClock clock;
    sys::setClock(&clock);
    clock.setSecondsSinceMidnight(86390);
    TimeoutRec t;
    TIMEOUT_Start(20, t);
    bool first = false;
    clock.setSecondsSinceMidnight(5);  // after midnight, 15 s in
    EXPECT_FALSE(TIMEOUT_Expired(t, first));
    EXPECT_EQ(t.Start, -10);
    EXPECT_EQ(t.Finish, 10);
    clock.setSecondsSinceMidnight(11);
    EXPECT_TRUE(TIMEOUT_Expired(t, first));
    EXPECT_TRUE(first);
    EXPECT_TRUE(TIMEOUT_Expired(t, first));
    EXPECT_FALSE(first);

    // The restarting timeout ticks once per period.
    clock.setSecondsSinceMidnight(100);
    TIMEOUT_Start(10, t);
    int ticks = 0;
    for (int s = 101; s <= 135; ++s) {
        clock.setSecondsSinceMidnight(s);
        if (TIMEOUT_ExpiredRestart(t, first)) ++ticks;
    }
    EXPECT_EQ(ticks, 3);
    sys::setClock(nullptr);
}

namespace {

struct RouteTo : core::ShellHooks {
    explicit RouteTo(std::string file) : file_(std::move(file)) {}
    std::string iniSectFileGet(const std::string&, const std::string&) override { return file_; }
    std::string file_;
    core::ScopedShellHooks installed_{this};
};


}  // namespace

TEST_F(ShellActions, OpenPrintExploreReadsTheSection) {
    writeFile(path("help.ini"), "[Browser For Help]\nAcOp=print\n");
    RouteTo route(path("help.ini"));
    bool skipAll = false;
    std::string tmpl = "Open/Print/Explore using Windows Association", section = "Browser For Help";
    EXPECT_TRUE(SHELDDE_OpenPrintExplore(tmpl, section, "/x/F.htm", skipAll));
    ASSERT_EQ(spawner.ran.size(), 1u);
    EXPECT_EQ(spawner.ran[0], (std::vector<std::string>{"lp", "/x/F.htm"}));

    tmpl = "firefox<xparm<--new-window>>O";
    EXPECT_TRUE(SHELDDE_OpenPrintExplore(tmpl, section, "/x/F.htm", skipAll));
    ASSERT_EQ(spawner.started.size(), 1u);
    EXPECT_EQ(spawner.started[0], (std::vector<std::string>{"firefox", "--new-window", "/x/F.htm"}));

    DDEDefs defs;
    std::string file = path("help.ini");
    writeFile(file, "[S]\nDDE App =viewer\nDDE Topic =WWW_OpenURL\n");
    SHELDDE_DDEDefs("h", "S", "", file, defs);
    EXPECT_EQ(defs.App, "viewer");
    EXPECT_EQ(defs.Topic, "WWW_OpenURL");
    EXPECT_EQ(defs.Msg, "");
}
