#include "logimport/forms/search_engine_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "logimport/search_engine_store.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

using testsupport::Answer;
using testsupport::ScriptedResponder;
using Defs = std::vector<std::string>;

namespace {

const std::string kGrid = "Definitions of SE Referrer Strings";

class SEDefsEditorTest : public testing::Test {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        gAppPath = home.path() + "/";
        gIniLogFmts = home / "logfmts.ini";
        testsupport::writeFile(gIniLogFmts, "[Main]\n");
        logimport::storeSEDefinitions(stored);
    }
    void TearDown() override {
        MB_UnloadStray("");
        gIniLogFmts.clear();
        gAppPath.clear();
        logimport::setProgramSEDefs({});
    }

    testsupport::TempHome home;
    Defs stored = {"*.finder.*/* q", "http://www.seeker.com/* query"};
};

}  // namespace

TEST_F(SEDefsEditorTest, InvalidSpecIsRefusedAndShownAgainAsEntered) {
    for (std::string bad : {"http://a b/*", "*.[z-a].*/*"}) {
        SCOPED_TRACE(bad);
        ScriptedResponder responder;
        responder.expect({.expectCaption = kGrid, .sets = {{"#1", bad}}, .press = "&OK"});
        responder.press("URL specification cannot contain Spaces (values in left column)." + gCR +
                            "Changes not saved. Correct values and try again." + gCR + gCR + "Invalid values:" + gCR +
                            bad,
                        "&OK");
        responder.expect({.expectCaption = kGrid, .press = "&Cancel"});
        STTA_SEDefsEdit();
        EXPECT_EQ(responder.shown().at(2).ctls.at(0).value, bad);
        EXPECT_EQ(logimport::storedSEDefinitions(), stored);
    }
}

TEST_F(SEDefsEditorTest, ValidEditIsStoredAndRecompiled) {
    ScriptedResponder responder;
    responder.expect({.expectCaption = kGrid, .sets = {{"#2", "q,?p"}, {"#3", ""}, {"#4", ""}}, .press = "&OK"});
    STTA_SEDefsEdit();
    EXPECT_EQ(logimport::storedSEDefinitions(), Defs{"*.finder.*/* q,?p"});
    const auto& defs = logimport::programSEDefTables().defs();
    ASSERT_EQ(defs.size(), 1u);
    EXPECT_EQ(defs[0].searchTexts, (Defs{"q=", "?p=", "&p="}));
}

TEST_F(SEDefsEditorTest, AddNewAppendsOnlyAFilledRow) {
    struct Case {
        const char* name;
        std::string spec, params;
        Defs after;
    } cases[] = {
        {"empty", "", "", stored},
        {"filled", "*.lookup.*/*", "k", {stored[0], stored[1], "*.lookup.*/* k"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedResponder responder;
        responder.expect({.expectCaption = kGrid, .press = "Add Ne&w SE Def"});
        responder.expect({.expectMessage = "Enter NEW Search Engine referrer string definition.",
                          .sets = {{"#1", c.spec}, {"#2", c.params}},
                          .press = "&OK"});
        responder.expect({.expectCaption = kGrid, .press = "&Cancel"});
        STTA_SEDefsEdit();
        EXPECT_EQ(responder.shown().at(1).buttons, (Defs{"&OK", "&Cancel"}));
        EXPECT_EQ(responder.shown().at(2).ctls.size(), 2 * c.after.size());
        EXPECT_EQ(logimport::storedSEDefinitions(), c.after);
    }
}

TEST_F(SEDefsEditorTest, ResequencingStoresGeneralDefinitionsFirst) {
    const Defs interleaved = {"http://a.example/* a", "*.zeta.*/* z", "http://b.example/* b", "*.Alpha.*/* x"};
    logimport::storeSEDefinitions(interleaved);
    ScriptedResponder responder;
    responder.expect({.expectMessage = "General Domain defs", .press = "&Back to definitions"});
    STTA_SEDefsResequence();
    EXPECT_EQ(responder.shown().at(0).ctls.at(0).items, (Defs{"*.zeta.*/* z", "*.Alpha.*/* x"}));
    EXPECT_EQ(logimport::storedSEDefinitions(),
              (Defs{"*.zeta.*/* z", "*.Alpha.*/* x", "http://a.example/* a", "http://b.example/* b"}));
}

TEST_F(SEDefsEditorTest, SortOrdersTheShownListIgnoringCase) {
    const Defs general = {"*.zeta.*/* z", "*.Alpha.*/* x", "*.beta.*/* b"};
    logimport::storeSEDefinitions({"http://a.example/* a", general[0], general[1], general[2]});
    ScriptedResponder responder;
    responder.expect({.expectMessage = "General Domain defs", .press = "&Sort"});
    responder.expect({.expectMessage = "General Domain defs", .press = "ReSequence Specific Do&main Defs"});
    responder.expect({.expectMessage = "Specific Domain defs", .press = "&Back to definitions"});
    STTA_SEDefsResequence();
    const Defs sorted = {"*.Alpha.*/* x", "*.beta.*/* b", "*.zeta.*/* z"};
    EXPECT_EQ(responder.shown().at(1).ctls.at(0).items, sorted);
    EXPECT_EQ(logimport::storedSEDefinitions(), (Defs{sorted[0], sorted[1], sorted[2], "http://a.example/* a"}));
}
