#include <QListWidget>

#include "core/text.h"
#include "dialogs/find_dialog.h"
#include "tests/dialogs_qt/box_fixture.h"

using dlgtest::BoxTest;

namespace {

const char kPrompt[] = "Enter Text To Find [t]:";

struct FindList : BoxTest {
    void SetUp() override {
        BoxTest::SetUp();
        TXT_CrLfInit();
        list.addItems({"alpha", "beta", "gamma"});
        list.setCurrentRow(0);
    }
    QListWidget list;
};

}  // namespace

TEST_F(FindList, PromptedTextIsFoundAndKept) {
    testsupport::ScriptedResponder responder;
    responder.expect({.expectCaption = "Find in Current Section", .expectMessage = "Search for text string. [list]",
                      .sets = {{"#1", "GAM"}}, .press = "&Ok [F3]",
                      .act = [](const core::DlgView& v, core::DlgDriver&) {
                          EXPECT_EQ(v.ctls.at(0).value, "beta");
                          EXPECT_EQ(v.escButton, 2);
                      }});
    std::string findText = "beta", message;
    EXPECT_TRUE(CTL_FindInControl(&list, findText, true, " [list]", message));
    EXPECT_EQ(findText, "GAM");
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_EQ(message.rfind("At No: 3", 0), 0u) << message;
}

TEST_F(FindList, F3ConfirmsThePrompt) {
    testsupport::ScriptedResponder responder;
    responder.expect({.expectCaption = "", .expectMessage = kPrompt, .sets = {{"#1", "beta"}}, .press = "",
                      .act = [](const core::DlgView&, core::DlgDriver& d) { d.key(114, 0); }});
    std::string findText, message;
    EXPECT_TRUE(CTL_FindInControl(&list, findText, false, "", message));
    EXPECT_EQ(list.currentRow(), 1);
}

TEST_F(FindList, CancelOrAnEmptyAnswerSearchesNothing) {
    struct Case {
        const char* name;
        std::string typed;
        std::string press;
    };
    for (const Case& c : {Case{"cancel", "gamma", "&Cancel"}, Case{"empty", "", "&Ok [F3]"}}) {
        SCOPED_TRACE(c.name);
        testsupport::ScriptedResponder responder;
        responder.expect({.expectCaption = "", .expectMessage = kPrompt, .sets = {{"#1", c.typed}}, .press = c.press,
                          .act = {}});
        std::string findText = "beta", message;
        EXPECT_FALSE(CTL_FindInControl(&list, findText, true, "", message));
        EXPECT_EQ(message, "Find Cancelled.");
        EXPECT_EQ(findText, "beta");
        EXPECT_EQ(list.currentRow(), 0);
    }
}

TEST_F(FindList, AKnownTextIsSearchedWithoutAsking) {
    testsupport::ScriptedResponder responder;  // any box fails the test
    std::string findText = "alp", message;
    EXPECT_TRUE(CTL_FindInControl(&list, findText, false, "", message));
    EXPECT_EQ(message.rfind("Only one occurrence of that string in list", 0), 0u) << message;
}
