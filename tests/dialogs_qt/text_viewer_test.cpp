#include "core/text.h"
#include "dialogs/text_viewer.h"
#include "tests/dialogs_qt/box_fixture.h"

using dlgtest::BoxTest;

namespace {

const core::CtlView* ctlOfType(const core::DlgView& v, const std::string& type, int nth) {
    for (const core::CtlView& c : v.ctls)
        if (c.type == type && nth-- == 0) return &c;
    return nullptr;
}

}  // namespace

TEST_F(BoxTest, ViewerShowsBothListingsAndTheLength) {
    TXT_CrLfInit();
    testsupport::ScriptedResponder responder;
    responder.expect({.expectCaption = "- [Show Hex Dump]", .expectMessage = "Look\r\rPress F2 to save dump data to a file",
                      .sets = {}, .press = "&OK", .act = [](const core::DlgView& v, core::DlgDriver&) {
                          const core::CtlView* text = ctlOfType(v, "ListBox", 0);
                          const core::CtlView* hex = ctlOfType(v, "ListBox", 1);
                          ASSERT_TRUE(text && hex);
                          ASSERT_EQ(text->items.size(), 1u);
                          EXPECT_EQ(text->items[0].substr(0, 7), "1 abcd ");
                          ASSERT_EQ(hex->items.size(), 2u);
                          EXPECT_EQ(hex->items[1].substr(0, 2), "2 ");
                          // The tab keeps its code in the dump.
                          EXPECT_NE(hex->items[1].find(" 09"), std::string::npos);
                          bool length = false;
                          for (const core::CtlView& c : v.ctls) length = length || c.caption == "Length: 17" || c.value == "Length: 17";
                          EXPECT_TRUE(length);
                      }});
    EXPECT_EQ(HEX_ShowText("abcdefghijklmnop\t", "", "Look"), 1);
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(BoxTest, ViewerClosedWithF2SaysSavingIsDisabled) {
    TXT_CrLfInit();
    testsupport::ScriptedResponder responder;
    responder.expect({.expectCaption = "Dump - [Show Hex Dump]", .expectMessage = "", .sets = {}, .press = "",
                      .act = [](const core::DlgView& v, core::DlgDriver& d) {
                          const core::CtlView* text = ctlOfType(v, "ListBox", 0);
                          ASSERT_TRUE(text);
                          EXPECT_TRUE(text->items.empty());
                          const core::CtlView* length = ctlOfType(v, "Label", 1);
                          ASSERT_TRUE(length);
                          EXPECT_EQ(length->caption + length->value, "Length: 0");
                          d.key(113, 0);
                      }});
    responder.press("disabled", "&OK");
    HEX_TextViewer("Dump", "", 4, true, "");
    EXPECT_EQ(responder.pending(), 0u);
}
