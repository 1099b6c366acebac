#include <gtest/gtest.h>

#include <QRect>
#include <regex>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "logimport/filter_dialogs.h"
#include "logimport/filter_store.h"
#include "logimport/read_record.h"
#include "platform/ui/work_area.h"
#include "tests/logimport/qt_application.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

namespace {

using testsupport::Answer;
using testsupport::ScriptedResponder;
using testsupport::TempHome;
using testsupport::writeFile;

const char kFilters[] =
    "[Filters]\n"
    "SelLst=shop\n"
    "[shop]\n"
    "Typ=2\n"
    "Val=/shop/\n"
    "MC=False\n"
    "ColType=1\n"
    "Keep=True\n"
    "[TEMP.Edit]\n"
    "CDSCndns=left|over\n";

const FltrKindOffers kAllKinds{true, true, true};

std::vector<std::string> optionCaptions(const core::DlgView& v) {
    std::vector<std::string> out;
    for (const auto& c : v.ctls)
        if (c.type == "OptionButton") out.push_back(c.caption);
    return out;
}

const core::CtlView* ctlOf(const core::DlgView& v, const std::string& type, int nth = 1) {
    for (const auto& c : v.ctls)
        if (c.type == type && --nth == 0) return &c;
    return nullptr;
}

class FilterDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        logimporttest::ensureQtApplication();
        ui::setWorkAreaProvider([] { return QRect(0, 0, 1280, 1000); });
        TXT_CrLfInit();
        file_ = home_ / "LdLnFltr.ini";
        writeFile(file_, kFilters);
        STTA_FltrColTypeCaptions(captions_);
    }
    void TearDown() override {
        MB_UnloadStray("");
        ui::setWorkAreaProvider({});
    }
    std::string get(const std::string& section, const std::string& entry) {
        return INI_Get(section, entry, file_, 1);
    }

    TempHome home_;
    testsupport::FakeUserInterface ui_;
    std::string file_;
    core::StrArray captions_;
};

}  // namespace

TEST_F(FilterDialogs, CopyReplacesTheTargetAndSkipsAMissingSource) {
    EXPECT_TRUE(FLTR_FilterCopy("shop", kFltrEditSection, file_, "Keep lines|Keep", 6));
    for (const char* entry : {"Typ", "Val", "MC", "ColType", "Keep"})
        EXPECT_EQ(get(kFltrEditSection, entry), get("shop", entry)) << entry;
    // A left-over multiple filter under the target name would turn the copy into one.
    EXPECT_EQ(get(kFltrEditSection, "CDSCndns"), kIniNotFound);

    EXPECT_FALSE(FLTR_FilterCopy("absent", kFltrEditSection, file_, "", 6));
    EXPECT_EQ(get(kFltrEditSection, "Val"), "/shop/");
}

