#include "logimport/forms/log_file_entry_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ini_store.h"
#include "logimport/log_format.h"
#include "tests/logimport_forms/log_files_fixture.h"
#include "tests/support/scripted_responder.h"

namespace {

using logfilestest::LogFilesTest;
using testsupport::ScriptedResponder;

constexpr int kSpecEntry = 2;
constexpr int kUseFmtEntry = 3;
constexpr int kFmtEntry = 4;
const std::string kCombined = "Combined (Apache, NGINX)";
const std::string kCommon = "Common (Apache, NGINX)";

const core::CtlView& ctlAt(const core::DlgView& v, int entry) {
    for (const core::CtlView& c : v.ctls)
        if (c.entry == entry) return c;
    throw std::logic_error("no entry " + std::to_string(entry));
}

std::string chosenFormat(const core::DlgView& v) {
    const core::CtlView& list = ctlAt(v, kFmtEntry);
    const int p = list.selection.empty() ? -1 : std::stoi(list.selection);
    return p >= 0 && p < static_cast<int>(list.items.size()) ? list.items[p] : std::string();
}

using EntryDialog = LogFilesTest;

TEST_F(EntryDialog, ValuesRoundTripThroughTheEntryText) {
    // A name may hold what only names the program makes refuse, "|" included.
    const std::string odd = logDir + "access-2026-01-08T10:00 \"x\" <y> |z.log";
    testsupport::writeFile(odd, "");
    for (const std::string& file : {logDir + "access*.log", odd})
    for (const std::string& name : {kCommon, std::string()}) {
        SCOPED_TRACE(file + " " + name);
        const std::string entry = STTA_LogFileEntryJoin(file, name);
        std::string spec, defName;
        STTA_LogFileEntrySplit(entry, spec, defName);
        ScriptedResponder responder;
        responder.expect({.expectMessage = "Enter (UN-compressed) Log File Specification. Site DB: Test Site",
                          .act = [&](const core::DlgView& v, core::DlgDriver& d) {
                              EXPECT_EQ(v.buttons, (std::vector<std::string>{"&Browse ...", "&OK",
                                                                             "Specify Log For&mats", "&Cancel"}));
                              EXPECT_EQ(v.dfltButton, 2);
                              EXPECT_EQ(ctlAt(v, kSpecEntry).value, file);
                              EXPECT_EQ(ctlAt(v, kUseFmtEntry).value, name.empty() ? "0" : "1");
                              // Every name is offered, the first one included.
                              EXPECT_EQ(ctlAt(v, kFmtEntry).items.size(), 4u);
                              if (!name.empty()) {
                                  EXPECT_EQ(chosenFormat(v), name);
                              }
                              d.press("&OK");
                          }});
        ASSERT_TRUE(STTA_LogFileEntryDialog(spec, defName));
        EXPECT_EQ(STTA_LogFileEntryJoin(spec, defName), entry);
        EXPECT_EQ(responder.pending(), 0u);
    }
}

TEST_F(EntryDialog, EditedValuesAreHandedBack) {
    struct Case {
        const char* what;
        int useFormat;
        std::string expectedName;
    };
    for (const Case& c : {Case{"box ticked", 1, kCombined}, Case{"box clear, name chosen", 0, ""}}) {
        SCOPED_TRACE(c.what);
        std::string spec = logDir + "old.log", defName = kCommon;
        ScriptedResponder responder;
        responder.expect({.act = [&](const core::DlgView&, core::DlgDriver& d) {
            d.setText(kSpecEntry, logDir + "access.log");
            d.setCheck(kUseFmtEntry, c.useFormat);
            d.choose(kFmtEntry, {0});
            d.press("&OK");
        }});
        ASSERT_TRUE(STTA_LogFileEntryDialog(spec, defName));
        EXPECT_EQ(spec, logDir + "access.log");
        EXPECT_EQ(defName, c.expectedName);
    }
}

TEST_F(EntryDialog, RefusedSpecShowsWhyAndTheDialogAgain) {
    struct Case {
        std::string spec;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {home / "nowhere/access.log", "Directory does not exist."},
        {"access.log", "File name must be of format /name"},
        {logDir, "Must include file name after dir spec."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spec);
        std::string spec = logDir + "kept.log", defName = kCommon;
        ScriptedResponder responder;
        responder.expect({.sets = {{"#2", c.spec}}, .press = "&OK"});
        responder.press(c.reason, "&OK");
        responder.expect({.act = [&](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(ctlAt(v, kSpecEntry).value, c.spec);
            d.press("&Cancel");
        }});
        EXPECT_FALSE(STTA_LogFileEntryDialog(spec, defName));
        EXPECT_EQ(spec, logDir + "kept.log");
        EXPECT_EQ(defName, kCommon);
        EXPECT_EQ(responder.pending(), 0u);
    }
}

TEST_F(EntryDialog, CompressedTypesNeedTheUsersWordAndWildcardsAreNotCompressed) {
    std::string spec = logDir + "access.GZ", defName;
    ScriptedResponder responder;
    responder.press("Enter (UN-compressed)", "&OK");
    responder.press("The file type for the file name entered is usually compressed.", "&No");
    responder.expect({.act = [&](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(ctlAt(v, kSpecEntry).value, logDir + "access.GZ");
        d.press("&OK");
    }});
    responder.press("Entered file name: " + logDir + "access.GZ", "&Yes");
    ASSERT_TRUE(STTA_LogFileEntryDialog(spec, defName));
    EXPECT_EQ(spec, logDir + "access.GZ");

    // A star alone as the type reads as the type X; stars elsewhere pass the name check.
    for (const std::string& wildcard : {logDir + "*.*", logDir + "access-*.tar.*", logDir + "access-2024-0?.log"}) {
        SCOPED_TRACE(wildcard);
        std::string s = wildcard, n;
        responder.press("Enter (UN-compressed)", "&OK");
        ASSERT_TRUE(STTA_LogFileEntryDialog(s, n));
        EXPECT_EQ(s, wildcard);
    }
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(EntryDialog, BrowseTakesTheChosenFileAndRemembersItsFolder) {
    INI_Put("Main", "LastDir", logDir, "::*");
    std::string spec = "access.log", defName;
    ScriptedResponder responder;
    responder.press("Enter (UN-compressed)", "&Browse ...");
    responder.expect({.act = [&](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.kind, "FileOpen");
        EXPECT_EQ(v.caption, "Select single file name or return to options to enter spec [*-notation] for multiple files.");
        EXPECT_EQ(ctlAt(v, 1).value, logDir + "access.log");
        d.setText(1, home / "other/x.log");
        d.press("&Open");
    }});
    responder.expect({.act = [&](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(ctlAt(v, kSpecEntry).value, home / "other/x.log");
        d.press("&Cancel");
    }});
    EXPECT_FALSE(STTA_LogFileEntryDialog(spec, defName));
    EXPECT_EQ(spec, "access.log");
    EXPECT_EQ(INI_Get("Main", "LastDir", gIniLastVals, 1), home / "other/");
    EXPECT_EQ(responder.pending(), 0u);
}

}  // namespace
