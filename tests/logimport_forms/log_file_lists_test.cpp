#include "logimport/forms/log_file_lists.h"

#include <gtest/gtest.h>

#include <string>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "tests/logimport_forms/log_files_fixture.h"
#include "tests/support/scripted_responder.h"

namespace {

using logfilestest::LogFilesTest;
using testsupport::Answer;
using testsupport::ScriptedResponder;

const std::string kCommon = "Common (Apache, NGINX)";
const std::string kW3c = "W3C extended (IIS)";
constexpr int kW3cPosition = 3;
// Entries of the entry dialog's controls.
constexpr int kSpecEntry = 2;
constexpr int kUseFmtEntry = 3;
constexpr int kFmtEntry = 4;

const core::CtlView* ctlOfType(const core::DlgView& v, const std::string& type) {
    for (const core::CtlView& c : v.ctls)
        if (c.type == type) return &c;
    return nullptr;
}

// The list dialog's message stands in its label.
bool labelHolds(const core::DlgView& v, const std::string& text) {
    for (const core::CtlView& c : v.ctls)
        if (c.type == "Label" && c.caption.find(text) != std::string::npos) return true;
    return false;
}

std::string chosenItem(const core::CtlView& list) {
    const int p = list.selection.empty() ? -1 : std::stoi(list.selection);
    return p >= 0 && p < static_cast<int>(list.items.size()) ? list.items[p] : std::string();
}

// Chooses grid row r of the list (the header is row 0) and presses the button.
Answer pick(int r, std::string button) {
    return {.press = std::move(button), .act = [r](const core::DlgView&, core::DlgDriver& d) { d.choose(1, {r}); }};
}

class LogFileList : public LogFilesTest {
protected:
    std::string stored() { return INI_Get("Main", "Log Files", gIniLastVals, 3); }
    void store(const std::string& list) { INI_Put("Main", "Log Files", list, gIniLastVals); }
    std::string file(const std::string& name) { return logDir + name; }
};

TEST_F(LogFileList, EmptyListOpensTheEntryDialogAndListsTheNewEntry) {
    std::string entry;
    ScriptedResponder responder;
    responder.expect({.expectMessage = "Enter (UN-compressed) Log File Specification",
                      .act = [&](const core::DlgView&, core::DlgDriver& d) {
                          d.setText(kSpecEntry, file("a*.log"));
                          d.setCheck(kUseFmtEntry, 1);
                          d.choose(kFmtEntry, {kW3cPosition});
                          d.press("&OK");
                      }});
    const std::string added = file("a*.log") + " [LogFormat: " + kW3c + "]";
    responder.expect({.act = [&](const core::DlgView& v, core::DlgDriver& d) {
                          EXPECT_TRUE(labelHolds(v, "Current Site DB: Test Site"));
                          EXPECT_EQ(v.notice,
                                    "File added to list. Press OK, select filters if required and then press the Add "
                                    "button to read the file and add the data to the database.");
                          EXPECT_EQ(v.buttons.at(0), "&OK");
                          EXPECT_EQ(v.buttons.at(1), "Edi&t Log file definition");
                          EXPECT_EQ(v.buttons.back(), "Add");
                          d.press("OK");  // the notice's own
                          d.press("&OK");
                      }});
    STTA_LogFileSpecsEdit(entry);
    EXPECT_EQ(stored(), added);
    EXPECT_EQ(entry, added);
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(LogFileList, NewEntryNotMadeOnAnEmptyListLeavesTheList) {
    std::string entry = "kept";
    ScriptedResponder responder;
    responder.press("Enter (UN-compressed) Log File Specification", "&Cancel");
    STTA_LogFileSpecsEdit(entry);
    EXPECT_EQ(entry, "kept");
    EXPECT_EQ(stored(), "");
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(LogFileList, EditSplitsTheEntryAndStoresItJoinedInItsPlace) {
    INI_Put("Main", "LFmtDflt", kCommon, "::*");
    store(file("a.log") + "|" + file("b.log") + " [LogFormat: " + kCommon + "]|" + file("c.log"));
    std::string entry;
    ScriptedResponder responder;
    responder.expect(pick(2, "Edi&t Log file definition"));
    responder.expect({.act = [&](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.ctls.at(kSpecEntry - 1).value, file("b.log"));
        EXPECT_EQ(v.ctls.at(kUseFmtEntry - 1).value, "1");
        EXPECT_EQ(chosenItem(v.ctls.at(kFmtEntry - 1)), kCommon);
        d.choose(kFmtEntry, {kW3cPosition});
        d.press("&OK");
    }});
    STTA_LogFileSpecsEdit(entry);
    const std::string edited = file("b.log") + " [LogFormat: " + kW3c + "]";
    EXPECT_EQ(entry, edited);
    EXPECT_EQ(stored(), file("a.log") + "|" + edited + "|" + file("c.log"));
    // The entry dialog's format choice is not the list's default format.
    EXPECT_EQ(INI_Get("Main", "LFmtDflt", gIniLastVals, 1), kCommon);
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(LogFileList, RemoveDeletesAndCopyGoesAfterItsSource) {
    store(file("a.log") + "|" + file("b.log") + "|" + file("c.log"));
    std::string entry;
    ScriptedResponder responder;
    responder.expect(pick(1, "R&emove Log file definition"));
    responder.expect(pick(1, "Cop&y Log file definition"));
    responder.expect({.sets = {{"#2", file("b2.log")}}, .press = "&OK"});
    STTA_LogFileSpecsEdit(entry);
    EXPECT_EQ(entry, file("b2.log"));
    EXPECT_EQ(stored(), file("b.log") + "|" + file("b2.log") + "|" + file("c.log"));
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(LogFileList, RefusedOrCancelledEntryAddsNothing) {
    store(file("a.log"));
    std::string entry = file("a.log");
    ScriptedResponder responder;
    responder.expect({.press = "&New Log file definition"});
    responder.expect({.sets = {{"#2", file("x.zip")}}, .press = "&OK"});
    responder.press("usually compressed", "&No");
    responder.press("Enter (UN-compressed)", "&Cancel");
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.notice, "");
        d.press("Add");
    }});
    STTA_LogFileSpecsEdit(entry);
    EXPECT_EQ(stored(), file("a.log"));
    EXPECT_EQ(entry, file("a.log"));
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(LogFileList, DefaultFormatIsTheListsControlAndIsStoredOnTheWayOut) {
    INI_Put("Main", "LFmtDflt", kCommon, "::*");
    store(file("a.log") + "|" + file("b.log"));
    std::string entry = file("b.log");
    ScriptedResponder responder;
    responder.expect({.act = [&](const core::DlgView& v, core::DlgDriver& d) {
        const core::CtlView* dflt = ctlOfType(v, "ComboBox");
        ASSERT_NE(dflt, nullptr);
        EXPECT_EQ(chosenItem(*dflt), kCommon);
        EXPECT_EQ(dflt->items.size(), 4u);
        d.choose(dflt->entry, {kW3cPosition});
        d.press("R&emove Log file definition");  // b.log is chosen, as the entry given
    }});
    // The choice made before Remove is still the list's default after it.
    responder.expect({.act = [&](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(chosenItem(*ctlOfType(v, "ComboBox")), kW3c);
        d.choose(1, {1});
        d.press("Add");
    }});
    STTA_LogFileSpecsEdit(entry);
    EXPECT_EQ(stored(), file("a.log"));
    EXPECT_EQ(entry, file("a.log"));
    EXPECT_EQ(INI_Get("Main", "LFmtDflt", gIniLastVals, 1), kW3c);
    EXPECT_EQ(responder.pending(), 0u);
}

}  // namespace
