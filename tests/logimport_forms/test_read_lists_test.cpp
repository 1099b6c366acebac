// The result lists of the referrer check and the line viewer behind their rows,
// answered by the scripted responder.
#include <gtest/gtest.h>

#include "core/delimited_lists.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "logimport/forms/component_filter_check.h"
#include "logimport/forms/test_read_lists.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

using testsupport::Answer;
using testsupport::ScriptedResponder;

namespace {

// Chooses grid row r (the header is row 0), then presses the button.
Answer pick(int row, std::string button) {
    return {.press = std::move(button), .act = [row](const core::DlgView&, core::DlgDriver& d) { d.choose(1, {row}); }};
}

std::vector<std::string> gridRows(const core::DlgView& v) { return v.ctls.at(0).items; }

// The list dialog's message stands in its label.
std::string listText(const core::DlgView& v) {
    for (const core::CtlView& c : v.ctls)
        if (c.type == "Label") return c.caption;
    return {};
}

// A list dialog whose message holds `text`, answered with `button`.
Answer list(std::string text, std::string button) {
    return {.press = std::move(button), .act = [text](const core::DlgView& v, core::DlgDriver&) {
                EXPECT_NE(listText(v).find(text), std::string::npos) << listText(v);
            }};
}

class ResultLists : public ::testing::Test {
protected:
    ResultLists() {
        TXT_CrLfInit();
        hosts.append("blog.example.org");
        perHost.append("http://blog.example.org/a|http://blog.example.org/b|http://blog.example.org/c|"
                       "http://blog.example.org/d");
        hosts.append("small.example.com");
        perHost.append("http://small.example.com/");
    }
    ~ResultLists() override { MB_UnloadStray(""); }

    testsupport::FakeUserInterface ui;
    core::StrArray undefinedRows, perHost, hosts;
};

}  // namespace

TEST_F(ResultLists, NoUndefinedTermsLeadsToTheUnknownEngines) {
    ScriptedResponder responder;
    responder.press("No lines found for which could not determine search term.",
                    "Unknown S&E.s  - domain in referrer string not defined");
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_NE(listText(v).find("Showing Only Items with at least 4 unique referrers"), std::string::npos);
        // Only the one host with more than three referrers: no blank row before it.
        EXPECT_EQ(gridRows(v).size(), 1u);
        EXPECT_EQ(gridRows(v).at(0).rfind("blog.example.org\t", 0), 0u);
        d.press("&Back to definitions");
    }});
    STTA_UndefinedSTList(undefinedRows, perHost, hosts);
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(ResultLists, OneUndefinedRowIsListedAndItsReferrersViewed) {
    undefinedRows.append("*.finder.*/*\thttp://www.finder.com/?x=1|http://www.finder.com/?y=2|Have More ...");
    ScriptedResponder responder;
    responder.expect(pick(1, "Lis&t Referrers [selected SE]"));
    // Nothing chosen yet: the user is told to choose, not shown an empty box.
    responder.expect({.press = "Sho&w Line in full"});
    responder.press("Select a referrer in the list first.", "&OK");
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_NE(v.caption.find("List of referrers for site: *.finder.*/*"), std::string::npos);
        EXPECT_EQ(gridRows(v).back(), "Have More ...");
        d.choose(1, {2});
        d.press("&Copy Line to Clipboard");
    }});
    // Past the last row: the question, and Yes starts again at row 0.
    responder.expect({.expectCaption = "List of referrers for site", .press = "&Next"});
    responder.press("No More. Restart at top?", "&Yes");
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_NE(v.caption.find("for site: *.finder.*/*"), std::string::npos);
        d.press("&Prev");
    }});
    responder.press("No More. Restart at end?", "&No");
    responder.expect(list("Raw log data found for which could not identify a search term.", "&Back to definitions"));
    STTA_UndefinedSTList(undefinedRows, perHost, hosts);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(ui.clipboard, "http://www.finder.com/?y=2");
}

// The box asks for the count the list shows; only a whole number changes it.
TEST_F(ResultLists, TheThresholdOfUnknownEnginesCanBeChanged) {
    struct Case {
        const char* answer;  // nullptr: Cancel
        const char* shown;
        size_t rows;
        bool refused;
    } cases[] = {
        {"1", "at least 1 unique referrers", 2, false},
        {"5", "at least 5 unique referrers", 0, false},
        {"abc", "at least 4 unique referrers", 1, true},
        {nullptr, "at least 4 unique referrers", 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer ? c.answer : "Cancel");
        ScriptedResponder responder;
        responder.expect(list("at least 4 unique referrers", "Chan&ge # referrers reqd to list"));
        responder.expect({.expectMessage = "Count of unique referrers required to Appear on this list",
                          .press = c.answer ? "&OK" : "&Cancel",
                          .act = [&c](const core::DlgView& v, core::DlgDriver& d) {
                              for (const core::CtlView& box : v.ctls) {
                                  if (box.type != "TextBox") continue;
                                  EXPECT_EQ(box.value, "4");
                                  if (c.answer) d.setText(box.entry, c.answer);
                              }
                          }});
        if (c.refused) responder.press("Enter the count as a whole number", "&OK");
        responder.expect({.act = [&c](const core::DlgView& v, core::DlgDriver& d) {
            EXPECT_NE(listText(v).find(c.shown), std::string::npos) << listText(v);
            EXPECT_EQ(gridRows(v).size(), c.rows);
            d.press("&Back to definitions");
        }});
        STTA_UnknownSEList(undefinedRows, perHost, hosts);
        EXPECT_EQ(responder.pending(), 0u);
    }
}

TEST_F(ResultLists, PageNamesShowTheirFileNamesAndTheFullList) {
    core::StrArray files;
    core::LngArray lines;
    for (auto [name, count] : {std::pair{"", 0L}, {"/a.html?x=1", 3L}, {"/a.html?y=2", 2L}, {"/b.css", 1L}}) {
        files.append(name);
        lines.append(count);
    }
    ScriptedResponder responder;
    responder.expect({.press = "Lis&t FileNames from raw Log [for selected PageName]",
                      .act = [](const core::DlgView& v, core::DlgDriver& d) {
                          EXPECT_NE(listText(v).find("Total No. of Raw Log FileNames: 3"), std::string::npos);
                          EXPECT_NE(listText(v).find("No. of Standardised PageNames: 2"), std::string::npos);
                          EXPECT_NE(listText(v).find("Query removed."), std::string::npos);
                          d.choose(1, {1});
                      }});
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_NE(v.caption.find("List of FileNames from raw log files for PageName [as used on reports]: a.html"),
                  std::string::npos);
        EXPECT_EQ(gridRows(v), (std::vector<std::string>{"3 - /a.html?x=1", "2 - /a.html?y=2", "5", "2", "html"}));
        d.press("&Back to List");
    }});
    responder.expect(list("Pages of the test", "List &All FileNames"));
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(gridRows(v), (std::vector<std::string>{"\t0\t", "/a.html?x=1\t3\ta.html", "/a.html?y=2\t2\ta.html",
                                                         "/b.css\t1\tb.css"}));
        d.press("&Back to List");
    }});
    responder.expect(list("Pages of the test", "Other O&ptions"));
    EXPECT_TRUE(STTA_PageNamesList("Pages of the test", files, lines, true, true, false));
    responder.expect(list("Pages of the test", "&Back to definitions"));
    EXPECT_FALSE(STTA_PageNamesList("Pages of the test", files, lines, true, true, false));
    EXPECT_EQ(responder.pending(), 0u);
}
