#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ini_store.h"
#include "logimport/forms/log_file_entry_dialog.h"
#include "logimport/forms/log_file_lists.h"
#include "tests/logimport_forms/log_files_fixture.h"
#include "tests/support/scripted_responder.h"

namespace {

using logfilestest::LogFilesTest;
using testsupport::Answer;
using testsupport::ScriptedResponder;

const std::string kNames =
    "Combined (Apache, NGINX)|Common (Apache, NGINX)|Combined with virtual host (Apache)|W3C extended (IIS)";

std::vector<std::string> textBoxes(const core::DlgView& v) {
    std::vector<std::string> out;
    for (const core::CtlView& c : v.ctls)
        if (c.type == "TextBox") out.push_back(c.value);
    return out;
}

int textBoxEntry(const core::DlgView& v, size_t n) {
    for (const core::CtlView& c : v.ctls)
        if (c.type == "TextBox" && n-- == 0) return c.entry;
    throw std::logic_error("no such text box");
}

Answer pick(int position, std::string button) {
    return {.press = std::move(button),
            .act = [position](const core::DlgView&, core::DlgDriver& d) { d.choose(1, {position}); }};
}

Answer name(const std::string& text) {
    return {.expectMessage = "Enter name for new LogFormat Definition", .sets = {{"#1", text}}, .press = "&OK"};
}

class LogFormatList : public LogFilesTest {
protected:
    std::string names() { return INI_Get("Main", "AcD", gIniLogFmts, 3); }
    std::string lines(const std::string& def) { return INI_Get(def, "DefsCDS", gIniLogFmts, 3); }
};

TEST_F(LogFormatList, NewNameMustBeUniqueAndItsLinesAreStored) {
    ScriptedResponder responder;
    responder.expect({.press = "&New Format of Log file"});
    responder.expect(name(" common (apache, nginx) "));
    responder.press("Name already exists. You must enter a unique name.", "&OK");
    responder.expect(name(" Mine "));
    responder.expect({.expectMessage = "Enter specifications for LogFormat Named: Mine  The first matching "
                                       "specification will be used.",
                      .act = [](const core::DlgView& v, core::DlgDriver& d) {
                          ASSERT_FALSE(textBoxes(v).empty());
                          d.setText(textBoxEntry(v, 0), "%s %r");
                          d.press("&OK");
                      }});
    responder.expect({.press = "&Cancel"});
    STTA_LogFmtDefsEdit();
    EXPECT_EQ(names(), kNames + "|Mine");
    EXPECT_EQ(lines("Mine"), "|%s %r");
    EXPECT_EQ(responder.pending(), 0u);
}

// Only OK with a format line keeps a new or copied definition.
TEST_F(LogFormatList, NewOrCopiedDefinitionWithoutStoredLinesIsTakenBack) {
    ScriptedResponder responder;
    responder.expect({.press = "&New Format of Log file"});
    responder.expect(name("Mine"));
    responder.expect({.expectMessage = "Enter specifications for LogFormat Named: Mine", .press = "&OK"});
    responder.press("Enter at least one format line.", "&OK");
    responder.expect({.expectMessage = "Enter specifications for LogFormat Named: Mine", .press = "&Cancel"});
    responder.expect(pick(0, "Cop&y Format of Log file"));
    responder.expect(name("Combined copy"));
    responder.expect({.expectMessage = "Combined copy", .press = "&Cancel"});
    responder.expect({.press = "&Cancel"});
    STTA_LogFmtDefsEdit();
    EXPECT_EQ(names(), kNames);
    EXPECT_EQ(lines("Mine"), "");
    EXPECT_EQ(lines("Combined copy"), "");
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(LogFormatList, EmptyNameEndsNew) {
    ScriptedResponder responder;
    responder.expect({.press = "&New Format of Log file"});
    responder.expect(name("  "));
    responder.expect({.press = "&Cancel"});
    STTA_LogFmtDefsEdit();
    EXPECT_EQ(names(), kNames);
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(LogFormatList, LinesAreWrittenOnlyOnOkAndItemZeroStays) {
    INI_Put("W3C extended (IIS)", "DefsCDS", "not a line|first|second", gIniLogFmts);
    auto edit = [](const std::string& button) {
        return Answer{.act = [button](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_EQ(textBoxes(v).at(0), "first");
            EXPECT_EQ(textBoxes(v).at(1), "second");
            d.setText(textBoxEntry(v, 0), "changed");
            d.setText(textBoxEntry(v, 1), "");  // an emptied line is dropped
            d.press(button);
        }};
    };
    ScriptedResponder responder;
    responder.expect(pick(3, "Edi&t Format of Log file"));
    responder.expect(edit("&Cancel"));
    responder.expect(pick(3, "Edi&t Format of Log file"));
    responder.expect(edit("&OK"));
    responder.expect({.press = "&Cancel"});
    STTA_LogFmtDefsEdit();
    EXPECT_EQ(lines("W3C extended (IIS)"), "not a line|changed");
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(LogFormatList, CopyTakesTheLinesAndRemoveKeepsTheSection) {
    const std::string combined = lines("Combined (Apache, NGINX)");
    const std::string common = lines("Common (Apache, NGINX)");
    ScriptedResponder responder;
    responder.expect(pick(0, "Cop&y Format of Log file"));
    responder.expect(name("Combined copy"));
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(textBoxes(v).at(0), "%s %*u %u [%d/%M/%Y:%h:%n:%e %*S] \"%*t %r %*T\" %c %b \"%f\" \"%B\"");
        d.press("&OK");
    }});
    responder.expect(pick(1, "R&emove Format of Log file"));
    responder.expect({.press = "&Cancel"});
    STTA_LogFmtDefsEdit();
    EXPECT_EQ(lines("Combined copy"), combined);
    EXPECT_EQ(names(), "Combined (Apache, NGINX)|Combined with virtual host (Apache)|W3C extended (IIS)|Combined copy");
    EXPECT_EQ(lines("Common (Apache, NGINX)"), common);
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(LogFormatList, NewDefinitionFromTheEntryDialogIsOfferedThere) {
    std::string spec = logDir + "access.log", defName;
    ScriptedResponder responder;
    responder.press("Enter (UN-compressed)", "Specify Log For&mats");
    responder.expect({.press = "&New Format of Log file"});
    responder.expect(name("Mine"));
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        d.setText(textBoxEntry(v, 0), "%s %r");
        d.press("&OK");
    }});
    responder.expect({.press = "&Cancel"});
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        const core::CtlView& formats = v.ctls.at(3);
        ASSERT_EQ(formats.items.size(), 5u);
        EXPECT_EQ(formats.items.back(), "Mine");
        d.setCheck(3, 1);
        d.choose(4, {4});
        d.press("&OK");
    }});
    ASSERT_TRUE(STTA_LogFileEntryDialog(spec, defName));
    EXPECT_EQ(defName, "Mine");
    EXPECT_EQ(responder.pending(), 0u);
}

}  // namespace