TEST_F(FilterDialogs, RuleEditorOffersTheKindsTheCallerAllows) {
    struct Case {
        const char* name;
        FltrKindOffers offers;
        std::vector<std::string> options;
    };
    const Case cases[] = {
        {"none", {}, {"Starts with ...", "Contains ..."}},
        {"equals", {true, false, false}, {"Starts with ...", "Contains ...", "Equals ..."}},
        {"all", kAllKinds,
         {"Starts with ...", "Contains ...", "Equals ...", "Is greater than ...", "Is less than ...", "Is a number"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedResponder responder;
        responder.expect({.expectCaption = "- Enter Rule", .press = "&Cancel"});
        FltrRule rule{kFltrGreater, "10", false};
        MB_CtlEntry ctl;
        EXPECT_NE(FLTR_RuleEnter(rule, ctl, "", c.offers), 1);
        EXPECT_EQ(optionCaptions(responder.shown().at(0)), c.options);
        // A kind that is not offered selects the first option.
        const core::CtlView* set = ctlOf(responder.shown().at(0), "OptionButton", c.offers.greaterLess ? 4 : 1);
        ASSERT_NE(set, nullptr);
        EXPECT_EQ(set->value, "True");
        EXPECT_EQ(rule.Typ, kFltrGreater);  // Cancel keeps the rule
    }
}

TEST_F(FilterDialogs, RuleEditorTakesTheChosenKindValueAndCase) {
    struct Case {
        const char* option;
        long kind;
    };
    const Case cases[] = {{"Starts with ...", 1}, {"Contains ...", 2}, {"Is less than ...", 5}, {"Is a number", 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        ScriptedResponder responder;
        responder.expect({.sets = {{std::string("cap:") + c.option, "1"}, {"#7", "Bot"}, {"cap:Match Case", "1"}},
                          .press = "&OK"});
        FltrRule rule{kFltrEquals, "x", false};
        MB_CtlEntry ctl;
        EXPECT_EQ(FLTR_RuleEnter(rule, ctl, "", kAllKinds), 1);
        EXPECT_EQ(rule.Typ, c.kind);
        EXPECT_EQ(rule.Val, "Bot");
        EXPECT_TRUE(rule.MC);
    }
}

TEST_F(FilterDialogs, NewFilterNeedsAUniqueNameAndIsSaved) {
    // Entries: name label and box, where label, field list, six options, value, case, shape.
    ScriptedResponder responder;
    responder.expect({.expectCaption = "- Enter Rule", .sets = {{"#2", " "}}, .press = "&OK"})
        .press("Name is required.", "&OK")
        .expect({.sets = {{"#2", "SHOP "}}, .press = "&OK"})
        .press("Name already exists.", "&OK")
        .expect({.sets = {{"#2", " Robots "}, {"#4", "2"}, {"cap:Equals ...", "1"}, {"#11", "Bot"}}, .press = "&OK"});
    std::string section;
    EXPECT_TRUE(FLTR_FilterEdit(section, captions_, file_, -1, "", "", kAllKinds, false, "SelLst"));
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(section, "Robots");
    EXPECT_EQ(get("Filters", "SelLst"), "shop|Robots");
    EXPECT_EQ(get("Robots", "Typ"), "3");
    EXPECT_EQ(get("Robots", "Val"), "bot");
    EXPECT_EQ(get("Robots", "MC"), "False");
    EXPECT_EQ(get("Robots", "ColType"), "2");

    const core::CtlView* list = ctlOf(responder.shown().at(0), "ListBox");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->items.size(), 4u);
    EXPECT_EQ(list->selection, "0");
}

TEST_F(FilterDialogs, RenamingMovesTheFilterInTheListButACaseChangeDoesNot) {
    ScriptedResponder responder;
    responder.expect({.sets = {{"#2", "Shop"}, {"cap:Keep lines", "0"}}, .press = "&OK"})
        .expect({.sets = {{"#2", "shop pages"}}, .press = "&OK"});
    std::string section = "shop";
    EXPECT_TRUE(FLTR_FilterEdit(section, captions_, file_, -1, "", "Keep lines|Keep", kAllKinds, false, "SelLst"));
    EXPECT_EQ(section, "shop");
    EXPECT_EQ(get("Filters", "SelLst"), "shop");
    EXPECT_EQ(get("shop", "Keep"), "False");

    EXPECT_TRUE(FLTR_FilterEdit(section, captions_, file_, -1, "", "Keep lines|Keep", kAllKinds, false, "SelLst"));
    EXPECT_EQ(section, "shop pages");
    EXPECT_EQ(get("Filters", "SelLst"), "shop pages");
    EXPECT_EQ(get("shop pages", "Val"), "/shop/");
    EXPECT_EQ(get("shop pages", "ColType"), "1");
}

TEST_F(FilterDialogs, WhereCaptionGetsItsAccessKeyUnlessItHasOne) {
    struct Case {
        const char* caption;
        const char* flagSpec;
        const char* shown;
    };
    const Case cases[] = {
        {"", "", "Where [w]"},
        {"Referrer", "", "Referrer [w]:"},
        {"Referrer", "Keep lines|Keep", "Referrer"},
        {"Field [f]", "", "Field [f]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        ScriptedResponder responder;
        responder.expect({.press = "&Cancel"});
        std::string section = "shop";
        EXPECT_FALSE(FLTR_FilterEdit(section, captions_, file_, -1, c.caption, c.flagSpec, {}, true, "SelLst"));
        const core::CtlView* label = ctlOf(responder.shown().at(0), "Label");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->caption, c.shown);
    }
    EXPECT_EQ(get("shop", "Keep"), "True");  // Cancel writes nothing
}

TEST_F(FilterDialogs, FewFieldsAreNamedAndTheFilterTestsTheLastOffered) {
    struct Case {
        long lastField;
        const char* text;
        const char* colType;
    };
    const Case cases[] = {{0, "where value of Referrer", "0"}, {1, "where value of File Name", "1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScriptedResponder responder;
        responder.expect({.press = "&OK"});
        std::string section;
        EXPECT_TRUE(FLTR_FilterEdit(section, captions_, file_, c.lastField, "", "", {}, true, "SelLst"));
        const core::CtlView* box = ctlOf(responder.shown().at(0), "TextBox");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->value, c.text);
        EXPECT_EQ(ctlOf(responder.shown().at(0), "ListBox"), nullptr);
        // A new filter whose name is not typed gets a dated one.
        EXPECT_TRUE(std::regex_match(section, std::regex(R"(\d{8}\.\d+)"))) << section;
        EXPECT_TRUE(CHUNKS_Contains(section, get("Filters", "SelLst"), "|", kChunksNoExclusion, true));
        EXPECT_EQ(get(section, "ColType"), c.colType);
        EXPECT_EQ(get(section, "Typ"), "1");
    }
}
