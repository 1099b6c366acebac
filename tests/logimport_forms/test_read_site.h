#pragma once
// A temporary site set up for test reads: the shipped log formats and screens, filter
// files of its own, the shell's "::*" routing, its database named by the shell hooks,
// and a log file named by [Main] "PAFNlog".
#include <cstdlib>
#include <string>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/scoped_value.h"
#include "core/shell_hooks.h"
#include "logimport/read_record.h"
#include "shell/hooks.h"
#include "tests/logimport/temp_site.h"
#include "tests/support/fake_user_interface.h"

namespace testsupport {

class TestReadSite : public shell::AppShellHooks {
public:
    TestReadSite() {
        const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
        gIniLogFmts = src + "/resources/param/logfmts.ini";
        gIniScreens = site.home / "screens.ini";
        writeFile(gIniScreens, readFile(src + "/resources/param/screens.ini"));
        gIniLdLnFltr = site.home / "site/param/LdLnFltr.ini";
        gIniFltrFiles = site.home / "site/param/FltrFiles.ini";
        gIniFltrBots = site.home / "fltrbots.ini";
        // One robot filter: user agents containing "bot".
        writeFile(gIniFltrBots,
                  "[Filters]\nSkipRobotUserAgents=bots\n[bots]\nTyp=2\nVal=bot\nMC=False\nColType=2\n");
        logPath = site.home / "logs/test.log";
        INI_Put("Main", "LFmtDflt", "Combined (Apache, NGINX)", gIniLastVals);
        INI_Put("Main", "PAFNlog", logPath, gIniLastVals);
        gReadRec.NoPromptInvalid = true;
    }
    ~TestReadSite() override {
        for (std::string* path : {&gIniLogFmts, &gIniScreens, &gIniLdLnFltr, &gIniFltrFiles, &gIniFltrBots})
            path->clear();
    }

    dao::Database* siteDatabase() override { return &site.db; }

    void writeLog(const std::string& text) { writeFile(logPath, text); }

    TempSite site;
    core::ScopedValue<ReadRec> readRec{gReadRec, {}};
    FakeUserInterface ui;
    std::string logPath;
    core::ScopedShellHooks installed{this};
};

// A combined-format line; the referrer and user agent are written inside their quotes.
inline std::string combinedLine(const std::string& page, const std::string& referrer, const std::string& agent,
                                const std::string& status = "200", const std::string& time = "10:00:00") {
    return "10.0.0.1 - - [10/Dec/2026:" + time + " +0000] \"GET " + page + " HTTP/1.1\" " + status + " 512 \"" +
           referrer + "\" \"" + agent + "\"\n";
}

}  // namespace testsupport
